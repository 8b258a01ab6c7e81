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
}  // namespace

uint64_t WordList::HashWord(BytesView w) {
  constexpr uint64_t kMul = 0x9E3779B97F4A7C15ULL;
  const char* p = w.data();
  size_t n = w.size();
  uint64_t h = kMul ^ n;
  while (n >= 8) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    h = (h ^ v) * kMul;
    h = (h << 31) | (h >> 33);
    p += 8;
    n -= 8;
  }
  if (n >= 4) {  // 4 to 7 bytes: two overlapping loads
    uint32_t lo;
    uint32_t hi;
    std::memcpy(&lo, p, 4);
    std::memcpy(&hi, p + n - 4, 4);
    h = (h ^ (lo | static_cast<uint64_t>(hi) << 32)) * kMul;
  } else if (n >= 2) {  // 2 or 3 bytes
    uint16_t lo;
    uint16_t hi;
    std::memcpy(&lo, p, 2);
    std::memcpy(&hi, p + n - 2, 2);
    h = (h ^ (lo | static_cast<uint64_t>(hi) << 16)) * kMul;
  } else if (n == 1) {
    h = (h ^ static_cast<uint8_t>(*p)) * kMul;
  }
  h ^= h >> 33;
  h *= 0xff51afd7ed558ccdULL;
  h ^= h >> 33;
  return h;
}

namespace {

template <typename T>
inline T Load(const char* p) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  return v;
}

// Whether the bytes at stored equal the word (of the same length). Words of
// up to sixteen bytes, nearly all of them, are compared with two overlapping
// loads; a call to memcmp would cost more than the comparison.
inline bool SameChars(const char* a, BytesView word) {
  const char* b = word.data();
  const size_t n = word.size();
  if (n > 16) return std::memcmp(a, b, n) == 0;
  if (n >= 8) {
    return Load<uint64_t>(a) == Load<uint64_t>(b) &&
           Load<uint64_t>(a + n - 8) == Load<uint64_t>(b + n - 8);
  }
  if (n >= 4) {
    return Load<uint32_t>(a) == Load<uint32_t>(b) &&
           Load<uint32_t>(a + n - 4) == Load<uint32_t>(b + n - 4);
  }
  if (n >= 2) {
    return Load<uint16_t>(a) == Load<uint16_t>(b) &&
           Load<uint16_t>(a + n - 2) == Load<uint16_t>(b + n - 2);
  }
  return n == 0 || *a == *b;
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
  files_.clear();
  files_.shrink_to_fit();
  tracking_files_ = false;
  list_words_ = false;
  slots_.assign(kInitialBuckets, 0);
  mask_ = kInitialBuckets - 1;
  finalized_ = false;
}

void WordList::Rehash(size_t buckets) {
  slots_.assign(buckets, 0);
  mask_ = buckets - 1;
  for (size_t k = 0; k < counters_.size(); ++k) {
    size_t i = counters_[k].hash & mask_;
    while (slots_[i] != 0) i = (i + 1) & mask_;
    slots_[i] = static_cast<uint32_t>(k + 1);
  }
}

void WordList::StartTrackingFiles() {
  // Every word so far came from file 0.
  tracking_files_ = true;
  files_.resize(counters_.size());
  for (size_t k = 0; k < counters_.size(); ++k) {
    files_[k].file_count = 1;
    files_[k].last_file = 0;
    files_[k].last_file_count =
        static_cast<int32_t>(std::min<int64_t>(counters_[k].count, kMaxCountPerFile));
  }
}

void WordList::CountInFile(size_t k, int32_t file_index) {
  FileData& f = files_[k];
  if (f.last_file != file_index) {
    // A new file: the tally of the last one is complete.
    if (f.last_file_count >= 0) f.earlier.push_back({f.last_file, f.last_file_count});
    f.last_file = file_index;
    f.last_file_count = f.earlier.size() < kMaxFilesPerEntry ? 0 : -1;
    ++f.file_count;
  }
  if (f.last_file_count >= 0 && f.last_file_count < kMaxCountPerFile) ++f.last_file_count;
}

bool WordList::AddOccurrence(BytesView word, int32_t file_index) {
  if (file_index != 0 && !tracking_files_) StartTrackingFiles();
  const uint32_t h = Fold(HashWord(word));
  size_t i = h & mask_;
  while (const uint32_t slot = slots_[i]) {
    Counter& c = counters_[slot - 1];
    if (c.hash == h && c.length == word.size() &&
        SameChars(c.length <= kInlineChars ? c.chars : arena_.data() + c.offset, word)) {
      ++c.count;
      if (tracking_files_) CountInFile(slot - 1, file_index);
      return false;
    }
    i = (i + 1) & mask_;
  }
  Counter c;
  c.count = 1;
  c.hash = h;
  c.length = static_cast<uint32_t>(word.size());
  if (word.size() <= kInlineChars) {
    std::copy(word.begin(), word.end(), c.chars);
  } else {
    c.offset = static_cast<uint32_t>(arena_.size());
    arena_.append(word);
  }
  counters_.push_back(c);
  if (tracking_files_) files_.push_back(FileData{1, file_index, 1, {}});
  slots_[i] = static_cast<uint32_t>(counters_.size());
  if (counters_.size() * 2 > slots_.size()) Rehash(slots_.size() * 2);
  return true;
}

bool WordList::AddListWord(BytesView word) {
  list_words_ = true;
  return AddOccurrence(word, 0);
}

void WordList::Finalize() {
  if (finalized_) return;
  // The ordinal order is that of the characters' codes, not of their
  // Windows-1252 bytes (0x8A is U+0160 and sorts after 0xFF, U+00FF).
  std::vector<Text> words(counters_.size());
  for (size_t k = 0; k < counters_.size(); ++k) words[k] = DecodeWindows1252(WordOf(counters_[k]));
  std::vector<uint32_t> order(counters_.size());
  std::iota(order.begin(), order.end(), uint32_t{0});
  std::sort(order.begin(), order.end(),
            [&words](uint32_t a, uint32_t b) { return words[a] < words[b]; });
  entries_.clear();
  entries_.reserve(counters_.size());
  for (uint32_t k : order) {
    const Counter& c = counters_[k];
    WordEntry e;
    e.Word = std::move(words[k]);
    e.SortKey = MakeSortKey(e.Word);
    e.Count = c.count;
    if (list_words_) {
      e.FileCount = 0;
    } else if (tracking_files_) {
      FileData& f = files_[k];
      e.FileCount = f.file_count;
      e.LastFileIndex = f.last_file;
      e.Files = std::move(f.earlier);
      if (f.last_file_count >= 0) e.Files.push_back({f.last_file, f.last_file_count});
    } else {
      e.FileCount = 1;
      e.Files.push_back({0, static_cast<int32_t>(std::min<int64_t>(c.count, kMaxCountPerFile))});
    }
    entries_.push_back(std::move(e));
  }
  arena_.clear();
  arena_.shrink_to_fit();
  counters_.clear();
  counters_.shrink_to_fit();
  files_.clear();
  files_.shrink_to_fit();
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
