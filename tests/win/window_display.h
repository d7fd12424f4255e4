#pragma once

#include <cstdlib>

#include <gtest/gtest.h>

// Wine creates no windows without an X display: such a run skips the window
// tests, unless it says with ORVIKA2_REQUIRE_DISPLAY that it provides one.
#define ORVIKA2_REQUIRE_WINDOW(window)                                                                    \
    do {                                                                                                  \
        if (window) break;                                                                                \
        if (std::getenv("ORVIKA2_REQUIRE_DISPLAY")) FAIL() << "no window, though the run provides a display"; \
        GTEST_SKIP() << "no display for windows: run under Xvfb";                                          \
    } while (false)
