#include "input/is_text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "support/scripted_host.h"
#include "support/test_files.h"

namespace vorn {
namespace {

using namespace std::string_literals;

TEST(IsTextFileTest, ClassifyFileStartByPathAndLength) {
  TempDir dir;
  EXPECT_EQ(ClassifyFileStart(""), kStartEmptyPath);
  EXPECT_EQ(ClassifyFileStart(dir.File("missing.txt")), kStartMissing);
  EXPECT_EQ(ClassifyFileStart(dir.File("missing/below.txt")), kStartMissing);
  EXPECT_EQ(ClassifyFileStart(dir.path()), kStartUnreadable);
  EXPECT_EQ(ClassifyFileStart(dir.Write("zero.txt", "")), kStartZeroLength);
  for (const std::string& bytes : {"a"s, "ab"s, "abc"s, "\xFF\xFE\x00\x00"s}) {
    EXPECT_EQ(ClassifyFileStart(dir.Write("tiny.txt", bytes)), kStartTiny) << bytes.size();
  }
  EXPECT_EQ(ClassifyFileStart(dir.Write("five.txt", "abcde")), kStartNothing);
  // A file below a regular file: the path cannot exist.
  const std::string file = dir.Write("plain.txt", "hello");
  EXPECT_EQ(ClassifyFileStart(file + "/x"), kStartMissing);
}

TEST(IsTextFileTest, UnreadableFileIsPermissionDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "permission checks do not apply to root";
  TempDir dir;
  const std::string path = dir.Write("locked.txt", "some text here");
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  EXPECT_EQ(ClassifyFileStart(path), kStartPermissionDenied);
  EXPECT_EQ(IsTextFile(path).result, kStartPermissionDenied);
}

TEST(IsTextFileTest, PipeIsRefusedWithoutWaiting) {
  TempDir dir;
  const std::string path = dir.File("pipe.txt");
  ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
  EXPECT_EQ(ClassifyFileStart(path), kStartUnreadable);
}

TEST(IsTextFileTest, ClassifyFileStartByFirstBytes) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    int want;
  };
  const Case kCases[] = {
      {"le.txt",
       "\xFF\xFE"
       "a\0b\0"s,
       kStartUtf16Le},
      {"le.dat", "\xFF\xFE\x41\x00\x00\x00"s, kStartUtf16Le},
      {"be.txt", "\xFE\xFF\0a\0b"s, kStartUtf16Be},
      {"u8.txt", "\xEF\xBB\xBFhello"s, kStartUtf8},
      {"u32be.txt", "\0\0\xFE\xFF\0\0\0a"s, kStartUtf32Be},
      {"u32le.txt", "\xFF\xFE\0\0a\0\0\0"s, kStartUtf32Le},
      {"doc.rtf", "{\\rtf1\\ansi"s, kStartRtf},
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
      {"h.bin", "\0\0\0\0\0\0"s, kStartNothing},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ClassifyFileStart(dir.Write(c.name, c.bytes)), c.want) << c.name;
  }
}

std::string NumberedLines(int count, const std::string& last, const char* eol) {
  std::string text;
  for (int i = 1; i < count; ++i)
    text += "line " + std::to_string(i) + eol + eol;  // and empty lines
  return text + last + eol;
}

TEST(IsTextFileTest, CharsetLookSeesTheFirstTenNonEmptyLines) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    bool charset_look;
    int want;
  };
  const std::string meta = "<meta charset=UTF-8>";
  const Case kCases[] = {
      {"line10.txt", NumberedLines(10, meta, "\r\n"), true, kStartUtf8},
      {"line11.txt", NumberedLines(11, meta, "\r\n"), true, kStartNothing},
      {"lf10.txt", NumberedLines(10, meta, "\n"), true, kStartUtf8},
      {"lf11.txt", NumberedLines(11, meta, "\n"), true, kStartNothing},
      {"cr10.htm", NumberedLines(10, meta, "\r"), true, kStartUtf8},
      {"off.txt", NumberedLines(1, meta, "\r\n"), false, kStartNothing},
      {"case.html", "<META content=\"text/html; CharSet=Utf-8\">", true, kStartUtf8},
      {"quoted.txt", "<meta charset=\"UTF-8\">", true, kStartUtf8},
      {"single.txt", "<meta charset='UTF-8'>", true, kStartNothing},
      {"latin.txt", "<meta charset=iso-8859-1>", true, kStartNothing},
      {"other.dat", meta, true, kStartNothing},
      {"data.csv", "a,b\ncharset=utf-8\n", true, kStartUtf8},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(ClassifyFileStart(dir.Write(c.name, c.bytes), c.charset_look), c.want) << c.name;
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

TEST(IsTextFileTest, LineEndsFromTheSample) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    int want;
  };
  const Case kCases[] = {
      {"crlf.txt", "one\r\ntwo\r\n", kTextCrLf},
      {"mixed.txt", "one\r\ntwo\nthree\n", kTextCrLf},
      {"lf.txt", "one\ntwo\n", kTextLf},
      {"cr.txt", "one\rtwo\r", kTextCr},
      {"none.txt", "just one line", kTextCrLf},
      {"controls.txt", "tab\tff\fbs\b ok\r\n", kTextCrLf},
  };
  for (const auto& c : kCases) {
    const TextFileInfo info = IsTextFile(dir.Write(c.name, c.bytes));
    EXPECT_EQ(info.result, c.want) << c.name;
    EXPECT_FALSE(info.utf8) << c.name;
    EXPECT_EQ(info.first_anomalous_byte, 32) << c.name;
    EXPECT_EQ(info.anomaly_percentage, 0.0) << c.name;
    EXPECT_EQ(info.length, static_cast<int64_t>(c.bytes.size())) << c.name;
  }
}

