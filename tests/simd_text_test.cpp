#include "words/simd_text.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/vector_paths.h"
#include "words/char_classes.h"

namespace vorn {
namespace {

// The kernels as plain byte loops, written from what they are meant to do.
uint32_t ReferenceLowerCopy(const char* in, size_t n, char* out, bool lower) {
  uint32_t hints = 0;
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = static_cast<uint8_t>(in[i]);
    out[i] = static_cast<char>(lower ? LowerByte(c) : c);
    if (c == 8 || c == 10 || c == 12 || c == 13 || c == 0xA0) hints |= kHintPrepare;
    if (c == '-') hints |= kHintHyphen;
    if (c == '<') hints |= kHintAngle;
    if (c >= 0x80) hints |= kHintHigh;
  }
  return hints;
}

std::vector<uint64_t> ReferenceClassBits(const char* block, size_t n, const bool* in_set) {
  std::vector<uint64_t> bits(n / 64 + 1, 0);
  for (size_t i = 0; i < n; ++i) {
    if (in_set[static_cast<uint8_t>(block[i])]) bits[i / 64] |= uint64_t{1} << (i % 64);
  }
  return bits;
}

size_t ReferenceFindPrepare(const char* block, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = static_cast<uint8_t>(block[i]);
    if (c <= 13 || c == 0xA0) return i;
  }
  return n;
}

size_t ReferenceFindUncovered(const char* block, size_t n, bool high) {
  for (size_t i = 0; i < n; ++i) {
    const uint8_t c = static_cast<uint8_t>(block[i]);
    if (c == '<' || c == 8 || (high && c >= 0x80)) return i;
    if (c == '-' && i + 1 < n && block[i + 1] == '-') return i;
  }
  return n;
}

// Bytes that tell the paths apart, if any: letters of both cases and their
// neighbours, the case pairs above 127, blanks, control characters, the
// characters the scanner treats apart, and bytes with the high bit set.
constexpr uint8_t kOddBytes[] = {0,    1,    8,    9,    10,   11,   12,   13,   14,   31,   ' ',
                                 '-',  '<',  '>',  '\'', '.',  ',',  '@',  'A',  'Z',  '[',  '`',
                                 'a',  'z',  '{',  0x7F, 0x80, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E,
                                 0x8F, 0x9A, 0x9C, 0x9E, 0x9F, 0xA0, 0xA1, 0xBF, 0xC0, 0xD6, 0xD7,
                                 0xD8, 0xDE, 0xDF, 0xE0, 0xF7, 0xFE, 0xFF};

// A buffer of n bytes in one of several mixes.
std::string RandomBytes(std::mt19937* rng, size_t n, int mix) {
  std::string s(n, ' ');
  std::uniform_int_distribution<int> any(0, 255);
  std::uniform_int_distribution<size_t> odd(0, std::size(kOddBytes) - 1);
  std::uniform_int_distribution<int> letter(0, 25);
  std::uniform_int_distribution<int> percent(0, 99);
  for (char& c : s) {
    const int p = percent(*rng);
    if (mix == 0) {
      c = static_cast<char>(any(*rng));
    } else if (mix == 1) {
      c = static_cast<char>(kOddBytes[odd(*rng)]);
    } else if (p < 70) {  // text: mostly letters, a few odd bytes
      c = static_cast<char>((p < 10 ? 'A' : 'a') + letter(*rng));
    } else if (p < 85) {
      c = ' ';
    } else {
      c = static_cast<char>(kOddBytes[odd(*rng)]);
    }
  }
  return s;
}

// Runs each test on every path this processor has.
using SimdTextTest = VectorPathsTest;

TEST_F(SimdTextTest, PathsAreNamedAndChosen) {
  const std::vector<std::string> paths = VectorPathNames();
  ASSERT_FALSE(paths.empty());
  EXPECT_EQ(paths.front(), "scalar");
  for (const std::string& path : paths) EXPECT_STREQ(SetVectorPath(path), path.c_str());
  // No name: the widest; a name not known: the plain loops.
  EXPECT_EQ(SetVectorPath(""), paths.back());
  EXPECT_STREQ(SetVectorPath("no-such-path"), "scalar");
  EXPECT_STREQ(SetVectorPath("emu128"), "scalar");
  std::string upper = paths.back();
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  EXPECT_EQ(SetVectorPath(upper), paths.back());
}

TEST_F(SimdTextTest, PathsAreTheSetsHighwayFindsOnThisProcessor) {
  // The engine reads the processor itself on x86-64; Highway's library must
  // agree on every set built.
#if !HWY_ARCH_X86
  GTEST_SKIP() << "Highway answers for itself here";
#endif
  std::vector<std::string> want = {"scalar"};
  const int64_t built = HWY_SSSE3 | HWY_SSE4 | HWY_AVX2 | HWY_AVX3;
  const int64_t sets = hwy::SupportedTargets() & built;
  for (int bit = 62; bit >= 0; --bit) {
    if ((sets >> bit) & 1) {
      std::string name = hwy::TargetName(int64_t{1} << bit);
      for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      want.push_back(name);
    }
  }
  EXPECT_EQ(VectorPathNames(), want);
}

