#include "input/is_text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <new>
#include <string_view>
#include <system_error>
#include <vector>

#include "input/decode.h"
#include "input/html_head.h"
#include "input/line_reader.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

constexpr int kHeadBytes = 17;
constexpr double kHintPercentage = 9.0;
constexpr int64_t kHintMaxLength = 102399;

// An open file descriptor that closes itself.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

int CodeForErrno(int err) {
  if (err == ENOENT || err == ENOTDIR) return kStartMissing;
  if (err == EACCES || err == EPERM) return kStartPermissionDenied;
  return kStartUnreadable;
}

// Opens path for reading. Returns a negative start code, or 0 with the
// descriptor in *fd and what fstat says of it in *st. O_NONBLOCK keeps the
// open of a pipe from waiting for a writer; such files are refused after
// fstat.
int OpenRegularFile(const std::string& path, int* fd, struct stat* st) {
  if (path.empty()) return kStartEmptyPath;
  const int f = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (f < 0) return CodeForErrno(errno);
  if (fstat(f, st) != 0) {
    const int code = CodeForErrno(errno);
    close(f);
    return code == kStartMissing ? kStartUnreadable : code;
  }
  if (!S_ISREG(st->st_mode)) {
    close(f);
    return kStartUnreadable;
  }
  *fd = f;
  return 0;
}

// Reads up to n bytes into buf; returns the count, or -1 with errno set.
ssize_t ReadFully(int fd, unsigned char* buf, size_t n) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = read(fd, buf + got, n - got);
    if (r < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (r == 0) break;
    got += static_cast<size_t>(r);
  }
  return static_cast<ssize_t>(got);
}

std::string LowerExtensionOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
  const size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos) return "";
  return AsciiLower(name.substr(dot + 1));
}

// Whether the first `count` non-empty lines (lines end at CR LF, CR or LF)
// of the reader's file declare the UTF-8 character set. Long lines are read
// in pieces, so that a file of one huge line costs no more memory than any
// other.
bool FirstLinesDeclareUtf8(LineReader* reader, int count) {
  reader->SetPieceLimit(size_t{1} << 20, false);
  Utf8Declaration charset;
  int found = 0;
  bool line_has_text = false;
  std::string_view piece;
  while (found < count && !charset.found() && reader->Next(&piece)) {
    const bool ends = !reader->line_continues();
    charset.Feed(piece, ends);
    line_has_text = line_has_text || !piece.empty();
    if (ends) {
      if (line_has_text) ++found;
      line_has_text = false;
    }
  }
  return charset.found();
}

// The bytes of a file's head up to the end of its count-th line that holds
// text (lines ending as the LF-only reader ends them), or nothing when the
// head holds fewer such lines whole.
std::string_view FirstLinesOf(std::string_view head, int count) {
  int found = 0;
  size_t pos = 0;
  while (found < count) {
    const size_t end = head.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) return {};
    if (end > pos) ++found;
    pos = end + 1;
    if (head[end] == '\r' && pos < head.size() && head[pos] == '\n') ++pos;
  }
  return head.substr(0, pos);
}

// The same for the file at `path`, read from `sample` when that holds the
// whole file or the lines looked at.
bool FirstLinesDeclareUtf8(const std::string& path, const FileSample& sample, int count) {
  LineReader reader;
  const std::string_view lines = sample.whole ? sample.bytes : FirstLinesOf(sample.bytes, count);
  if (!lines.empty() || sample.whole) {
    reader.OpenBytes(lines, LineEnding::kLfOnly);
  } else {
    std::string error;
    if (!reader.Open(path, LineEnding::kLfOnly, &error)) return false;
  }
  return FirstLinesDeclareUtf8(&reader, count);
}

int ClassifyHead(const std::array<unsigned char, kHeadBytes>& b, const std::string& path) {
  if (b[0] == '{' && b[1] == '\\' && b[2] == 'r' && b[3] == 't' && b[4] == 'f') return kStartRtf;
  if (b[0] == 0xFF && b[1] == 0xFE) {
    return (b[2] == 0 && b[3] == 0) ? kStartUtf32Le : kStartUtf16Le;
  }
  if (b[0] == 0xFE && b[1] == 0xFF) return kStartUtf16Be;
  if (b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return kStartUtf8;
  if (b[0] == 0 && b[1] == 0 && b[2] == 0xFE && b[3] == 0xFF) return kStartUtf32Be;
  if (LowerExtensionOf(path) == "xml") {
    if (b[0] == '<' && b[1] != 0) return kStartUtf8;
    if (b[0] == '<' && b[1] == 0) return kStartUtf16Le;
    if (b[0] == 0 && b[1] == '<') return kStartUtf16Be;
  }
  return kStartNothing;
}

bool IsAnomalous(unsigned char c) {
  return c < 32 && c != 8 && c != 9 && c != 10 && c != 12 && c != 13;
}

}  // namespace

