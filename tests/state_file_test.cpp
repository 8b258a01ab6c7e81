#include "settings/state_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "settings/settings.h"
#include "support/test_files.h"

namespace vorn {
namespace {

// The lines of a state file written by WriteStateText (CR LF ends).
std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find("\r\n", pos);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(pos));
      break;
    }
    lines.emplace_back(bytes.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, std::string_view end = "\r\n") {
  std::string bytes;
  for (const std::string& line : lines) {
    bytes += line;
    bytes += end;
  }
  return bytes;
}

std::string Written(const Settings& s) {
  std::string bytes;
  std::string bad;
  EXPECT_TRUE(WriteStateText(s, &bytes, &bad)) << bad;
  return bytes;
}

// Reads into *read the file of the defaults with line `line` (from 1) holding
// `value` instead.
StateReadResult ReadWithLine(int line, const std::string& value, Settings* read) {
  std::vector<std::string> lines = SplitLines(Written(Settings{}));
  lines[static_cast<size_t>(line - 1)] = value;
  return ParseStateText(JoinLines(lines), read);
}

// A record in which every field of the file differs from its default.
Settings Customised() {
  Settings s;
  s.FolderPath = "/home/ann/texts, old";
  s.ExtraWords = {"the and, of", "caf\u00e9 \u20ac \u0160"};
  s.InputFilePath = "/home/ann/one.txt";
  s.OutputFilePath = "/home/ann/out \u00e9.txt";
  s.FileFilepathSpecifications = {"*.txt *.md", "draft*"};
  s.ShortWordSize = 4;
  s.LongWordSize = 0;
  s.ThresholdFrequency = 17;
  SetOrClearCheckboxes(&s, true);
  s.UserSpecifiedExtraChars = "#$ ,";
  s.AllowWordsWithUserSpecifiedExtraChars = 1;
  s.AllowWordsWithHyphens = 0;
  s.TerminatePhraseAtTab = 0;
  s.TerminatePhraseAtEndOfLine = 0;
  s.TerminatePhraseAtPeriod = 0;
  s.TerminatePhraseAtDoubleQuote = 2;
  s.IgnoreNoVowelorY = 0;
  s.IgnoreNoLetter = 0;
  s.IgnoreShortWords = 0;
  s.IgnoreRepetitions = 0;
  s.SuppressWords = 0;
  s.SuppressFilenames = 1;
  s.DisableOutputToFile = 1;
  s.IncludeSubfolders = 1;
  s.DisplayRelativeFrequency = 1;
  s.SortByNumberOfFiles = 1;
  s.WordOrder = 1;
  s.DisplayFormat = 13;
  s.WordsFiles[0].paths = {"/w/a.txt", "/w/b, c.txt", "/w/\u00c6.txt"};
  s.WordsFiles[0].selected = 2;
  s.WordsFiles[1].paths = {"/w/count.txt"};
  s.WordsFiles[1].selected = 0;
  s.CommonWordsLanguage = 5;
  s.Source = InputSource::kSingleFile;
  s.CountArrayZeroCellsBlank = 1;
  s.CountArrayLayout = 2;
  s.CountArrayWriteRelativeFrequency = 1;
  s.MinPhraseLength = 0;
  s.MaxPhraseLength = 29;
  s.MinPhraseOccurrences = 7;
  s.ExcessFrequency = 22;
  return s;
}

// Customised() without words files: the 73-line layout.
Settings CustomisedNoLists() {
  Settings s = Customised();
  s.WordsFiles = {};
  return s;
}

// The names of the text fields, as --set names them.
const std::vector<std::string> kTextFields = {"FolderPath",
                                              "ExtraWords0",
                                              "InputFilePath",
                                              "ExtraWords1",
                                              "OutputFilePath",
                                              "FileFilepathSpecifications0",
                                              "WordsFiles0",
                                              "WordsFiles1",
                                              "FileFilepathSpecifications1",
                                              "UserSpecifiedExtraChars"};

