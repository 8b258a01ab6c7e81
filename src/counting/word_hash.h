// The hash of a word as the counting tables take it, and the reads of a
// word's bytes that go with it: a word of up to eight bytes is hashed from
// its bytes read as one number (its head), without a loop.
//
// Header-only, so that the tables' lookups inline it.

#ifndef VORN_COUNTING_WORD_HASH_H_
#define VORN_COUNTING_WORD_HASH_H_

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vorn::word_hash {

template <typename T>
inline T Load(const char* p) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  return v;
}

// The bytes of a word of up to eight bytes as one number, zero-padded (the
// first byte lowest), without a loop: two overlapping four-byte loads for
// four to eight bytes, the first, middle and last byte for one to three.
// The branches on the length cost little while counting: the scanner has
// just walked the word's bytes, and the branch history gives its length
// away (a form without branches measured slower there).
inline uint64_t LoadHead(const char* p, size_t n) {
  if (n >= 4) {
    const uint64_t lo = Load<uint32_t>(p);
    const uint64_t hi = Load<uint32_t>(p + n - 4);
    return lo | hi << ((n - 4) * 8);
  }
  if (n == 0) return 0;
  const uint64_t first = static_cast<uint8_t>(p[0]);
  const uint64_t middle = static_cast<uint8_t>(p[n / 2]);
  const uint64_t last = static_cast<uint8_t>(p[n - 1]);
  return first | middle << (n / 2 * 8) | last << ((n - 1) * 8);
}

// The first eight bytes of a word, zero-padded when it is shorter.
inline uint64_t Head(const char* p, size_t n) {
  return n <= 8 ? LoadHead(p, n) : Load<uint64_t>(p);
}

__extension__ typedef unsigned __int128 Uint128;  // GCC and Clang on 64-bit targets

// Multiplies a and b into 128 bits and folds the halves: every bit of the
// result depends on every bit of both.
inline uint64_t Mix(uint64_t a, uint64_t b) {
  const Uint128 r = static_cast<Uint128>(a) * b;
  return static_cast<uint64_t>(r) ^ static_cast<uint64_t>(r >> 64);
}

constexpr uint64_t kSeed0 = 0xA0761D6478BD642FULL;
constexpr uint64_t kSeed1 = 0xE7037ED1A0B428DBULL;
constexpr uint64_t kSeed2 = 0x8EBC6AF09C88C6E3ULL;

// The hash of a word of up to eight bytes, from its head and length.
inline uint64_t HashHead(uint64_t head, size_t n) {
  return Mix(head ^ kSeed0, kSeed1 ^ (n * kSeed2));
}

// The hash of a longer word: eight bytes at a time, the last eight
// overlapping the ones before.
inline uint64_t HashLong(const char* p, size_t n) {
  uint64_t h = Mix(kSeed0 ^ n, kSeed1);
  for (size_t i = 0; i + 8 < n; i += 8) h = Mix(h ^ Load<uint64_t>(p + i), kSeed2);
  return Mix(h ^ Load<uint64_t>(p + n - 8), kSeed1);
}

inline uint64_t HashOf(const char* p, size_t n, uint64_t head) {
  return n <= 8 ? HashHead(head, n) : HashLong(p, n);
}

// Whether bytes 8 to n of a and b are the same, for words of more than eight
// bytes whose heads are the same. Up to sixteen bytes take one load each: a
// call to memcmp would cost more than the comparison.
inline bool SameTail(const char* a, const char* b, size_t n) {
  if (n <= 16) return Load<uint64_t>(a + n - 8) == Load<uint64_t>(b + n - 8);
  return std::memcmp(a + 8, b + 8, n - 8) == 0;
}

// The head of a word that is followed in memory by at least eight readable
// bytes: one load, masked to the word's length, with no branch.
inline uint64_t PaddedHead(const char* p, size_t n) {
  const uint64_t all = Load<uint64_t>(p);
  return n >= 8 ? all : all & ((uint64_t{1} << (n * 8)) - 1);
}

}  // namespace vorn::word_hash

#endif  // VORN_COUNTING_WORD_HASH_H_
