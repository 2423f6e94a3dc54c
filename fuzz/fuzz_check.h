// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a fuzz target asserts. A broken promise aborts, so that libFuzzer
// keeps the input that broke it as a finding.

#include <cstdio>
#include <cstdlib>

#define ZLM5_FUZZ_CHECK(condition)                                                 \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "%s:%d: broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                \
    }                                                                              \
  } while (false)