TEST(IsTextFileTest, Utf8FilesGetTheirLineEndsToo) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    int want;
  };
  const Case kCases[] = {
      {"bom_lf.txt", "\xEF\xBB\xBFone\ntwo\n", kTextLf},
      {"bom_crlf.txt", "\xEF\xBB\xBFone\r\ntwo\r\n", kTextCrLf},
      {"bom_cr.txt", "\xEF\xBB\xBFone\rtwo\r", kTextCr},
      {"decl_lf.html", "<html>\n<meta charset=utf-8>\n</html>\n", kTextLf},
      {"x.xml", "<?xml version=\"1.0\"?>\n<a/>\n", kTextLf},
      // Never refused for control bytes: the start says it is text.
      {"ctl.txt", "\xEF\xBB\xBF\x01\x02\x03\x04\x05\x06\r\n", kTextCrLf},
  };
  for (const auto& c : kCases) {
    const TextFileInfo info = IsTextFile(dir.Write(c.name, c.bytes));
    EXPECT_EQ(info.result, c.want) << c.name;
    EXPECT_TRUE(info.utf8) << c.name;
    EXPECT_EQ(info.start_code, kStartUtf8) << c.name;
  }
}

TEST(IsTextFileTest, UnicodeRtfAndPassedOnCodes) {
  TempDir dir;
  struct Case {
    const char* name;
    std::string bytes;
    int want;
    int start;
  };
  const Case kCases[] = {
      {"le.txt", "\xFF\xFEh\0i\0"s, kTextUnicode, kStartUtf16Le},
      {"be.txt", "\xFE\xFF\0h\0i"s, kTextUnicode, kStartUtf16Be},
      {"u32be.txt", "\0\0\xFE\xFF\0\0\0h"s, kTextUnicode, kStartUtf32Be},
      {"u32le.txt", "\xFF\xFE\0\0h\0\0\0"s, kTextUnicode, kStartUtf32Le},
      {"x.xml", "<\0a\0/\0>\0"s, kTextUnicode, kStartUtf16Le},
      {"r.rtf", "{\\rtf1 hello}"s, kTextRtf, kStartRtf},
      {"zero.txt", ""s, kStartZeroLength, kStartZeroLength},
      {"four.txt", "abcd"s, kStartTiny, kStartTiny},
  };
  for (const auto& c : kCases) {
    const TextFileInfo info = IsTextFile(dir.Write(c.name, c.bytes));
    EXPECT_EQ(info.result, c.want) << c.name;
    EXPECT_EQ(info.start_code, c.start) << c.name;
  }
  EXPECT_EQ(IsTextFile("").result, kStartEmptyPath);
  EXPECT_EQ(IsTextFile(dir.File("missing.txt")).result, kStartMissing);
  EXPECT_EQ(IsTextFile(dir.path()).result, kStartUnreadable);
}

// n bytes of text with `anomalies` control bytes (code 1) spread through it.
std::string WithAnomalies(int n, int anomalies) {
  std::string text(static_cast<size_t>(n), 'a');
  for (int k = 0; k < anomalies; ++k) text[static_cast<size_t>(10 + k * (n - 20) / anomalies)] = 1;
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
}

