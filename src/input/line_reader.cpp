#include "input/line_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <stdexcept>
#include <system_error>

#include "input/decode.h"
#include "util/str_proc.h"
#include "util/text.h"

namespace vorn {

namespace {

// The bytes read at a time. A block of lines is read, lower-cased, mapped
// and counted pass after pass: at this size the block and what is made of
// it stay in the processor's own cache (with blocks of 1 MB a count took
// about 5% more processor time on one thread, 10 to 15% more on two, which
// share the larger cache).
constexpr size_t kBlockSize = size_t{128} << 10;
// A reader opened again keeps a buffer of up to this many bytes: fresh
// memory costs a page fault a page.
constexpr size_t kKeptBufferBytes = size_t{4} << 20;

std::string ErrnoText(int err) { return std::generic_category().message(err); }

bool IsUtf16(LineEnding e) { return e == LineEnding::kUtf16Le || e == LineEnding::kUtf16Be; }

bool IsUnicode(LineEnding e) { return e != LineEnding::kCrLfOrCr && e != LineEnding::kLfOnly; }

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

LineReader::~LineReader() { Close(); }

bool LineReader::Open(const std::string& path, LineEnding ending, std::string* error) {
  Close();
  ending_ = ending;
  file_ = std::fopen(path.c_str(), "rb");
  if (file_ == nullptr) {
    if (error != nullptr) *error = ErrnoText(errno);
    return false;
  }
  struct stat st {};
  const bool measured = fstat(fileno(file_), &st) == 0;
  if (measured && S_ISDIR(st.st_mode)) {
    Close();
    if (error != nullptr) *error = ErrnoText(EISDIR);
    return false;
  }
  // A small file is read in one block of its own size (and one byte more, to
  // see its end), not in a block of kBlockSize made ready for it.
  block_ = kBlockSize;
  if (measured) length_ = static_cast<int64_t>(st.st_size);
  if (measured && st.st_size >= 0 && static_cast<uint64_t>(st.st_size) < kBlockSize) {
    block_ = static_cast<size_t>(st.st_size) + 1;
  }
  // Room for a block and what is left of the last one's lines.
  buffer_.Reserve(block_ + block_ / 4);
  // The reader reads whole blocks itself; a stdio buffer would only copy.
  std::setvbuf(file_, nullptr, _IONBF, 0);
  open_ = true;
  return true;
}

void LineReader::OpenBytes(std::string_view bytes, LineEnding ending) {
  Close();
  ending_ = ending;
  // The bytes are one block that ends the file: Fill has nothing to add.
  buffer_.Append(bytes.data(), bytes.size());
  length_ = static_cast<int64_t>(bytes.size());
  eof_ = true;
  open_ = true;
}

void LineReader::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  open_ = false;
  if (buffer_.capacity() > kKeptBufferBytes) {
    buffer_.Release();
  } else {
    buffer_.Truncate(0);
  }
  std::string().swap(line_);
  pos_ = 0;
  scan_ = 0;
  base_ = 0;
  cr_search_base_ = -1;
  eof_ = false;
  at_start_ = true;
  bytes_read_ = 0;
  error_.clear();
  continues_ = false;
  cut_checked_ = 0;
  end_ = -1;
  length_ = -1;
}

void LineReader::SetPieceLimit(size_t bytes, bool utf8) {
  piece_limit_ = bytes;
  piece_utf8_ = utf8;
}

bool LineReader::Rewind(int64_t offset) {
  if (file_ == nullptr) return false;
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
    error_ = ErrnoText(errno);
    return false;
  }
  buffer_.Truncate(0);
  std::string().swap(line_);
  pos_ = 0;
  scan_ = 0;
  base_ = offset;
  cr_search_base_ = -1;
  eof_ = false;
  at_start_ = offset == 0;
  bytes_read_ = offset;
  continues_ = false;
  cut_checked_ = offset;
  return true;
}

size_t LineReader::FindCut() {
  const std::string_view d(buffer_.data(), buffer_.size());
  const size_t n = d.size();
  const size_t lo = std::max(pos_ + piece_limit_ / 2,
                             static_cast<size_t>(std::max<int64_t>(cut_checked_ - base_, 0)));
  // Before a character above the blank: the pieces trim as the whole line.
  for (size_t k = n; k-- > lo;) {
    if (static_cast<uint8_t>(d[k]) > ' ' && (!piece_utf8_ || IsUtf8CutPoint(d, k))) return k;
  }
  // A long stretch of blanks and control characters.
  for (size_t k = n; k-- > lo;) {
    if (!piece_utf8_ || static_cast<uint8_t>(d[k]) < 0x80) return k;
  }
  cut_checked_ = base_ + static_cast<int64_t>(n);
  return pos_;
}