TEST_F(SimdTextTest, WiderSetsThanTheProcessorHasGiveTheWidestBelow) {
  // Highway's names of the x86 sets, widest first; a set this processor
  // lacks (or that is not built) gives the widest one it has below it, and
  // on another processor none of them is known.
  const std::vector<std::string> paths = VectorPathNames();
  const std::vector<std::string> x86 = {"avx3_dl", "avx3", "avx2", "sse4", "ssse3"};
  for (size_t i = 0; i < x86.size(); ++i) {
    std::string want = "scalar";
    for (size_t j = i; j < x86.size(); ++j) {
      if (std::find(paths.begin(), paths.end(), x86[j]) != paths.end()) {
        want = x86[j];
        break;
      }
    }
    EXPECT_EQ(SetVectorPath(x86[i]), want) << x86[i];
  }
}

// The random mix meets every byte value, so every byte is folded as LowerByte
// folds it.
TEST_F(SimdTextTest, LowerCopyMatchesTheByteLoop) {
  for (const std::string& path : VectorPathNames()) {
    SetVectorPath(path);
    std::mt19937 rng(20240601);
    for (size_t n = 0; n <= 300; ++n) {
      for (size_t align = 0; align < 64; align += (n < 80 ? 1 : 7)) {
        const std::string text = RandomBytes(&rng, n, static_cast<int>((n + align) % 3));
        // Exactly as long as the input, so that reading past it is seen by
        // the address sanitizer.
        std::vector<char> in(align + n);
        std::copy(text.begin(), text.end(), in.begin() + align);
        for (bool lower : {false, true}) {
          std::vector<char> want(n + 16, '#');
          std::vector<char> got(align + n + 16, '#');
          const uint32_t want_hints = ReferenceLowerCopy(in.data() + align, n, want.data(), lower);
          const uint32_t got_hints =
              Kernels().lower_copy(in.data() + align, n, got.data() + align, lower);
          ASSERT_EQ(got_hints, want_hints) << path << " n=" << n << " align=" << align;
          ASSERT_EQ(std::string(got.begin(), got.begin() + align), std::string(align, '#'));
          ASSERT_EQ(std::string(got.begin() + align, got.end()),
                    std::string(want.begin(), want.end()))
              << path << " n=" << n << " align=" << align << " lower=" << lower;
          // In place.
          std::vector<char> same(in);
          ASSERT_EQ(Kernels().lower_copy(same.data() + align, n, same.data() + align, lower),
                    want_hints);
          ASSERT_EQ(std::string(same.begin() + align, same.end()), std::string(want.data(), n))
              << path << " n=" << n;
        }
      }
    }
  }
}

TEST_F(SimdTextTest, ClassBitsMatchTheByteLoop) {
  // The word characters of several settings, and random sets of bytes.
  std::vector<std::vector<bool>> sets;
  for (const std::u16string& extra :
       {std::u16string(u""), std::u16string(u"-'\u2018_:\\/.@0123456789()&,"),
        std::u16string(u"\u00D7\u00F7\u00A7\u0160\t"), std::u16string(u"0123456789")}) {
    const CharClassTable table(extra);
    std::vector<bool> set(256);
    for (int b = 0; b < 256; ++b) set[b] = table.IsWord(static_cast<char>(b));
    sets.push_back(set);
  }
  std::mt19937 set_rng(7);
  for (int k = 0; k < 6; ++k) {
    std::vector<bool> set(256);
    for (int b = 0; b < 256; ++b) set[b] = (set_rng() % 4) < static_cast<unsigned>(k % 4);
    sets.push_back(set);
  }
  sets.push_back(std::vector<bool>(256, true));
  for (const std::string& path : VectorPathNames()) {
    SetVectorPath(path);
    std::mt19937 rng(99);
    for (size_t s = 0; s < sets.size(); ++s) {
      ByteSet byte_set;
      bool in_set[256];
      for (int b = 0; b < 256; ++b) {
        in_set[b] = sets[s][b];
        if (in_set[b]) byte_set.Add(static_cast<uint8_t>(b));
      }
      for (size_t n = 0; n <= 300; ++n) {
        for (size_t align = 0; align < 64; align += (n < 100 ? 3 : 11)) {
          const std::string text = RandomBytes(&rng, n, static_cast<int>((n + s) % 3));
          std::vector<char> in(align + n);
          std::copy(text.begin(), text.end(), in.begin() + align);
          const std::vector<uint64_t> want = ReferenceClassBits(in.data() + align, n, in_set);
          // One word more than the kernel may write, which must stay as it is.
          std::vector<uint64_t> got(want.size() + 1, ~uint64_t{0});
          Kernels().class_bits(in.data() + align, n, byte_set, got.data());
          ASSERT_EQ(got.back(), ~uint64_t{0}) << path << " n=" << n;
          got.pop_back();
          ASSERT_EQ(got, want) << path << " set " << s << " n=" << n << " align=" << align;
        }
      }
    }
  }
}

