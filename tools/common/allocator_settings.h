#pragma once

#include <cstdlib>

#include <sys/auxv.h>
#include <unistd.h>

namespace telvar::tools {

// A large sample becomes millions of small allocations. Where the allocator gives memory back to
// the system after each large free and takes it again page by page, those page faults cost as much
// as the parse itself; so the allocator is asked to grow in large steps, keep what it has and back
// it with huge pages. Without its "fast bins" a freed tree is merged back as it goes, rather than
// all at once at the next large free. Its settings are read only when a program starts, so the program starts
// itself once more with them, unless the caller chose settings of their own.
inline constexpr const char* kAllocatorSettings =
    "glibc.malloc.hugetlb=1:glibc.malloc.mmap_threshold=4294967295:"
    "glibc.malloc.trim_threshold=4294967295:glibc.malloc.top_pad=67108864:"
    "glibc.malloc.mxfast=0";

/// Starts the program again with the allocator settings above; returns only when it does not
/// (settings already present, or no restart possible), leaving the environment as it was.
inline void restartWithAllocatorSettings(char** argv) {
  constexpr const char* kRestarted = "TELVAR_ALLOCATOR_RESTARTED";
  if (std::getenv(kRestarted) != nullptr) {
    unsetenv(kRestarted);  // not for the programs this one may start
    return;
  }
  // Not for privileged programs (whose environment the loader cleans), nor when started through
  // the loader by name or linked statically: /proc/self/exe would not be this program then.
  if (getauxval(AT_SECURE) != 0 || getauxval(AT_BASE) == 0) return;
  if (std::getenv("GLIBC_TUNABLES") != nullptr) return;
  if (setenv("GLIBC_TUNABLES", kAllocatorSettings, 1) != 0) return;
  if (setenv(kRestarted, "1", 1) == 0) execv("/proc/self/exe", argv);
  unsetenv(kRestarted);
  unsetenv("GLIBC_TUNABLES");
}

}  // namespace telvar::tools
