// Store: an array of trivially copyable records that grows by realloc.
//
// A large block then grows where it stands (the system moves its pages), so
// that growing neither copies the records nor holds the old and the new
// block at once, and the pages already written are not written again. Room
// made for new records is not zeroed.

#ifndef VORN_UTIL_STORE_H_
#define VORN_UTIL_STORE_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

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
  ~Store() { std::free(data_); }

  size_t size() const { return size_; }
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
  // Drops the first n records; the rest move to the front.
  // REQUIRES: n <= size().
  void EraseFront(size_t n) {
    if (n == 0) return;
    std::memmove(static_cast<void*>(data_), data_ + n, (size_ - n) * sizeof(T));
    size_ -= n;
  }
  // n records of zero bytes.
  void AssignZeros(size_t n) {
    Reserve(n);
    if (n > 0) std::memset(static_cast<void*>(data_), 0, n * sizeof(T));
    size_ = n;
  }
  // Makes room for n records. Throws std::bad_alloc when there is none.
  void Reserve(size_t n) {
    if (n <= capacity_) return;
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    void* grown = std::realloc(static_cast<void*>(data_), n * sizeof(T));
    if (grown == nullptr) throw std::bad_alloc();
    data_ = static_cast<T*>(grown);
    capacity_ = n;
  }
  // Gives back the memory beyond size().
  void ShrinkToFit() {
    if (size_ == capacity_ || size_ == 0) return;
    void* shrunk = std::realloc(static_cast<void*>(data_), size_ * sizeof(T));
    if (shrunk == nullptr) return;  // the larger block stays
    data_ = static_cast<T*>(shrunk);
    capacity_ = size_;
  }
  // Gives the memory back.
  void Release() {
    std::free(data_);
    data_ = nullptr;
    size_ = 0;
    capacity_ = 0;
  }

 private:
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
    other->data_ = nullptr;
    other->size_ = 0;
    other->capacity_ = 0;
  }

  T* data_ = nullptr;
  size_t size_ = 0;
  size_t capacity_ = 0;
};

}  // namespace vorn

#endif  // VORN_UTIL_STORE_H_
