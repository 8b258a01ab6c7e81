// File classification: is a file text, in which encoding, with which line
// ends?
//
// ClassifyFileStart looks at the first bytes and the extension (byte-order
// marks, RTF, the .xml rules, a charset declaration in the first ten
// non-empty lines of a text-like file); IsTextFile samples the head of the
// file for anomalous bytes and line ends. Neither reports anything to the
// user; they return codes, and NotATextFileMessage builds the message of a
// refused input file.
//
// Pure functions over the file system; thread-compatible.

#ifndef VORN_INPUT_IS_TEXT_FILE_H_
#define VORN_INPUT_IS_TEXT_FILE_H_

#include <cstdint>
#include <string>

#include "util/file_proc.h"
#include "util/host.h"

namespace vorn {

// Start codes of ClassifyFileStart.
inline constexpr int kStartUnreadable = -9;
inline constexpr int kStartEmptyPath = -5;
inline constexpr int kStartTiny = -4;  // 1 to 4 bytes
inline constexpr int kStartPermissionDenied = -3;
inline constexpr int kStartZeroLength = -2;
inline constexpr int kStartMissing = -1;
inline constexpr int kStartNothing = 0;
inline constexpr int kStartUtf16Le = 1;
inline constexpr int kStartUtf16Be = 2;
inline constexpr int kStartUtf8 = 3;
inline constexpr int kStartUtf32Be = 5;
inline constexpr int kStartRtf = 6;
// Not a code of the original table: FF FE 00 00, read as UTF-32 little-endian
// rather than as UTF-16 text full of zero characters.
inline constexpr int kStartUtf32Le = 8;

// Text results of IsTextFile (negative values are passed on start codes).
inline constexpr int kNotText = 0;
inline constexpr int kTextCrLf = 1;  // CR LF, no line ends in the sample, or UTF-8
inline constexpr int kTextLf = 2;    // LF only (Unix type)
inline constexpr int kTextCr = 3;    // CR only (Macintosh type)
inline constexpr int kTextRtf = 6;
inline constexpr int kTextUnicode = 7;  // UTF-16 or UTF-32

inline constexpr int64_t kSampleSize = 16384;
inline constexpr double kAnomalyLimit = 1.0;

// The start code of the file at path (see the constants above). A folder,
// and anything else that is not a regular file (a pipe, a device), gives
// kStartUnreadable, so that nothing waits on a pipe without a writer.
int ClassifyFileStart(const std::string& path, bool charset_look = true);

// True when the extension, in lower case, is prn, csv, xhtml, xhtm, shtml,
// shtm, html, htm, xml, log or txt.
bool IsTextExtension(const std::string& path);

struct TextFileInfo {
  int result = kNotText;
  int start_code = kStartNothing;
  int first_anomalous_byte = 32;  // 32 when none was found
  int64_t anomaly_position = 0;   // 1-based
  double anomaly_percentage = 0;
  bool utf8 = false;
  int64_t length = 0;  // bytes, when the file could be measured
  // The anomaly percentage is anomaly_count x 100 / bytes_examined: the
  // bytes of the sample, or the bytes read up to an early rejection.
  int64_t anomaly_count = 0;
  int64_t bytes_examined = 0;
};

// What a look at a file found besides its classification: the state of the
// file it opened, and the file's first bytes.
struct FileSample {
  FileStamp stamp;     // size -1 when no regular file could be opened
  std::string bytes;   // the first bytes read, up to the larger sample size
  bool whole = false;  // bytes hold the whole file
};

// Classifies the file for reading (see the result constants). For result 7
// start_code tells which Unicode form the file holds. A UTF-8 file (start
// code 3) sets utf8 and gets the result of its line ends (1, 2 or 3) from the
// sample like any other file; it is never refused for anomalous bytes. A
// sample whose running anomaly percentage exceeds 10 times the limit once
// more than a fifth of sample_size has been examined is refused at once.
TextFileInfo IsTextFile(const std::string& path, int64_t sample_size = kSampleSize,
                        double anomaly_limit = kAnomalyLimit, bool charset_look = true);

// As IsTextFile, and stores in *sample what the look found: the file's stamp
// as the open file gave it, and its first bytes (the first kSampleSize or
// sample_size bytes, whichever is more). The file is opened once and its
// head read once; only a longer file whose first lines are looked at for a
// charset declaration is read again for them.
TextFileInfo LookAtTextFile(const std::string& path, FileSample* sample,
                            int64_t sample_size = kSampleSize, double anomaly_limit = kAnomalyLimit,
                            bool charset_look = true);

// The text of the "Not a text file" message for an input file of result 0.
std::string NotATextFileMessage(const std::string& path, const TextFileInfo& info);

// Whether the "Not a text file" messages suggest the file's associated
// application: below 9 per cent anomalous bytes and 1 to 102,399 bytes long.
bool OffersAssociatedApplication(const TextFileInfo& info);

// CheckWordsFile: whether a words-to-ignore or count-only file can be read.
// Shows the message of a refused file through host ("Fatal error", "Not a
// text file"); a file with CR-only line ends is usable and, unless quiet,
// noted once (the first time, tracked through *mac_note_shown). Stores
// whether the file is UTF-8 in *utf8 and IsTextFile's result in *result.
bool CheckWordsFile(Host* host, const std::string& path, bool quiet, bool* mac_note_shown,
                    bool* utf8, int* result);

// The first `count` non-empty lines (lines end at CR LF, CR or LF) joined by
// CR LF. Returns false and fills *error on a read error.
bool ReadFirstLines(const std::string& path, int count, std::string* lines, std::string* error);

// The extracted-text size label: "Text: 9,999 bytes", "Text: 12.34 Kb",
// "Text: 1.50 Mb".
std::string ShowTextSize(int64_t bytes);

}  // namespace vorn

#endif  // VORN_INPUT_IS_TEXT_FILE_H_
