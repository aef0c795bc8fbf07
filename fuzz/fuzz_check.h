// What the fuzz targets share: a check that aborts on a broken invariant, so that
// libFuzzer stops and keeps the input that broke it.
#pragma once

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? (void)0 : fuzz_check::Fail(#condition, __FILE__, __LINE__))

namespace fuzz_check {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, condition);
    std::abort();
}

// The same double to the bit: 0 and -0 differ.
inline bool Identical(double a, double b) {
    return std::bit_cast<uint64_t>(a) == std::bit_cast<uint64_t>(b);
}

} // namespace fuzz_check
