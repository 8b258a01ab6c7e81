#include "counting/part_words.h"

#include <stdexcept>

namespace vorn {

namespace {

// Most parts are small files: the index starts small and doubles.
constexpr size_t kInitialSlots = 64;
// ExpectBytes: the index made ready for a part of so many bytes a slot, at
// most this large.
constexpr int64_t kBytesPerSlot = 256;
constexpr size_t kMaxExpectedSlots = size_t{1} << 15;
// Clear keeps an index of up to this many slots (64 KB).
constexpr size_t kMaxKeptSlots = size_t{1} << 12;
constexpr size_t kMaxEntries = 0x7FFFFFFF;     // entry numbers are 32-bit
constexpr size_t kMaxTextBytes = 0xFFFFFFFFu;  // offsets are 32-bit

}  // namespace

PartWords::PartWords() { Rehash(kInitialSlots); }

void PartWords::ExpectBytes(int64_t bytes) {
  // Text has about one new word in every few hundred bytes of a large part
  // (and fewer as the part grows).
  size_t slots = kInitialSlots;
  while (slots < kMaxExpectedSlots && static_cast<int64_t>(slots) * kBytesPerSlot < bytes) {
    slots *= 2;
  }
  if (slots > slots_.size()) Rehash(slots);
}

void PartWords::Clear() {
  entries_.Truncate(0);
  counts_.Truncate(0);
  arena_.Truncate(0);
  if (slots_.size() > kMaxKeptSlots) {
    Rehash(kInitialSlots);
  } else {
    slots_.AssignZeros(slots_.size());
  }
}

void PartWords::AddEntry(BytesView word, uint64_t head, size_t slot, WordList::Gate* gate) {
  const size_t n = word.size();
  if (entries_.size() >= kMaxEntries || n > kLengthBits || n > kMaxTextBytes - arena_.size()) {
    throw std::length_error("The word table is full.");
  }
  uint32_t length = static_cast<uint32_t>(n);
  if (gate != nullptr && !gate->Admits(word)) length |= kRefused;
  const auto entry = static_cast<uint32_t>(entries_.size());
  entries_.push_back(Entry{static_cast<uint32_t>(arena_.size()), length});
  arena_.Append(word.data(), n);
  counts_.push_back(1);
  slots_[slot] = Slot{head, static_cast<uint32_t>(n), entry};
  if (entries_.size() * 2 > slots_.size()) Rehash(slots_.size() * 2);
}

void PartWords::Rehash(size_t buckets) {
  // A new index: the old one is not copied first.
  slots_.Release();
  slots_.AssignZeros(buckets);
  mask_ = buckets - 1;
  Slot* const index = slots_.data();
  for (size_t k = 0; k < entries_.size(); ++k) {
    const char* p = arena_.data() + entries_[k].offset;
    const size_t n = entries_[k].length & kLengthBits;
    const uint64_t head = word_hash::Head(p, n);
    size_t i = word_hash::HashOf(p, n, head) & mask_;
    while (index[i].length != 0) i = (i + 1) & mask_;
    index[i] = Slot{head, static_cast<uint32_t>(n), static_cast<uint32_t>(k)};
  }
}

}  // namespace vorn