bool IsTextExtension(const std::string& path) {
  static constexpr std::string_view kExtensions[] = {
      "prn", "csv", "xhtml", "xhtm", "shtml", "shtm", "html", "htm", "xml", "log", "txt"};
  const std::string ext = LowerExtensionOf(path);
  return std::find(std::begin(kExtensions), std::end(kExtensions), ext) != std::end(kExtensions);
}

namespace {

// Whether the head of the file (its first kSampleSize bytes at most) is
// UTF-8 with at least one multi-byte sequence: the usual form of text on this
// platform, which carries no byte-order mark. A Windows-1252 text with
// accented letters is practically never valid UTF-8. A sequence cut off by
// the end of the sample counts as valid.
bool SampleIsUtf8(std::string_view head, int64_t length) {
  std::string sample(head.substr(0, static_cast<size_t>(std::min<int64_t>(length, kSampleSize))));
  if (sample.empty()) return false;
  bool multibyte = false;
  for (unsigned char c : sample) {
    if (c >= 0x80) {
      multibyte = true;
      break;
    }
  }
  if (!multibyte) return false;
  // Drop an incomplete sequence at the very end of a cut sample.
  if (static_cast<int64_t>(sample.size()) < length) {
    size_t back = 0;
    while (back < 3 && back < sample.size() &&
           (static_cast<unsigned char>(sample[sample.size() - 1 - back]) & 0xC0) == 0x80) {
      ++back;
    }
    if (back < sample.size() &&
        static_cast<unsigned char>(sample[sample.size() - 1 - back]) >= 0xC0) {
      sample.resize(sample.size() - 1 - back);
    }
  }
  return IsValidUtf8(sample);
}

// The start code of the file at path (as ClassifyFileStart) from one open
// and one read of its first bytes, which are kept in *sample with the file's
// stamp; *length: the file's length when it could be opened. The bytes read
// are the first `sample_size` or kSampleSize, whichever is more: all that
// the looks at a file need.
int ClassifyStart(const std::string& path, bool charset_look, int64_t sample_size,
                  FileSample* sample, int64_t* length) {
  *sample = FileSample();
  *length = 0;
  try {
    int fd_raw = -1;
    struct stat st {};
    const int opened = OpenRegularFile(path, &fd_raw, &st);
    if (opened < 0) return opened;
    Fd fd(fd_raw);
    sample->stamp = StampFromStat(st);
    *length = static_cast<int64_t>(st.st_size);
    if (*length == 0) {
      sample->whole = true;
      return kStartZeroLength;
    }
    const int64_t want = std::min(*length, std::max(sample_size, kSampleSize));
    sample->bytes.resize(static_cast<size_t>(want));
    const ssize_t got = ReadFully(fd.get(), reinterpret_cast<unsigned char*>(sample->bytes.data()),
                                  sample->bytes.size());
    if (got < 0) {
      const int err = errno;
      sample->bytes.clear();
      // The head of a tiny file tells nothing: it is classified by its length.
      return *length <= 4 ? kStartTiny : CodeForErrno(err);
    }
    sample->bytes.resize(static_cast<size_t>(got));
    sample->whole = got == *length;
    if (*length <= 4) return kStartTiny;
    std::array<unsigned char, kHeadBytes> head{};  // missing bytes read as zero
    std::copy_n(sample->bytes.begin(), std::min<size_t>(sample->bytes.size(), head.size()),
                head.begin());
    int code = ClassifyHead(head, path);
    if (code == kStartNothing && charset_look && SampleIsUtf8(sample->bytes, *length)) {
      code = kStartUtf8;
    }
    if (code == kStartNothing && charset_look && IsTextExtension(path) &&
        FirstLinesDeclareUtf8(path, *sample, 10)) {
      code = kStartUtf8;
    }
    return code;
  } catch (const std::exception&) {
    return kStartUnreadable;
  }
}

}  // namespace

