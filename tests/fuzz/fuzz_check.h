#pragma once
// A property that failed is a finding like a crash: libFuzzer saves the input.
#include <cstdio>
#include <cstdlib>

namespace orvika2::fuzzing {

inline void Require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property failed: %s\n", property);
        std::abort();
    }
}

}  // namespace orvika2::fuzzing
