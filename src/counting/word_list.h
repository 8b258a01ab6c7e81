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
// The table is built to hold millions of entries in little memory: the
// characters of every word and sort key lie in one store of Windows-1252
// bytes (one byte a character, the characters of Text), each entry is a
// 32-byte record that finds its text there by offset and length, and a sort
// key that equals its word is not stored twice. Per-file tallies live in a
// side table that exists only once a second file contributes a word. The
// entries' text is read through Word() and SortKey(), their files through
// FileCount() and Files().
//
// While counting, a word is found through a hash index of 4-byte entry
// numbers, and its entry keeps the word's first eight bytes beside its
// count: a word of up to eight bytes (most words) is found and counted with
// one read of the index and one of its entry, never of its text. At most
// half of the index is in use, so a distinct word costs its 32-byte entry,
// its text, and 8 to 16 bytes of index (given back at Finalize), plus 16
// bytes of file data in a folder run. The entries and the text grow by
// realloc, so that a large table grows without being copied.
//
// Not thread-safe; owned by the engine.

#ifndef VORN_COUNTING_WORD_LIST_H_
#define VORN_COUNTING_WORD_LIST_H_

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <vector>

#include "util/chunked_store.h"
#include "util/store.h"
#include "util/text.h"

namespace vorn {

class Pacer;
class WorkerPool;

inline constexpr int kMaxWordLength = 100;
inline constexpr int kMaxFilesPerEntry = 10000;  // 50000 characters of 5-digit indices
inline constexpr int32_t kMaxCountPerFile = 99999;

// The occurrences of an entry in one file.
struct FileTally {
  int32_t file_index = 0;  // CurrentFileIndex when the entry was met
  int32_t count = 0;       // at most kMaxCountPerFile
};

// One entry of the table. Count, Rank, NextInChain and Listed are the
// entry's own fields; the rest says where the WordList keeps its text and is
// the WordList's business.
struct WordEntry {
  int64_t Count = 1;
  int32_t Rank = 0;         // 1-based place in the frequency chain; 0 = not in it
  int32_t NextInChain = 0;  // entry number of the next entry of the chain; 0 = end
  uint32_t word_offset = 0;
  uint32_t word_length : 31 = 0;
  bool Listed : 1 = true;
  // While counting, the word's first eight bytes (zero-padded); from
  // Finalize() on, where its sort key lies (the word's own place when the
  // key is the word).
  uint32_t key_offset = 0;
  uint32_t key_length = 0;
};
static_assert(sizeof(WordEntry) == 32);

// The folded key of a word for alphabetical order: Œ Ä Æ Ö Ü ä æ ö ü ß become
// Oe Ae Ae Oe Ue ae ae oe ue ss, other accented letters their base letter,
// and the result is lower-cased with LowerCaseAccented.
Text MakeSortKey(TextView word);

// MakeSortKey for a word given as Windows-1252 bytes: appends the bytes of
// its key to *key.
void AppendSortKey(BytesView word, Bytes* key);

class WordList {
 public:
  WordList();

  // Empties the table.
  void Clear();

  // The pacer polled for every entry while the hash index grows or the
  // per-file data is started (each a pass over all entries, while counting);
  // null for none. It may throw: the table is then only fit for Clear().
  void SetPacer(Pacer* pacer) { pacer_ = pacer; }

  // The entries counted so far: words refused by a gate (AddGated) are not
  // among them.
  int64_t DistinctCount() const { return static_cast<int64_t>(entries_.size()) - refused_; }

  // Entry i, 1-based. REQUIRES: Finalize() was called; 1 <= i <= DistinctCount().
  WordEntry& operator[](int64_t i) { return entries_[static_cast<size_t>(i - 1)]; }
  const WordEntry& operator[](int64_t i) const { return entries_[static_cast<size_t>(i - 1)]; }

  // The word or phrase of entry i as Windows-1252 bytes. The view stays
  // valid until the table is counted into again or cleared.
  BytesView Word(int64_t i) const {
    const WordEntry& e = (*this)[i];
    return BytesView(arena_.data() + e.word_offset, e.word_length);
  }
  // The sort key of entry i, as Windows-1252 bytes. REQUIRES: Finalize().
  BytesView SortKey(int64_t i) const {
    const WordEntry& e = (*this)[i];
    return BytesView(arena_.data() + e.key_offset, e.key_length);
  }
  // The number of files entry i occurs in: 1 when every word came from one
  // file, 0 for the words of a words file.
  int64_t FileCount(int64_t i) const;
  // The files of entry i in the order first met, at most kMaxFilesPerEntry
  // of them, with the entry's occurrences in each.
  std::vector<FileTally> Files(int64_t i) const;

  // Exchanges entries a and b (1-based) with everything that belongs to
  // them. REQUIRES: Finalize() was called.
  void SwapEntries(int64_t a, int64_t b);

