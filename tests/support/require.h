#pragma once

// The fuzzers' check: a broken invariant ends the run with its description, so that libFuzzer
// keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

namespace vorlane::test {

inline void require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "invariant failed: %s\n", what);
        std::abort();
    }
}

} // namespace vorlane::test