bool LineReader::Fill() {
  if (eof_) return true;
  try {
    if (pos_ > 0) {
      buffer_.EraseFront(pos_);
      base_ += static_cast<int64_t>(pos_);
      scan_ -= pos_;
      pos_ = 0;
    }
    const size_t old = buffer_.size();
    size_t block = block_;
    block_ = kBlockSize;  // a file that grew is read on in whole blocks
    if (end_ >= 0) {
      // A part of the file ends where the part ends.
      const int64_t left = end_ - (base_ + static_cast<int64_t>(old));
      if (left <= 0) {
        eof_ = true;
        return true;
      }
      block = static_cast<size_t>(std::min<int64_t>(left, static_cast<int64_t>(block)));
    }
    buffer_.ResizeUninitialized(old + block);
    const size_t got = std::fread(buffer_.data() + old, 1, block, file_);
    buffer_.Truncate(old + got);
    if (got < block) {
      if (std::ferror(file_)) {
        error_ = ErrnoText(errno != 0 ? errno : EIO);
        return false;
      }
      eof_ = true;
    } else if (end_ >= 0 && base_ + static_cast<int64_t>(old + got) >= end_) {
      eof_ = true;
    }
  } catch (const std::bad_alloc&) {
    error_ = "Out of memory";
    return false;
  } catch (const std::length_error&) {
    error_ = "Line too long";
    return false;
  }
  return true;
}

bool LineReader::Ensure(size_t n) {
  while (buffer_.size() - pos_ < n && !eof_) {
    if (!Fill()) return false;
  }
  return true;
}

bool LineReader::Next(std::string_view* line) {
  if (!open_ || !error_.empty()) return false;
  if (IsUnicode(ending_)) return NextUnicode(line);
  const bool lf_too = ending_ == LineEnding::kLfOnly;
  for (;;) {
    const char* d = buffer_.data();
    const size_t n = buffer_.size();
    size_t q = scan_;
    if (lf_too) {
      // The next LF, or the next CR when it comes first; the position of
      // the next CR is kept, as LF-only text rarely has any.
      if (next_cr_ < q || cr_search_end_ != n || cr_search_base_ != base_) {
        const void* cr = q < n ? std::memchr(d + q, '\r', n - q) : nullptr;
        next_cr_ = cr != nullptr ? static_cast<size_t>(static_cast<const char*>(cr) - d) : n;
        cr_search_end_ = n;
        cr_search_base_ = base_;
      }
      const size_t stop = std::min(next_cr_, n);
      const void* lf = q < stop ? std::memchr(d + q, '\n', stop - q) : nullptr;
      q = lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - d) : stop;
    } else {
      const void* hit = q < n ? std::memchr(d + q, '\r', n - q) : nullptr;
      q = hit != nullptr ? static_cast<size_t>(static_cast<const char*>(hit) - d) : n;
    }
    if (q < n) {
      if (d[q] == '\r' && q + 1 == n && !eof_) {
        // A CR at the end of the block: the next block tells whether an LF
        // belongs to it.
        scan_ = q;
        if (!Fill()) return false;
        continue;
      }
      *line = std::string_view(d + pos_, q - pos_);
      continues_ = false;
      size_t next = q + 1;
      if (d[q] == '\r' && next < n && d[next] == '\n') ++next;
      pos_ = scan_ = next;
      bytes_read_ = base_ + static_cast<int64_t>(pos_);
      return true;
    }
    if (eof_) {
      if (pos_ == n) return false;
      *line = std::string_view(d + pos_, n - pos_);
      continues_ = false;
      pos_ = scan_ = n;
      bytes_read_ = base_ + static_cast<int64_t>(pos_);
      return true;
    }
    scan_ = n;
    if (piece_limit_ > 0 && n - pos_ >= piece_limit_) {
      const size_t cut = FindCut();
      if (cut > pos_) {
        *line = std::string_view(d + pos_, cut - pos_);
        continues_ = true;
        pos_ = cut;
        cut_checked_ = base_ + static_cast<int64_t>(cut);
        bytes_read_ = base_ + static_cast<int64_t>(pos_);
        return true;
      }
    }
    if (!Fill()) return false;
  }
}

