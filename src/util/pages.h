// Fresh memory made ready for writing in one call.
//
// A page touched for the first time costs a fault; on a virtual machine a
// fault can cost as much as copying a hundred kilobytes, and even a page
// given in advance can cost a few microseconds when first written. A buffer
// that will be written through is better given its pages at once, and as
// large pages where it spans them: one large page costs about what one
// small page does.

#ifndef VORN_UTIL_PAGES_H_
#define VORN_UTIL_PAGES_H_

#include <cstddef>
#include <memory>

namespace vorn {

// Asks the system for every whole page within [p, p + bytes) now, ready for
// writing, up to 32 MB of them, as large pages where the span holds whole
// ones. Only advice: where the system cannot, the pages come one fault at a
// time, as before. Spans of less than a few pages are left alone.
void PreparePages(void* p, size_t bytes);

// The size and alignment of a large page.
inline constexpr size_t kLargePageBytes = size_t{2} << 20;

// A block of fresh memory, aligned to kLargePageBytes when it is at least
// that large, and given its pages (PreparePages). Throws std::bad_alloc.
struct FreeBlock {
  void operator()(void* p) const;
};
using PreparedBlock = std::unique_ptr<char[], FreeBlock>;
PreparedBlock MakePreparedBlock(size_t bytes);

// Growing blocks of at least this many bytes are given their new pages at
// once; below it a call costs more than the faults it spares.
inline constexpr size_t kPreparedBlockBytes = size_t{64} << 10;

// An allocator for vectors that grow large: a block of 64 KB or more is
// given its pages at once, before the elements are moved into it.
template <class T>
struct PreparedAllocator {
  using value_type = T;
  PreparedAllocator() = default;
  template <class U>
  explicit PreparedAllocator(const PreparedAllocator<U>& /*other*/) {}

  T* allocate(size_t n) {
    T* p = std::allocator<T>().allocate(n);
    if (n * sizeof(T) >= kPreparedBlockBytes) PreparePages(p, n * sizeof(T));
    return p;
  }
  void deallocate(T* p, size_t n) { std::allocator<T>().deallocate(p, n); }
  friend bool operator==(const PreparedAllocator&, const PreparedAllocator&) { return true; }
};

}  // namespace vorn

#endif  // VORN_UTIL_PAGES_H_