TEST(StateFileTest, EmptyListsGiveSeventyThreeCrLfLines) {
  const std::string bytes = Written(Settings{});
  // Every line ends in CR LF, the last one too, and no CR or LF stands alone.
  const std::vector<std::string> lines = SplitLines(bytes);
  ASSERT_EQ(lines.size(), static_cast<size_t>(kStateFileLines));
  EXPECT_EQ(JoinLines(lines), bytes);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), kStateFileLines);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), kStateFileLines);
  const std::vector<std::pair<int, std::string>> expected = {
      {1, "\"\""},  {2, "\"\""},  {5, "\"\""}, {6, "\"\""}, {12, "1"}, {13, "3"},  {14, "0"},
      {15, "1"},    {23, "1"},    {24, "0"},   {36, "0"},   {37, "0"}, {38, "1"},  {42, "1"},
      {45, "0"},    {46, "0"},    {48, "0"},   {49, "-1"},  {50, "0"}, {51, "-1"}, {52, "2"},
      {54, "\"\""}, {55, "\"\""}, {59, "0"},   {60, "0"},   {61, "2"}, {62, "5"},  {63, "1"},
      {65, "10"},   {72, "0"},    {73, "1"}};
  for (const auto& [line, text] : expected) {
    EXPECT_EQ(lines[static_cast<size_t>(line - 1)], text) << "line " << line;
  }
}

TEST(StateFileTest, ThreeFilesAddThreeLines) {
  Settings s;
  s.WordsFiles[1].paths = {"/a.txt", "/b.txt", "/c.txt"};
  s.WordsFiles[1].selected = 1;
  const std::vector<std::string> lines = SplitLines(Written(s));
  ASSERT_EQ(lines.size(), static_cast<size_t>(kStateFileLines + 3));
  EXPECT_EQ(lines[47], "0");
  EXPECT_EQ(lines[48], "-1");
  EXPECT_EQ(lines[49], "3");
  EXPECT_EQ(lines[50], "\"/a.txt\"");
  EXPECT_EQ(lines[51], "\"/b.txt\"");
  EXPECT_EQ(lines[52], "\"/c.txt\"");
  EXPECT_EQ(lines[53], "1");
  EXPECT_EQ(lines[54], "2");  // Source
}

// Every field SetFieldByName knows is saved and read back: changing it alone
// changes the file, and the file read into a default record gives the same
// file again.
TEST(StateFileTest, EveryFieldRoundTripsAlone) {
  const std::string defaults = Written(Settings{});
  const std::vector<std::string> candidates = {"1", "0", "2", "3", "30", "100", "/x/y.txt"};
  for (const std::string& name : FieldNames()) {
    bool changed = false;
    for (const std::string& value : candidates) {
      Settings s;
      if (!SetFieldByName(&s, name, value).empty()) continue;
      const std::string bytes = Written(s);
      if (bytes == defaults) continue;
      changed = true;
      Settings read;
      const StateReadResult r = ParseStateText(bytes, &read);
      EXPECT_EQ(r.status, StateReadStatus::kComplete) << name;
      EXPECT_EQ(Written(read), bytes) << name << "=" << value;
      break;
    }
    EXPECT_TRUE(changed) << name << " does not reach the file";
  }
}

TEST(StateFileTest, FileCutShortAtEveryLine) {
  const std::vector<std::string> full = SplitLines(Written(CustomisedNoLists()));
  ASSERT_EQ(full.size(), static_cast<size_t>(kStateFileLines));
  // The record read into has count-dialog values of its own.
  Settings start;
  start.CountArrayZeroCellsBlank = 1;
  start.CountArrayLayout = 2;
  const std::vector<std::string> unread = SplitLines(Written(start));
  for (int cut = 0; cut < kStateFileLines; ++cut) {
    const std::vector<std::string> kept(full.begin(), full.begin() + cut);
    Settings read = start;
    const StateReadResult r = ParseStateText(JoinLines(kept), &read);
    EXPECT_EQ(r.status, StateReadStatus::kPastEndOfFile) << cut;
    EXPECT_EQ(r.line, cut + 1);
    EXPECT_EQ(r.Code(), 0) << cut;
    EXPECT_EQ(r.count_dialog_reached, cut >= 58) << cut;
    // The lines read keep their values, the others what they held; once the
    // count-dialog section is reached, its two fields are reset.
    std::vector<std::string> want = unread;
    for (int k = 0; k < cut; ++k) want[static_cast<size_t>(k)] = full[static_cast<size_t>(k)];
    if (cut >= 58) {
      want[58] = "0";
      want[59] = "0";
    }
    EXPECT_EQ(SplitLines(Written(read)), want) << cut;
  }
}