TEST(IsTextFileTest, NulBytes) {
  TempDir dir;
  std::string one(100, 'x');
  one[3] = '\0';
  EXPECT_EQ(IsTextFile(dir.Write("one.txt", one)).result, kTextCrLf);
  std::string two = one;
  two[50] = '\0';
  const TextFileInfo info = IsTextFile(dir.Write("two.txt", two));
  EXPECT_EQ(info.result, kNotText);
  EXPECT_EQ(info.first_anomalous_byte, 0);
  EXPECT_EQ(info.anomaly_position, 4);
  EXPECT_EQ(info.anomaly_percentage, 2.0);
}

TEST(IsTextFileTest, OnlyTheSampleIsExamined) {
  TempDir dir;
  std::string text(20000, 'a');
  for (size_t i = kSampleSize; i < text.size(); ++i) text[i] = '\0';
  const TextFileInfo info = IsTextFile(dir.Write("tail.txt", text));
  EXPECT_EQ(info.result, kTextCrLf);
  EXPECT_EQ(info.bytes_examined, kSampleSize);
  EXPECT_EQ(info.length, 20000);
}

TEST(IsTextFileTest, BinaryFileOfFullSampleIsRejectedEarly) {
  TempDir dir;
  std::string binary(16384, 'a');
  for (size_t i = 0; i < 4000; ++i) binary[i] = static_cast<char>(i % 8);
  const TextFileInfo info = IsTextFile(dir.Write("bin.dat", binary));
  EXPECT_EQ(info.result, kNotText);
  // Stopped at the first byte beyond a fifth of the sample (3,276.8).
  EXPECT_EQ(info.bytes_examined, 3277);
  EXPECT_EQ(info.first_anomalous_byte, 0);
  EXPECT_EQ(info.anomaly_position, 1);
  EXPECT_EQ(info.anomaly_count, 3277);
  EXPECT_EQ(info.anomaly_percentage, 100.0);
}

TEST(IsTextFileTest, ShortBinaryFileIsReadWhole) {
  TempDir dir;
  const TextFileInfo info = IsTextFile(dir.Write("bin.dat", std::string(3000, '\x01')));
  EXPECT_EQ(info.result, kNotText);
  EXPECT_EQ(info.bytes_examined, 3000);
  EXPECT_EQ(info.anomaly_percentage, 100.0);
}

TEST(IsTextFileTest, NoEarlyRejectionAtTenPercent) {
  TempDir dir;
  // Exactly 10% anomalies in the first part: not above ten times the limit,
  // so the whole sample decides (and finds too many).
  std::string text(16384, 'a');
  for (size_t i = 9; i < 16384; i += 10) text[i] = '\x02';
  const TextFileInfo info = IsTextFile(dir.Write("ten.dat", text));
  EXPECT_EQ(info.result, kNotText);
  EXPECT_EQ(info.bytes_examined, 16384);
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
  few[6] = '\x1B';
  few[100] = few[200] = few[299] = '\x1B';
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
  const std::string hint = "You could try reading it using its associated application";
  struct Case {
    double percentage;
    int64_t length;
    bool byte_sentence;
    bool hint;
  };
  const Case kCases[] = {
      {1.0, 500, false, true}, {1.01, 500, true, true},    {8.99, 102399, true, true},
      {9.0, 500, true, false}, {2.0, 102400, true, false}, {2.0, 0, true, false},
      {50.0, 20, true, false},
  };
  for (const auto& c : kCases) {
    TextFileInfo info;
    info.anomaly_percentage = c.percentage;
    info.length = c.length;
    const std::string msg = NotATextFileMessage("f", info);
    EXPECT_EQ(msg.find("This file contains") != std::string::npos, c.byte_sentence)
        << c.percentage << " " << c.length;
    EXPECT_EQ(msg.find(hint) != std::string::npos, c.hint) << c.percentage << " " << c.length;
    EXPECT_EQ(msg.rfind("f is not a text file.\r\n\r\n", 0), 0u);
  }
}

TEST(IsTextFileTest, ReadFirstLines) {
  TempDir dir;
  std::string lines;
  std::string error;
  const std::string path = dir.Write("f.txt", "\r\na\r\n\r\nb\nc\rd\r\ne");
  ASSERT_TRUE(ReadFirstLines(path, 3, &lines, &error));
  EXPECT_EQ(lines, "a\r\nb\r\nc");
  ASSERT_TRUE(ReadFirstLines(path, 10, &lines, &error));
  EXPECT_EQ(lines, "a\r\nb\r\nc\r\nd\r\ne");
  ASSERT_TRUE(ReadFirstLines(path, 0, &lines, &error));
  EXPECT_EQ(lines, "");
  EXPECT_FALSE(ReadFirstLines(dir.File("missing.txt"), 3, &lines, &error));
  EXPECT_EQ(error, "No such file or directory");
  EXPECT_FALSE(ReadFirstLines(dir.path(), 3, &lines, &error));
  EXPECT_FALSE(error.empty());
}

