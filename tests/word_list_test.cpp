#include "counting/word_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "util/paced_sort.h"
#include "util/pacer.h"

namespace vorn {
namespace {

TEST(WordListTest, AWordsFileHasNoFiles) {
  WordList list;
  list.AddListWord("listed");
  list.Finalize();
  EXPECT_EQ(list.FileCount(1), 0);
  EXPECT_TRUE(list.Files(1).empty());
}

TEST(WordListTest, PerFileLimits) {
  WordList list;
  for (int i = 0; i < 100000; ++i) list.AddOccurrence(u"many", 1);
  for (int f = 2; f <= 10005; ++f) list.AddOccurrence(u"many", f);
  list.Finalize();
  const WordEntry& e = list[1];
  EXPECT_EQ(e.Count, 100000 + 10004);
  const std::vector<FileTally> files = list.Files(1);
  EXPECT_EQ(files[0].count, kMaxCountPerFile);
  ASSERT_EQ(files.size(), static_cast<size_t>(kMaxFilesPerEntry));
  EXPECT_EQ(files.back().file_index, kMaxFilesPerEntry);
  EXPECT_EQ(list.FileCount(1), 10005);
}

TEST(WordListTest, SortKeys) {
  const struct {
    Text word;
    Text key;
  } kCases[] = {
      {u"M\u00FCller", u"mueller"}, {u"\u00C9clair", u"eclair"}, {u"\u0152uvre\u00DF", u"oeuvress"},
      {u"\u00F0", u"\u00F0"},       {u"\u0160", u"s"},           {u"plain", u"plain"},
      {u"\u017D", u"\u017E"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MakeSortKey(c.word), c.key) << TextToUtf8(c.word);
    Bytes key;
    AppendSortKey(EncodeWindows1252(c.word), &key);
    EXPECT_EQ(key, EncodeWindows1252(c.key)) << TextToUtf8(c.word);
  }
}

TEST(WordListTest, EveryEntryGetsTheSortKeyOfItsWord) {
  // Every character, at the start and inside a word, in words that are
  // their own key and words that are not.
  WordList list;
  for (int b = 1; b < 256; ++b) {
    const std::string c(1, static_cast<char>(b));
    for (const std::string& w : {c, "x" + c + "y", c + "\xDF" + c}) list.AddOccurrence(w, 0);
  }
  list.Finalize();
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
    const Text word = DecodeWindows1252(list.Word(i));
    bool encodable = true;
    for (char16_t c : MakeSortKey(word)) CharToWindows1252(c, &encodable);
    ASSERT_TRUE(encodable) << TextToUtf8(word);
    EXPECT_EQ(DecodeWindows1252(list.SortKey(i)), MakeSortKey(word)) << TextToUtf8(word);
  }
}

TEST(WordListTest, ClearStartsAfresh) {
  WordList list;
  list.AddOccurrence(u"old", 2);
  list.Finalize();
  list.Clear();
  EXPECT_EQ(list.DistinctCount(), 0);
  EXPECT_FALSE(list.finalized());
  EXPECT_TRUE(list.AddOccurrence(u"old", 0));
  EXPECT_FALSE(list.AddOccurrence(u"old", 0));
  list.Finalize();
  EXPECT_EQ(list.FileCount(1), 1);
  EXPECT_EQ(list[1].Count, 2);
}

// `n` words of 1 to 12 characters, with repeats, drawn from the letters of
// both cases and characters whose bytes and codes sort differently.
std::vector<std::string> RandomWords(int n, uint32_t seed) {
  static const std::string kChars =
      std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ") + "\x8A" + "\x8E" +
      "\x9F" + "\xC4" + "\xE4" + "\xFE" + "\xFF";
  std::mt19937 rng(seed);
  std::vector<std::string> words;
  for (int k = 0; k < n; ++k) {
    std::string w(1 + rng() % 12, ' ');
    for (char& c : w) c = kChars[rng() % kChars.size()];
    words.push_back(std::move(w));
  }
  return words;
}

// Counts the words into a new table, the k-th word from file k % 3.
void CountInto(WordList* list, const std::vector<std::string>& words) {
  for (size_t k = 0; k < words.size(); ++k) {
    list->AddOccurrence(BytesView(words[k]), static_cast<int32_t>(k % 3));
  }
}

// The entries' words, counts and files after Finalize, as lines of text.
std::vector<std::string> TableContents(const WordList& list) {
  std::vector<std::string> out;
  for (int64_t i = 1; i <= list.DistinctCount(); ++i) {
    std::string line = std::string(list.Word(i)) + " " + std::to_string(list[i].Count) + " " +
                       std::to_string(list.FileCount(i));
    for (const FileTally& f : list.Files(i)) {
      line += " " + std::to_string(f.file_index) + ":" + std::to_string(f.count);
    }
    out.push_back(std::move(line));
  }
  return out;
}

// Enough words for several sorted runs and their merges.
constexpr int kManyWords = 80000;

TEST(WordListTest, PacedFinalizeLetsEventsRunAndGivesTheSameTable) {
  const std::vector<std::string> words = RandomWords(kManyWords, 1);
  WordList plain;
  CountInto(&plain, words);
  ASSERT_GT(plain.DistinctCount(), 2 * static_cast<int64_t>(kPacedSortRun));
  WordList paced = plain;
  plain.Finalize();

  Pacer pacer;
  int64_t dues = 0;
  pacer.SetThrottle(1, std::chrono::milliseconds(0));
  pacer.SetDue([&dues] { ++dues; });
  paced.Finalize(&pacer);
  EXPECT_GT(dues, paced.DistinctCount());
  EXPECT_EQ(TableContents(paced), TableContents(plain));
  for (int64_t i = 1; i <= paced.DistinctCount(); ++i) {
    ASSERT_EQ(paced.SortKey(i), plain.SortKey(i)) << i;
  }

  // The one ordinal order, from the words alone.
  std::vector<std::string> want = words;
  std::sort(want.begin(), want.end(),
            [](const std::string& a, const std::string& b) { return OrdinalLess(a, b); });
  want.erase(std::unique(want.begin(), want.end()), want.end());
  ASSERT_EQ(static_cast<int64_t>(want.size()), paced.DistinctCount());
  for (int64_t i = 1; i <= paced.DistinctCount(); ++i) {
    ASSERT_EQ(paced.Word(i), want[static_cast<size_t>(i - 1)]) << i;
  }
}

// --- The table against a plain model of it --------------------------------

// Refuses the words whose bytes add up to a multiple of five, and counts
// how often it was asked.
struct SumGate final : WordList::Gate {
  bool Admits(BytesView word) override {
    ++asked;
    unsigned sum = 0;
    for (char c : word) sum += static_cast<uint8_t>(c);
    return sum % 5 != 0;
  }
  int64_t asked = 0;
};

// What the table must do, kept as plainly as possible: a map from each word
// to its place in a list in the order the words were first met.
class ModelTable {
 public:
  struct Item {
    std::string word;
    bool refused = false;
    int64_t count = 0;
    int64_t file_count = 0;
    std::vector<FileTally> files;  // the first kMaxFilesPerEntry files
  };

