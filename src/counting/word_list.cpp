#include "counting/word_list.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <string>

#include "counting/word_hash.h"
#include "util/paced_sort.h"
#include "words/char_classes.h"

namespace vorn {

using word_hash::HashHead;
using word_hash::HashLong;
using word_hash::HashOf;
using word_hash::Head;
using word_hash::SameTail;

namespace {

constexpr size_t kInitialBuckets = 1024;

}  // namespace

uint64_t WordList::HashWord(BytesView w) {
  return HashOf(w.data(), w.size(), Head(w.data(), w.size()));
}

namespace {

// Œ Ä Æ Ö Ü ä æ ö ü ß and what they become in a sort key.
constexpr TextView kTwoLetterFrom = u"\u0152\u00C4\u00C6\u00D6\u00DC\u00E4\u00E6\u00F6\u00FC\u00DF";
constexpr TextView kTwoLetterTo = u"OeAeAeOeUeaeaeoeuess";
constexpr TextView kBaseFrom =
    u"\u0160\u0178\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C7\u00C8\u00C9\u00CA\u00CB\u00CC\u00CD"
    u"\u00CE\u00CF\u00D0\u00D1\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8\u00D9\u00DA\u00DB\u00DC\u00DD"
    u"\u0161\u00FF\u00E0\u00E1\u00E2\u00E3\u00E4\u00E5\u00E7\u00E8\u00E9\u00EA\u00EB\u00EC\u00ED"
    u"\u00EE\u00EF\u00F1\u00F2\u00F3\u00F4\u00F5\u00F6\u00F8\u00F9\u00FA\u00FB\u00FC\u00FD";
constexpr TextView kBaseTo = u"SYAAAAAACEEEEIIIIDNOOOOOOUUUUYsyaaaaaaceeeeiiiinoooooouuuuy";
static_assert(kTwoLetterFrom.size() * 2 == kTwoLetterTo.size());
static_assert(kBaseFrom.size() == kBaseTo.size());

}  // namespace

Text MakeSortKey(TextView word) {
  Text key;
  key.reserve(word.size() + 2);
  for (char16_t c : word) {
    if (c < 0x80) {
      key.push_back(LowerChar(c));
      continue;
    }
    const size_t two = kTwoLetterFrom.find(c);
    if (two != TextView::npos) {
      key.push_back(LowerChar(kTwoLetterTo[2 * two]));
      key.push_back(LowerChar(kTwoLetterTo[2 * two + 1]));
      continue;
    }
    const size_t base = kBaseFrom.find(c);
    key.push_back(LowerChar(base != TextView::npos ? kBaseTo[base] : c));
  }
  return key;
}

namespace {

// The sort key of every Windows-1252 byte, taken from MakeSortKey so that the
// two forms cannot differ: one or two bytes.
struct SortKeyTable {
  std::array<std::array<char, 2>, 256> bytes{};
  std::array<uint8_t, 256> length{};
  std::array<bool, 256> same{};  // the byte is its own key
  SortKeyTable() {
    for (int b = 0; b < 256; ++b) {
      const auto byte = static_cast<uint8_t>(b);
      const std::string key = EncodeWindows1252(MakeSortKey(Text(1, Windows1252ToChar(byte))));
      length[byte] = static_cast<uint8_t>(key.size());
      for (size_t k = 0; k < key.size() && k < 2; ++k) bytes[byte][k] = key[k];
      same[byte] = key.size() == 1 && static_cast<uint8_t>(key[0]) == byte;
    }
  }
};

const SortKeyTable& SortKeys() {
  static const SortKeyTable table;
  return table;
}

// Whether the word is its own sort key (lower-case letters without accents,
// and most other characters).
bool IsOwnSortKey(BytesView word, const SortKeyTable& table) {
  for (char c : word) {
    if (!table.same[static_cast<uint8_t>(c)]) return false;
  }
  return true;
}

constexpr size_t kMaxEntries = 0x7FFFFFFF;     // entry numbers are 32-bit
constexpr size_t kMaxTextBytes = 0xFFFFFFFFu;  // offsets are 32-bit
constexpr size_t kMaxTallies = 0xFFFFFFFEu;    // tally links are 32-bit

}  // namespace

void AppendSortKey(BytesView word, Bytes* key) {
  const SortKeyTable& table = SortKeys();
  for (char c : word) {
    const auto b = static_cast<uint8_t>(c);
    key->append(table.bytes[b].data(), table.length[b]);
  }
}

WordList::WordList() { Clear(); }

void WordList::Clear() {
  // Every store is given back, so that one large run does not hold its
  // memory through the next.
  entries_.Release();
  arena_.Release();
  files_.Release();
  tallies_.Release();
  tracking_files_ = false;
  list_words_ = false;
  slots_.Release();
  slots_.AssignZeros(kInitialBuckets);
  mask_ = kInitialBuckets - 1;
  finalized_ = false;
  refused_ = 0;
}

void WordList::Rehash(size_t buckets) {
  // The old index is dropped before the new one is made: the hashes come
  // again from the heads in the entries (a longer word's from its text, read
  // in the order it was stored), so the two never need to be held at once.
  slots_.Release();
  slots_.AssignZeros(buckets);
  mask_ = buckets - 1;
  uint32_t* const slots = slots_.data();
  for (size_t k = 0; k < entries_.size(); ++k) {
    if (pacer_ != nullptr) pacer_->Poll();
    size_t i = HashOfEntry(entries_[k]) & mask_;
    while (slots[i] != 0) i = (i + 1) & mask_;
    slots[i] = static_cast<uint32_t>(k + 1);
  }
}

uint64_t WordList::HashOfEntry(const WordEntry& e) const {
  const size_t n = e.word_length;
  return n <= 8 ? HashHead(HeadOf(e), n) : HashLong(arena_.data() + e.word_offset, n);
}

void WordList::StartTrackingFiles() {
  // Every word so far came from file 0.
  tracking_files_ = true;
  files_.AssignZeros(entries_.size());
  for (size_t k = 0; k < entries_.size(); ++k) {
    if (pacer_ != nullptr) pacer_->Poll();
    files_[k].file_count = 1;
    files_[k].last_file = 0;
    files_[k].last_file_count =
        static_cast<int32_t>(std::min<int64_t>(entries_[k].Count, kMaxCountPerFile));
    files_[k].earlier = 0;
  }
}

void WordList::CountInFile(size_t k, int32_t file_index, int64_t count) {
  FileData& f = files_[k];
  if (f.last_file != file_index) {
    // A new file: the tally of the last one is complete. Only the first
    // kMaxFilesPerEntry files of an entry get a tally.
    if (f.last_file_count >= 0) {
      if (tallies_.size() >= kMaxTallies) throw std::length_error("The file tallies are full.");
      tallies_.push_back({{f.last_file, f.last_file_count}, f.earlier});
      f.earlier = static_cast<uint32_t>(tallies_.size());
    }
    f.last_file = file_index;
    ++f.file_count;
    f.last_file_count = f.file_count <= kMaxFilesPerEntry ? 0 : -1;
  }
  if (f.last_file_count >= 0) {
    f.last_file_count =
        static_cast<int32_t>(std::min<int64_t>(f.last_file_count + count, kMaxCountPerFile));
  }
}

uint32_t WordList::StoreText(BytesView text) {
  if (text.size() > kMaxTextBytes - arena_.size()) {
    throw std::length_error("The word table is full.");
  }
  const auto offset = static_cast<uint32_t>(arena_.size());
  arena_.Append(text.data(), text.size());
  return offset;
}

bool WordList::AddOccurrence(BytesView word, int32_t file_index) {
  return AddGated(word, file_index, nullptr) == Gated::kNew;
}

WordList::Gated WordList::AddGated(BytesView word, int32_t file_index, Gate* gate) {
  return Add(word, file_index, 1, gate);
}

WordList::Gated WordList::AddGatedCount(BytesView word, int32_t file_index, int64_t count,
                                        Gate* gate) {
  return Add(word, file_index, count, gate);
}

// The lookup, kept small for the usual case of a word met before; a new
// word goes to AddEntry. The index holds entry numbers only, and the entry
// the word's first eight bytes next to its count, so that a hit reads the
// index and the entry but not the text. Slots of 16 bytes holding those
// bytes (and the counts) would spare the read of the entry, but they make
// the index four times as large: on large tables the memory cost more time
// than the read saved.
inline WordList::Gated WordList::Add(BytesView word, int32_t file_index, int64_t count,
                                     Gate* gate) {
  if (file_index != 0 && !tracking_files_) [[unlikely]] {
    StartTrackingFiles();
  }
  const char* const p = word.data();
  const size_t n = word.size();
  const uint64_t head = Head(p, n);
  const uint64_t h = HashOf(p, n, head);
  const uint32_t* const slots = slots_.data();
  for (size_t i = h & mask_;; i = (i + 1) & mask_) {
    const uint32_t ref = slots[i];
    if (ref == 0) [[unlikely]] {
      return AddEntry(word, file_index, count, gate, i, head);
    }
    // The entry's head is the whole of a word of up to eight bytes; a longer
    // one is compared past it.
    WordEntry& e = entries_[ref - 1];
    if (HeadOf(e) != head || e.word_length != n ||
        (n > 8 && !SameTail(arena_.data() + e.word_offset, p, n))) {
      continue;
    }
    if (!e.Listed) return Gated::kRefused;
    e.Count += count;
    if (tracking_files_) CountInFile(ref - 1, file_index, count);
    return Gated::kCounted;
  }
}

// A refused entry is marked by Listed = false until Finalize takes it out
// (no counted entry is unlisted before the filters run).
WordList::Gated WordList::AddEntry(BytesView word, int32_t file_index, int64_t count, Gate* gate,
                                   size_t slot, uint64_t head) {
  const size_t n = word.size();
  if (entries_.size() >= kMaxEntries || n > 0x7FFFFFFF) {
    throw std::length_error("The word table is full.");
  }
  WordEntry e;
  e.word_offset = StoreText(word);
  e.word_length = static_cast<uint32_t>(n);
  e.key_offset = static_cast<uint32_t>(head);
  e.key_length = static_cast<uint32_t>(head >> 32);
  e.Count = count;
  if (gate != nullptr && !gate->Admits(word)) {
    e.Listed = false;
    e.Count = 0;
    ++refused_;
  }
  entries_.push_back(e);
  if (tracking_files_) {
    files_.push_back(FileData{1, file_index,
                              static_cast<int32_t>(std::min<int64_t>(count, kMaxCountPerFile)), 0});
  }
  slots_[slot] = static_cast<uint32_t>(entries_.size());
  if (entries_.size() * 2 > slots_.size()) Rehash(slots_.size() * 2);
  return e.Listed ? Gated::kNew : Gated::kRefused;
}

void WordList::DropRefused() {
  if (refused_ == 0) return;
  size_t kept = 0;
  for (size_t k = 0; k < entries_.size(); ++k) {
    if (pacer_ != nullptr) pacer_->Poll();
    if (!entries_[k].Listed) continue;
    entries_[kept] = entries_[k];
    if (tracking_files_) files_[kept] = files_[k];
    ++kept;
  }
  entries_.Truncate(kept);
  if (tracking_files_) files_.Truncate(kept);
  refused_ = 0;
}

bool WordList::AddListWord(BytesView word) {
  list_words_ = true;
  return AddOccurrence(word, 0);
}

void WordList::Finalize(Pacer* pacer, WorkerPool* helpers) {
  if (finalized_) return;
  slots_.Release();
  mask_ = 0;
  DropRefused();
  const size_t n = entries_.size();
  // The ordinal order is that of the characters' codes, not of their
  // Windows-1252 bytes (0x8A is U+0160 and sorts after 0xFF, U+00FF).
  // No two entries have the same word, so any sort gives the one order.
  std::vector<uint32_t> order(n);
  std::iota(order.begin(), order.end(), uint32_t{0});
  const char* text = arena_.data();
  PacedSort(
      &order,
      [this, text](uint32_t a, uint32_t b) {
        const WordEntry& ea = entries_[a];
        const WordEntry& eb = entries_[b];
        return OrdinalLess(BytesView(text + ea.word_offset, ea.word_length),
                           BytesView(text + eb.word_offset, eb.word_length));
      },
      pacer, SortStability::kUnstable, helpers);
  // Entry i takes the place of entry order[i], following each cycle of the
  // permutation, so that the table is reordered where it stands; order[i]
  // becomes i once place i holds its entry.
  for (size_t i = 0; i < n; ++i) {
    if (order[i] == i) continue;
    const WordEntry held = entries_[i];
    const FileData held_files = tracking_files_ ? files_[i] : FileData{};
    size_t j = i;
    while (true) {
      const size_t k = order[j];
      order[j] = static_cast<uint32_t>(j);
      if (k == i) {
        entries_[j] = held;
        if (tracking_files_) files_[j] = held_files;
        break;
      }
      entries_[j] = entries_[k];
      if (tracking_files_) files_[j] = files_[k];
      j = k;
      if (pacer != nullptr) pacer->Poll();
    }
  }
  std::vector<uint32_t>().swap(order);
  // The sort keys: most words are their own key and share its characters.
  const SortKeyTable& table = SortKeys();
  Bytes key;
  for (WordEntry& e : entries_) {
    if (pacer != nullptr) pacer->Poll();
    const BytesView word(arena_.data() + e.word_offset, e.word_length);
    if (IsOwnSortKey(word, table)) {
      e.key_offset = e.word_offset;
      e.key_length = e.word_length;
      continue;
    }
    key.clear();
    AppendSortKey(word, &key);
    e.key_offset = StoreText(key);
    e.key_length = static_cast<uint32_t>(key.size());
  }
  arena_.ShrinkToFit();
  finalized_ = true;
}

int64_t WordList::FileCount(int64_t i) const {
  if (list_words_) return 0;
  if (!tracking_files_) return 1;
  return files_[static_cast<size_t>(i - 1)].file_count;
}

std::vector<FileTally> WordList::Files(int64_t i) const {
  std::vector<FileTally> files;
  if (list_words_) return files;
  if (!tracking_files_) {
    files.push_back(
        {0, static_cast<int32_t>(std::min<int64_t>((*this)[i].Count, kMaxCountPerFile))});
    return files;
  }
  const FileData& f = files_[static_cast<size_t>(i - 1)];
  if (f.last_file_count >= 0) files.push_back({f.last_file, f.last_file_count});
  for (uint32_t t = f.earlier; t != 0; t = tallies_[t - 1].previous) {
    files.push_back(tallies_[t - 1].tally);
  }
  std::reverse(files.begin(), files.end());
  return files;
}

void WordList::SwapEntries(int64_t a, int64_t b) {
  std::swap(entries_[static_cast<size_t>(a - 1)], entries_[static_cast<size_t>(b - 1)]);
  if (tracking_files_) {
    std::swap(files_[static_cast<size_t>(a - 1)], files_[static_cast<size_t>(b - 1)]);
  }
}

int64_t WordList::TotalCount() const {
  int64_t total = 0;
  for (const WordEntry& e : entries_) total += e.Count;
  return total;
}

}  // namespace vorn
