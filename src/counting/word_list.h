// WordList: the one table in which a run collects every distinct word or
// phrase it accepts, with its occurrences and the files it occurs in.
//
// Entries are numbered from 1. While a run counts, new entries are appended
// and found again through a hash index, so that counting costs no ordered
// insert; Finalize() then puts the table into ascending ordinal order of
// Word, the order in which a table built by binary search and ordered insert
// would stand. From then on the results code may re-sort the entries
// (SortWordListByKey) and thread the frequency chain through them.
//
// Not thread-safe; owned by the engine.

#ifndef VORN_COUNTING_WORD_LIST_H_
#define VORN_COUNTING_WORD_LIST_H_

#include <cstdint>
#include <vector>

#include "util/text.h"

namespace vorn {

inline constexpr int kMaxWordLength = 100;
inline constexpr int kMaxFilesPerEntry = 10000;  // 50000 characters of 5-digit indices
inline constexpr int32_t kMaxCountPerFile = 99999;

// The occurrences of an entry in one file.
struct FileTally {
  int32_t file_index = 0;  // CurrentFileIndex when the entry was met
  int32_t count = 0;       // at most kMaxCountPerFile
};

struct WordEntry {
  Text Word;
  Text SortKey;
  int64_t Count = 1;
  int64_t Rank = 0;
  int64_t NextInChain = 0;
  bool Listed = true;
  // FileIndices and FileCounts: the files in the order first met, at most
  // kMaxFilesPerEntry of them.
  std::vector<FileTally> Files;
  int64_t FileCount = 0;
  float FileFrequency = 0;
  // The file of the last occurrence, so that FileCount goes on counting files
  // beyond the kMaxFilesPerEntry that Files keeps.
  int32_t LastFileIndex = 0;
};

// The folded key of a word for alphabetical order: Œ Ä Æ Ö Ü ä æ ö ü ß become
// Oe Ae Ae Oe Ue ae ae oe ue ss, other accented letters their base letter,
// and the result is lower-cased with LowerCaseAccented.
Text MakeSortKey(TextView word);

class WordList {
 public:
  WordList();

  // Empties the table.
  void Clear();

  int64_t DistinctCount() const {
    return static_cast<int64_t>(finalized_ ? entries_.size() : counters_.size());
  }

  // Entry i, 1-based. REQUIRES: Finalize() was called; 1 <= i <= DistinctCount().
  WordEntry& operator[](int64_t i) { return entries_[static_cast<size_t>(i - 1)]; }
  const WordEntry& operator[](int64_t i) const { return entries_[static_cast<size_t>(i - 1)]; }

  // Counts one occurrence of `word` in file `file_index`. Returns true when
  // the word made a new entry. Per-file counts stop at kMaxCountPerFile and
  // the file list at kMaxFilesPerEntry; Count and FileCount go on.
  // REQUIRES: Finalize() was not called since the last Clear().
  // The word is given as the Windows-1252 bytes of the counting path.
  bool AddOccurrence(BytesView word, int32_t file_index);
  // As above, for a word given as text (of Windows-1252 characters).
  bool AddOccurrence(TextView word, int32_t file_index) {
    return AddOccurrence(EncodeWindows1252(word), file_index);
  }

  // The hash of a word as the table takes it.
  static uint64_t HashWord(BytesView word);

  // As AddOccurrence, for a words file being read: no per-file data.
  bool AddListWord(BytesView word);

  // Puts the entries into ascending ordinal order of Word and builds their
  // sort keys. Counting may not go on afterwards without Clear().
  void Finalize();
  bool finalized() const { return finalized_; }

  // The sum of Count over all entries.
  int64_t TotalCount() const;

  // REQUIRES: Finalize() was called.
  std::vector<WordEntry>& entries() { return entries_; }
  const std::vector<WordEntry>& entries() const { return entries_; }

 private:
  static constexpr size_t kInlineChars = 16;

  // The compact record of a word while counting, two to a cache line: its
  // count and its text, held inline when short and in the arena otherwise.
  struct Counter {
    int64_t count;
    uint32_t hash;
    uint32_t length;
    union {
      char chars[kInlineChars];
      uint32_t offset;  // into arena_, for longer words
    };
  };
  // Per-file data of a word, kept only while words of more than one file
  // are counted (a folder run): the tally of the file it was last met in and
  // of the files before it.
  struct FileData {
    int64_t file_count;
    int32_t last_file;
    int32_t last_file_count;  // -1 when that file is beyond kMaxFilesPerEntry
    std::vector<FileTally> earlier;
  };

  BytesView WordOf(const Counter& c) const {
    return c.length <= kInlineChars ? BytesView(c.chars, c.length)
                                    : BytesView(arena_).substr(c.offset, c.length);
  }
  static uint32_t Fold(uint64_t hash) { return static_cast<uint32_t>(hash ^ (hash >> 32)); }
  void Rehash(size_t buckets);
  void StartTrackingFiles();
  void CountInFile(size_t k, int32_t file_index);

  std::vector<WordEntry> entries_;
  Bytes arena_;
  std::vector<Counter> counters_;
  std::vector<uint32_t> slots_;  // counter position + 1; 0 = an empty slot
  bool tracking_files_ = false;  // a word came from a file other than file 0
  std::vector<FileData> files_;  // parallel to counters_ while tracking_files_
  bool list_words_ = false;      // the words come from a words file: no file data
  size_t mask_ = 0;
  bool finalized_ = false;
};

}  // namespace vorn

#endif  // VORN_COUNTING_WORD_LIST_H_
