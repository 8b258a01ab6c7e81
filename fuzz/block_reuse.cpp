// Reuse of large heap blocks in the fuzz targets.
//
// The line reader takes a 1 MiB block for every file it opens, however small
// the file. Under AddressSanitizer every block of that size is a fresh
// mapping whose pages fault in one by one, and fuzz_file_reading, which opens
// a file seven times per input, ran at a few dozen inputs a second. The
// operators below keep a few freed blocks of 512 KiB or more and hand one out
// again for a request of exactly its size. A kept block is poisoned, so a use
// after free is still reported; every other allocation goes to the
// sanitizer's malloc, which keeps its checks.
//
// Linked into every fuzz target; single-threaded, as the targets are.

#include <sanitizer/allocator_interface.h>
#include <sanitizer/asan_interface.h>

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kReuseFrom = std::size_t{1} << 19;
constexpr int kKept = 8;

struct Kept {
  void* block;
  std::size_t size;
};
Kept kept[kKept];
int kept_count = 0;

void* Allocate(std::size_t size) {
  if (size >= kReuseFrom) {
    for (int i = 0; i < kept_count; ++i) {
      if (kept[i].size != size) continue;
      void* block = kept[i].block;
      kept[i] = kept[--kept_count];
      ASAN_UNPOISON_MEMORY_REGION(block, size);
      return block;
    }
  }
  return std::malloc(size == 0 ? 1 : size);
}

void Release(void* block) {
  if (block == nullptr) return;
  const std::size_t size = __sanitizer_get_allocated_size(block);
  if (size >= kReuseFrom && kept_count < kKept) {
    ASAN_POISON_MEMORY_REGION(block, size);
    kept[kept_count++] = {block, size};
    return;
  }
  std::free(block);
}

void* AllocateOrThrow(std::size_t size) {
  void* block = Allocate(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }
