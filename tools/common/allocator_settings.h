#pragma once

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdlib>

namespace telvar::tools {

// A large sample becomes millions of small allocations. Where the allocator gives memory back to
// the system after each large free and takes it again page by page, those page faults cost as much
// as the parse itself; so the allocator is asked to grow in large steps and keep what it has, and
// to take even large blocks from its heap rather than mapping each on its own. Without its "fast
// bins" a freed tree is merged back as it goes, rather than all at once at the next large free.
//
// The heap's first step is reserved at once (address space only) and marked for transparent huge
// pages where the system offers them on request: a tree touches its memory page by page, and with
// 4 KB pages the faults and TLB misses were most of the time on wide records (0.45 s against
// 0.16 s for 100 records of 2,000 keys). Memory is still taken only as it is touched.
//
// These are the C library's own settings, made at start-up: no restart, and the environment is
// left as it is for the programs this one may start. The desktop application calls it too.
inline void applyAllocatorSettings() noexcept {
  constexpr std::size_t kHeapStep = std::size_t{1} << 30;
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest the C library takes
  mallopt(M_TRIM_THRESHOLD, INT_MAX);
  mallopt(M_TOP_PAD, static_cast<int>(kHeapStep));
  mallopt(M_MXFAST, 0);

  // One allocation larger than what the heap holds makes it grow by the step; freed, it stays.
  const auto start = reinterpret_cast<std::uintptr_t>(sbrk(0));
  void* volatile block = std::malloc(1 << 20);  // volatile: the pair must not be optimised away
  std::free(block);
  const auto end = reinterpret_cast<std::uintptr_t>(sbrk(0));
  mallopt(M_TOP_PAD, 64 << 20);  // later steps need not be as large
  const std::uintptr_t first = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (end > first + kHugePage) {
    // Advice only: where huge pages are off, nothing changes.
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  }
}

}  // namespace telvar::tools
