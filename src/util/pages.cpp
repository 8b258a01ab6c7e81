#include "util/pages.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vorn {

namespace {

constexpr uintptr_t kPageBytes = 4096;
// Fewer pages than this are not worth a system call.
constexpr uintptr_t kMinPages = 4;
// The advice's number, for headers that predate it (Linux 5.14).
#if defined(__linux__) && !defined(MADV_POPULATE_WRITE)
constexpr int MADV_POPULATE_WRITE = 23;
#endif

}  // namespace

void PreparePages(void* p, size_t bytes) {
#if defined(__linux__)
  const auto begin = reinterpret_cast<uintptr_t>(p);
  const uintptr_t first = (begin + kPageBytes - 1) & ~(kPageBytes - 1);
  const uintptr_t end = (begin + bytes) & ~(kPageBytes - 1);
  if (end <= first || end - first < kMinPages * kPageBytes) return;
  // An older system refuses the advice; the pages then come as touched.
  madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#else
  (void)p;
  (void)bytes;
#endif
}

}  // namespace vorn