TEST(StateFileTest, CountLargerThanTheLinesThatFollow) {
  Settings read;
  const StateReadResult r = ReadWithLine(48, "100", &read);  // WordsFiles0 count; 25 lines follow
  EXPECT_EQ(r.status, StateReadStatus::kPastEndOfFile);
  EXPECT_EQ(r.line, kStateFileLines + 1);
  EXPECT_EQ(read.WordsFiles[0].paths.size(), 25u);
  EXPECT_EQ(read.WordsFiles[0].selected, -1);
}

struct ValueCase {
  int line;
  std::string value;
  StateReadStatus status;
  std::string field;  // for kInvalidData
};

TEST(StateFileTest, ValuesOfEveryKind) {
  const std::vector<ValueCase> cases = {
      // List indices.
      {12, "18", StateReadStatus::kComplete, ""},
      {12, "19", StateReadStatus::kInvalidData, "ShortWordSize"},
      {12, "-2", StateReadStatus::kInvalidData, "ShortWordSize"},
      {12, "abc", StateReadStatus::kInvalidData, "ShortWordSize"},
      {12, "", StateReadStatus::kInvalidData, "ShortWordSize"},
      {12, "4x", StateReadStatus::kInvalidData, "ShortWordSize"},
      {12, "40000", StateReadStatus::kInvalidData, "ShortWordSize"},
      {12, "99999999999999999999", StateReadStatus::kInvalidData, "ShortWordSize"},
      {13, "9", StateReadStatus::kInvalidData, "LongWordSize"},
      {14, "18", StateReadStatus::kInvalidData, "ThresholdFrequency"},
      {45, "2", StateReadStatus::kInvalidData, "WordOrder"},
      {46, "14", StateReadStatus::kInvalidData, "DisplayFormat"},
      {61, "30", StateReadStatus::kInvalidData, "MinPhraseLength"},
      {62, "x", StateReadStatus::kInvalidData, "MaxPhraseLength"},
      {63, "-3", StateReadStatus::kInvalidData, "MinPhraseOccurrences"},
      {65, "23", StateReadStatus::kInvalidData, "ExcessFrequency"},
      // Switches.
      {15, "3", StateReadStatus::kInvalidData, "IgnoreShortWords"},
      {15, "-1", StateReadStatus::kInvalidData, "IgnoreShortWords"},
      {15, "", StateReadStatus::kComplete, ""},
      {15, "1e9", StateReadStatus::kComplete, ""},
      {15, "70000", StateReadStatus::kInvalidData, "IgnoreShortWords"},
      {73, "5", StateReadStatus::kInvalidData, "IgnoreNoVowelorY"},
      // Counts.
      {48, "-1", StateReadStatus::kInvalidData, "WordsFiles0"},
      {48, "abc", StateReadStatus::kInvalidData, "WordsFiles0"},
      {50, "40000", StateReadStatus::kInvalidData, "WordsFiles1"},
      // The selection of an empty list is not looked at beyond its form.
      {49, "5", StateReadStatus::kComplete, ""},
      {51, "x", StateReadStatus::kInvalidData, "WordsFiles1"},
      // Codes.
      {52, "abc", StateReadStatus::kInvalidData, "Source"},
      {52, "70000", StateReadStatus::kInvalidData, "Source"},
      {60, "x", StateReadStatus::kInvalidData, "CountArrayLayout"},
      // The language, read as a switch is.
      {72, "8", StateReadStatus::kInvalidData, "CommonWordsLanguage"},
      {72, "-2", StateReadStatus::kInvalidData, "CommonWordsLanguage"},
      {72, "7", StateReadStatus::kComplete, ""},
      {72, "zz", StateReadStatus::kComplete, ""},
      // The constant lines and the ignored texts are not looked at.
      {36, "junk", StateReadStatus::kComplete, ""},
      {38, "\"", StateReadStatus::kComplete, ""},
      {5, "12", StateReadStatus::kComplete, ""},
      {55, "x,y", StateReadStatus::kComplete, ""},
  };
  for (const ValueCase& c : cases) {
    Settings read;
    const StateReadResult r = ReadWithLine(c.line, c.value, &read);
    EXPECT_EQ(r.status, c.status) << "line " << c.line << " = " << c.value;
    if (c.status == StateReadStatus::kInvalidData) {
      EXPECT_EQ(r.line, c.line) << c.value;
      EXPECT_EQ(r.field, c.field) << c.value;
      EXPECT_EQ(r.error, "Invalid data");
      EXPECT_EQ(r.Code(), 3);
    } else {
      EXPECT_EQ(r.line, 0);
      EXPECT_TRUE(r.field.empty());
    }
  }
}

