// A failed check names itself and aborts, which libFuzzer records as a
// crash with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(condition)                                                          \
  do {                                                                            \
    if (!(condition)) {                                                           \
      std::fprintf(stderr, "check failed, %s:%d: %s\n", __FILE__, __LINE__,       \
                   #condition);                                                   \
      std::abort();                                                               \
    }                                                                             \
  } while (0)
