#include "util/pages.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vorn {

namespace {

constexpr uintptr_t kPageBytes = 4096;
// Fewer pages than this are not worth a system call.
constexpr uintptr_t kMinPages = 4;
// At most this much is asked for in one call (about 10 ms of the system's
// work on a slow machine): the pages of a longer span beyond it come one
// fault at a time, between which the window's events may run.
constexpr uintptr_t kMaxBytes = uintptr_t{32} << 20;
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
  const uintptr_t last = end - first > kMaxBytes ? first + kMaxBytes : end;
#if defined(MADV_HUGEPAGE)
  // The whole large pages of the span, where the system has them.
  const uintptr_t large_first = (first + kLargePageBytes - 1) & ~(kLargePageBytes - 1);
  const uintptr_t large_end = last & ~(kLargePageBytes - 1);
  if (large_end > large_first) {
    madvise(reinterpret_cast<void*>(large_first), large_end - large_first, MADV_HUGEPAGE);
  }
#endif
  // An older system refuses the advice; the pages then come as touched.
  madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
  (void)p;
  (void)bytes;
#endif
}

void FreeBlock::operator()(void* p) const { std::free(p); }

PreparedBlock MakePreparedBlock(size_t bytes) {
  void* p = nullptr;
  if (bytes >= kLargePageBytes) {
    // aligned_alloc takes a multiple of the alignment.
    const size_t rounded = (bytes + kLargePageBytes - 1) & ~(kLargePageBytes - 1);
    if (rounded >= bytes) p = std::aligned_alloc(kLargePageBytes, rounded);
  } else {
    p = std::malloc(bytes);
  }
  if (p == nullptr) throw std::bad_alloc();
  PreparePages(p, bytes);
  return PreparedBlock(static_cast<char*>(p));
}

}  // namespace vorn
