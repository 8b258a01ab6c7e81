// Fuzz target: the file classifier, the line readers and the UTF-8 decoder.
//
// Input: the first byte picks the file's extension (.txt, .xml, .html or
// none) and one LineEnding mode; the rest is the file. The file is
// classified by IsTextFile, then read by a LineReader in that mode and in the
// mode its classification implies, in the latter also in pieces of a few
// bytes (an .html file's head
// passed over by HtmlHead, as a count does), and every line is decoded by
// DecodeUtf8Line. Each step checks what
// must hold for any file; a failed check aborts, which libFuzzer reports as a
// crash together with the input.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "input/decode.h"
#include "input/html_head.h"
#include "input/is_text_file.h"
#include "input/line_reader.h"

namespace {

using vorn::LineEnding;
using vorn::LineReader;

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "fuzz_file_reading: check failed: %s\n", what);
  std::abort();
}

// One temporary folder per process (under $TMPDIR, else /dev/shm, whose files
// never reach a disk, else /tmp), removed at exit; each extension has its own
// file in it, rewritten for every input.
const std::string& TempDir() {
  static const std::string dir = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string base = tmp != nullptr && *tmp != '\0' ? tmp : "/tmp";
    if (tmp == nullptr && access("/dev/shm", W_OK) == 0) base = "/dev/shm";
    std::string pattern = base + "/vorn-fuzz-XXXXXX";
    Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp");
    return pattern;
  }();
  return dir;
}

constexpr const char* kExtensions[] = {".txt", ".xml", ".html", ""};

void RemoveTempFiles() {
  for (const char* ext : kExtensions) std::remove((TempDir() + "/input" + ext).c_str());
  rmdir(TempDir().c_str());
}

std::string WriteTempFile(const char* ext, std::string_view data) {
  const std::string path = TempDir() + "/input" + ext;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  Check(f != nullptr, "open the temporary file");
  Check(std::fwrite(data.data(), 1, data.size(), f) == data.size(), "write the temporary file");
  Check(std::fclose(f) == 0, "close the temporary file");
  return path;
}

bool IsByteMode(LineEnding e) { return e == LineEnding::kCrLfOrCr || e == LineEnding::kLfOnly; }

// The reading mode a count would use for this classification, if any.
std::optional<LineEnding> ImpliedEnding(const vorn::TextFileInfo& info) {
  switch (info.result) {
    case vorn::kTextCrLf:
    case vorn::kTextCr:
      return LineEnding::kCrLfOrCr;
    case vorn::kTextLf:
      return LineEnding::kLfOnly;
    case vorn::kTextUnicode:
      if (info.start_code == vorn::kStartUtf16Be) return LineEnding::kUtf16Be;
      if (info.start_code == vorn::kStartUtf32Be) return LineEnding::kUtf32Be;
      if (info.start_code == vorn::kStartUtf32Le) return LineEnding::kUtf32Le;
      return LineEnding::kUtf16Le;
    default:
      return std::nullopt;
  }
}

void CheckClassification(std::string_view data, const vorn::TextFileInfo& info) {
  if (data.empty()) return Check(info.result == vorn::kStartZeroLength, "empty file");
  if (data.size() <= 4) return Check(info.result == vorn::kStartTiny, "1 to 4 bytes");
  Check(info.result >= 0, "a readable file gets no error code");
  Check((info.result == vorn::kTextRtf) == data.starts_with("{\\rtf"), "RTF iff {\\rtf");
  if (info.result == vorn::kTextRtf || info.result == vorn::kTextUnicode) return;
  Check(info.length == static_cast<int64_t>(data.size()), "length");
  Check(info.bytes_examined <= std::min<int64_t>(info.length, vorn::kSampleSize), "sample size");
  Check(info.anomaly_count <= info.bytes_examined, "anomalies within the sample");
  if (info.result == vorn::kNotText) {
    Check(!info.utf8, "a UTF-8 file is never refused");
    Check(info.anomaly_percentage > vorn::kAnomalyLimit, "refused without enough anomalies");
    return;
  }
  // The line-end kind follows from the whole sample.
  const std::string_view sample = data.substr(0, vorn::kSampleSize);
  const bool cr = sample.find('\r') != std::string_view::npos;
  const bool lf = sample.find('\n') != std::string_view::npos;
  const int want = cr == lf ? vorn::kTextCrLf : (cr ? vorn::kTextCr : vorn::kTextLf);
  Check(info.result == want, "line-end kind of the sample");
}

// DecodeUtf8Line yields only characters of Windows-1252, at most four for
// every three bytes (the em dash's " -- " is the widest), and leaves ASCII
// as it is.
void CheckDecoded(std::string_view line) {
  vorn::Text out;
  vorn::DecodeUtf8Line(line, &out);
  Check(out.size() * 3 <= line.size() * 4, "decoded length");
  constexpr std::u16string_view kHighChars =
      u"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030\u0160\u2039\u0152\u017D\u2018"
      u"\u2019\u201C\u201D\u2022\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178";
  bool ascii = true;
  for (char c : line) ascii = ascii && static_cast<uint8_t>(c) < 0x80;
  if (ascii) Check(out.size() == line.size(), "ASCII keeps its length");
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (ascii) Check(c == static_cast<char16_t>(line[i]), "ASCII is kept");
    const bool undefined_1252 = c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
    Check(c < 0x80 || undefined_1252 || (c >= 0xA0 && c <= 0xFF) ||
              kHighChars.find(c) != std::u16string_view::npos,
          "decoded character is in Windows-1252");
  }
}

