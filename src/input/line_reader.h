// LineReader: streams the lines of an input file.
//
// Three ways of ending lines: at CR LF or a lone CR (text of result 1 and 3;
// a lone LF stays inside the line), at LF as well (LF-only text, result 2),
// and for UTF-16 and UTF-32 files, which are transcoded to UTF-8 on the fly
// and end lines at CR LF, CR or LF. The reader starts fresh for every file and
// reads in blocks of 128 KB; a line may be of any length. With a piece limit set,
// a long line is handed over in pieces of about that size, so that memory
// stays bounded whatever the length of a line.
//
// Not thread-safe; one reader per file.

#ifndef VORN_INPUT_LINE_READER_H_
#define VORN_INPUT_LINE_READER_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "util/store.h"

namespace vorn {

enum class LineEnding {
  kCrLfOrCr,  // results 1 and 3
  kLfOnly,    // result 2
  kUtf16Le,
  kUtf16Be,
  kUtf32Le,
  kUtf32Be,
};

class LineReader {
 public:
  LineReader() = default;
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Opens the file. Returns false and fills *error with the system's
  // description when it cannot be opened.
  bool Open(const std::string& path, LineEnding ending, std::string* error);

  // Reads the lines of `bytes`, the whole content of a file read already,
  // as Open would read them from the file. The bytes are copied.
  // Rewind and SetEnd are for files only.
  void OpenBytes(std::string_view bytes, LineEnding ending);

  // Stores the next line (without its line end; UTF-8 for the Unicode modes)
  // in *line, valid until the next call, and returns true; returns false at
  // the end of the file or on a read error (see error()).
  bool Next(std::string_view* line);

  // For the byte modes: stores in *lines the lines from the next one on that
  // the buffer holds whole, with their line ends (at the file's end, the
  // last line also without one), reading on first when it holds none; valid
  // until the next call. Returns false at the end of the file, on a read
  // error, for the Unicode modes, and when the next line is longer than a
  // block, or a line handed over in pieces goes on: Next() hands that over.
  bool NextLines(std::string_view* lines);

  // Hands a line longer than `bytes` over in pieces of at least about
  // `bytes / 2` bytes (0: whole lines, the default). A piece ends just
  // before a character above the blank that decoding treats on its own (for
  // UTF-8 text, utf8: ASCII or a character other than a combining mark), so
  // that the pieces decode and trim as the whole line would; only where a
  // long stretch holds no such character is it cut before a blank or a
  // control character. A stretch with no place to cut at all is kept whole.
  void SetPieceLimit(size_t bytes, bool utf8);

  // Whether the text returned by the last Next() is a piece that the next
  // call continues (false when it ended its line).
  bool line_continues() const { return continues_; }

  // The length of the file (or of the bytes) when it was opened; -1 when
  // that could not be told.
  int64_t Length() const { return length_; }

  // Bytes of the file consumed so far (for the in-file progress bar); the
  // offset at which the next line or piece begins.
  int64_t BytesRead() const { return bytes_read_; }

  // Goes back (or on) to file offset `offset`, which must be an offset at
  // which a line or piece began (a value of BytesRead()). Returns false and
  // sets error() when the file cannot be positioned.
  bool Rewind(int64_t offset);

  // Reads the file only up to offset `end` (-1: to its end), as if it ended
  // there: with Rewind, a part of a file that begins and ends at line
  // boundaries reads as the same lines as in the whole file. Call before
  // the first Next(), or after a Rewind().
  void SetEnd(int64_t end) { end_ = end; }

  // The system's description of a read error; empty when there was none.
  const std::string& error() const { return error_; }

  // Closes the file. The reader keeps a buffer of up to 4 MB for the next
  // file it opens: fresh memory costs a page fault a page.
  void Close();

 private:
  // Appends the next block of the file to buffer_ (dropping the consumed
  // bytes before pos_ first). Sets eof_ at the end of the file; returns false
  // and sets error_ on a read error.
  bool Fill();
  // Fills until at least n unconsumed bytes are buffered or the file ends.
  bool Ensure(size_t n);
  // Decodes the next code point of a UTF-16 or UTF-32 file into *cp; *got is
  // false at the end of the file. Returns false on a read error.
  bool ReadCodePoint(char32_t* cp, bool* got);
  bool NextUnicode(std::string_view* line);
  // The position before which the byte modes cut an over-long line in
  // buffer_, or pos_ when there is none yet.
  size_t FindCut();
  // The position right after the last line end in buffer_ from pos_ on, or
  // pos_ when it holds none. A CR that ends the buffer before the file's end
  // is no line end yet: an LF may follow it.
  size_t LastLineEnd() const;

  std::FILE* file_ = nullptr;
  bool open_ = false;  // a file or bytes to read
  LineEnding ending_ = LineEnding::kCrLfOrCr;
  Store<char> buffer_;  // raw bytes read, from pos_ on not yet consumed
  size_t block_ = 0;    // the bytes the next Fill reads
  size_t pos_ = 0;
  size_t scan_ = 0;   // bytes before scan_ hold no line end (scan_ >= pos_)
  int64_t base_ = 0;  // file offset of buffer_[0]
  // LF-only text: the position of the next CR (or cr_search_end_ when there
  // is none) found by a search of the buffer as it stood at base_.
  size_t next_cr_ = 0;
  size_t cr_search_end_ = static_cast<size_t>(-1);
  int64_t cr_search_base_ = -1;
  bool eof_ = false;
  bool at_start_ = true;  // no code point decoded yet (the byte-order mark)
  std::string line_;      // a transcoded line
  int64_t bytes_read_ = 0;
  std::string error_;
  size_t piece_limit_ = 0;
  bool piece_utf8_ = false;
  bool continues_ = false;
  // File offset up to which the current line has been searched for a place
  // to cut without finding one.
  int64_t cut_checked_ = 0;
  int64_t end_ = -1;  // SetEnd
  int64_t length_ = -1;
};

}  // namespace vorn

#endif  // VORN_INPUT_LINE_READER_H_