TEST(StateFileTest, NumbersAreRead) {
  struct Case {
    int line;
    std::string value;
    int16_t Settings::*field;
    int16_t want;
  };
  const std::vector<Case> cases = {
      {15, "0.5", &Settings::IgnoreShortWords, 0},
      {15, "1.5", &Settings::IgnoreShortWords, 2},
      {15, "2.5", &Settings::IgnoreShortWords, 2},
      {15, "0.51", &Settings::IgnoreShortWords, 1},
      {15, "-0.4", &Settings::IgnoreShortWords, 0},
      {15, " 1 apples", &Settings::IgnoreShortWords, 1},
      {15, "\"1\"", &Settings::IgnoreShortWords, 1},
      {15, "abc", &Settings::IgnoreShortWords, 0},
      {15, "1,2", &Settings::IgnoreShortWords, 1},
      {12, " 7 ", &Settings::ShortWordSize, 7},
      {12, "+7", &Settings::ShortWordSize, 7},
      {12, "6.5", &Settings::ShortWordSize, 6},
      {12, "\"3\"", &Settings::ShortWordSize, 3},
      {60, "3", &Settings::CountArrayLayout, 0},
      {60, "-1", &Settings::CountArrayLayout, 0},
      {72, "6.5", &Settings::CommonWordsLanguage, 6},
      {72, "3 languages", &Settings::CommonWordsLanguage, 3},
  };
  for (const Case& c : cases) {
    Settings read;
    read.CountArrayLayout = 2;
    EXPECT_EQ(ReadWithLine(c.line, c.value, &read).status, StateReadStatus::kComplete) << c.value;
    EXPECT_EQ(read.*c.field, c.want) << "line " << c.line << " = " << c.value;
  }
}

TEST(StateFileTest, SourceCodes) {
  const std::vector<std::pair<std::string, InputSource>> cases = {{"0", InputSource::kClipboard},
                                                                  {"1", InputSource::kSingleFile},
                                                                  {"2", InputSource::kFolder},
                                                                  {"5", InputSource::kFolder},
                                                                  {"-1", InputSource::kFolder}};
  for (const auto& [value, want] : cases) {
    Settings read;
    read.Source = InputSource::kClipboard;
    if (want == InputSource::kClipboard) read.Source = InputSource::kFolder;
    EXPECT_EQ(ReadWithLine(52, value, &read).status, StateReadStatus::kComplete);
    EXPECT_EQ(read.Source, want) << value;
  }
}

