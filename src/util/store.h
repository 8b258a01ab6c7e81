// Store: an array of trivially copyable records that grows by realloc.
//
// A large block is mapped by the store itself and grows by remapping (the
// system moves its pages), so that growing neither copies the records nor
// holds the old and the new block at once, and the pages already written
// are not written again; it asks for huge pages where the system offers
// them, so that a table of millions of records costs a few page faults
// instead of thousands. A growing block of 64 KB or more is given its new
// pages in one call before records are written to them (PreparePages): a
// page fault, one per page touched, costs far more. Room made for new
// records is not zeroed.

#ifndef VORN_UTIL_STORE_H_
#define VORN_UTIL_STORE_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "util/pages.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vorn {

template <class T>
class Store {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  Store() = default;
  Store(const Store& other) { CopyFrom(other); }
  Store(Store&& other) noexcept { TakeFrom(&other); }
  Store& operator=(const Store& other) {
    if (this != &other) {
      Release();
      CopyFrom(other);
    }
    return *this;
  }
  Store& operator=(Store&& other) noexcept {
    if (this != &other) {
      Release();
      TakeFrom(&other);
    }
    return *this;
  }
  ~Store() { Free(); }

  size_t size() const { return size_; }
  size_t capacity() const { return capacity_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }

  void push_back(const T& value) {
    if (size_ == capacity_) Grow(1);
    data_[size_++] = value;
  }
  // Appends the n records at p. REQUIRES: p does not point into the store.
  void Append(const T* p, size_t n) {
    if (n > capacity_ - size_) Grow(n);
    if (n > 0) std::memcpy(static_cast<void*>(data_ + size_), p, n * sizeof(T));
    size_ += n;
  }
  // Keeps the first n records. REQUIRES: n <= size().
  void Truncate(size_t n) { size_ = n; }
  // n records, the new ones left as they are (not zeroed). Throws
  // std::bad_alloc when there is no room.
  void ResizeUninitialized(size_t n) {
    if (n > capacity_) Reserve(std::max(n, capacity_ + capacity_ / 2));
    size_ = n;
  }
  // n records, every one left unspecified: a store that must grow for them
  // copies none of its records, and takes a quarter more room than asked
  // for, for stores whose sizes vary a little from use to use.
  void ResizeDiscarding(size_t n) {
    if (n > capacity_) {
      Release();
      Reserve(n + n / 4);
    }
    size_ = n;
  }
  // Drops the first n records; the rest move to the front.
  // REQUIRES: n <= size().
  void EraseFront(size_t n) {
    if (n == 0) return;
    std::memmove(static_cast<void*>(data_), data_ + n, (size_ - n) * sizeof(T));
    size_ -= n;
  }
  // n records of zero bytes.
  void AssignZeros(size_t n) {
    const bool empty_block = capacity_ == 0;
    Reserve(n);
    // A block just mapped holds zeros already.
    if (n > 0 && !(empty_block && mapped_)) {
      std::memset(static_cast<void*>(data_), 0, n * sizeof(T));
    }
    size_ = n;
  }
  // Makes room for n records. Throws std::bad_alloc when there is none.
  void Reserve(size_t n) {
    if (n <= capacity_) return;
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    if (!Reblock(n * sizeof(T))) throw std::bad_alloc();
  }
  // Gives back the memory beyond size().
  void ShrinkToFit() {
    if (size_ == capacity_ || size_ == 0) return;
    Reblock(size_ * sizeof(T));  // on failure the larger block stays
  }
  // Gives the memory back.
  void Release() {
    Free();
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
  }

 private:
  // Blocks of at least this many bytes are mapped by the store: only the
  // tables of a large run, which live long. Smaller blocks are left to
  // malloc, which reuses them without asking the system again (a part's
  // table of a few megabytes, made and dropped by the dozen).
  static constexpr size_t kMapBytes = size_t{16} << 20;
  static constexpr size_t kPageBytes = 4096;

  // Moves the records into a block of `bytes` bytes (at least size()
  // records). Returns false, the block unchanged, when there is no room.
  [[gnu::noinline]] bool Reblock(size_t bytes) {
#if defined(__linux__)
    if (bytes >= kMapBytes || mapped_) {
      if (bytes > SIZE_MAX - kPageBytes) return false;
      const size_t length = (bytes + kPageBytes - 1) & ~(kPageBytes - 1);
      void* block = mapped_ ? mremap(data_, mapped_length_, length, MREMAP_MAYMOVE)
                            : mmap(nullptr, length, PROT_READ | PROT_WRITE,
                                   MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (block == MAP_FAILED) return false;
#if defined(MADV_HUGEPAGE)
      madvise(block, length, MADV_HUGEPAGE);  // only advice
#endif
      // The pages beyond those written come at once, before the records.
      const size_t written = mapped_ ? mapped_length_ : 0;
      if (length > written) PreparePages(static_cast<char*>(block) + written, length - written);
      if (!mapped_) {
        if (size_ > 0) std::memcpy(block, data_, size_ * sizeof(T));
        std::free(data_);
      }
      data_ = static_cast<T*>(block);
      mapped_ = true;
      mapped_length_ = length;
      capacity_ = length / sizeof(T);
      return true;
    }
#endif
    void* block = nullptr;
    if (bytes >= kPreparedBlockBytes && bytes > capacity_ * sizeof(T)) {
      // A new block's pages come at once, before the records are copied in.
      block = std::malloc(bytes);
      if (block == nullptr) return false;
      PreparePages(block, bytes);
      if (size_ > 0) std::memcpy(block, static_cast<const void*>(data_), size_ * sizeof(T));
      std::free(data_);
    } else {
      block = std::realloc(static_cast<void*>(data_), bytes);
      if (block == nullptr) return false;
    }
    data_ = static_cast<T*>(block);
    capacity_ = bytes / sizeof(T);
    return true;
  }
  void Free() {
#if defined(__linux__)
    if (mapped_) {
      munmap(data_, mapped_length_);
      mapped_ = false;
      return;
    }
#endif
    std::free(data_);
  }
  // Makes room for n more records, at least doubling the capacity.
  void Grow(size_t n) {
    if (n > SIZE_MAX / sizeof(T) - size_) throw std::bad_alloc();
    const size_t doubled = capacity_ < 128 ? 256 : capacity_ * 2;
    Reserve(doubled < size_ + n ? size_ + n : doubled);
  }
  void CopyFrom(const Store& other) {
    Reserve(other.size_);
    if (other.size_ > 0) {
      std::memcpy(static_cast<void*>(data_), other.data_, other.size_ * sizeof(T));
    }
    size_ = other.size_;
  }
  void TakeFrom(Store* other) {
    data_ = other->data_;
    size_ = other->size_;
    capacity_ = other->capacity_;
    mapped_ = other->mapped_;
    mapped_length_ = other->mapped_length_;
    other->mapped_ = false;
    other->data_ = nullptr;
    other->size_ = 0;
    other->capacity_ = 0;
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
  bool mapped_ = false;       // data_ is a mapping of its own,
  size_t mapped_length_ = 0;  // this long
};

}  // namespace vorn

#endif  // VORN_UTIL_STORE_H_