int ClassifyFileStart(const std::string& path, bool charset_look) {
  FileSample sample;
  int64_t length = 0;
  return ClassifyStart(path, charset_look, kSampleSize, &sample, &length);
}

TextFileInfo IsTextFile(const std::string& path, int64_t sample_size, double anomaly_limit,
                        bool charset_look) {
  FileSample sample;
  return LookAtTextFile(path, &sample, sample_size, anomaly_limit, charset_look);
}

TextFileInfo LookAtTextFile(const std::string& path, FileSample* sample, int64_t sample_size,
                            double anomaly_limit, bool charset_look) {
  TextFileInfo info;
  int64_t length = 0;
  const int start = ClassifyStart(path, charset_look, sample_size, sample, &length);
  info.start_code = start;
  if (start < 0 || start == kStartRtf) {
    info.result = start;
    return info;
  }
  if (start != kStartNothing && start != kStartUtf8) {
    info.result = kTextUnicode;
    return info;
  }
  const bool utf8 = start == kStartUtf8;
  info.utf8 = utf8;
  info.length = length;
  // The sample is the head read above, as far as the file reaches.
  const std::string& bytes = sample->bytes;
  const int64_t n =
      std::min(std::clamp<int64_t>(sample_size, 0, length), static_cast<int64_t>(bytes.size()));

  bool cr = false;
  bool lf = false;
  int64_t anomalies = 0;
  const double reject_above = 10.0 * anomaly_limit;
  // Most samples hold no anomalous byte: one pass without a branch a byte
  // finds that out, with the line ends; a sample with one (or any sample,
  // when a negative limit rejects even a clean one) is examined byte by
  // byte below.
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  unsigned char has_cr = 0;
  unsigned char has_lf = 0;
  unsigned char has_anomaly = 0;
  for (int64_t i = 0; i < n; ++i) {
    const unsigned char c = p[i];
    has_lf |= static_cast<unsigned char>(c == '\n');
    has_cr |= static_cast<unsigned char>(c == '\r');
    has_anomaly |= static_cast<unsigned char>(IsAnomalous(c));
  }
  const bool examine = has_anomaly != 0 || reject_above < 0;
  if (!examine) {
    cr = has_cr != 0;
    lf = has_lf != 0;
  }
  for (int64_t i = 1; examine && i <= n; ++i) {
    const auto c = static_cast<unsigned char>(bytes[static_cast<size_t>(i - 1)]);
    if (c == '\n') {
      lf = true;
    } else if (c == '\r') {
      cr = true;
    } else if (IsAnomalous(c)) {
      if (anomalies == 0) {
        info.first_anomalous_byte = c;
        info.anomaly_position = i;
      }
      ++anomalies;
    }
    // Past the first fifth of the requested sample a file this full of
    // control bytes is binary; reading further would change nothing.
    if (!utf8 && i * 5 > sample_size && anomalies * 100.0 / static_cast<double>(i) > reject_above) {
      info.anomaly_count = anomalies;
      info.bytes_examined = i;
      info.anomaly_percentage = anomalies * 100.0 / static_cast<double>(i);
      info.result = kNotText;
      return info;
    }
  }
  info.anomaly_count = anomalies;
  info.bytes_examined = n;
  info.anomaly_percentage = anomalies == 0 ? 0.0 : anomalies * 100.0 / static_cast<double>(n);
  if (!utf8 && info.anomaly_percentage > anomaly_limit) {
    info.result = kNotText;
  } else if (cr == lf) {
    info.result = kTextCrLf;
  } else {
    info.result = cr ? kTextCr : kTextLf;
  }
  return info;
}

namespace {

constexpr const char* kAssociatedApplicationHint =
    "You could try reading it using its associated application, then copying the text and "
    "pasting it into the textbox (then copy it to the clipboard and select 'Clipboard' as the "
    "source).";

}  // namespace

