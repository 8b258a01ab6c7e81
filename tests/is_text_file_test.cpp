#include "input/is_text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "support/scripted_host.h"
#include "support/test_files.h"

namespace vorn {
namespace {

using namespace std::string_literals;

TEST(IsTextFileTest, ClassifyFileStartByPathAndLength) {
  TempDir dir;
  EXPECT_EQ(ClassifyFileStart(""), kStartEmptyPath);
  EXPECT_EQ(ClassifyFileStart(dir.File("missing/below.txt")), kStartMissing);
  EXPECT_EQ(ClassifyFileStart(dir.Write("plain.txt", "hello") + "/x"), kStartMissing);
  EXPECT_EQ(ClassifyFileStart(dir.path()), kStartUnreadable);
  EXPECT_EQ(ClassifyFileStart(dir.Write("zero.txt", "")), kStartZeroLength);
  for (const std::string& bytes : {"a"s, "abc"s, "\xFF\xFE\x00\x00"s}) {
    EXPECT_EQ(ClassifyFileStart(dir.Write("tiny.txt", bytes)), kStartTiny) << bytes.size();
  }
  EXPECT_EQ(ClassifyFileStart(dir.Write("five.txt", "abcde")), kStartNothing);
  // A pipe is refused without waiting for a writer.
  ASSERT_EQ(mkfifo(dir.File("pipe.txt").c_str(), 0600), 0);
  EXPECT_EQ(ClassifyFileStart(dir.File("pipe.txt")), kStartUnreadable);
}

TEST(IsTextFileTest, ClassifyFileStartByFirstBytes) {
  TempDir dir;
  using Case = std::tuple<const char*, std::string, int>;
  const Case kCases[] = {
      {"le.dat", "\xFF\xFE\x41\x00\x00\x00"s, kStartUtf16Le},  // whatever the extension
      {"be.txt", "\xFE\xFF\0a\0b"s, kStartUtf16Be},
      {"u8.txt", "\xEF\xBB\xBFhello"s, kStartUtf8},
      {"u32be.txt", "\0\0\xFE\xFF\0\0\0a"s, kStartUtf32Be},
      {"u32le.txt", "\xFF\xFE\0\0a\0\0\0"s, kStartUtf32Le},
      {"doc.txt", "{\\rtf1\\ansi"s, kStartRtf},
      {"upper.rtf", "{\\RTF1\\ansi"s, kStartNothing},
      {"le.xml", "\xFF\xFE<\0?\0"s, kStartUtf16Le},  // marks are tested before the .xml rules
      {"a.xml", "<?xml version=\"1.0\"?>"s, kStartUtf8},
      {"b.XML", "<root/>\r\n"s, kStartUtf8},
      {"c.xml", "<\0?\0x\0"s, kStartUtf16Le},
      {"d.xml", "\0<\0?\0x"s, kStartUtf16Be},
      {"e.xml", "plain text"s, kStartNothing},
      {"f.xmlx", "<?xml version=\"1.0\"?>"s, kStartNothing},
      {"g.txt", "<?xml version=\"1.0\"?>"s, kStartNothing},
      {"h.bin", "\0\0\0\0\0\0"s, kStartNothing}};
  for (const auto& [name, bytes, want] : kCases) {
    EXPECT_EQ(ClassifyFileStart(dir.Write(name, bytes)), want) << name;
  }
}

std::string NumberedLines(int count, const std::string& last, const char* eol) {
  std::string text;
  for (int i = 1; i < count; ++i) {
    text += "line " + std::to_string(i) + eol + eol;  // and empty lines
  }
  return text + last + eol;
}

TEST(IsTextFileTest, CharsetLookSeesTheFirstTenNonEmptyLines) {
  TempDir dir;
  // File name, bytes, whether to look for a charset, start code.
  using Case = std::tuple<const char*, std::string, bool, int>;
  const std::string meta = "<meta charset=UTF-8>";
  // Files longer than the head read first: their first lines are taken from
  // the head when it holds them whole, and read from the file otherwise.
  const std::string more(kSampleSize + 100, 'm');
  std::string late;
  for (int i = 1; i < 10; ++i) late += std::string(2000, 'x') + "\r";
  const Case kCases[] = {
      {"head10.txt", NumberedLines(10, meta, "\r\n") + more, true, kStartUtf8},
      {"head11.txt", NumberedLines(11, meta, "\r") + more, true, kStartNothing},
      {"head10cr.txt", NumberedLines(10, meta, "\r") + more, true, kStartUtf8},
      {"late10.txt", late + meta + "\r" + more, true, kStartUtf8},
      {"late11.txt", late + "x\r" + meta + "\r" + more, true, kStartNothing},
      {"line10.txt", NumberedLines(10, meta, "\r\n"), true, kStartUtf8},
      {"line11.txt", NumberedLines(11, meta, "\r\n"), true, kStartNothing},
      {"lf10.txt", NumberedLines(10, meta, "\n"), true, kStartUtf8},
      {"off.txt", NumberedLines(1, meta, "\r\n"), false, kStartNothing},
      {"case.html", "<META content=\"text/html; CharSet=Utf-8\">", true, kStartUtf8},
      {"quoted.txt", "<meta charset=\"UTF-8\">", true, kStartUtf8},
      {"single.txt", "<meta charset='UTF-8'>", true, kStartNothing},
      {"latin.txt", "<meta charset=iso-8859-1>", true, kStartNothing},
      {"other.dat", meta, true, kStartNothing},
      {"data.csv", "a,b\ncharset=utf-8\n", true, kStartUtf8}};
  for (const auto& [name, bytes, charset_look, want] : kCases) {
    EXPECT_EQ(ClassifyFileStart(dir.Write(name, bytes), charset_look), want) << name;
  }
}

TEST(IsTextFileTest, IsTextExtension) {
  for (const char* path : {"a.txt", "A.TXT", "dir/b.Htm", "c.html", "c.xhtml", "c.xhtm", "c.shtml",
                           "c.shtm", "c.xml", "c.log", "c.csv", "c.prn", "x.y/z.txt"}) {
    EXPECT_TRUE(IsTextExtension(path)) << path;
  }
  for (const char* path : {"", "txt", "a.text", "a.txt.gz", "a.docx", "dir.txt/name", "a."}) {
    EXPECT_FALSE(IsTextExtension(path)) << path;
  }
}

TEST(IsTextFileTest, ResultsFromTheStartAndTheLineEnds) {
  TempDir dir;
  // File name, bytes, result, start code.
  using Case = std::tuple<const char*, std::string, int, int>;
  const Case kCases[] = {
      {"crlf.txt", "one\r\ntwo\r\n", kTextCrLf, kStartNothing},
      {"mixed.txt", "one\r\ntwo\nthree\n", kTextCrLf, kStartNothing},
      {"lf.txt", "one\ntwo\n", kTextLf, kStartNothing},
      {"cr.txt", "one\rtwo\r", kTextCr, kStartNothing},
      {"none.txt", "just one line", kTextCrLf, kStartNothing},
      {"controls.txt", "tab\tff\fbs\b ok\r\n", kTextCrLf, kStartNothing},
      // UTF-8 files get their line ends too, and are never refused for
      // control bytes.
      {"bom_lf.txt", "\xEF\xBB\xBFone\ntwo\n", kTextLf, kStartUtf8},
      {"decl_lf.html", "<html>\n<meta charset=utf-8>\n</html>\n", kTextLf, kStartUtf8},
      {"x.xml", "<?xml version=\"1.0\"?>\n<a/>\n", kTextLf, kStartUtf8},
      {"ctl.txt", "\xEF\xBB\xBF\x01\x02\x03\x04\x05\x06\r\n", kTextCrLf, kStartUtf8},
      // Unicode, RTF and the codes of the start are passed on.
      {"le.txt", "\xFF\xFEh\0i\0"s, kTextUnicode, kStartUtf16Le},
      {"r.rtf", "{\\rtf1 hello}"s, kTextRtf, kStartRtf},
      {"zero.txt", ""s, kStartZeroLength, kStartZeroLength},
      {"four.txt", "abcd"s, kStartTiny, kStartTiny}};
  for (const auto& [name, bytes, want, start] : kCases) {
    const TextFileInfo info = IsTextFile(dir.Write(name, bytes));
    EXPECT_EQ(info.result, want) << name;
    EXPECT_EQ(info.start_code, start) << name;
    EXPECT_EQ(info.utf8, start == kStartUtf8) << name;
    if (start == kStartNothing) {
      EXPECT_EQ(info.first_anomalous_byte, 32) << name;
      EXPECT_EQ(info.anomaly_percentage, 0.0) << name;
      EXPECT_EQ(info.length, static_cast<int64_t>(bytes.size())) << name;
    }
  }
}

// n bytes of text with `anomalies` bytes of code `byte` spread through it.
std::string WithAnomalies(int n, int anomalies, char byte = 1) {
  std::string text(static_cast<size_t>(n), 'a');
  for (int k = 0; k < anomalies; ++k) {
    text[static_cast<size_t>(10 + k * (n - 20) / anomalies)] = byte;
  }
  return text;
}

TEST(IsTextFileTest, AnomalyLimitIsInclusive) {
  TempDir dir;
  const TextFileInfo at_limit = IsTextFile(dir.Write("ten.txt", WithAnomalies(1000, 10)));
  EXPECT_EQ(at_limit.result, kTextCrLf);
  EXPECT_EQ(at_limit.anomaly_percentage, 1.0);
  EXPECT_EQ(at_limit.first_anomalous_byte, 1);
  EXPECT_EQ(at_limit.anomaly_position, 11);
  const TextFileInfo over = IsTextFile(dir.Write("eleven.txt", WithAnomalies(1000, 11)));
  EXPECT_EQ(over.result, kNotText);
  EXPECT_DOUBLE_EQ(over.anomaly_percentage, 1.1);
  EXPECT_EQ(over.bytes_examined, 1000);
  // Zero bytes count as anomalies like any control byte.
  EXPECT_EQ(IsTextFile(dir.Write("one.txt", WithAnomalies(100, 1, '\0'))).result, kTextCrLf);
  const TextFileInfo two = IsTextFile(dir.Write("two.txt", WithAnomalies(100, 2, '\0')));
  EXPECT_EQ(two.result, kNotText);
  EXPECT_EQ(two.first_anomalous_byte, 0);
  EXPECT_EQ(two.anomaly_position, 11);
  EXPECT_EQ(two.anomaly_percentage, 2.0);
}

TEST(IsTextFileTest, HowMuchOfTheSampleIsExamined) {
  TempDir dir;
  std::string tail(20000, 'a');  // anomalies only beyond the sample
  for (size_t i = kSampleSize; i < tail.size(); ++i) tail[i] = '\0';
  std::string early(16384, 'a');  // a binary start
  for (size_t i = 0; i < 4000; ++i) early[i] = static_cast<char>(i % 8);
  std::string tenth(16384, 'a');  // exactly 10%: not above ten times the limit
  for (size_t i = 9; i < tenth.size(); i += 10) tenth[i] = '\x02';
  // File name, bytes, result, bytes examined.
  using Case = std::tuple<const char*, std::string, int, int64_t>;
  const Case kCases[] = {{"tail.txt", tail, kTextCrLf, kSampleSize},
                         // Stopped at the first byte beyond a fifth of the
                         // sample (3,276.8).
                         {"early.dat", early, kNotText, 3277},
                         {"short.dat", std::string(3000, '\x01'), kNotText, 3000},
                         {"tenth.dat", tenth, kNotText, 16384}};
  for (const auto& [name, bytes, want, examined] : kCases) {
    const TextFileInfo info = IsTextFile(dir.Write(name, bytes));
    EXPECT_EQ(info.result, want) << name;
    EXPECT_EQ(info.bytes_examined, examined) << name;
    EXPECT_EQ(info.length, static_cast<int64_t>(bytes.size())) << name;
  }
  const TextFileInfo info = IsTextFile(dir.File("early.dat"));
  EXPECT_EQ(info.anomaly_position, 1);
  EXPECT_EQ(info.anomaly_count, 3277);
  EXPECT_EQ(info.anomaly_percentage, 100.0);
}

TEST(IsTextFileTest, LookAtTextFileKeepsTheHeadAndTheStamp) {
  TempDir dir;
  // A declaration in the tenth line, beyond the head: the lines are read
  // from the file again.
  const std::string long_line(2000, 'x');
  std::string late;
  for (int i = 0; i < 9; ++i) late += long_line + "\n";
  late += "<meta charset=UTF-8>\n";
  // File name, bytes, the bytes kept, whether they are the whole file.
  using Case = std::tuple<const char*, std::string, std::string, bool>;
  const Case kCases[] = {
      {"small.txt", "alpha beta\r\n", "alpha beta\r\n", true},
      {"tiny.txt", "abc", "abc", true},
      {"empty.txt", "", "", true},
      {"utf8.txt", "caf\xC3\xA9\n", "caf\xC3\xA9\n", true},
      {"le.txt", "\xFF\xFEh\0i\0"s, "\xFF\xFEh\0i\0"s, true},
      {"exact.txt", std::string(kSampleSize, 'e'), std::string(kSampleSize, 'e'), true},
      {"long.txt", std::string(kSampleSize + 1, 'l'), std::string(kSampleSize, 'l'), false},
      {"late.txt", late, late.substr(0, kSampleSize), false},
  };
  for (const auto& [name, bytes, kept, whole] : kCases) {
    const std::string path = dir.Write(name, bytes);
    FileSample sample;
    const TextFileInfo info = LookAtTextFile(path, &sample);
    const TextFileInfo want = IsTextFile(path);
    EXPECT_EQ(info.result, want.result) << name;
    EXPECT_EQ(info.start_code, want.start_code) << name;
    EXPECT_EQ(info.length, want.length) << name;
    EXPECT_EQ(info.bytes_examined, want.bytes_examined) << name;
    EXPECT_EQ(sample.bytes, kept) << name;
    EXPECT_EQ(sample.whole, whole) << name;
    EXPECT_EQ(sample.stamp, StampOf(path)) << name;
  }
  FileSample sample;
  EXPECT_EQ(LookAtTextFile(dir.File("late.txt"), &sample).start_code, kStartUtf8);
  // A larger sample is read whole.
  EXPECT_EQ(LookAtTextFile(dir.File("late.txt"), &sample, 40000).result, kTextLf);
  EXPECT_TRUE(sample.whole);
  EXPECT_EQ(sample.bytes, late);
  // Nothing opened: no stamp, no bytes.
  for (const std::string& path : {dir.File("missing.txt"), dir.path()}) {
    EXPECT_LT(LookAtTextFile(path, &sample).result, 0) << path;
    EXPECT_EQ(sample.stamp.size, -1) << path;
    EXPECT_EQ(sample.bytes, "") << path;
    EXPECT_FALSE(sample.whole) << path;
  }
}

TEST(IsTextFileTest, NotATextFileMessageTexts) {
  TempDir dir;
  const std::string bin = dir.Write("bin.dat", std::string(3000, '\0'));
  EXPECT_EQ(NotATextFileMessage(bin, IsTextFile(bin)),
            bin +
                " is not a text file.\r\n\r\nThis file contains a byte 0 at position 1, "
                "indicating that it does not consist solely of text.  The percentage of such "
                "anomalous bytes in the first 16384 bytes is 100.00%.\r\n\r\n");
  std::string few(300, 'a');
  few[6] = few[100] = few[200] = few[299] = '\x1B';
  const std::string path = dir.Write("few.dat", few);
  EXPECT_EQ(NotATextFileMessage(path, IsTextFile(path)),
            path +
                " is not a text file.\r\n\r\nThis file contains a byte 27 at position 7, "
                "indicating that it does not consist solely of text.  The percentage of such "
                "anomalous bytes in the first 16384 bytes is 1.33%.\r\n\r\n"
                "You could try reading it using its associated application, then copying the "
                "text and pasting it into the textbox (then copy it to the clipboard and select "
                "'Clipboard' as the source).");
}

TEST(IsTextFileTest, NotATextFileMessageHintBoundaries) {
  const std::string kHint = "You could try reading it using its associated application";
  // Percentage, length, whether the byte sentence and the hint are shown.
  using Case = std::tuple<double, int64_t, bool, bool>;
  const Case kCases[] = {{1.0, 500, false, true},    {1.01, 500, true, true},
                         {8.99, 102399, true, true}, {9.0, 500, true, false},
                         {2.0, 102400, true, false}, {2.0, 0, true, false},
                         {50.0, 20, true, false}};
  for (const auto& [percentage, length, byte_sentence, hint] : kCases) {
    TextFileInfo info;
    info.anomaly_percentage = percentage;
    info.length = length;
    const std::string msg = NotATextFileMessage("f", info);
    EXPECT_EQ(msg.find("This file contains") != std::string::npos, byte_sentence)
        << percentage << " " << length;
    EXPECT_EQ(msg.find(kHint) != std::string::npos, hint) << percentage << " " << length;
    EXPECT_EQ(msg.rfind("f is not a text file.\r\n\r\n", 0), 0u);
  }
}

TEST(IsTextFileTest, ReadFirstLinesAndShowTextSize) {
  TempDir dir;
  std::string lines;
  std::string error;
  const std::string path = dir.Write("f.txt", "\r\na\r\n\r\nb\nc\rd\r\ne");
  ASSERT_TRUE(ReadFirstLines(path, 3, &lines, &error));
  EXPECT_EQ(lines, "a\r\nb\r\nc");
  ASSERT_TRUE(ReadFirstLines(path, 10, &lines, &error));
  EXPECT_EQ(lines, "a\r\nb\r\nc\r\nd\r\ne");
  EXPECT_FALSE(ReadFirstLines(dir.File("missing.txt"), 3, &lines, &error));
  EXPECT_EQ(error, "No such file or directory");
  const std::pair<int64_t, const char*> kSizes[] = {
      {9999, "Text: 9,999 bytes"},    {10000, "Text: 9.77 Kb"},   {1000000, "Text: 976.56 Kb"},
      {1048575, "Text: 1,024.00 Kb"}, {1048576, "Text: 1.00 Mb"}, {1572864, "Text: 1.50 Mb"}};
  for (const auto& [bytes, want] : kSizes) EXPECT_EQ(ShowTextSize(bytes), want) << bytes;
}

// CheckWordsFile with the Mac note state of `shown`; the dialogs go to host.
bool Check(ScriptedHost* host, const std::string& path, bool quiet = false, bool* shown = nullptr,
           bool* utf8 = nullptr, int* result = nullptr) {
  bool s = false;
  bool u = false;
  int r = 0;
  return CheckWordsFile(host, path, quiet, shown ? shown : &s, utf8 ? utf8 : &u,
                        result ? result : &r);
}

TEST(CheckWordsFileTest, RefusedFilesAndTheirMessages) {
  TempDir dir;
  const std::string missing = dir.File("missing.txt");
  const std::string empty = dir.Write("empty.txt", "");
  const std::string tiny = dir.Write("tiny.txt", "ab");
  const std::string rtf = dir.Write("list.rtf", "{\\rtf1 words}");
  const std::string utf16 = dir.Write("u16.txt", std::string("\xFF\xFEw\0o\0r\0d\0", 10));
  const std::string binary = dir.Write("bin.dat", std::string(3000, '\x02'));
  const std::pair<std::string, std::string> kCases[] = {
      {missing, "Fatal error|File " + missing + " not found."},
      {empty, "Fatal error|File " + empty + " is zero-length."},
      {tiny, "Fatal error|File " + tiny + "\r\ncontains only from 1 to 4 bytes."},
      {rtf, "Fatal error|File " + rtf + "\r\nis an RTF file."},
      {utf16, "Fatal error|File " + utf16 + "\r\nis a Unicode file but not UTF-8 encoded."},
      {binary, "Not a text file|" + binary +
                   "\r\nis not an ANSI or UTF-8 encoded text file.\r\nIt appears to be a binary "
                   "file."}};
  for (const auto& [path, dialog] : kCases) {
    ScriptedHost host;
    EXPECT_FALSE(Check(&host, path)) << path;
    EXPECT_EQ(host.Dialogs(), std::vector<std::string>{dialog}) << path;
  }
  ScriptedHost host;
  EXPECT_FALSE(Check(&host, ""));
  EXPECT_TRUE(host.Dialogs().empty());
}

TEST(CheckWordsFileTest, UsableFilesAndTheMacNoteShownOnce) {
  TempDir dir;
  ScriptedHost host;
  bool shown = false;
  bool utf8 = false;
  int result = 0;
  EXPECT_TRUE(Check(&host, dir.Write("lf.txt", "the\nand\n"), false, &shown, &utf8, &result));
  EXPECT_EQ(result, kTextLf);
  EXPECT_TRUE(host.Dialogs().empty());
  const std::string mac = dir.Write("mac.txt", "the\rand\r");
  EXPECT_TRUE(Check(&host, mac, true, &shown));  // quiet
  EXPECT_TRUE(host.Dialogs().empty());
  EXPECT_TRUE(Check(&host, mac, false, &shown));
  EXPECT_TRUE(Check(&host, mac, false, &shown));
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].substr(0, 30), "This is a Mac-style text file|");
  EXPECT_TRUE(
      Check(&host, dir.Write("u8.txt", "caf\xC3\xA9 na\xC3\xAFve\n"), false, &shown, &utf8));
  EXPECT_TRUE(utf8);
}

}  // namespace
}  // namespace vorn