  // Counts one occurrence of `word` in file `file_index`. Returns true when
  // the word made a new entry. Per-file counts stop at kMaxCountPerFile and
  // the file list at kMaxFilesPerEntry; Count and FileCount go on.
  // REQUIRES: Finalize() was not called since the last Clear().
  // The word is given as the Windows-1252 bytes of the counting path.
  // Throws std::length_error when the table cannot take another entry
  // (more than 2^31 entries, or 4 GB of text).
  bool AddOccurrence(BytesView word, int32_t file_index);
  // As above, for a word given as text (of Windows-1252 characters).
  bool AddOccurrence(TextView word, int32_t file_index) {
    return AddOccurrence(EncodeWindows1252(word), file_index);
  }

  // The hash of a word as the table takes it. A word of up to eight bytes is
  // hashed from its bytes read as one number, without a loop.
  static uint64_t HashWord(BytesView word);

  // What AddGated did with an occurrence.
  enum class Gated { kCounted, kNew, kRefused };

  // Decides whether a word is counted, the first time the word is met.
  class Gate {
   public:
    virtual ~Gate() = default;
    virtual bool Admits(BytesView word) = 0;
  };

  // As AddOccurrence, but a word met for the first time is put to `gate`:
  // a refused word is remembered as refused, so that its later occurrences
  // cost one lookup and nothing more; it is not counted, is not among
  // DistinctCount, and leaves the table at Finalize. kNew: the word made a
  // new (counted) entry.
  Gated AddGated(BytesView word, int32_t file_index, Gate* gate);

  // As AddGated, counting `count` occurrences of the word at once: Count
  // grows by `count`, the tally of the file by `count` up to
  // kMaxCountPerFile, and the gate is asked at most once. A refused word
  // stays refused and counts nothing. REQUIRES: count >= 1.
  Gated AddGatedCount(BytesView word, int32_t file_index, int64_t count, Gate* gate);

  // Calls f(BytesView word, int64_t count) for every entry in the order the
  // entries were made, refused words (AddGated) among them with count 0, so
  // that tables counted apart can be merged into one with AddGatedCount (a
  // merge skips the entries of count 0: they have no occurrences to add).
  // The word stays valid until the table is counted into again or cleared.
  // REQUIRES: Finalize() was not called since the last Clear().
  template <class F>
  void ForEachEntryInOrder(F f) const {
    for (size_t k = 0; k < entries_.size(); ++k) {
      const WordEntry& e = entries_[k];
      f(BytesView(arena_.data() + e.word_offset, e.word_length), e.Count);
    }
  }

  // As AddOccurrence, for a words file being read: no per-file data.
  bool AddListWord(BytesView word);

  // Puts the entries into ascending ordinal order of Word and builds their
  // sort keys. Counting may not go on afterwards without Clear(). Polls
  // `pacer` (may be null) throughout; when it throws, the table is left in
  // no useful order and only Clear() makes it usable again. `helpers` (may
  // be null: none): a thread of the pool shares the sort.
  void Finalize(Pacer* pacer = nullptr, WorkerPool* helpers = nullptr);
  bool finalized() const { return finalized_; }

  // The sum of Count over all entries.
  int64_t TotalCount() const;

 private:
  // Per-file data of an entry, kept only while words of more than one file
  // are counted (a folder run): the tally of the file it was last met in,
  // and a link to the tallies of the files before it.
  struct FileData {
    int32_t file_count;
    int32_t last_file;
    int32_t last_file_count;  // -1 when that file is beyond kMaxFilesPerEntry
    uint32_t earlier;         // 1 + the place in tallies_ of the newest earlier tally; 0 = none
  };
  // A tally of an earlier file, linked to the one before it.
  struct LinkedTally {
    FileTally tally;
    uint32_t previous;  // as FileData::earlier
  };

  // The first eight bytes of the word that an entry keeps while counting.
  static uint64_t HeadOf(const WordEntry& e) {
    return e.key_offset | static_cast<uint64_t>(e.key_length) << 32;
  }
  // The hash of the entry's word, from its head or, for a longer word, its
  // text.
  uint64_t HashOfEntry(const WordEntry& e) const;
  // AddGatedCount, for AddGated too.
  Gated Add(BytesView word, int32_t file_index, int64_t count, Gate* gate);
  // Makes the entry of a word met for the first time, whose slot is to be
  // `slot`.
  [[gnu::noinline]] Gated AddEntry(BytesView word, int32_t file_index, int64_t count, Gate* gate,
                                   size_t slot, uint64_t head);
  void Rehash(size_t buckets);
  void StartTrackingFiles();
  void CountInFile(size_t k, int32_t file_index, int64_t count);
  uint32_t StoreText(BytesView text);
  // Takes the refused entries out of the table (before it is ordered).
  void DropRefused();

  Store<WordEntry> entries_;
  Store<char> arena_;                  // the characters of every word and sort key
  Store<uint32_t> slots_;              // entry position + 1; 0 = an empty slot
  bool tracking_files_ = false;        // a word came from a file other than file 0
  Store<FileData> files_;              // parallel to entries_ while tracking_files_
  ChunkedStore<LinkedTally> tallies_;  // grows all run long: never copied
  bool list_words_ = false;            // the words come from a words file: no file data
  size_t mask_ = 0;
  bool finalized_ = false;
  int64_t refused_ = 0;  // entries kept only to remember a gate's refusal
  Pacer* pacer_ = nullptr;
};

}  // namespace vorn

#endif  // VORN_COUNTING_WORD_LIST_H_