TEST_F(SimdTextTest, FindPrepareMatchesTheByteLoop) {
  for (const std::string& path : VectorPathNames()) {
    SetVectorPath(path);
    std::mt19937 rng(4242);
    for (size_t n = 0; n <= 300; ++n) {
      for (size_t align = 0; align < 64; align += (n < 80 ? 1 : 7)) {
        std::string text = RandomBytes(&rng, n, 2);
        // Mostly text without such a byte, with one placed at random.
        for (char& c : text) {
          const uint8_t u = static_cast<uint8_t>(c);
          if (u <= 13 || u == 0xA0) c = 'x';
        }
        if (n > 0 && rng() % 4 != 0) {
          const uint8_t kStops[] = {0, 8, 9, 10, 12, 13, 0xA0, 1, 7};
          text[rng() % n] = static_cast<char>(kStops[rng() % std::size(kStops)]);
        }
        std::vector<char> in(align + n);
        std::copy(text.begin(), text.end(), in.begin() + align);
        ASSERT_EQ(Kernels().find_prepare(in.data() + align, n),
                  ReferenceFindPrepare(in.data() + align, n))
            << path << " n=" << n << " align=" << align;
      }
    }
  }
}

TEST_F(SimdTextTest, FindUncoveredMatchesTheByteLoop) {
  for (const std::string& path : VectorPathNames()) {
    SetVectorPath(path);
    std::mt19937 rng(99);
    for (size_t n = 0; n <= 300; ++n) {
      for (size_t align = 0; align < 64; align += (n < 80 ? 1 : 7)) {
        std::string text = RandomBytes(&rng, n, 2);
        // Mostly text without such a byte, with one placed at random: a
        // "-" that a "-" follows may stand where a vector ends.
        for (char& c : text) {
          if (c == '<' || c == 8 || c == '-' || (c & 0x80) != 0) c = 'x';
        }
        if (n > 0 && rng() % 4 != 0) {
          const char kStops[] = {'<', 8, '-', '-', static_cast<char>(0xE9), '>'};
          const size_t at = rng() % n;
          text[at] = kStops[rng() % std::size(kStops)];
          if (text[at] == '-' && at + 1 < n && rng() % 2 == 0) text[at + 1] = '-';
        }
        std::vector<char> in(align + n);
        std::copy(text.begin(), text.end(), in.begin() + align);
        for (const bool high : {false, true}) {
          ASSERT_EQ(Kernels().find_uncovered(in.data() + align, n, high),
                    ReferenceFindUncovered(in.data() + align, n, high))
              << path << " n=" << n << " align=" << align << " high=" << high;
        }
      }
    }
  }
}

TEST_F(SimdTextTest, ListRunsMatchesTheBits) {
  for (const std::string& path : VectorPathNames()) {
    SetVectorPath(path);
    std::mt19937 rng(5);
    for (int round = 0; round < 400; ++round) {
      // Bitmaps of short runs, long runs, and every bit set.
      std::vector<uint64_t> bits(1 + rng() % 6);
      for (uint64_t& w : bits) {
        w = round % 3 == 0 ? rng() : round % 3 == 1 ? ~uint64_t{0} << (rng() % 64) : ~uint64_t{0};
        if (rng() % 3 == 0) w = static_cast<uint64_t>(rng()) << 32 | rng();
      }
      bits.push_back(0);
      const size_t limit = (bits.size() - 1) * 64;
      const size_t from = rng() % limit;
      const size_t to = from + rng() % (limit - from + 1);
      const auto bit = [&](size_t i) { return (bits[i / 64] >> (i % 64)) & 1; };
      std::vector<uint32_t> want_starts;
      std::vector<uint32_t> want_ends;
      for (size_t i = from; i <= to; ++i) {
        const bool before = i > 0 && bit(i - 1);
        if (i < to && bit(i) && !before) want_starts.push_back(static_cast<uint32_t>(i));
        if (i > from && !bit(i) && before) want_ends.push_back(static_cast<uint32_t>(i));
      }
      std::vector<uint32_t> starts(limit + kRunListSlack);
      std::vector<uint32_t> ends(limit + kRunListSlack);
      size_t ended = 0;
      const size_t n =
          Kernels().list_runs(bits.data(), from, to, starts.data(), ends.data(), &ended);
      starts.resize(n);
      ends.resize(ended);
      ASSERT_EQ(starts, want_starts) << path << " round " << round;
      ASSERT_EQ(ends, want_ends) << path << " round " << round;
    }
  }
}

}  // namespace
}  // namespace vorn
