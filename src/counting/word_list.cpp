#include "counting/word_list.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "words/char_classes.h"

namespace vorn {

namespace {

constexpr size_t kInitialBuckets = 1024;

// Hashes the word's code units eight bytes at a time, with a final mix so
// that the low bits the table uses depend on every character.
uint64_t HashWord(TextView w) {
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ULL;
  const char* p = reinterpret_cast<const char*>(w.data());
  size_t n = w.size() * sizeof(char16_t);
  uint64_t h = kMul ^ n;
  while (n >= 8) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    h = (h ^ v) * kMul;
    h = (h << 31) | (h >> 33);
    p += 8;
    n -= 8;
  }
  if (n > 0) {
    uint64_t v = 0;
    std::memcpy(&v, p, n);
    h = (h ^ v) * kMul;
  }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h;
}

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

WordList::WordList() { Clear(); }

void WordList::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
  arena_.clear();
  arena_.shrink_to_fit();
  counters_.clear();
  counters_.shrink_to_fit();
  counters_.reserve(500);
  earlier_files_.clear();
  earlier_files_.shrink_to_fit();
  slots_.assign(kInitialBuckets, Slot{0, 0});
  mask_ = kInitialBuckets - 1;
  finalized_ = false;
}

void WordList::Rehash(size_t buckets) {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(buckets, Slot{0, 0});
  mask_ = buckets - 1;
  for (const Slot& s : old) {
    if (s.index == 0) continue;
    // The slot keeps 32 bits of the hash; the table never needs more.
    size_t i = s.hash & mask_;
    while (slots_[i].index != 0) i = (i + 1) & mask_;
    slots_[i] = s;
  }
}

bool WordList::AddOccurrence(TextView word, int32_t file_index) {
  const uint64_t full = HashWord(word);
  const uint32_t h = static_cast<uint32_t>(full ^ (full >> 32));
  size_t i = h & mask_;
  while (slots_[i].index != 0) {
    if (slots_[i].hash == h) {
      Counter& c = counters_[slots_[i].index - 1];
      if (c.length == word.size() &&
          std::memcmp(arena_.data() + c.offset, word.data(), word.size() * sizeof(char16_t)) == 0) {
        ++c.count;
        if (c.last_file != file_index) {
          // A new file: the tally of the last one is complete.
          std::vector<FileTally>& earlier = earlier_files_[slots_[i].index - 1];
          if (c.last_file_count >= 0) earlier.push_back({c.last_file, c.last_file_count});
          c.last_file = file_index;
          c.last_file_count = earlier.size() < kMaxFilesPerEntry ? 0 : -1;
          ++c.file_count;
        }
        if (c.last_file_count >= 0 && c.last_file_count < kMaxCountPerFile) ++c.last_file_count;
        return false;
      }
    }
    i = (i + 1) & mask_;
  }
  counters_.push_back(Counter{static_cast<uint32_t>(arena_.size()),
                              static_cast<uint32_t>(word.size()), 1, 1, file_index, 1});
  earlier_files_.emplace_back();
  arena_.append(word);
  slots_[i] = Slot{h, static_cast<uint32_t>(counters_.size())};
  if (counters_.size() * 2 > slots_.size()) Rehash(slots_.size() * 2);
  return true;
}

bool WordList::AddListWord(TextView word) {
  if (!AddOccurrence(word, 0)) return false;
  counters_.back().file_count = 0;
  counters_.back().last_file_count = -1;
  return true;
}

void WordList::Finalize() {
  if (finalized_) return;
  std::vector<uint32_t> order(counters_.size());
  std::iota(order.begin(), order.end(), uint32_t{0});
  std::sort(order.begin(), order.end(),
            [this](uint32_t a, uint32_t b) { return WordOf(counters_[a]) < WordOf(counters_[b]); });
  entries_.clear();
  entries_.reserve(counters_.size());
  for (uint32_t k : order) {
    const Counter& c = counters_[k];
    WordEntry e;
    e.Word.assign(WordOf(c));
    e.SortKey = MakeSortKey(e.Word);
    e.Count = c.count;
    e.FileCount = c.file_count;
    e.LastFileIndex = c.last_file;
    e.Files = std::move(earlier_files_[k]);
    if (c.last_file_count >= 0) e.Files.push_back({c.last_file, c.last_file_count});
    entries_.push_back(std::move(e));
  }
  arena_.clear();
  arena_.shrink_to_fit();
  counters_.clear();
  counters_.shrink_to_fit();
  earlier_files_.clear();
  earlier_files_.shrink_to_fit();
  slots_.clear();
  slots_.shrink_to_fit();
  finalized_ = true;
}

int64_t WordList::TotalCount() const {
  int64_t total = 0;
  if (!finalized_) {
    for (const Counter& c : counters_) total += c.count;
    return total;
  }
  for (const WordEntry& e : entries_) total += e.Count;
  return total;
}

}  // namespace vorn
