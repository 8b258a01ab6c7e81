// The common-words files of data/: Windows-1252, one lower-case word a line
// with CR LF ends, each word once in byte order, and the union file holding
// exactly the words of the six languages.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/test_files.h"
#include "util/file_proc.h"
#include "util/program_folder.h"
#include "words/char_classes.h"

namespace vorn {
namespace {

// The bytes Windows-1252 leaves undefined.
bool IsUndefinedInWindows1252(unsigned char b) {
  return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// The words of a common-words file, checking its form on the way.
std::vector<std::string> ReadWords(int language) {
  const std::string name = CommonWordsFileName(language);
  const std::string path = SourceDir() + "/data/" + name;
  std::vector<std::string> words;
  EXPECT_TRUE(FileExists(path)) << path;
  const std::string bytes = ReadFileBytes(path);
  EXPECT_FALSE(bytes.empty()) << name;
  EXPECT_TRUE(bytes.size() >= 2 && bytes.substr(bytes.size() - 2) == "\r\n") << name;
  // Letters, apostrophes and hyphens, as the scanner classes them.
  const CharClassTable classes(u"'-");
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << name << ": last line without CR LF";
      break;
    }
    const std::string word = bytes.substr(start, end - start);
    start = end + 2;
    EXPECT_FALSE(word.empty()) << name << ": blank line after " << words.size() << " words";
    if (word.empty()) continue;
    EXPECT_TRUE(classes.IsStart(word.front()) && classes.IsStart(word.back()))
        << name << ": " << word;
    for (const char c : word) {
      const auto b = static_cast<unsigned char>(c);
      EXPECT_FALSE(IsUndefinedInWindows1252(b)) << name << ": " << word;
      EXPECT_TRUE(classes.IsWord(c)) << name << ": " << word;
      EXPECT_EQ(LowerByte(b), b) << name << ": not lower case: " << word;
    }
    words.push_back(word);
  }
  EXPECT_TRUE(std::is_sorted(words.begin(), words.end())) << name;
  EXPECT_EQ(std::adjacent_find(words.begin(), words.end()), words.end())
      << name << ": a word twice";
  return words;
}

TEST(CommonWordsFilesTest, EachFileIsOneWindows1252WordALineInByteOrder) {
  for (int language = 0; language < kCommonWordsLanguages; ++language) {
    SCOPED_TRACE(CommonWordsFileName(language));
    EXPECT_GT(ReadWords(language).size(), 100u);
  }
}

TEST(CommonWordsFilesTest, TheUnionFileHoldsExactlyTheWordsOfTheSix) {
  std::set<std::string> six;
  for (int language = 0; language < 6; ++language) {
    for (const std::string& word : ReadWords(language)) six.insert(word);
  }
  const std::vector<std::string> all = ReadWords(6);
  EXPECT_EQ(std::vector<std::string>(six.begin(), six.end()), all);
}

TEST(CommonWordsFilesTest, HoldTheCommonestWordsOfTheirLanguage) {
  // "\374ber" is "über", "n\343o" "não".
  const std::pair<int, std::string_view> kWords[] = {
      {0, "aren't"}, {1, "der"}, {1, "\374ber"}, {2, "el"}, {3, "n\343o"}, {4, "il"}, {5, "le"}};
  for (const auto& [language, word] : kWords) {
    const std::vector<std::string> words = ReadWords(language);
    EXPECT_TRUE(std::binary_search(words.begin(), words.end(), std::string(word)))
        << language << ": " << word;
  }
}

}  // namespace
}  // namespace vorn
