#pragma once
// A property that fails aborts the run, so libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition) \
  ((condition) ? void(0) : ::vembrel::fuzz::fail(#condition, __FILE__, __LINE__))

namespace vembrel::fuzz {

[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, what);
  std::abort();
}

}  // namespace vembrel::fuzz
