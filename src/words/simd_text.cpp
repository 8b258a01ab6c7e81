#include "words/simd_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <cstdlib>
#include <cstring>

#include "words/char_classes.h"

// Highway compiles the part between HWY_BEFORE_NAMESPACE and
// HWY_AFTER_NAMESPACE once per instruction set by including this file again
// (foreach_target.h); the rest is compiled once.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "words/simd_text.cpp"
#include <hwy/foreach_target.h>  // IWYU pragma: keep
#include <hwy/highway.h>

#ifndef VORN_WORDS_SIMD_TEXT_PLAIN_
#define VORN_WORDS_SIMD_TEXT_PLAIN_

namespace vorn {
namespace {
namespace plain {

// For every byte: the byte itself and its lower-case form in the low byte,
// and in the high byte the hints it gives (kHintPrepare, kHintHyphen).
struct ByteTables {
  std::array<uint16_t, 256> as_is{};
  std::array<uint16_t, 256> lower{};
  ByteTables() {
    for (int b = 0; b < 256; ++b) {
      uint16_t hint = 0;
      if (b == 8 || b == 10 || b == 12 || b == 13 || b == 0xA0) hint = kHintPrepare;
      if (b == '-') hint = kHintHyphen;
      if (b == '<') hint = kHintAngle;
      if (b >= 0x80) hint |= kHintHigh;
      as_is[b] = static_cast<uint16_t>(b | hint << 8);
      lower[b] = static_cast<uint16_t>(LowerByte(static_cast<uint8_t>(b)) | hint << 8);
    }
  }
};

const ByteTables& Tables() {
  static const ByteTables tables;
  return tables;
}

uint32_t LowerCopy(const char* in, size_t n, char* out, bool lower) {
  const auto& table = lower ? Tables().lower : Tables().as_is;
  uint16_t seen = 0;
  for (size_t i = 0; i < n; ++i) {
    const uint16_t v = table[static_cast<uint8_t>(in[i])];
    out[i] = static_cast<char>(v);
    seen |= v;
  }
  return seen >> 8;
}

void ClassBits(const char* block, size_t n, const ByteSet& set, uint64_t* bits) {
  const auto* in = reinterpret_cast<const uint8_t*>(block);
  const size_t words = n / 64 + 1;
  for (size_t w = 0; w < words; ++w) {
    const size_t from = w * 64;
    const size_t count = std::min<size_t>(64, n - from);
    uint64_t word = 0;
    for (size_t j = 0; j < count; ++j) word |= uint64_t{set.has[in[from + j]]} << j;
    bits[w] = word;
  }
}

size_t FindPrepare(const char* block, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = static_cast<uint8_t>(block[i]);
    if (c <= 13 || c == 0xA0) return i;
  }
  return n;
}

// Appends the positions of the set bits of m (base + bit) to list at *n.
// Eight are written at a time whatever their number, so that the loop
// rarely depends on how many there are.
[[gnu::always_inline]] inline void AppendBits(uint64_t m, uint32_t base, uint32_t* list,
                                              size_t* n) {
  const int count = std::popcount(m);
  uint32_t* out = list + *n;
  for (int k = 0; k < count; k += 8) {
    for (int j = 0; j < 8; ++j) {
      out[k + j] = base + static_cast<uint32_t>(std::countr_zero(m));
      m &= m - 1;
    }
  }
  *n += static_cast<size_t>(count);
}

// Built once per instruction set, where the bit counts are single
// instructions.
[[gnu::always_inline]] inline size_t ListRunsOf(const uint64_t* bits, size_t from, size_t to,
                                                uint32_t* starts, uint32_t* ends, size_t* ended) {
  size_t n_starts = 0;
  size_t n_ends = 0;
  const size_t first = from / 64;
  const size_t last = to / 64;  // the word that holds bit `to`
  const auto at_or_after = [](size_t p) { return ~uint64_t{0} << (p % 64); };
  for (size_t w = first; w <= last; ++w) {
    const uint64_t word = bits[w];
    const uint64_t before = (word << 1) | (w > 0 ? bits[w - 1] >> 63 : 0);
    uint64_t begins = word & ~before;
    uint64_t ends_at = ~word & before;
    if (w == first) {
      begins &= at_or_after(from);
      ends_at &= at_or_after(from) << 1;
    }
    if (w == last) {
      begins &= ~at_or_after(to);
      ends_at &= ~(at_or_after(to) << 1);
    }
    const auto base = static_cast<uint32_t>(w * 64);
    AppendBits(begins, base, starts, &n_starts);
    AppendBits(ends_at, base, ends, &n_ends);
  }
  *ended = n_ends;
  return n_starts;
}

size_t ListRuns(const uint64_t* bits, size_t from, size_t to, uint32_t* starts, uint32_t* ends,
                size_t* ended) {
  return ListRunsOf(bits, from, to, starts, ends, ended);
}

bool IsUncovered(const char* block, size_t n, size_t i, bool high) {
  const uint8_t c = static_cast<uint8_t>(block[i]);
  return c == '<' || c == 8 || (high && c >= 0x80) ||
         (c == '-' && i + 1 < n && block[i + 1] == '-');
}

size_t FindUncovered(const char* block, size_t n, bool high) {
  for (size_t i = 0; i < n; ++i) {
    if (IsUncovered(block, n, i, high)) return i;
  }
  return n;
}

}  // namespace plain

// The kernels of every instruction set compiled, by the number of its bit
// among Highway's targets; each build below enters its own before main()
// runs (this file's static initialisers run in order, these first).
struct CompiledTargets {
  int64_t targets = 0;
  TextKernels kernels[64] = {};
};
constinit CompiledTargets g_compiled;

bool AddCompiledTarget(int64_t target, const TextKernels& kernels) {
  g_compiled.targets |= target;
  g_compiled.kernels[std::countr_zero(static_cast<uint64_t>(target))] = kernels;
  return true;
}

}  // namespace
}  // namespace vorn