// Reads the whole file in one mode. In the byte modes the lines and their
// ends must give back the file exactly; in the Unicode modes every line is
// UTF-8 without line ends, within the size the file can transcode to.
void CheckReading(const std::string& path, std::string_view data, LineEnding ending) {
  LineReader reader;
  std::string error;
  Check(reader.Open(path, ending, &error), "open");
  const int64_t size = static_cast<int64_t>(data.size());
  const bool utf16 = ending == LineEnding::kUtf16Le || ending == LineEnding::kUtf16Be;
  size_t offset = 0;
  int64_t lines = 0;
  int64_t utf8_bytes = 0;
  int64_t last_read = 0;
  std::string_view line;
  while (reader.Next(&line)) {
    ++lines;
    Check(reader.BytesRead() >= last_read && reader.BytesRead() <= size, "BytesRead in range");
    last_read = reader.BytesRead();
    if (IsByteMode(ending)) {
      Check(data.substr(offset, line.size()) == line, "line is the next part of the file");
      Check(line.find('\r') == std::string_view::npos, "CR inside a line");
      if (ending == LineEnding::kLfOnly) {
        Check(line.find('\n') == std::string_view::npos, "LF inside a line");
      }
      offset += line.size();
      if (offset < data.size()) {
        Check(data[offset] == '\r' || (ending == LineEnding::kLfOnly && data[offset] == '\n'),
              "line ends at a line end");
        if (data[offset] == '\r' && offset + 1 < data.size() && data[offset + 1] == '\n') ++offset;
        ++offset;
      }
      Check(reader.BytesRead() == static_cast<int64_t>(offset), "BytesRead after a line");
    } else {
      Check(vorn::IsValidUtf8(line), "transcoded line is UTF-8");
      Check(line.find_first_of("\r\n") == std::string_view::npos, "line end inside a line");
      utf8_bytes += static_cast<int64_t>(line.size());
    }
    CheckDecoded(line);
  }
  Check(reader.error().empty(), "no read error on a regular file");
  if (IsByteMode(ending)) {
    Check(offset == data.size(), "every byte read");
  } else {
    // A 2-byte unit gives at most 3 bytes of UTF-8, a 4-byte unit at most 4;
    // an odd piece at the end becomes one U+FFFD (3 bytes).
    const int64_t unit = utf16 ? 2 : 4;
    const int64_t limit = utf16 ? size / 2 * 3 + 3 : size + 3;
    Check(utf8_bytes <= limit, "transcoded size");
    Check((lines - 1) * unit < size, "every line consumes a unit");
  }
  reader.Close();
}

// Reads the file again in pieces of a few bytes, as a count reads a long
// line, and an HTML document's head as a count passes it over: the pieces
// make the lines that whole-line reading gives, each piece that goes on is
// followed by one that decodes on its own, and the body begins within the
// text fed to the head.
void CheckPiecesAndHtmlHead(const std::string& path, LineEnding ending, bool utf8, bool html) {
  LineReader whole;
  LineReader pieces;
  std::string error;
  Check(whole.Open(path, ending, &error) && pieces.Open(path, ending, &error), "open");
  pieces.SetPieceLimit(16, utf8);
  const bool cuts_must_decode = utf8 || !IsByteMode(ending);
  std::string joined;
  bool open = false;
  bool head_checked = !html;
  std::optional<vorn::HtmlHead> head;
  std::string_view piece;
  while (pieces.Next(&piece)) {
    const bool ends = !pieces.line_continues();
    if (open && cuts_must_decode && !piece.empty()) {
      Check(vorn::IsUtf8CutPoint(piece, 0), "a piece goes on where decoding may cut");
    }
    if (!open) joined.clear();
    joined.append(piece);
    if (!head_checked && !open && vorn::IsDoctypeLine(piece)) {
      head_checked = true;
      head.emplace();
    }
    if (head) {
      const size_t at = head->Feed(piece, ends);
      if (at != vorn::HtmlHead::kGoesOn) {
        Check(at <= piece.size(), "the body begins within the text fed");
        head.reset();
      }
    }
    if (ends) {
      std::string_view line;
      Check(whole.Next(&line), "no more pieces than lines");
      Check(line == joined, "the pieces make the line");
    } else {
      Check(!piece.empty(), "a piece that goes on is not empty");
    }
    open = !ends;
  }
  std::string_view line;
  Check(!whole.Next(&line), "no more lines than pieces");
  Check(pieces.error().empty(), "no read error on a regular file");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  TempDir();
  std::atexit(RemoveTempFiles);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  if (size == 0) return 0;
  const char* ext = kExtensions[bytes[0] % 4];
  const std::string_view data(reinterpret_cast<const char*>(bytes) + 1, size - 1);
  const std::string path = WriteTempFile(ext, data);

  const vorn::TextFileInfo info = vorn::IsTextFile(path);
  CheckClassification(data, info);
  const std::optional<LineEnding> implied = ImpliedEnding(info);

  // The mode a count would use, and one other chosen by the input, so that
  // each input costs a few reads of its file rather than one per mode.
  constexpr LineEnding kEndings[] = {LineEnding::kCrLfOrCr, LineEnding::kLfOnly,
                                     LineEnding::kUtf16Le,  LineEnding::kUtf16Be,
                                     LineEnding::kUtf32Le,  LineEnding::kUtf32Be};
  const LineEnding other = kEndings[bytes[0] / 4 % 6];
  CheckReading(path, data, other);
  if (implied) {
    if (*implied != other) CheckReading(path, data, *implied);
    CheckPiecesAndHtmlHead(path, *implied, info.utf8, std::string_view(ext) == ".html");
  }
  return 0;
}
