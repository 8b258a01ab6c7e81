// The file-path specifications of folder runs: the two boxes, their check,
// and which files of a folder match them.

#include "input/file_patterns.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting/engine_state.h"
#include "support/scripted_host.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

struct WildCase {
  const char* text;
  const char* pattern;
  bool case_significant;
  bool match;
};

TEST(FilePatternsTest, WildMatch) {
  const WildCase cases[] = {
      {"abc", "abc", true, true},
      {"ABC", "abc", false, true},
      {"ABC", "abc", true, false},
      {"anything", "***", false, true},
      {"", "*", false, true},
      {"", "", false, true},
      {"a", "", false, true},  // empty without its "*": matches anything
      {"abc", "a?c", false, true},
      {"ac", "a?c", false, false},
      {"x", "?", false, true},
      {"", "?", false, false},
      {"abcd", "a*d", false, true},
      {"abc", "*b*", false, true},
      {"abc", "abd", false, false},
      {"abcx", "abc", false, false},
      {"ab", "*b", false, true},
      // A "*" takes the first occurrence of the next literal character and
      // never goes back for a later one.
      {"abb", "*b", false, false},
      {"adxd", "a*d", false, false},
      // The "?" right after a "*" is taken up by it.
      {"b", "*?b", false, true},
  };
  for (const WildCase& c : cases) {
    EXPECT_EQ(WildMatch(c.text, c.pattern, c.case_significant), c.match)
        << "'" << c.text << "' against '" << c.pattern << "'";
  }
}

struct PatternCase {
  const char* name;
  const char* pattern;
  bool match;
};

TEST(FilePatternsTest, MatchFilePattern) {
  const PatternCase cases[] = {
      {"a.txt", "*.txt", true},
      {"a.doc", "*.txt", false},
      {"A.TXT", "*.txt", true},
      {"a.txt", "*", false},  // a lone "*": names without an extension only
      {"readme", "*", true},
      {"a.txt", "*.*", true},
      {"readme", "*.*", true},
      {"readme", "read*.**", true},
      {"readme", "*.t*", false},
      {"readme", "READ*", true},
      {"about.html", "a*.htm*", true},
      {"about.htm", "a*.htm*", true},
      {"index.html", "a*.htm*", false},
      {"a.txt", "?.txt", true},
      {"ab.txt", "?.txt", false},
      {"a.b.txt", "*.txt", true},  // split at the last "."
      {"a.b.txt", "a.*", false},
      {"a.txt", "   ", true},  // a pattern of blanks matches
      {"a.txt", "  *.txt ", true},
      {"", "*", false},
      {"a.txt", "", false},
      {"a?.txt", "*.txt", false},
      {"a*.txt", "*.txt", false},
      {"c:a.txt", "*.txt", false},
      {"a\\b.txt", "*.txt", false},
  };
  for (const PatternCase& c : cases) {
    EXPECT_EQ(MatchFilePattern(c.name, c.pattern, false), c.match)
        << "'" << c.name << "' against '" << c.pattern << "'";
  }
  EXPECT_FALSE(MatchFilePattern("A.TXT", "*.txt", true));
  EXPECT_TRUE(MatchFilePattern("A.TXT", "*.TXT", true));
}

TEST(FilePatternsTest, NonAsciiNames) {
  const PatternCase cases[] = {
      {"\xC3\x89T\xC3\x89.txt", "\xC3\xA9t\xC3\xA9.*", true},  // ÉTÉ.txt, été.*
      {"\xC3\xA9.txt", "?.txt", true},                         // é: one character
      {"\xF0\x9F\x98\x80.txt", "?.txt", true},                 // U+1F600: one character
      {"\xC5\xA0koda.txt", "\xC5\xA1*.txt", true},             // Š folds to š
      {"\xCE\xA9.txt", "\xCF\x89.txt", false},                 // Ω keeps its case
      {"\xC9.txt", "\xC3\xA9.txt", true},                      // invalid byte: É
      {"\xFF\xFE.txt", "*.txt", true},                         // invalid bytes
      {"a\xE2\x82", "a*", true},                               // cut-off sequence
  };
  for (const PatternCase& c : cases) {
    EXPECT_EQ(MatchFilePattern(c.name, c.pattern, false), c.match)
        << "'" << c.name << "' against '" << c.pattern << "'";
  }
}

