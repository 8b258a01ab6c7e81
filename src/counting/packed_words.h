// PackedWords: the words a worker counted in one file, packed into one
// string for the engine to merge. A table takes several allocations and is
// walked entry by entry; a packed file is one allocation, read front to
// back. The words keep the order in which they were first met; each is a
// count (0 for a word the gate refused), its length and its bytes, the two
// numbers seven bits to a byte.

#ifndef VORN_COUNTING_PACKED_WORDS_H_
#define VORN_COUNTING_PACKED_WORDS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "counting/part_words.h"
#include "util/text.h"

namespace vorn {

// Appends every entry of `words` to *out, in the order the entries were made.
void PackWords(const PartWords& words, std::string* out);

namespace packed_words_internal {

// Reads a number packed at *p, and moves *p past it.
inline uint64_t ReadNumber(const unsigned char** p) {
  uint64_t value = 0;
  for (int shift = 0;; shift += 7) {
    const unsigned char byte = *(*p)++;
    value |= static_cast<uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return value;
  }
}

}  // namespace packed_words_internal

// Calls f(BytesView word, int64_t count) for every word packed in `packed`
// (PackWords' output), in order; a refused word has count 0.
template <class F>
void ForEachPackedWord(std::string_view packed, F f) {
  const auto* p = reinterpret_cast<const unsigned char*>(packed.data());
  const unsigned char* const end = p + packed.size();
  while (p < end) {
    const auto count = static_cast<int64_t>(packed_words_internal::ReadNumber(&p));
    const auto length = static_cast<size_t>(packed_words_internal::ReadNumber(&p));
    f(BytesView(reinterpret_cast<const char*>(p), length), count);
    p += length;
  }
}

}  // namespace vorn

#endif  // VORN_COUNTING_PACKED_WORDS_H_
