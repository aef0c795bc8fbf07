#include "controls/field_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace controls {
namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the text one significant character at a time, skipping blanks.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) { SkipBlanks(); }
    bool AtEnd() const { return pos_ >= text_.size(); }
    char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }
    void Next() {
        ++pos_;
        SkipBlanks();
    }

  private:
    void SkipBlanks() {
        while (pos_ < text_.size() && IsSkipped(text_[pos_]))
            ++pos_;
    }
    std::string_view text_;
    size_t pos_ = 0;
};

int DigitValue(char c, int base) {
    int v = -1;
    if (IsDigit(c))
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

// &H and &O: a non-negative whole number in base 16 or 8, accumulated in double
// so that very long texts overflow to infinity instead of wrapping.
double ReadPrefixedWhole(Cursor& in) {
    in.Next(); // '&'
    const char kind = in.Peek();
    const int base = (kind == 'h' || kind == 'H') ? 16 : (kind == 'o' || kind == 'O') ? 8 : 0;
    if (base == 0)
        return 0.0;
    in.Next();
    double value = 0.0;
    for (int d; (d = DigitValue(in.Peek(), base)) >= 0; in.Next())
        value = value * base + d;
    return value;
}

// Appends the digits at the cursor to out; returns how many there were.
size_t TakeDigits(Cursor& in, std::string& out) {
    size_t n = 0;
    for (; IsDigit(in.Peek()); in.Next(), ++n)
        out += in.Peek();
    return n;
}

// Decimal order of magnitude of a collected number whose conversion left the double
// range: positive means it overflowed, otherwise it underflowed.
long long OrderOfMagnitude(std::string_view number) {
    const size_t epos = number.find('e');
    const size_t point = std::min({number.find('.'), epos, number.size()});
    const size_t first = number.find_first_of("123456789");
    long long order = 0;
    if (first != std::string_view::npos && first < epos)
        order = first < point ? static_cast<long long>(point - first) - 1
                              : -static_cast<long long>(first - point);
    if (epos != std::string_view::npos) {
        long long exponent = 0;
        const bool negative = number[epos + 1] == '-';
        for (size_t i = epos + 1; i < number.size(); ++i)
            if (IsDigit(number[i]) && exponent < 1'000'000'000)
                exponent = exponent * 10 + (number[i] - '0');
        order += negative ? -exponent : exponent;
    }
    return order;
}

// Collects the longest leading decimal number in a compact form (digits, point,
// exponent) and converts it with correct rounding, independent of the locale.
double ReadDecimal(Cursor& in) {
    bool negative = false;
    if (in.Peek() == '-' || in.Peek() == '+') {
        negative = in.Peek() == '-';
        in.Next();
    }
    std::string number = "0"; // a leading zero lets ".5" convert like "0.5"
    size_t digits = TakeDigits(in, number);
    if (in.Peek() == '.') {
        number += '.';
        in.Next();
        digits += TakeDigits(in, number);
    }
    if (digits == 0)
        return 0.0;
    const char e = in.Peek();
    if (e == 'e' || e == 'E' || e == 'd' || e == 'D') {
        std::string exponent = "e";
        in.Next();
        if (in.Peek() == '-' || in.Peek() == '+') {
            exponent += in.Peek();
            in.Next();
        }
        if (TakeDigits(in, exponent) > 0)
            number += exponent;
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = OrderOfMagnitude(number) > 0 ? HUGE_VAL : 0.0;
    return negative ? -value : value;
}

} // namespace

double FieldValue(std::string_view text) {
    Cursor in(text);
    if (in.Peek() == '&')
        return ReadPrefixedWhole(in);
    return ReadDecimal(in);
}

double RoundTo(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double lower = std::floor(x * scale);
    const double fraction = x * scale - lower;
    if (fraction > 0.5)
        return (lower + 1.0) / scale;
    if (fraction < 0.5)
        return lower / scale;
    return (std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0) / scale;
}

int32_t Int32FieldValue(std::string_view text) {
    using Limits = std::numeric_limits<int32_t>;
    const double rounded = RoundTo(FieldValue(text), 0);
    if (std::isnan(rounded))
        return 0;
    if (rounded <= Limits::min())
        return Limits::min();
    if (rounded >= Limits::max())
        return Limits::max();
    return static_cast<int32_t>(rounded);
}

} // namespace controls