struct FileCase {
  const char* path;
  bool read;
};

void ExpectFiles(const FilePathSpecs& specs, const std::vector<FileCase>& cases) {
  for (const FileCase& c : cases) EXPECT_EQ(FileMatches(c.path, specs), c.read) << c.path;
}

TEST(FilePatternsTest, FileMatchesWithoutPatterns) {
  ExpectFiles({}, {{"/d/a.txt", true},
                   {"a.txt", true},
                   {"/d/readme", true},
                   {"/d/a.docx", true},
                   {"/d.png/a.txt", true},
                   {"/d/\xFF\xFE", true}});
  // Extensions never read, in any case.
  for (const char* name :
       {"a.doc", "pic.JPG", "lib.js", "page.css", "a.loaded_0", "a.---", "a.gdoc", "a.ini"}) {
    EXPECT_FALSE(FileMatches(std::string("/d/") + name, {})) << name;
  }
}

TEST(FilePatternsTest, FileMatchesWithExclusionTexts) {
  FilePathSpecs specs;
  specs.exclude_texts = {"copy", "bak", "caf\xC3\xA9"};
  ExpectFiles(specs, {{"/d/Copy of a.txt", false},
                      {"/d/a.bak", false},
                      {"/d/a.txt", true},
                      {"/copy/a.txt", true},  // only the name is looked at
                      {"/d/CAF\xC3\x89.txt", false}});
}

TEST(FilePatternsTest, FileMatchesWithPatterns) {
  FilePathSpecs specs;
  specs.patterns = {"*.txt", "a*.htm*", "*.jpg", "r\xC3\xA9sum\xC3\xA9.txt"};
  specs.exclude_texts = {"old"};
  ExpectFiles(specs, {{"/d/a.txt", true},
                      {"/d/about.HTML", true},
                      {"/d/b.html", false},
                      {"/d/a.jpg", false},  // an excluded extension wins
                      {"/d/old.txt", false},
                      {"/d/readme", false},
                      {"/d/R\xC3\x89SUM\xC3\x89.TXT", true}});
}

struct NormaliseCase {
  const char* text;
  const char* normalised;
  Strings items;
};

TEST(FilePatternsTest, NormaliseSpecText) {
  const NormaliseCase cases[] = {
      {"*.txt,  *.docx ,a*.htm*", "*.txt, *.docx, a*.htm*", {"*.txt", "*.docx", "a*.htm*"}},
      {"", "", {}},
      {" , ,, ", "", {}},
      {"*.TXT Copy", "*.txt, copy", {"*.txt", "copy"}},
      {"\xC3\x89T\xC3\x89.txt", "\xC3\xA9t\xC3\xA9.txt", {"\xC3\xA9t\xC3\xA9.txt"}},
  };
  for (const NormaliseCase& c : cases) {
    Strings items = {"left over"};
    EXPECT_EQ(NormaliseSpecText(c.text, &items), c.normalised) << c.text;
    EXPECT_EQ(items, c.items) << c.text;
  }
  EXPECT_EQ(NormaliseSpecText("x,,y", nullptr), "x, y");
}

const char kDocNote[] =
    "Match file patterns|This software does not process .doc files.  To process\r\n"
    "Word .doc files they should first be converted to .docx files.";

struct BoxCase {
  int index;
  const char* text;
  const char* normalised;
  bool changed;
  bool doc_note;
};