std::string NotATextFileMessage(const std::string& path, const TextFileInfo& info) {
  std::string msg = path + " is not a text file.\r\n\r\n";
  if (info.anomaly_percentage > kAnomalyLimit) {
    const std::string percentage =
        info.bytes_examined > 0
            ? FormatFraction(info.anomaly_count * 100, info.bytes_examined, 2, true)
            : FormatFixed(info.anomaly_percentage, 2, true);
    msg += "This file contains a byte " + std::to_string(info.first_anomalous_byte) +
           " at position " + std::to_string(info.anomaly_position) +
           ", indicating that it does not consist solely of text.  "
           "The percentage of such anomalous bytes in the first " +
           std::to_string(kSampleSize) + " bytes is " + percentage + "%.\r\n\r\n";
  }
  if (OffersAssociatedApplication(info)) msg += kAssociatedApplicationHint;
  return msg;
}

bool OffersAssociatedApplication(const TextFileInfo& info) {
  return info.anomaly_percentage < kHintPercentage && info.length >= 1 &&
         info.length <= kHintMaxLength;
}

bool CheckWordsFile(Host* host, const std::string& path, bool quiet, bool* mac_note_shown,
                    bool* utf8, int* result) {
  const TextFileInfo info = IsTextFile(path);
  *utf8 = info.utf8;
  *result = info.result;
  const std::string kFatal = "Fatal error";
  switch (info.result) {
    case kStartEmptyPath:
      return false;
    case kStartMissing:
      host->ShowMessage(kFatal, "File " + path + " not found.", Icon::kInformation);
      return false;
    case kStartZeroLength:
      host->ShowMessage(kFatal, "File " + path + " is zero-length.", Icon::kInformation);
      return false;
    case kStartPermissionDenied:
      host->ShowMessage(kFatal, "File " + path + "\r\n cannot be opened (permission denied).",
                        Icon::kInformation);
      return false;
    case kStartTiny:
      host->ShowMessage(kFatal, "File " + path + "\r\ncontains only from 1 to 4 bytes.",
                        Icon::kInformation);
      return false;
    case kTextRtf:
      host->ShowMessage(kFatal, "File " + path + "\r\nis an RTF file.", Icon::kInformation);
      return false;
    case kTextUnicode:
      host->ShowMessage(kFatal, "File " + path + "\r\nis a Unicode file but not UTF-8 encoded.",
                        Icon::kInformation);
      return false;
    case kNotText: {
      std::string msg = path + "\r\nis not an ANSI or UTF-8 encoded text file.";
      if (info.anomaly_percentage > kAnomalyLimit) msg += "\r\nIt appears to be a binary file.";
      if (OffersAssociatedApplication(info)) {
        msg += "\r\n\r\n";
        msg += kAssociatedApplicationHint;
      }
      host->ShowMessage("Not a text file", msg, Icon::kInformation);
      return false;
    }
    case kTextCr:
      if (!quiet && mac_note_shown != nullptr && !*mac_note_shown) {
        *mac_note_shown = true;
        host->ShowMessage("This is a Mac-style text file",
                          "File " + path +
                              "\r\nhas Macintosh-type line endings (CR).\r\n\r\n"
                              "You might wish to use a program such as Notepad++\r\nto convert the "
                              "line endings to Windows-type (CR+LF).",
                          Icon::kInformation);
      }
      return true;
    case kTextCrLf:
    case kTextLf:
      // LF-only files are this platform's own kind of text, read as fast as
      // any: no size warning.
      return true;
    default:
      host->ShowMessage(kFatal, "File " + path + "\r\ncannot be opened.", Icon::kInformation);
      return false;
  }
}

bool ReadFirstLines(const std::string& path, int count, std::string* lines, std::string* error) {
  lines->clear();
  error->clear();
  try {
    LineReader reader;
    if (!reader.Open(path, LineEnding::kLfOnly, error)) return false;
    int found = 0;
    std::string_view line;
    while (found < count && reader.Next(&line)) {
      if (line.empty()) continue;
      if (found > 0) lines->append("\r\n");
      lines->append(line);
      ++found;
    }
    if (!reader.error().empty()) {
      *error = reader.error();
      return false;
    }
  } catch (const std::exception& e) {
    *error = e.what();
    return false;
  }
  return true;
}

std::string ShowTextSize(int64_t bytes) {
  if (bytes < 10000) return "Text: " + Grouped(bytes) + " bytes";
  if (bytes < 1048576) return "Text: " + FormatFraction(bytes, 1024, 2, true) + " Kb";
  return "Text: " + FormatFraction(bytes, 1048576, 2, false) + " Mb";
}

}  // namespace vorn
