// Vector kernels of the character work: the lower-cased copy of an 8-bit
// line, the bitmap of a character class over a block, and the searches for
// the first character a block's preparation changes and for the first one
// plain words do not cover.
//
// Each kernel has a plain byte loop and one build per instruction set; the
// widest set the processor has is chosen when the program starts. The
// environment variable VORN_VECTOR chooses another path: "scalar" for the
// plain loops, or the lower-case name of an instruction set ("sse4",
// "avx2", "avx3", ...). A set the processor lacks gives the widest it has
// below that one; a name not known gives the plain loops. Every path gives
// the same bytes.
//
// The kernels may be called from any thread. SetVectorPath must not run
// while another thread uses them.

#ifndef VORN_WORDS_SIMD_TEXT_H_
#define VORN_WORDS_SIMD_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A set of byte values in the two forms the kernels test: rows[b >> 7] at
// the low 4 bits of a byte b holds bit (b >> 4) & 7 when b is in the set,
// and has[b] is 1.
struct ByteSet {
  alignas(16) uint8_t rows[2][16] = {};
  uint8_t has[256] = {};

  void Add(uint8_t b) {
    rows[b >> 7][b & 15] = static_cast<uint8_t>(rows[b >> 7][b & 15] | 1u << ((b >> 4) & 7));
    has[b] = 1;
  }
  bool Has(uint8_t b) const { return has[b] != 0; }
};

// What LowerCopy tells of the bytes it copied.
inline constexpr uint32_t kHintPrepare = 1;  // a backspace, LF, form feed, CR or no-break space
inline constexpr uint32_t kHintHyphen = 2;   // a "-"
inline constexpr uint32_t kHintHigh = 4;     // a byte of 0x80 or above
inline constexpr uint32_t kHintAngle = 8;    // a "<"

// The kernels of one path.
struct TextKernels {
  // Copies in[0, n) to out[0, n), lower-cased (the case pairs of
  // Windows-1252: A-Z, 0xC0-0xDE but 0xD7, and 0x8A 0x8C 0x8E 0x9F) when
  // lower. Returns the hints (kHintPrepare, kHintHyphen, kHintHigh,
  // kHintAngle) of what the copied bytes hold. REQUIRES: the two ranges do not overlap, unless in
  // == out.
  uint32_t (*lower_copy)(const char* in, size_t n, char* out, bool lower);
  // Stores in bits[0, n / 64 + 1) the bitmap of the bytes of block[0, n)
  // that are in set: bit i % 64 of bits[i / 64] for block[i]; every bit from
  // n on is clear.
  void (*class_bits)(const char* block, size_t n, const ByteSet& set, uint64_t* bits);
  // The position of the first byte of block[0, n) that is 13 or below or
  // 0xA0 (a character that preparing a block may change), or n.
  size_t (*find_prepare)(const char* block, size_t n);
  // The position of the first byte of block[0, n) that is "<", a
  // backspace, the first of two "-" in a row, or (when high) 0x80 or above;
  // or n.
  size_t (*find_uncovered)(const char* block, size_t n, bool high);
  // Lists the runs of set bits of a bitmap (bit i % 64 of bits[i / 64] for
  // position i) that begin in [from, to), by their first position, in
  // starts, and the positions right after the runs that end in (from, to],
  // in ends (*ended of them). Returns the number of starts. Each list has
  // room for kRunListSlack entries more than it is given. REQUIRES: bits
  // holds bit `to`.
  size_t (*list_runs)(const uint64_t* bits, size_t from, size_t to, uint32_t* starts,
                      uint32_t* ends, size_t* ended);
};

// What list_runs may write past the entries it lists.
inline constexpr size_t kRunListSlack = 8;

namespace internal {
extern TextKernels g_text_kernels;
}  // namespace internal

// The kernels of the path in use.
inline const TextKernels& Kernels() { return internal::g_text_kernels; }

// The path in use: "scalar" or the lower-case name of an instruction set.
const char* VectorPathName();

// The paths this processor can run, "scalar" first, then the instruction
// sets from the narrowest to the widest.
std::vector<std::string> VectorPathNames();

// Chooses the path as VORN_VECTOR does (an empty name: the widest) and
// returns the name of the path now in use.
const char* SetVectorPath(std::string_view name);

}  // namespace vorn

#endif  // VORN_WORDS_SIMD_TEXT_H_
