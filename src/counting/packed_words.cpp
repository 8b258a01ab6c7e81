#include "counting/packed_words.h"

namespace vorn {

namespace {

size_t NumberBytes(uint64_t value) {
  size_t n = 1;
  for (; value >= 0x80; value >>= 7) ++n;
  return n;
}

void AppendNumber(uint64_t value, std::string* out) {
  while (value >= 0x80) {
    out->push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out->push_back(static_cast<char>(value));
}

}  // namespace

void PackWords(const PartWords& words, std::string* out) {
  size_t bytes = words.TextBytes();
  words.ForEachEntryInOrder([&bytes](BytesView word, int64_t count) {
    bytes += NumberBytes(static_cast<uint64_t>(count)) + NumberBytes(word.size());
  });
  out->reserve(out->size() + bytes);
  words.ForEachEntryInOrder([out](BytesView word, int64_t count) {
    AppendNumber(static_cast<uint64_t>(count), out);
    AppendNumber(word.size(), out);
    out->append(word);
  });
}

}  // namespace vorn
