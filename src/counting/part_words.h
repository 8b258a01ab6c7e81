// PartWords: the table into which one part of a parallel run counts its
// words, to be merged into the run's WordList in the order the words were
// first met.
//
// It is made for the one thing a part does, counting occurrences: each slot
// of its hash index holds a word's first eight bytes and its length beside
// the entry's number, so that a word of up to eight bytes (most words) is
// found with one read of the index, and its count lies apart from the
// index, where adding to it holds up no later lookup. The gate of a part
// (the scanner's discard rules) is asked once per distinct word; a refused
// word is still counted, and listed with no occurrences.
//
// Not thread-safe: one table per part.

#ifndef VORN_COUNTING_PART_WORDS_H_
#define VORN_COUNTING_PART_WORDS_H_

#include <cstdint>

#include "counting/word_hash.h"
#include "counting/word_list.h"
#include "util/store.h"
#include "util/text.h"

namespace vorn {

class PartWords {
 public:
  PartWords();

  // Makes the index ready for the words of about `bytes` bytes of text, so
  // that it grows less often.
  void ExpectBytes(int64_t bytes);

  // Empties the table for another part, keeping its memory (a large index
  // starts small again).
  void Clear();

  // Counts one occurrence of `word`. A word met for the first time is put
  // to `gate` (null: every word is admitted). Throws std::length_error when
  // the table cannot take another entry.
  void Add(BytesView word, WordList::Gate* gate) {
    const uint64_t head = word_hash::Head(word.data(), word.size());
    Count(word, head, gate);
  }
  // As Add, for a word followed in memory by at least eight readable bytes.
  void AddPadded(BytesView word, WordList::Gate* gate) {
    Count(word, word_hash::PaddedHead(word.data(), word.size()), gate);
  }

  // The entries made, refused words among them.
  int64_t DistinctCount() const { return static_cast<int64_t>(entries_.size()); }
  // The bytes of the words of every entry.
  size_t TextBytes() const { return arena_.size(); }

  // Calls f(BytesView word, int64_t count) for every entry in the order the
  // entries were made; a refused word has count 0.
  template <class F>
  void ForEachEntryInOrder(F f) const {
    for (size_t k = 0; k < entries_.size(); ++k) {
      const Entry& e = entries_[k];
      f(BytesView(arena_.data() + e.offset, e.length & kLengthBits),
        (e.length & kRefused) != 0 ? 0 : static_cast<int64_t>(counts_[k]));
    }
  }

 private:
  struct Slot {
    uint64_t head;    // the word's first eight bytes, zero-padded
    uint32_t length;  // 0: an empty slot
    uint32_t entry;
  };
  struct Entry {
    uint32_t offset;  // of the word's text in arena_
    uint32_t length;  // with kRefused when the gate refused the word
  };
  static constexpr uint32_t kRefused = 0x80000000u;
  static constexpr uint32_t kLengthBits = 0x7FFFFFFFu;

  void Count(BytesView word, uint64_t head, WordList::Gate* gate) {
    const char* const p = word.data();
    const size_t n = word.size();
    const uint64_t h = word_hash::HashOf(p, n, head);
    const Slot* const index = slots_.data();
    for (size_t i = h & mask_;; i = (i + 1) & mask_) {
      const Slot& s = index[i];
      if (s.head == head && s.length == n &&
          (n <= 8 || word_hash::SameTail(arena_.data() + entries_[s.entry].offset, p, n))) {
        ++counts_[s.entry];
        return;
      }
      if (s.length == 0) [[unlikely]] {
        AddEntry(word, head, i, gate);
        return;
      }
    }
  }
  // Makes the entry of a word met for the first time, whose slot is to be
  // `slot`.
  [[gnu::noinline]] void AddEntry(BytesView word, uint64_t head, size_t slot, WordList::Gate* gate);
  void Rehash(size_t buckets);

  Store<Slot> slots_;
  size_t mask_ = 0;
  Store<Entry> entries_;
  Store<uint64_t> counts_;  // parallel to entries_
  Store<char> arena_;       // the text of every word
};

}  // namespace vorn

#endif  // VORN_COUNTING_PART_WORDS_H_