#endif  // VORN_WORDS_SIMD_TEXT_PLAIN_

HWY_BEFORE_NAMESPACE();
namespace vorn {
namespace HWY_NAMESPACE {

namespace hn = hwy::HWY_NAMESPACE;

// The widest vectors, and vectors of 16 bytes (or fewer, where there are
// none that wide) for ranges shorter than the widest. At most 64 lanes, so
// that the bits of whole vectors fill each word of a bitmap.
using DWide = hn::CappedTag<uint8_t, 64>;
using DNarrow = hn::CappedTag<uint8_t, 16>;

// Where a vector may be loaded and stored with masks that fault on no byte
// outside them, a range shorter than a vector takes one masked vector.
// Elsewhere the last vector of a range overlaps the one before it, and a
// range shorter than a vector goes to narrower vectors, then to the plain
// loop.
#if HWY_ARCH_X86 && HWY_TARGET <= HWY_AVX3
constexpr bool kMaskedMemory = true;
#else
constexpr bool kMaskedMemory = false;
#endif

// The lower-case form of every byte of v.
template <class DT, class VT = hn::Vec<DT>>
HWY_INLINE VT LowerBytes(DT d, VT v) {
  const auto ascii = hn::Lt(hn::Sub(v, hn::Set(d, 'A')), hn::Set(d, 26));
  const auto accented =
      hn::And(hn::Lt(hn::Sub(v, hn::Set(d, 0xC0)), hn::Set(d, 31)), hn::Ne(v, hn::Set(d, 0xD7)));
  VT add = hn::IfThenElseZero(hn::Or(ascii, accented), hn::Set(d, 32));
  // Š Œ Ž (0x8A 0x8C 0x8E) become š œ ž (0x9A 0x9C 0x9E), Ÿ (0x9F) ÿ (0xFF).
  const auto s_oe_z = hn::And(hn::Lt(hn::Sub(v, hn::Set(d, 0x8A)), hn::Set(d, 5)),
                              hn::Eq(hn::And(v, hn::Set(d, 1)), hn::Zero(d)));
  add = hn::Or(add, hn::IfThenElseZero(s_oe_z, hn::Set(d, 0x10)));
  add = hn::Or(add, hn::IfThenElseZero(hn::Eq(v, hn::Set(d, 0x9F)), hn::Set(d, 0x60)));
  return hn::Add(v, add);
}

// The bytes that give kHintPrepare.
template <class DT, class VT = hn::Vec<DT>>
HWY_INLINE hn::Mask<DT> PrepareBytes(DT d, VT v) {
  const auto breaks = hn::Or(hn::Or(hn::Eq(v, hn::Set(d, 8)), hn::Eq(v, hn::Set(d, 10))),
                             hn::Or(hn::Eq(v, hn::Set(d, 12)), hn::Eq(v, hn::Set(d, 13))));
  return hn::Or(breaks, hn::Eq(v, hn::Set(d, 0xA0)));
}

// Lower-cases (when kLower) and copies one vector at in + i, and adds what
// it holds to the hints.
template <bool kLower, class DT>
struct LowerCopier {
  DT d;
  hn::Mask<DT> prepare = hn::FirstN(DT(), 0);
  hn::Mask<DT> hyphen = hn::FirstN(DT(), 0);
  hn::Mask<DT> angle = hn::FirstN(DT(), 0);
  hn::Vec<DT> any = hn::Zero(DT());  // every byte copied, or-ed together