TEST(StateFileTest, TextsAreRead) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"\"a, b\"", "a, b"},
      {"\"  padded  \"", "  padded  "},
      {"\"open", "open"},
      {"\"quoted\" then more", "quoted"},
      {"  bare text , rest", "bare text"},
      {"bare", "bare"},
      {"", ""},
      {"\"caf\xE9 \x80\"", "caf\u00e9 \u20ac"},
  };
  for (const auto& [line, want] : cases) {
    Settings read;
    EXPECT_EQ(ReadWithLine(1, line, &read).status, StateReadStatus::kComplete);
    EXPECT_EQ(read.FolderPath, want) << line;
  }
}

TEST(StateFileTest, ListIndexOutsideItsList) {
  Settings s;
  s.WordsFiles[0].paths = {"/a", "/b", "/c"};
  s.WordsFiles[0].selected = 0;
  std::vector<std::string> lines = SplitLines(Written(s));
  ASSERT_EQ(lines[51], "0");
  for (const char* value : {"3", "-2", "100"}) {
    lines[51] = value;
    Settings read;
    const StateReadResult r = ParseStateText(JoinLines(lines), &read);
    EXPECT_EQ(r.status, StateReadStatus::kInvalidData) << value;
    EXPECT_EQ(r.line, 52);
    EXPECT_EQ(r.field, "WordsFiles0");
    // The paths were read before the selection.
    EXPECT_EQ(read.WordsFiles[0].paths.size(), 3u);
  }
  for (const auto& [value, want] :
       std::vector<std::pair<std::string, int16_t>>{{"2", 2}, {"-1", -1}, {"0", 0}}) {
    lines[51] = value;
    Settings read;
    EXPECT_EQ(ParseStateText(JoinLines(lines), &read).status, StateReadStatus::kComplete);
    EXPECT_EQ(read.WordsFiles[0].selected, want);
  }
}

TEST(StateFileTest, ListsAreEmptiedBeforeReading) {
  Settings read;
  read.WordsFiles[0].paths = {"/old"};
  read.WordsFiles[0].selected = 0;
  EXPECT_EQ(ParseStateText(Written(Settings{}), &read).status, StateReadStatus::kComplete);
  EXPECT_TRUE(read.WordsFiles[0].paths.empty());
  EXPECT_EQ(read.WordsFiles[0].selected, -1);
}

TEST(StateFileTest, MissingListChoiceIsReported) {
  // The six list choices on lines 12-14, 45, 46 and 65 are reported when
  // they hold -1; the phrase limits and the language are not.
  for (int line : {12, 13, 14, 45, 46, 65, 61, 62, 63, 72}) {
    const bool reported = line < 61 || line == 65;
    Settings read;
    const StateReadResult r = ReadWithLine(line, "-1", &read);
    EXPECT_EQ(r.status, StateReadStatus::kComplete) << line;
    EXPECT_EQ(r.list_choice_missing, reported) << line;
    EXPECT_EQ(r.Code(), reported ? 1 : 0) << line;
  }
}

TEST(StateFileTest, LineEndsOfEveryKindReadTheSame) {
  const std::string crlf = Written(Customised());
  const std::vector<std::string> lines = SplitLines(crlf);
  for (const std::string_view end : {"\r", "\n", "\r\n"}) {
    Settings read;
    EXPECT_EQ(ParseStateText(JoinLines(lines, end), &read).status, StateReadStatus::kComplete);
    EXPECT_EQ(Written(read), crlf);
  }
  // The last line may lack its end.
  Settings cut;
  EXPECT_EQ(ParseStateText(crlf.substr(0, crlf.size() - 2), &cut).status,
            StateReadStatus::kComplete);
  EXPECT_EQ(Written(cut), crlf);
  // Mixed ends, and empty lines kept as lines.
  std::string mixed;
  for (size_t i = 0; i < lines.size(); ++i) mixed += lines[i] + (i % 3 == 0 ? "\r" : "\n");
  Settings read;
  EXPECT_EQ(ParseStateText(mixed, &read).status, StateReadStatus::kComplete);
  EXPECT_EQ(Written(read), crlf);
  // "\n\r" is two line ends.
  Settings two;
  const StateReadResult r = ParseStateText("\"a\"\n\r\"b\"\r\n", &two);
  EXPECT_EQ(r.status, StateReadStatus::kPastEndOfFile);
  EXPECT_EQ(r.line, 4);
  EXPECT_EQ(two.FolderPath, "a");
  EXPECT_EQ(two.ExtraWords[0], "");
  EXPECT_EQ(two.InputFilePath, "b");
}

