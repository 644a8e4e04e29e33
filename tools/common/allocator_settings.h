#pragma once

#include <climits>

#include <malloc.h>

namespace telvar::tools {

// A large sample becomes millions of small allocations. Where the allocator gives memory back to
// the system after each large free and takes it again page by page, those page faults cost as much
// as the parse itself; so the allocator is asked to grow in large steps and keep what it has, and
// to take even large blocks from its heap rather than mapping each on its own. Without its "fast
// bins" a freed tree is merged back as it goes, rather than all at once at the next large free.
// These are the C library's own settings, made at start-up: no restart, and the environment is
// left as it is for the programs this one may start. The desktop application calls it too.
inline void applyAllocatorSettings() noexcept {
  mallopt(M_MMAP_THRESHOLD, 32 << 20);  // the largest the C library takes
  mallopt(M_TRIM_THRESHOLD, INT_MAX);
  mallopt(M_TOP_PAD, 64 << 20);
  mallopt(M_MXFAST, 0);
}

}  // namespace telvar::tools