  HWY_INLINE void Copy(hn::Vec<DT> v, hn::Mask<DT> valid, uint8_t* to) {
    prepare = hn::Or(prepare, hn::And(valid, PrepareBytes(d, v)));
    hyphen = hn::Or(hyphen, hn::And(valid, hn::Eq(v, hn::Set(d, '-'))));
    angle = hn::Or(angle, hn::And(valid, hn::Eq(v, hn::Set(d, '<'))));
    any = hn::Or(any, hn::IfThenElseZero(valid, v));
    if constexpr (kMaskedMemory) {
      hn::BlendedStore(kLower ? LowerBytes(d, v) : v, valid, d, to);
    }
  }
  HWY_INLINE void Copy(hn::Vec<DT> v, uint8_t* to) {
    prepare = hn::Or(prepare, PrepareBytes(d, v));
    hyphen = hn::Or(hyphen, hn::Eq(v, hn::Set(d, '-')));
    angle = hn::Or(angle, hn::Eq(v, hn::Set(d, '<')));
    any = hn::Or(any, v);
    hn::StoreU(kLower ? LowerBytes(d, v) : v, d, to);
  }
  HWY_INLINE uint32_t Hints() const {
    const auto high = hn::Ne(hn::And(any, hn::Set(d, 0x80)), hn::Zero(d));
    return (hn::AllFalse(d, prepare) ? 0 : kHintPrepare) |
           (hn::AllFalse(d, hyphen) ? 0 : kHintHyphen) | (hn::AllFalse(d, high) ? 0 : kHintHigh) |
           (hn::AllFalse(d, angle) ? 0 : kHintAngle);
  }
};

// REQUIRES: n >= Lanes(d).
template <bool kLower, class DT>
HWY_INLINE uint32_t LowerCopyVectors(DT d, const uint8_t* in, size_t n, uint8_t* out) {
  const size_t lanes = hn::Lanes(d);
  LowerCopier<kLower, DT> copier{d};
  size_t i = 0;
  for (; i + lanes <= n; i += lanes) copier.Copy(hn::LoadU(d, in + i), out + i);
  // The last vector again, ending at the range's end: lower-casing a byte
  // twice gives what once does, even in place.
  if (i < n) copier.Copy(hn::LoadU(d, in + n - lanes), out + n - lanes);
  return copier.Hints();
}

template <bool kLower>
uint32_t LowerCopyT(const uint8_t* in, size_t n, uint8_t* out) {
  const DWide d;
  if (n >= hn::Lanes(d)) return LowerCopyVectors<kLower>(d, in, n, out);
  if constexpr (kMaskedMemory) {
    const auto valid = hn::FirstN(d, n);
    LowerCopier<kLower, DWide> copier{d};
    copier.Copy(hn::MaskedLoad(valid, d, in), valid, out);
    return copier.Hints();
  }
  const DNarrow d16;
  if (hn::Lanes(d16) < hn::Lanes(d) && n >= hn::Lanes(d16)) {
    return LowerCopyVectors<kLower>(d16, in, n, out);
  }
  return plain::LowerCopy(reinterpret_cast<const char*>(in), n, reinterpret_cast<char*>(out),
                          kLower);
}

uint32_t LowerCopy(const char* in, size_t n, char* out, bool lower) {
  const auto* from = reinterpret_cast<const uint8_t*>(in);
  auto* to = reinterpret_cast<uint8_t*>(out);
  return lower ? LowerCopyT<true>(from, n, to) : LowerCopyT<false>(from, n, to);
}

// Which bytes of a vector are in a set of bytes: the row of the set at the
// low 4 bits of a byte (high_rows for bytes from 0x80 on), tested at bit
// (byte >> 4) & 7.
template <class DT>
struct SetTester {
  explicit SetTester(DT d, const ByteSet& set)
      : low_rows(hn::LoadDup128(d, set.rows[0])), high_rows(hn::LoadDup128(d, set.rows[1])) {
    alignas(16) static constexpr uint8_t kBitOf[16] = {1, 2, 4, 8, 16, 32, 64, 128,
                                                       1, 2, 4, 8, 16, 32, 64, 128};
    bit_of = hn::LoadDup128(d, kBitOf);
  }

