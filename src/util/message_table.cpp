#include "util/message_table.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vorn {
namespace {

struct Entry {
  int number;
  std::string_view text;
};

// The English texts, in ascending order of number. "~" marks a number
// that is kept intentionally empty.
constexpr std::array kEnglish = {
    Entry{1, "VORN"},
    Entry{19, "Select the source of the text:"},
    Entry{20,
          "The text can be taken from the clipboard, from a single file, or from all the files "
          "of a folder, with or without its subfolders."},
    Entry{21, "Count words/phrases"},
    Entry{22, "Counting was stopped before all words were counted."},
    Entry{23, "This list is incomplete."},
    Entry{24,
          "'Count all phrases' counts every phrase of a chosen number of words that occurs at "
          "least a chosen number of times."},
    Entry{25, "~"},
    Entry{26,
          "VORN counts the words and phrases of a text and lists them by frequency or in "
          "alphabetical order."},
    Entry{27,
          "The 'Settings' window defines what counts as a word, which words are to be ignored, "
          "and which words or phrases alone are to be counted."},
    Entry{28,
          "Click on 'Count words/phrases' to start counting. The results are shown in the box on "
          "the right and, when an output file is specified, written to that file."},
    Entry{29, "The online user manual explains every option."},
    Entry{30, "~"},
    Entry{31, "Check this box for faster processing."},
    Entry{32, "Click to stop"},
    Entry{33, "Counting . . . click to stop"},
    Entry{34, "Counting has ended early; the words found so far may be incomplete."},
    Entry{35, "If this error recurs, please note the message above and the file being read."},
    Entry{36, "The list in this box is incomplete."},
    Entry{37, "The saved settings are incomplete: a choice in one of the lists is missing."},
    Entry{38, "The saved settings could not be read"},
    Entry{39, "Do you wish to reinitialize all settings?"},
    Entry{40, "Error restoring saved settings"},
    Entry{41,
          "No words-to-ignore file has been specified.\r\n"
          "Do you wish to ignore the common English words?"},
    Entry{42, "Ignore common words?"},
    Entry{43, "By frequency"},
    Entry{44, "Alphabetical"},
    Entry{45, "Select the folder whose files are to be scanned"},
    Entry{46, "Select the input file"},
    Entry{47, "Specify the output file"},
    Entry{48, "This folder does not exist:"},
    Entry{50, "Settings saved."},
    Entry{51, "rank freq word"},
    Entry{52, "rank word freq"},
    Entry{53, "rank freq"},
    Entry{54, "rank word"},
    Entry{55, "freq rank"},
    Entry{56, "freq word"},
    Entry{57, "word rank"},
    Entry{58, "word freq"},
    Entry{59, "word"},
    Entry{60, "word, word, ..."},
    Entry{61, "rank freq log(rank) log(freq) word (Zipf)"},
    Entry{62, "word freq no.files"},
    Entry{63, "word file-list"},
    Entry{64, "word file-list (+ freq)"},
    Entry{91, "VORN Settings"},
    Entry{101, "Make 2-d count array for Excel"},
    Entry{102, "Make 2-d count array of specified words/phrases"},
    Entry{103, "No output file has been specified."},
    Entry{104, "Please specify an output file first."},
};

constexpr bool IsAscending() {
  for (size_t i = 1; i < kEnglish.size(); ++i) {
    if (kEnglish[i - 1].number >= kEnglish[i].number) return false;
  }
  return true;
}
static_assert(IsAscending(), "message numbers must ascend");

}  // namespace

std::string GetMessageText(int n) {
  const auto it = std::lower_bound(kEnglish.begin(), kEnglish.end(), n,
                                   [](const Entry& e, int key) { return e.number < key; });
  if (it == kEnglish.end() || it->number != n) return "";
  if (it->text == "~") return "";
  return std::string(it->text);
}

}  // namespace vorn
