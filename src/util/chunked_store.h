// ChunkedStore: an append-only array of trivially copyable records, kept in
// chunks. Growing never moves a record: a table that grows record by record
// throughout a run (the file tallies of a folder run) is never copied, where
// a contiguous one would be copied each time it doubled. The first chunk is
// small, so that a small table takes little memory; each later one is a
// large page. Every chunk gets its pages at once (PreparePages).

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
  static_assert(sizeof(T) <= kLargePageBytes);

 public:
  // Records in the first chunk, and in each later chunk: as many as a large
  // page holds.
  static constexpr size_t kFirstRecords = std::max<size_t>(1, (size_t{96} << 10) / sizeof(T));
  static constexpr size_t kChunkRecords = kLargePageBytes / sizeof(T);

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
  T& operator[](size_t i) { return *Place(i); }
  const T& operator[](size_t i) const { return *Place(i); }

  void push_back(const T& value) {
    if (size_ == Capacity(chunks_.size())) AddChunk();
    *Place(size_++) = value;
  }

  // Gives the memory back.
  void Release() {
    std::vector<PreparedBlock>().swap(chunks_);
    size_ = 0;
  }

 private:
  // The records the first `chunks` chunks hold.
  static size_t Capacity(size_t chunks) {
    return chunks == 0 ? 0 : kFirstRecords + (chunks - 1) * kChunkRecords;
  }
  T* Records(size_t chunk) const { return reinterpret_cast<T*>(chunks_[chunk].get()); }
  T* Place(size_t i) const {
    if (i < kFirstRecords) return Records(0) + i;
    i -= kFirstRecords;
    return Records(1 + i / kChunkRecords) + i % kChunkRecords;
  }

  // The records are made after the pages come: a record with default member
  // values writes them, and would take each page by a fault.
  void AddChunk() {
    const size_t records = chunks_.empty() ? kFirstRecords : kChunkRecords;
    chunks_.reserve(chunks_.size() + 1);
    // A later chunk is a whole large page, which its records may not fill.
    PreparedBlock block =
        MakePreparedBlock(chunks_.empty() ? records * sizeof(T) : kLargePageBytes);
    std::uninitialized_default_construct_n(reinterpret_cast<T*>(block.get()), records);
    chunks_.push_back(std::move(block));
  }

  void CopyFrom(const ChunkedStore& other) {
    for (size_t c = 0; c < other.chunks_.size(); ++c) AddChunk();
    for (size_t i = 0; i < other.size_; ++i) *Place(i) = *other.Place(i);
    size_ = other.size_;
  }

  std::vector<PreparedBlock> chunks_;
  size_t size_ = 0;
};

}  // namespace vorn

#endif  // VORN_UTIL_CHUNKED_STORE_H_