TEST(IsTextFileTest, ShowTextSize) {
  struct Case {
    int64_t bytes;
    const char* want;
  };
  const Case kCases[] = {
      {0, "Text: 0 bytes"},         {9999, "Text: 9,999 bytes"},    {10000, "Text: 9.77 Kb"},
      {1000000, "Text: 976.56 Kb"}, {1048575, "Text: 1,024.00 Kb"}, {1048576, "Text: 1.00 Mb"},
      {1572864, "Text: 1.50 Mb"},
  };
  for (const auto& c : kCases) EXPECT_EQ(ShowTextSize(c.bytes), c.want) << c.bytes;
}

}  // namespace
}  // namespace vorn

namespace vorn {
namespace {

TEST(CheckWordsFileTest, RefusedFilesAndTheirMessages) {
  TempDir dir;
  const std::string missing = dir.File("missing.txt");
  const std::string empty = dir.Write("empty.txt", "");
  const std::string tiny = dir.Write("tiny.txt", "ab");
  const std::string rtf = dir.Write("list.rtf", "{\\rtf1 words}");
  const std::string utf16 = dir.Write("u16.txt", std::string("\xFF\xFEw\0o\0r\0d\0", 10));
  const std::string binary = dir.Write("bin.dat", std::string(3000, '\x02'));
  struct Case {
    std::string path;
    std::string dialog;  // title|text
  } const kCases[] = {
      {missing, "Fatal error|File " + missing + " not found."},
      {empty, "Fatal error|File " + empty + " is zero-length."},
      {tiny, "Fatal error|File " + tiny + "\r\ncontains only from 1 to 4 bytes."},
      {rtf, "Fatal error|File " + rtf + "\r\nis an RTF file."},
      {utf16, "Fatal error|File " + utf16 + "\r\nis a Unicode file but not UTF-8 encoded."},
      {binary, "Not a text file|" + binary +
                   "\r\nis not an ANSI or UTF-8 encoded text file.\r\nIt appears to be a binary "
                   "file."},
  };
  for (const Case& c : kCases) {
    ScriptedHost host;
    bool shown = false;
    bool utf8 = false;
    int result = 0;
    EXPECT_FALSE(CheckWordsFile(&host, c.path, false, &shown, &utf8, &result)) << c.path;
    ASSERT_EQ(host.Dialogs().size(), 1u) << c.path;
    EXPECT_EQ(host.Dialogs()[0], c.dialog);
  }
  ScriptedHost host;
  bool shown = false;
  bool utf8 = false;
  int result = 0;
  EXPECT_FALSE(CheckWordsFile(&host, "", false, &shown, &utf8, &result));
  EXPECT_TRUE(host.Dialogs().empty());
}

TEST(CheckWordsFileTest, UsableFilesAndTheMacNoteShownOnce) {
  TempDir dir;
  ScriptedHost host;
  bool shown = false;
  bool utf8 = false;
  int result = 0;
  EXPECT_TRUE(
      CheckWordsFile(&host, dir.Write("lf.txt", "the\nand\n"), false, &shown, &utf8, &result));
  EXPECT_EQ(result, kTextLf);
  EXPECT_TRUE(CheckWordsFile(&host, dir.Write("crlf.txt", "the\r\nand\r\n"), false, &shown, &utf8,
                             &result));
  EXPECT_TRUE(host.Dialogs().empty());
  const std::string mac = dir.Write("mac.txt", "the\rand\r");
  EXPECT_TRUE(CheckWordsFile(&host, mac, true, &shown, &utf8, &result));  // quiet
  EXPECT_TRUE(host.Dialogs().empty());
  EXPECT_TRUE(CheckWordsFile(&host, mac, false, &shown, &utf8, &result));
  EXPECT_TRUE(CheckWordsFile(&host, mac, false, &shown, &utf8, &result));
  ASSERT_EQ(host.Dialogs().size(), 1u);
  EXPECT_EQ(host.Dialogs()[0].substr(0, 30), "This is a Mac-style text file|");
  EXPECT_TRUE(CheckWordsFile(&host, dir.Write("u8.txt", "caf\xC3\xA9 na\xC3\xAFve\n"), false,
                             &shown, &utf8, &result));
  EXPECT_TRUE(utf8);
}

}  // namespace
}  // namespace vorn
