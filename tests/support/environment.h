#pragma once
// What a test needs from its surroundings (an X display, a tool). `make test`
// provides all of it; run by hand without it, such a test is skipped and says
// why. On CI (CI set in the environment) a missing piece is a broken set-up,
// and a skip there would hide it: the test fails instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

inline bool StrictEnvironment() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string(ci) != "false";
}

#define REQUIRE_ENVIRONMENT(available, why)                                                  \
    do {                                                                                     \
        if (!(available)) {                                                                  \
            if (StrictEnvironment()) FAIL() << "the test set-up should provide this: " << why; \
            GTEST_SKIP() << why;                                                             \
        }                                                                                    \
    } while (0)