TEST(StateFileTest, WriterRefusesTextsTheFileCannotHold) {
  const std::vector<std::string> bad_values = {"a\"b",   "a\rb",   "a\nb",   "\r\n",
                                               "\u0100", "\u4e2d", "x\xE9y", "\xFF"};
  for (const std::string& name : kTextFields) {
    for (const std::string& value : bad_values) {
      Settings s;
      ASSERT_EQ(SetFieldByName(&s, name, value), "") << name;
      std::string bytes = "old";
      std::string bad;
      EXPECT_FALSE(WriteStateText(s, &bytes, &bad)) << name;
      EXPECT_EQ(bad, name);
      EXPECT_TRUE(bytes.empty());
    }
  }
  // Characters Windows-1252 holds are written.
  Settings s;
  s.FolderPath = "\u20ac\u0160\u00ff\u0081 \t,";
  std::string bytes;
  std::string bad;
  EXPECT_TRUE(WriteStateText(s, &bytes, &bad));
  EXPECT_EQ(SplitLines(bytes)[0], "\"\x80\x8A\xFF\x81 \t,\"");
  Settings read;
  EXPECT_EQ(ParseStateText(bytes, &read).status, StateReadStatus::kComplete);
  EXPECT_EQ(read.FolderPath, s.FolderPath);
}

TEST(StateFileTest, WriterNamesTheFirstBadFieldInLineOrder) {
  Settings s;
  s.UserSpecifiedExtraChars = "\"";
  s.WordsFiles[1].paths = {"ok", "b\nad"};
  s.OutputFilePath = "\"";
  std::string bytes;
  std::string bad;
  EXPECT_FALSE(WriteStateText(s, &bytes, &bad));
  EXPECT_EQ(bad, "OutputFilePath");
  s.OutputFilePath.clear();
  EXPECT_FALSE(WriteStateText(s, &bytes, &bad));
  EXPECT_EQ(bad, "WordsFiles1");
}

TEST(StateFileTest, RefusedSaveLeavesTheFileAlone) {
  TempDir dir;
  const std::string path = dir.Write("vorn.usr", "earlier content");
  for (const std::string& name : kTextFields) {
    Settings s;
    ASSERT_EQ(SetFieldByName(&s, name, "say \"hi\""), "");
    const std::string e = SaveStateFile(s, path);
    EXPECT_EQ(e.rfind(kSaveStateError, 0), 0u) << e;
    EXPECT_NE(e.find(name), std::string::npos) << e;
    EXPECT_NE(e.find("double quote"), std::string::npos) << e;
    EXPECT_EQ(ReadFileBytes(path), "earlier content");
  }
  Settings s;
  s.ExtraWords[1] = "\u4e2d";
  const std::string e = SaveStateFile(s, path);
  EXPECT_NE(e.find("ExtraWords1"), std::string::npos) << e;
  EXPECT_EQ(ReadFileBytes(path), "earlier content");
  EXPECT_EQ(FolderNames(dir.path()), std::vector<std::string>{"vorn.usr"});
}

