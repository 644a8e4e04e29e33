#pragma once

#include <cstddef>

// Builds whose stack frames are several times larger: sanitizers (address or thread), or no
// optimisation.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || !defined(__OPTIMIZE__)
#define TELVAR_TEST_LARGE_FRAMES 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define TELVAR_TEST_LARGE_FRAMES 1
#endif
#endif

namespace telvar::testing {

/// A stack size for a deep-input test: `bytes` is about twice what the optimised build needs, and
/// it grows eightfold where frames are larger, so that a stage whose stack use per nesting level
/// grows fails the test in every build.
constexpr std::size_t stackBudget(std::size_t bytes) {
#ifdef TELVAR_TEST_LARGE_FRAMES
  return bytes * 8;
#else
  return bytes;
#endif
}

}  // namespace telvar::testing
