// LineScanner: the lines of one text file handed to the scanner, each
// trimmed, lower-cased (unless case is significant) and decoded, a long line
// in pieces; and ScanFileLines, the loop that reads a file's lines into it.
//
// The engine counts with one LineScanner over its own scanner; each worker of
// a parallel run has its own scanner and LineScanner, so that a file (or a
// part of one) is scanned on any thread with the same result.
//
// Not thread-safe: one LineScanner per thread.

#ifndef VORN_COUNTING_LINE_SCANNING_H_
#define VORN_COUNTING_LINE_SCANNING_H_

#include <cstdint>
#include <string_view>

#include "input/line_reader.h"
#include "util/text.h"
#include "words/scanner.h"

namespace vorn {

// Lines longer than this are read and scanned in pieces of about this size.
inline constexpr size_t kPieceBytes = size_t{1} << 20;

class LineScanner {
 public:
  // What the scanner's words go to; it also hears of every piece of text
  // before the piece is scanned.
  class Sink : public ScanSink {
   public:
    // A piece of text is about to be scanned; starts_line: it begins a line.
    virtual void OnPiece(bool starts_line) = 0;
  };

  explicit LineScanner(Scanner* scanner) : scanner_(scanner) {}

  void SetCaseSignificant(bool significant) { case_significant_ = significant; }
  // Whether short lines may be scanned together, joined by blanks, as one
  // block: for a sink to which line ends mean nothing (OnPiece does
  // nothing), and only for text without comment markers or markup. A line
  // with "<" (an expression may reach into the next line) or with "-" (a
  // double hyphen is judged by its place in its line) is scanned on its own;
  // a line decoded from UTF-8 is judged by its decoded text. The words are
  // those of the lines scanned one by one; what the sink sees of line ends
  // is not.
  void SetBatching(bool batching) { batching_ = batching; }
  // A new file begins: no line is open, no lines wait.
  void BeginFile() {
    line_open_ = false;
    batch_.clear();
  }
  // Scans the lines that wait to be scanned together. Returns true when
  // the sink asked to end the scan.
  bool Flush(Sink* sink);

  // Scans one line of a file, or one piece of a long line (last: the piece
  // ends its line). A line is trimmed of blanks and control characters at
  // both ends, and an empty line is passed over. Returns true when the sink
  // asked to end the scan.
  bool ScanPieceOfLine(std::string_view raw, bool last, bool decode_utf8, Sink* sink);

 private:
  // Lower-cases (and decodes) one line or piece into *out from `at` on (out
  // ends there), and returns the hints of the bytes put there (kHint...).
  uint32_t PrepareLine(std::string_view text, bool decode_utf8, Bytes* out, size_t at);
  // What the scanner's preparation may find in a line of those hints.
  static Scanner::BlockHints HintsOf(uint32_t seen);

  Scanner* scanner_;
  bool case_significant_ = false;
  Bytes line_;              // the block being scanned
  bool line_open_ = false;  // pieces of a long line are being scanned
  bool batching_ = false;
  Bytes batch_;  // lines waiting to be scanned together, each followed by a blank
  Scanner::BlockHints batch_hints_{false, false};
};

// What ScanFileLines asks of its caller between lines.
class FileLineHooks {
 public:
  virtual ~FileLineHooks() = default;
  // Before each line or piece is read: true ends the reading.
  virtual bool StopBeforeLine() = 0;
  // Before each block of lines is read (ScanFileBlocks): true ends the
  // reading.
  virtual bool StopBeforeBlock() { return StopBeforeLine(); }
  // After each line or piece was read: the file offset reached.
  virtual void Progress(int64_t /*bytes_read*/) {}
};

// Reads the lines (and pieces of long lines) of an open reader into
// `lines` until the file ends, a hook or the sink ends it, or a read error
// (reader->error()). `html`: the file is an HTML document, whose head
// (from its document type line on) is passed over; the head may declare
// UTF-8, which then decodes the rest (*decode_utf8 becomes true). The
// reader's piece limit is set here.
void ScanFileLines(LineReader* reader, bool html, bool* decode_utf8, LineScanner* lines,
                   LineScanner::Sink* sink, FileLineHooks* hooks);

}  // namespace vorn

#endif  // VORN_COUNTING_LINE_SCANNING_H_