size_t LineReader::LastLineEnd() const {
  const char* d = buffer_.data();
  size_t n = buffer_.size();
  if (n > pos_ && d[n - 1] == '\r' && !eof_) --n;
  const auto last = [&](char c, size_t from) {
    const void* hit = from < n ? memrchr(d + from, c, n - from) : nullptr;
    return hit != nullptr ? static_cast<size_t>(static_cast<const char*>(hit) - d) + 1 : from;
  };
  if (ending_ == LineEnding::kLfOnly) {
    // A CR that ends a line after the last LF; LF-only text rarely has one.
    const size_t lf = last('\n', pos_);
    return last('\r', lf);
  }
  size_t end = last('\r', pos_);
  if (end > pos_ && end < buffer_.size() && d[end] == '\n') ++end;  // the LF of a CR LF
  return end;
}

bool LineReader::NextLines(std::string_view* lines) {
  if (!open_ || !error_.empty() || IsUnicode(ending_) || continues_) return false;
  for (;;) {
    const size_t end = eof_ ? buffer_.size() : LastLineEnd();
    if (end > pos_) {
      *lines = std::string_view(buffer_.data() + pos_, end - pos_);
      pos_ = scan_ = end;
      bytes_read_ = base_ + static_cast<int64_t>(pos_);
      return true;
    }
    // Nothing left, or a line longer than a block: Next() takes it on.
    if (eof_ || buffer_.size() - pos_ >= kBlockSize) return false;
    scan_ = pos_;
    if (!Fill()) return false;
  }
}

bool LineReader::ReadCodePoint(char32_t* cp, bool* got) {
  if (!Ensure(4)) return false;
  const size_t avail = buffer_.size() - pos_;
  *got = avail > 0;
  if (avail == 0) return true;
  const auto byte = [&](size_t k) {
    return static_cast<char32_t>(static_cast<uint8_t>(buffer_[k]));
  };
  const bool le = ending_ == LineEnding::kUtf16Le || ending_ == LineEnding::kUtf32Le;
  if (IsUtf16(ending_)) {
    const auto unit = [&](size_t k) {
      return le ? byte(k) | byte(k + 1) << 8 : byte(k) << 8 | byte(k + 1);
    };
    if (avail < 2) {  // an odd byte at the end of the file
      *cp = kReplacement;
      pos_ += avail;
      return true;
    }
    const char32_t u = unit(pos_);
    pos_ += 2;
    if (u >= 0xD800 && u <= 0xDBFF) {
      const char32_t low = avail >= 4 ? unit(pos_) : 0;
      if (low >= 0xDC00 && low <= 0xDFFF) {
        *cp = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        pos_ += 2;
      } else {
        *cp = kReplacement;
      }
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      *cp = kReplacement;
    } else {
      *cp = u;
    }
    return true;
  }
  if (avail < 4) {
    *cp = kReplacement;
    pos_ += avail;
    return true;
  }
  const char32_t v =
      le ? byte(pos_) | byte(pos_ + 1) << 8 | byte(pos_ + 2) << 16 | byte(pos_ + 3) << 24
         : byte(pos_) << 24 | byte(pos_ + 1) << 16 | byte(pos_ + 2) << 8 | byte(pos_ + 3);
  pos_ += 4;
  *cp = (v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) ? kReplacement : v;
  return true;
}

bool LineReader::NextUnicode(std::string_view* line) {
  try {
    line_.clear();
    continues_ = false;
    bool any = false;
    for (;;) {
      char32_t cp = 0;
      bool got = false;
      const bool may_cut = piece_limit_ > 0 && line_.size() >= piece_limit_;
      if (may_cut && !Ensure(4)) return false;
      const size_t before = pos_;  // no refill below: four bytes are buffered
      if (!ReadCodePoint(&cp, &got)) return false;
      if (may_cut && got && !IsCombiningMark(cp) &&
          (cp > ' ' || (line_.size() >= 2 * piece_limit_ && cp != '\r' && cp != '\n'))) {
        // The character begins the next piece.
        pos_ = before;
        continues_ = true;
        break;
      }
      if (!got) {
        if (!any) return false;
        break;
      }
      if (at_start_) {
        at_start_ = false;
        if (cp == 0xFEFF) continue;
      }
      any = true;
      if (cp == '\n') break;
      if (cp == '\r') {
        // Ensure first, so that the peek below needs no refill and the
        // saved position stays valid.
        if (!Ensure(4)) return false;
        const size_t saved = pos_;
        char32_t after = 0;
        bool more = false;
        if (!ReadCodePoint(&after, &more)) return false;
        if (!more || after != '\n') pos_ = saved;
        break;
      }
      AppendUtf8(cp, &line_);
    }
  } catch (const std::bad_alloc&) {
    error_ = "Out of memory";
    return false;
  } catch (const std::length_error&) {
    error_ = "Line too long";
    return false;
  }
  *line = line_;
  bytes_read_ = base_ + static_cast<int64_t>(pos_);
  return true;
}

}  // namespace vorn