  WordList::Gated Add(const std::string& word, int32_t file, int64_t count, SumGate* gate) {
    auto [it, made] = index_.try_emplace(word, items_.size());
    if (made) {
      Item item;
      item.word = word;
      item.refused = gate != nullptr && !gate->Admits(word);
      items_.push_back(item);
    }
    Item& item = items_[it->second];
    if (item.refused) return WordList::Gated::kRefused;
    item.count += count;
    if (item.file_count == 0 || last_file_[it->second] != file) {
      ++item.file_count;
      last_file_[it->second] = file;
      if (item.file_count <= kMaxFilesPerEntry) item.files.push_back({file, 0});
    }
    if (item.file_count <= kMaxFilesPerEntry) {
      int32_t& c = item.files.back().count;
      c = static_cast<int32_t>(std::min<int64_t>(c + count, kMaxCountPerFile));
    }
    return made ? WordList::Gated::kNew : WordList::Gated::kCounted;
  }

  const std::vector<Item>& items() const { return items_; }

 private:
  std::unordered_map<std::string, size_t> index_;
  std::unordered_map<size_t, int32_t> last_file_;
  std::vector<Item> items_;
};

// A word for the differential tests: mostly short words over a few bytes
// (NUL, bytes above 127, blanks, "-", "<", a backspace, CR), so that words
// repeat and share their first eight bytes; some long ones, some of about
// 255 bytes, and words made from the previous word by changing or adding a
// byte at its end.
std::string OddWord(std::mt19937* rng, const std::string& previous) {
  static const std::string kBytes = std::string("ab\0\x80\xFF -<\b\r\x8A", 11);
  const uint32_t kind = (*rng)() % 100;
  if (kind < 10 && !previous.empty()) {
    std::string w = previous;
    if ((*rng)() % 2 == 0) {
      w.back() = kBytes[(*rng)() % kBytes.size()];
    } else {
      w.push_back(kBytes[(*rng)() % kBytes.size()]);
    }
    return w;
  }
  size_t n = 0;
  if (kind < 70) {
    n = (*rng)() % 9;  // up to eight bytes, the empty word included
  } else if (kind < 90) {
    n = 9 + (*rng)() % 24;
  } else if (kind < 97) {
    n = 250 + (*rng)() % 10;
  } else {
    n = 300 + (*rng)() % 900;
  }
  std::string w(n, 'a');
  for (char& c : w) c = kBytes[(*rng)() % 4 == 0 ? (*rng)() % kBytes.size() : (*rng)() % 2];
  return w;
}

// The model's items in word order, as TableContents gives a table's entries.
std::vector<std::string> ModelContents(const ModelTable& model) {
  std::vector<const ModelTable::Item*> items;
  for (const ModelTable::Item& item : model.items()) {
    if (!item.refused) items.push_back(&item);
  }
  std::sort(items.begin(), items.end(),
            [](const auto* a, const auto* b) { return OrdinalLess(a->word, b->word); });
  std::vector<std::string> out;
  for (const ModelTable::Item* item : items) {
    std::string line =
        item->word + " " + std::to_string(item->count) + " " + std::to_string(item->file_count);
    for (const FileTally& f : item->files) {
      line += " " + std::to_string(f.file_index) + ":" + std::to_string(f.count);
    }
    out.push_back(std::move(line));
  }
  return out;
}

// The entries in the order made, with their counts, as ForEachEntryInOrder
// gives them.
std::vector<std::pair<std::string, int64_t>> InOrder(const WordList& list) {
  std::vector<std::pair<std::string, int64_t>> out;
  list.ForEachEntryInOrder(
      [&out](BytesView word, int64_t count) { out.emplace_back(std::string(word), count); });
  return out;
}

std::vector<std::pair<std::string, int64_t>> InOrder(const ModelTable& model) {
  std::vector<std::pair<std::string, int64_t>> out;
  for (const ModelTable::Item& item : model.items()) out.emplace_back(item.word, item.count);
  return out;
}

// The table finds a word by its hash and its first eight bytes and length,
// the model by the whole word. Both count the same generated words, one at
// a time and many at once, from one file or several, with a gate or
// without.
TEST(WordListTest, CountsAsThePlainModelOnGeneratedWords) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    std::mt19937 rng(seed);
    WordList list;
    ModelTable model;
    SumGate list_gate;
    SumGate model_gate;
    const bool gated = seed % 2 == 0;
    const bool folder = seed % 4 >= 2;  // words of more than one file
    const int ops = 2000 + static_cast<int>(rng() % 8000);
    int32_t file = 0;
    std::string previous;
    std::vector<std::string> met;
    for (int k = 0; k < ops; ++k) {
      if (folder && rng() % 500 == 0) ++file;
      std::string word;
      if (!met.empty() && rng() % 2 == 0) {
        word = met[rng() % met.size()];  // a word met before
      } else {
        word = OddWord(&rng, previous);
        met.push_back(word);
      }
      previous = word;
      int64_t count = 1;
      const uint32_t how = rng() % 100;
      if (how < 10) {
        count = 2 + rng() % 1000;
      } else if (how < 12) {
        count = (int64_t{1} << 22) + rng();  // past what a slot holds
      }
      const WordList::Gated want = model.Add(word, file, count, gated ? &model_gate : nullptr);
      const WordList::Gated got =
          count == 1 ? list.AddGated(word, file, gated ? &list_gate : nullptr)
                     : list.AddGatedCount(word, file, count, gated ? &list_gate : nullptr);
      ASSERT_EQ(got, want) << "seed " << seed << " op " << k;
    }
    EXPECT_EQ(list_gate.asked, model_gate.asked) << seed;
    ASSERT_EQ(InOrder(list), InOrder(model)) << seed;
    int64_t total = 0;
    int64_t distinct = 0;
    for (const ModelTable::Item& item : model.items()) {
      total += item.count;
      distinct += item.refused ? 0 : 1;
    }
    EXPECT_EQ(list.TotalCount(), total) << seed;
    EXPECT_EQ(list.DistinctCount(), distinct) << seed;
    list.Finalize();
    EXPECT_EQ(TableContents(list), ModelContents(model)) << seed;
    EXPECT_EQ(list.TotalCount(), total) << seed;
  }
}

