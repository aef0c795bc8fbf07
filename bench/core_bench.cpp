// Benchmarks of the platform-free core: each calculator and the converter from their
// input texts to their output texts, and the field-value reader on short and long texts.
#include "calc/converter.h"
#include "calc/formulas.h"
#include "controls/field_value.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// One run of calculator n on its design's inputs, as a keystroke causes it.
void BM_Formula(benchmark::State& state, int n, const char* in0, const char* in1, bool metric) {
    calc::FormulaResult out;
    for (auto _ : state) {
        calc::Evaluate(n, in0, in1, metric, out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK_CAPTURE(BM_Formula, cp_length, 1, "90", "10", true);
BENCHMARK_CAPTURE(BM_Formula, banking, 2, "1.0", "1.0", true);
BENCHMARK_CAPTURE(BM_Formula, station, 3, "6", "2", true);
BENCHMARK_CAPTURE(BM_Formula, station_imperial, 3, "6", "2", false);
BENCHMARK_CAPTURE(BM_Formula, lim, 4, "88", "1.0", true);
BENCHMARK_CAPTURE(BM_Formula, lim_imperial, 4, "88", "1.0", false);

void BM_Converter(benchmark::State& state, const calc::ConverterPair& pair, int index,
                  const char* text) {
    for (auto _ : state) {
        std::string partner = calc::PartnerText(pair, index, text);
        benchmark::DoNotOptimize(partner);
    }
}
BENCHMARK_CAPTURE(BM_Converter, m_to_ft, calc::kMetresFeet, 0, "1");
BENCHMARK_CAPTURE(BM_Converter, ft_to_m, calc::kMetresFeet, 1, "3.28");
BENCHMARK_CAPTURE(BM_Converter, kmh_to_mph, calc::kKmphMph, 0, "100");

// The field-value reader on texts of state.range(0) characters. Pasted text is the only
// way to get long texts into a field; these are the shapes it can take.
std::string Digits(size_t n) { // one long number: "1234567.89..." with a point
    std::string s;
    for (size_t i = 0; s.size() < n; ++i)
        s += i == 7 ? '.' : static_cast<char>('0' + (i % 10));
    return s;
}
std::string Spaced(size_t n) { // a short number with blanks inside, then text
    std::string s = "1 2 . 5";
    while (s.size() < n)
        s += " \t";
    s.resize(n);
    return s;
}
std::string Hex(size_t n) { // &H followed by hexadecimal digits
    std::string s = "&H";
    while (s.size() < n)
        s += "F0";
    s.resize(n);
    return s;
}

void BM_FieldValue(benchmark::State& state, std::string (*make)(size_t)) {
    const std::string text = make(static_cast<size_t>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(controls::FieldValue(text));
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK_CAPTURE(BM_FieldValue, digits, &Digits)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity();
BENCHMARK_CAPTURE(BM_FieldValue, blanks, &Spaced)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity();
BENCHMARK_CAPTURE(BM_FieldValue, hex, &Hex)->Arg(10)->Arg(100)->Arg(1000)->Arg(10000)->Complexity();

} // namespace

BENCHMARK_MAIN();
