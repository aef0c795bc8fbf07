// A check that aborts on a broken invariant, so that libFuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(c)                                                                              \
    ((c) ? (void)0                                                                                 \
         : (std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #c),         \
            std::abort()))