TEST(WordListTest, WordsThatDifferInOneByteOrInLengthStayApart) {
  // Families of words of one head, so that the lookups of each pass over
  // the places of the others: the same bytes with NULs after them (up to
  // eight bytes); words of 14 and 38 bytes that differ only in the two
  // bytes after the head, or in the byte after the head and the last byte;
  // 255 bytes and more, which differ only in length; words whose head is
  // NULs.
  std::vector<std::vector<std::string>> families(7);
  for (char a = 'a'; a <= 'z'; ++a) {
    for (char b = 'A'; b <= 'Z'; ++b) {
      for (size_t n = 2; n <= 8; ++n) {
        std::string w{a, b};
        w.resize(n, '\0');
        families[0].push_back(w);
      }
    }
  }
  for (int x = 0; x < 256; ++x) {
    for (int y = 0; y < 256; ++y) {
      const std::string xy{static_cast<char>(x), static_cast<char>(y)};
      families[1].push_back("abcdefgh" + xy + "zzzz");
      families[2].push_back("abcdefgh" + xy.substr(0, 1) + "zzzz" + xy.substr(1));
      families[3].push_back("abcdefgh" + xy + std::string(28, 'z'));
      families[4].push_back("abcdefgh" + xy.substr(0, 1) + std::string(28, 'z') + xy.substr(1));
    }
  }
  for (size_t n = 250; n < 460; ++n) families[5].push_back("abcdefgh" + std::string(n - 8, 'x'));
  for (int k = 0; k < 5000; ++k) {
    families[6].push_back(std::string(8 + k % 9, '\0') + std::to_string(k));
  }
  for (const std::vector<std::string>& words : families) {
    WordList list;
    for (const std::string& w : words) {
      ASSERT_EQ(list.AddGated(w, 0, nullptr), WordList::Gated::kNew) << w.size();
    }
    for (const std::string& w : words) {
      ASSERT_EQ(list.AddGatedCount(w, 0, 3, nullptr), WordList::Gated::kCounted) << w.size();
    }
    const std::vector<std::pair<std::string, int64_t>> got = InOrder(list);
    ASSERT_EQ(got.size(), words.size());
    for (size_t k = 0; k < words.size(); ++k) {
      ASSERT_EQ(got[k].first, words[k]);
      ASSERT_EQ(got[k].second, 4) << words[k].size();
    }
  }
}