// Runs `body` as an ordinary user when the tests run as root, whose writes
// no permission bits stop; returns the exit status of body (0 for success).
template <typename Body>
int AsOrdinaryUser(const std::string& dir, Body body) {
  if (geteuid() != 0) return body();
  // The folder must be usable by the user the child becomes.
  if (chown(dir.c_str(), 65534, 65534) != 0) return 97;
  const pid_t pid = fork();
  if (pid == 0) {
    if (setgid(65534) != 0 || setuid(65534) != 0) _exit(99);
    _exit(body());
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(StateFileTest, ReadOnlyFileIsRefusedAndKept) {
  TempDir dir;
  const std::string path = dir.Write("vorn.usr", "earlier content");
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const int status = AsOrdinaryUser(dir.path(), [&] {
    const std::string e = SaveStateFile(Customised(), path);
    if (e != std::string(kSaveStateError) + "Permission denied") return 1;
    if (ReadFileBytes(path) != "earlier content") return 2;
    if (FolderNames(dir.path()) != std::vector<std::string>{"vorn.usr"}) return 3;
    return 0;
  });
  if (status == 99) GTEST_SKIP() << "cannot become an ordinary user";
  EXPECT_EQ(status, 0);
}

TEST(StateFileTest, UnreadableFileIsAReadError) {
  TempDir dir;
  const std::string path = dir.Write("vorn.usr", Written(Settings{}));
  ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  const int status = AsOrdinaryUser(dir.path(), [&] {
    Settings read;
    read.FolderPath = "kept";
    const StateReadResult r = ReadStateFile(path, &read);
    if (r.status != StateReadStatus::kReadError) return 1;
    if (r.error != "Permission denied") return 2;
    if (r.Code() != 3 || read.FolderPath != "kept") return 3;
    return 0;
  });
  if (status == 99) GTEST_SKIP() << "cannot become an ordinary user";
  EXPECT_EQ(status, 0);
}

TEST(StateFileTest, MissingFileAndFolders) {
  TempDir dir;
  Settings read;
  read.FolderPath = "kept";
  StateReadResult r = ReadStateFile(dir.File("none.usr"), &read);
  EXPECT_EQ(r.status, StateReadStatus::kMissing);
  EXPECT_EQ(r.Code(), -1);
  const std::string plain = dir.Write("plain", "x");
  r = ReadStateFile(plain + "/vorn.usr", &read);
  EXPECT_EQ(r.status, StateReadStatus::kMissing);
  EXPECT_EQ(read.FolderPath, "kept");
  r = ReadStateFile(dir.path(), &read);
  EXPECT_EQ(r.status, StateReadStatus::kReadError);
  EXPECT_EQ(r.error, "Is a directory");

  // A state folder under a regular file can be neither made nor written.
  EXPECT_EQ(MakeStateFolder(plain + "/Quillon Systems"), "Not a directory");
  EXPECT_EQ(SaveStateFile(Settings{}, plain + "/Quillon Systems/vorn.usr"),
            std::string(kSaveStateError) + "Not a directory");
  EXPECT_EQ(SaveStateFile(Settings{}, dir.File("gone/vorn.usr")),
            std::string(kSaveStateError) + "No such file or directory");
  EXPECT_EQ(MakeStateFolder(dir.File("a/Quillon Systems")), "");
  EXPECT_EQ(MakeStateFolder(dir.File("a/Quillon Systems")), "");
  EXPECT_EQ(SaveStateFile(Settings{}, dir.File("a/Quillon Systems/vorn.usr")), "");
  EXPECT_EQ(ReadFileBytes(plain), "x");
}

// The texts of the record, the words-file paths among them.
std::vector<std::string*> Texts(Settings* s) {
  std::vector<std::string*> texts = {&s->FolderPath,
                                     &s->InputFilePath,
                                     &s->OutputFilePath,
                                     &s->UserSpecifiedExtraChars,
                                     &s->ExtraWords[0],
                                     &s->ExtraWords[1],
                                     &s->FileFilepathSpecifications[0],
                                     &s->FileFilepathSpecifications[1]};
  for (WordsFileList& list : s->WordsFiles) {
    for (std::string& path : list.paths) texts.push_back(&path);
  }
  return texts;
}

// After any read the record holds only values the file can say: it can be
// written (once its texts hold no quote), and that file reads completely
// into the same record.
void ExpectSound(const Settings& read, const StateReadResult& r, int n) {
  switch (r.status) {
    case StateReadStatus::kComplete:
      EXPECT_EQ(r.line, 0) << n;
      break;
    case StateReadStatus::kPastEndOfFile:
      EXPECT_GE(r.line, 1) << n;
      break;
    case StateReadStatus::kInvalidData:
      EXPECT_GE(r.line, 1) << n;
      EXPECT_FALSE(r.field.empty()) << n;
      EXPECT_EQ(r.error, "Invalid data") << n;
      break;
    default:
      ADD_FAILURE() << "case " << n << " gave status " << static_cast<int>(r.status);
  }
  const int16_t code = r.Code();
  EXPECT_TRUE(code == 0 || code == 1 || code == 3) << n;
  for (const WordsFileList& list : read.WordsFiles) {
    EXPECT_GE(list.selected, -1) << n;
    EXPECT_LT(list.selected, static_cast<int>(list.paths.size())) << n;
  }
  std::string bytes;
  std::string bad;
  // A line without an opening quote is read up to its first comma, quotes
  // and all; the writer refuses such a text, and only such a text.
  Settings cleaned = read;
  bool had_quote = false;
  for (std::string* text : Texts(&cleaned)) {
    const size_t before = text->size();
    std::erase(*text, '"');
    had_quote = had_quote || text->size() != before;
  }
  EXPECT_EQ(WriteStateText(read, &bytes, &bad), !had_quote) << n << " " << bad;
  ASSERT_TRUE(WriteStateText(cleaned, &bytes, &bad)) << n << " " << bad;
  Settings again;
  EXPECT_EQ(ParseStateText(bytes, &again).status, StateReadStatus::kComplete) << n;
  EXPECT_EQ(Written(again), bytes) << n;
}

TEST(StateFileTest, DamagedFilesAlwaysGiveADefinedResult) {
  std::mt19937 rng(20261206);
  const std::string valid = Written(Customised());
  const std::vector<std::string> lines = SplitLines(valid);
  const std::string alphabet = "0123456789-+.,\" \t\r\n\r\nab\xE9\x80";
  int seen[3] = {0, 0, 0};  // complete, past end of file, invalid data
  auto below = [&](size_t n) { return n == 0 ? size_t{0} : static_cast<size_t>(rng() % n); };
  for (int n = 0; n < 3000; ++n) {
    std::string input;
    switch (n % 6) {
      case 0: {  // random bytes
        const size_t size = below(600);
        for (size_t i = 0; i < size; ++i) input.push_back(static_cast<char>(rng() & 0xFF));
        break;
      }
      case 1: {  // random characters of the format
        const size_t size = below(600);
        for (size_t i = 0; i < size; ++i) input.push_back(alphabet[below(alphabet.size())]);
        break;
      }
      case 2:  // cut at any byte
        input = valid.substr(0, below(valid.size() + 1));
        break;
      case 3: {  // two lines swapped
        std::vector<std::string> changed = lines;
        std::swap(changed[below(changed.size())], changed[below(changed.size())]);
        input = JoinLines(changed);
        break;
      }
      case 4: {  // a line removed or repeated
        std::vector<std::string> changed = lines;
        const size_t at = below(changed.size());
        if (rng() % 2 == 0) {
          changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(at));
        } else {
          changed.insert(changed.begin() + static_cast<std::ptrdiff_t>(at), changed[at]);
        }
        input = JoinLines(changed);
        break;
      }
      default: {  // a few bytes changed
        input = valid;
        for (int k = 0; k < 4; ++k) {
          input[below(input.size())] = alphabet[below(alphabet.size())];
        }
        break;
      }
    }
    Settings read;
    const StateReadResult r = ParseStateText(input, &read);
    ExpectSound(read, r, n);
    if (HasFatalFailure()) return;
    if (static_cast<int>(r.status) < 3) ++seen[static_cast<int>(r.status)];
  }
  // The damage reaches every outcome.
  EXPECT_GT(seen[0], 100);
  EXPECT_GT(seen[1], 100);
  EXPECT_GT(seen[2], 100);
}

}  // namespace
}  // namespace vorn
