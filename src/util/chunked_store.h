// ChunkedStore: an append-only array of trivially copyable records, kept in
// chunks of a fixed size. Growing never moves a record: a table that grows
// record by record throughout a run (the file tallies of a folder run) is
// never copied, where a contiguous one would be copied each time it
// doubled. Each chunk gets its pages at once (PreparePages).

#ifndef VORN_UTIL_CHUNKED_STORE_H_
#define VORN_UTIL_CHUNKED_STORE_H_

#include <algorithm>
#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

#include "util/pages.h"

namespace vorn {

template <typename T>
class ChunkedStore {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  // Records per chunk: about a hundred kilobytes of small records.
  static constexpr size_t kChunkShift = 13;
  static constexpr size_t kChunkRecords = size_t{1} << kChunkShift;

  ChunkedStore() = default;
  ChunkedStore(const ChunkedStore& other) { CopyFrom(other); }
  ChunkedStore(ChunkedStore&& other) noexcept
      : chunks_(std::move(other.chunks_)), size_(std::exchange(other.size_, 0)) {}
  ChunkedStore& operator=(const ChunkedStore& other) {
    if (this != &other) {
      Release();
      CopyFrom(other);
    }
    return *this;
  }
  ChunkedStore& operator=(ChunkedStore&& other) noexcept {
    chunks_ = std::move(other.chunks_);
    size_ = std::exchange(other.size_, 0);
    return *this;
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](size_t i) { return chunks_[i >> kChunkShift][i & (kChunkRecords - 1)]; }
  const T& operator[](size_t i) const { return chunks_[i >> kChunkShift][i & (kChunkRecords - 1)]; }

  void push_back(const T& value) {
    if (size_ == chunks_.size() * kChunkRecords) AddChunk();
    (*this)[size_++] = value;
  }

  // Gives the memory back.
  void Release() {
    std::vector<Chunk>().swap(chunks_);
    size_ = 0;
  }

 private:
  // The pages come before the records are made: a record with default
  // member values writes them, and would take each page by a fault.
  void AddChunk() {
    chunks_.reserve(chunks_.size() + 1);
    T* records = std::allocator<T>().allocate(kChunkRecords);
    PreparePages(records, kChunkRecords * sizeof(T));
    std::uninitialized_default_construct_n(records, kChunkRecords);
    chunks_.emplace_back(records);
  }

  void CopyFrom(const ChunkedStore& other) {
    for (size_t c = 0; c < other.chunks_.size(); ++c) {
      AddChunk();
      const size_t used =
          std::min(kChunkRecords, other.size_ - std::min(other.size_, c * kChunkRecords));
      std::copy_n(other.chunks_[c].get(), used, chunks_[c].get());
    }
    size_ = other.size_;
  }

  // Gives a chunk's memory back (its records need no destroying).
  struct FreeChunk {
    void operator()(T* records) const { std::allocator<T>().deallocate(records, kChunkRecords); }
  };
  using Chunk = std::unique_ptr<T[], FreeChunk>;

  std::vector<Chunk> chunks_;
  size_t size_ = 0;
};

}  // namespace vorn

#endif  // VORN_UTIL_CHUNKED_STORE_H_