TEST(FilePatternsTest, FileSpecBoxLeft) {
  const BoxCase cases[] = {
      {0, "*.TXT,*.doc", "*.txt, *.doc", true, true},
      {0, "*.doc, *.txt", "*.doc, *.txt", false, true},
      {0, "*.txt, *.docx", "*.txt, *.docx", false, false},
      {0, "a.document", "a.document", false, false},
      {0, "", "", false, false},
      {1, "Copy,bak", "copy, bak", true, false},
      {1, ".doc", ".doc", false, false},
  };
  for (const BoxCase& c : cases) {
    ScriptedHost host;
    EngineState st(&host);
    st.settings.FileFilepathSpecifications[c.index] = c.text;
    FileSpecBoxLeft(&st, c.index);
    EXPECT_EQ(st.settings.FileFilepathSpecifications[c.index], c.normalised) << c.text;
    const std::string field = "FileFilepathSpecifications" + std::to_string(c.index);
    EXPECT_EQ(host.settings_changed(), c.changed ? Strings{field} : Strings{}) << c.text;
    EXPECT_EQ(host.Dialogs(), c.doc_note ? Strings{kDocNote} : Strings{}) << c.text;
    Strings items;
    NormaliseSpecText(c.normalised, &items);
    EXPECT_EQ(c.index == 0 ? st.file_specs.patterns : st.file_specs.exclude_texts, items);
    EXPECT_TRUE((c.index == 0 ? st.file_specs.exclude_texts : st.file_specs.patterns).empty());
  }
}

TEST(FilePatternsTest, SpecToolTip) {
  const std::string thirty(30, 'a');
  const std::string thirty_one(31, 'a');
  std::string accented;
  for (int i = 0; i < 30; ++i) accented += "\xC3\xA9";
  EXPECT_EQ(SpecToolTip(0, ""), "E.g., *.txt, *.docx, a*.htm*, b*.xml");
  EXPECT_EQ(SpecToolTip(1, ""), "E.g., copy, bak");
  EXPECT_EQ(SpecToolTip(0, "*.txt"), "");
  EXPECT_EQ(SpecToolTip(1, thirty), "");
  EXPECT_EQ(SpecToolTip(1, thirty_one), thirty_one);
  EXPECT_EQ(SpecToolTip(0, accented), "");  // 30 characters in 60 bytes
}

struct CheckCase {
  Strings patterns;
  Strings exclude_texts;
  std::string message;  // "" when the check passes
};

TEST(FilePatternsTest, CheckFilePatterns) {
  std::vector<CheckCase> cases = {
      {{"*.txt", "?.htm"}, {"copy"}, ""},
      {{"*.txt", "a<b"}, {}, "File pattern 'a<b' contains an invalid character."},
      {{}, {"co*py"}, "Folder pattern 'co*py' contains an invalid character."},
      {{}, {"a?"}, "Folder pattern 'a?' contains an invalid character."},
      {{}, {"a<"}, "Folder pattern 'a<' contains an invalid character."},
      {{"a|b", "x;"}, {"y*"}, "File pattern 'x;' contains an invalid character."},
  };
  // Each of the other characters no item may hold.
  for (const char bad : std::string("~;/\\>`\",")) {
    const std::string pattern = std::string("a") + bad;
    cases.push_back(
        {{pattern}, {}, "File pattern '" + pattern + "' contains an invalid character."});
  }
  for (const CheckCase& c : cases) {
    ScriptedHost host;
    FilePathSpecs specs;
    specs.patterns = c.patterns;
    specs.exclude_texts = c.exclude_texts;
    const bool passed = CheckFilePatterns(&host, specs);
    EXPECT_EQ(passed, c.message.empty()) << c.message;
    if (passed) {
      EXPECT_TRUE(host.calls().empty());
    } else {
      ASSERT_EQ(host.calls().size(), 1u) << c.message;
      EXPECT_EQ(host.calls()[0].title, "Invalid input");
      EXPECT_EQ(host.calls()[0].text, c.message);
      EXPECT_EQ(host.calls()[0].icon, Icon::kExclamation);
    }
  }
}

}  // namespace
}  // namespace vorn