TEST(WordListTest, TablesCountedApartMergeIntoTheTableOfTheWhole) {
  // The words of a text counted by halves and merged in order give the
  // table that counted the whole text, its entry order included.
  const std::vector<std::string> words = RandomWords(20000, 9);
  const size_t half = words.size() / 2;
  SumGate gate;
  WordList whole;
  for (const std::string& w : words) whole.AddGated(w, 0, &gate);
  WordList first;
  WordList second;
  for (size_t k = 0; k < words.size(); ++k) {
    (k < half ? first : second).AddGated(words[k], 0, &gate);
  }
  WordList merged;
  for (const WordList* part : {&first, &second}) {
    part->ForEachEntryInOrder([&](BytesView word, int64_t count) {
      if (count > 0) merged.AddGatedCount(word, 0, count, &gate);
    });
  }
  std::vector<std::pair<std::string, int64_t>> want = InOrder(whole);
  std::erase_if(want, [](const auto& e) { return e.second == 0; });
  EXPECT_EQ(InOrder(merged), want);
  whole.Finalize();
  merged.Finalize();
  EXPECT_EQ(TableContents(merged), TableContents(whole));
}

TEST(WordListTest, GrowingLetsEventsRun) {
  // The index is made again as the table grows, and again when a second
  // file's words start the per-file data: each is a pass over the entries
  // that polls the pacer.
  Pacer pacer;
  int64_t dues = 0;
  pacer.SetThrottle(1, std::chrono::milliseconds(0));
  pacer.SetDue([&dues] { ++dues; });
  WordList list;
  list.SetPacer(&pacer);
  constexpr int kWords = 100000;
  for (int i = 0; i < kWords; ++i) list.AddOccurrence(BytesView("w" + std::to_string(i)), 0);
  EXPECT_GE(dues, kWords);
  const int64_t before = dues;
  list.AddOccurrence(BytesView("w1"), 1);
  EXPECT_GE(dues - before, kWords);
}

}  // namespace
}  // namespace vorn