  HWY_INLINE hn::Mask<DT> InSet(DT d, hn::Vec<DT> v) const {
    const hn::RebindToSigned<DT> di;
    const auto low4 = hn::And(v, hn::Set(d, 15));
    const auto high = hn::RebindMask(d, hn::Lt(hn::BitCast(di, v), hn::Zero(di)));
    const auto row = hn::IfThenElse(high, hn::TableLookupBytes(high_rows, low4),
                                    hn::TableLookupBytes(low_rows, low4));
    return hn::TestBit(row, hn::TableLookupBytes(bit_of, hn::ShiftRight<4>(v)));
  }

  hn::Vec<DT> low_rows;
  hn::Vec<DT> high_rows;
  hn::Vec<DT> bit_of;
};

// The bits of a mask of at most 64 lanes, lane i at bit i.
template <class DT>
HWY_INLINE uint64_t MaskBits(DT d, hn::Mask<DT> m) {
  uint8_t bytes[8] = {};
  hn::StoreMaskBits(d, m, bytes);
  uint64_t bits;
  std::memcpy(&bits, bytes, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  bits = __builtin_bswap64(bits);
#endif
  return bits;
}

// REQUIRES: n >= Lanes(d), and Lanes(d) divides 64.
template <class DT>
HWY_INLINE void ClassBitsVectors(DT d, const uint8_t* in, size_t n, const ByteSet& set,
                                 uint64_t* bits) {
  const size_t lanes = hn::Lanes(d);
  const SetTester<DT> tester(d, set);
  const size_t words = n / 64 + 1;
  for (size_t w = 0; w < words; ++w) {
    uint64_t word = 0;
    for (size_t k = 0; k < 64; k += lanes) {
      const size_t i = w * 64 + k;
      if (i + lanes <= n) {
        word |= MaskBits(d, tester.InSet(d, hn::LoadU(d, in + i))) << k;
        continue;
      }
      if (i < n) {
        // The last vector ends at the range's end; its bits from i on are
        // those of the r bytes left.
        const size_t r = n - i;
        const uint64_t last = MaskBits(d, tester.InSet(d, hn::LoadU(d, in + n - lanes)));
        word |= (last >> (lanes - r)) << k;
      }
      break;
    }
    bits[w] = word;
  }
}

void ClassBits(const char* block, size_t n, const ByteSet& set, uint64_t* bits) {
  const DWide d;
  const auto* in = reinterpret_cast<const uint8_t*>(block);
  if (hn::Lanes(d) % 8 == 0) {
    if (n >= hn::Lanes(d)) return ClassBitsVectors(d, in, n, set, bits);
    if constexpr (kMaskedMemory) {
      const auto valid = hn::FirstN(d, n);
      bits[0] = MaskBits(
          d, hn::And(valid, SetTester<DWide>(d, set).InSet(d, hn::MaskedLoad(valid, d, in))));
      return;
    }
  }
  const DNarrow d16;
  if (hn::Lanes(d16) % 8 == 0 && n >= hn::Lanes(d16)) {
    return ClassBitsVectors(d16, in, n, set, bits);
  }
  plain::ClassBits(block, n, set, bits);
}

// The bytes a block's preparation may change: 13 or below, and 0xA0.
template <class DT>
HWY_INLINE hn::Mask<DT> PrepareCandidates(DT d, hn::Vec<DT> v) {
  return hn::Or(hn::Lt(v, hn::Set(d, 14)), hn::Eq(v, hn::Set(d, 0xA0)));
}

// REQUIRES: n >= Lanes(d).
template <class DT>
HWY_INLINE size_t FindPrepareVectors(DT d, const uint8_t* in, size_t n) {
  const size_t lanes = hn::Lanes(d);
  size_t i = 0;
  for (; i + lanes <= n; i += lanes) {
    const intptr_t at = hn::FindFirstTrue(d, PrepareCandidates(d, hn::LoadU(d, in + i)));
    if (at >= 0) return i + static_cast<size_t>(at);
  }
  if (i < n) {
    // The last vector ends at the range's end; what it shares with the
    // vectors before holds no such byte.
    const intptr_t at = hn::FindFirstTrue(d, PrepareCandidates(d, hn::LoadU(d, in + n - lanes)));
    if (at >= 0) return n - lanes + static_cast<size_t>(at);
  }
  return n;
}

size_t FindPrepare(const char* block, size_t n) {
  const DWide d;
  const auto* in = reinterpret_cast<const uint8_t*>(block);
  if (n >= hn::Lanes(d)) return FindPrepareVectors(d, in, n);
  if constexpr (kMaskedMemory) {
    const auto valid = hn::FirstN(d, n);
    const intptr_t at =
        hn::FindFirstTrue(d, hn::And(valid, PrepareCandidates(d, hn::MaskedLoad(valid, d, in))));
    return at >= 0 ? static_cast<size_t>(at) : n;
  }
  const DNarrow d16;
  if (n >= hn::Lanes(d16)) return FindPrepareVectors(d16, in, n);
  return plain::FindPrepare(block, n);
}

// REQUIRES: n > Lanes(d).
template <bool kHigh, class DT>
HWY_INLINE size_t FindUncoveredVectors(DT d, const uint8_t* in, size_t n) {
  const size_t lanes = hn::Lanes(d);
  size_t i = 0;
  // Each vector is read with the one a byte further on, for "--".
  for (; i + lanes < n; i += lanes) {
    const auto v = hn::LoadU(d, in + i);
    const auto hyphen = hn::Set(d, '-');
    auto hit = hn::Or(hn::Eq(v, hn::Set(d, '<')), hn::Eq(v, hn::Set(d, 8)));
    hit = hn::Or(hit, hn::And(hn::Eq(v, hyphen), hn::Eq(hn::LoadU(d, in + i + 1), hyphen)));
    if constexpr (kHigh) hit = hn::Or(hit, hn::TestBit(v, hn::Set(d, 0x80)));
    const intptr_t at = hn::FindFirstTrue(d, hit);
    if (at >= 0) return i + static_cast<size_t>(at);
  }
  const char* block = reinterpret_cast<const char*>(in);
  for (; i < n; ++i) {
    if (plain::IsUncovered(block, n, i, kHigh)) return i;
  }
  return n;
}

size_t FindUncovered(const char* block, size_t n, bool high) {
  const DWide d;
  const auto* in = reinterpret_cast<const uint8_t*>(block);
  if (n > hn::Lanes(d)) {
    return high ? FindUncoveredVectors<true>(d, in, n) : FindUncoveredVectors<false>(d, in, n);
  }
  return plain::FindUncovered(block, n, high);
}

size_t ListRuns(const uint64_t* bits, size_t from, size_t to, uint32_t* starts, uint32_t* ends,
                size_t* ended) {
  return plain::ListRunsOf(bits, from, to, starts, ends, ended);
}

[[maybe_unused]] const bool kCompiled = AddCompiledTarget(
    HWY_TARGET, TextKernels{&LowerCopy, &ClassBits, &FindPrepare, &FindUncovered, &ListRuns});

}  // namespace HWY_NAMESPACE
}  // namespace vorn
HWY_AFTER_NAMESPACE();

#if HWY_ONCE

namespace vorn {

namespace {

constexpr TextKernels kPlainKernels{&plain::LowerCopy, &plain::ClassBits, &plain::FindPrepare,
                                    &plain::FindUncovered, &plain::ListRuns};

// The instruction sets this processor and its system can run, as Highway's
// target bits. On x86-64 the processor is asked directly, as Highway asks
// it, so that the program needs no more of Highway than its headers:
// Highway's library measures its timer when it is loaded, which costs every
// run several milliseconds.
int64_t ProcessorTargets() {
#if HWY_ARCH_X86 && defined(__GNUC__) && !defined(__clang__)
  // GCC's checks of the AVX sets include the system's saving of their
  // registers.
  __builtin_cpu_init();
  int64_t targets = 0;
  const bool ssse3 = __builtin_cpu_supports("sse3") && __builtin_cpu_supports("ssse3");
  if (ssse3) targets |= HWY_SSSE3;
  const bool sse4 = ssse3 && __builtin_cpu_supports("sse4.1") && __builtin_cpu_supports("sse4.2") &&
                    __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("aes");
  if (sse4) targets |= HWY_SSE4;
  const bool avx2 = sse4 && __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
                    __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                    __builtin_cpu_supports("f16c") && __builtin_cpu_supports("fma") &&
                    __builtin_cpu_supports("lzcnt");
  if (avx2) targets |= HWY_AVX2;
  const bool avx3 = avx2 && __builtin_cpu_supports("avx512f") &&
                    __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx512dq") &&
                    __builtin_cpu_supports("avx512bw");
  if (avx3) targets |= HWY_AVX3;
  return targets;
#else
  return hwy::SupportedTargets();
#endif
}

// Highway's own fallbacks are no paths of their own: "scalar" is the plain
// loops.
int64_t RunnableTargets() {
  return ProcessorTargets() & g_compiled.targets & ~static_cast<int64_t>(HWY_SCALAR | HWY_EMU128);
}

std::string LowerName(int64_t target) {
  std::string name = hwy::TargetName(target);
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name;
}

// The kernels compiled for one target.
const TextKernels& KernelsOf(int64_t target) {
  return g_compiled.kernels[std::countr_zero(static_cast<uint64_t>(target))];
}

std::string& PathName() {
  static std::string name = "scalar";
  return name;
}

// The path VORN_VECTOR asks for, chosen before main() runs. Until then
// (another file's static initialisers) the plain loops serve.
[[maybe_unused]] const bool kChosenAtStart = [] {
  const char* wanted = std::getenv("VORN_VECTOR");
  SetVectorPath(wanted == nullptr ? "" : wanted);
  return true;
}();

}  // namespace

namespace internal {
constinit TextKernels g_text_kernels = kPlainKernels;
}  // namespace internal

const char* VectorPathName() { return PathName().c_str(); }

std::vector<std::string> VectorPathNames() {
  std::vector<std::string> names = {"scalar"};
  const int64_t runnable = RunnableTargets();
  for (int bit = 62; bit >= 0; --bit) {
    if ((runnable >> bit) & 1) names.push_back(LowerName(int64_t{1} << bit));
  }
  return names;
}

const char* SetVectorPath(std::string_view name) {
  std::string wanted(name);
  for (char& c : wanted) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const int64_t runnable = RunnableTargets();
  int64_t target = 0;  // none: the plain loops
  if (wanted.empty()) {
    target = runnable & -runnable;
  } else if (wanted != "scalar") {
    // Highway numbers its targets from the widest (the lowest bit) down.
    for (int bit = 0; bit < 63; ++bit) {
      const int64_t named = int64_t{1} << bit;
      if (std::strcmp(hwy::TargetName(named), "Unknown") != 0 && LowerName(named) == wanted) {
        const int64_t at_or_below = runnable & ~(named - 1);
        target = at_or_below & -at_or_below;
        break;
      }
    }
  }
  internal::g_text_kernels = target == 0 ? kPlainKernels : KernelsOf(target);
  PathName() = target == 0 ? "scalar" : LowerName(target);
  return VectorPathName();
}

}  // namespace vorn

#endif  // HWY_ONCE
