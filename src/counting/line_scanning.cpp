#include "counting/line_scanning.h"

#include <array>
#include <optional>

#include "input/decode.h"
#include "input/html_head.h"
#include "words/char_classes.h"

namespace vorn {

namespace {

// Lines longer than this are read and scanned in pieces of about this size.
constexpr size_t kPieceBytes = size_t{1} << 20;
// Short lines are scanned together in blocks of about this size.
constexpr size_t kBatchBytes = size_t{64} << 10;

// For every byte of an 8-bit line: the byte itself and its lower-case form
// in the low byte, and in the high byte what it tells about the block: 1 it
// needs preparing (backspace, line break, form feed, no-break space), 2 a
// hyphen.
struct ByteTables {
  std::array<uint16_t, 256> plain{};
  std::array<uint16_t, 256> lower{};
  ByteTables() {
    for (int b = 0; b < 256; ++b) {
      uint16_t hint = 0;
      if (b == 8 || b == 10 || b == 12 || b == 13 || b == 0xA0) hint = 1;
      if (b == '-') hint = 2;
      plain[b] = static_cast<uint16_t>(b | hint << 8);
      lower[b] = static_cast<uint16_t>(LowerByte(static_cast<uint8_t>(b)) | hint << 8);
    }
  }
};

const ByteTables& Tables() {
  static const ByteTables tables;
  return tables;
}

// Removes bytes of code 32 or below from the start, or the end.
std::string_view TrimLeadingControls(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && static_cast<unsigned char>(s[b]) <= 32) ++b;
  return s.substr(b);
}

std::string_view TrimTrailingControls(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(0, e);
}

}  // namespace

Scanner::BlockHints LineScanner::PrepareLine(std::string_view text, bool decode_utf8) {
  const bool lower = !case_significant_;
  Scanner::BlockHints hints;
  if (decode_utf8) {
    decoded_.clear();
    DecodeUtf8Line(text, &decoded_);
    line_ = EncodeWindows1252(decoded_);
    if (lower) LowerCaseAccentedInPlace(&line_);
    return hints;
  }
  const auto& table = lower ? Tables().lower : Tables().plain;
  line_.resize(text.size());
  char* out = line_.data();
  uint16_t seen = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const uint16_t v = table[static_cast<uint8_t>(text[i])];
    out[i] = static_cast<char>(v);
    seen |= v;
  }
  hints.may_need_prepare = (seen & 0x100) != 0;
  hints.may_hold_hyphens = (seen & 0x200) != 0;
  return hints;
}

bool LineScanner::ScanPieceOfLine(std::string_view raw, bool last, bool decode_utf8, Sink* sink) {
  std::string_view text = raw;
  if (!line_open_) text = TrimLeadingControls(text);
  if (last) text = TrimTrailingControls(text);
  if (text.empty()) {
    if (last && line_open_) {
      line_open_ = false;
      return scanner_->ScanPiece(" ", true, sink, Scanner::BlockHints{false, false});
    }
    return false;
  }
  sink->OnPiece(!line_open_);
  const Scanner::BlockHints hints = PrepareLine(text, decode_utf8);
  if (batching_ && !line_open_ && last && !decode_utf8 && !hints.may_hold_hyphens &&
      line_.size() < kBatchBytes && !scanner_->HasCommentMarkers() && !scanner_->markup() &&
      line_.find('<') == Bytes::npos) {
    batch_ += line_;
    batch_ += ' ';
    batch_hints_.may_need_prepare |= hints.may_need_prepare;
    return batch_.size() >= kBatchBytes && Flush(sink);
  }
  if (Flush(sink)) return true;
  if (last) line_.push_back(' ');
  if (!line_open_ && last) {
    scanner_->ScanTextBlock(&line_, sink, hints);
    return false;
  }
  // A long line, in pieces.
  if (!line_open_) scanner_->BeginLine();
  line_open_ = !last;
  return scanner_->ScanPiece(line_, last, sink, hints);
}

bool LineScanner::Flush(Sink* sink) {
  if (batch_.empty()) return false;
  // The scan may end before the block does: what is left is dropped.
  scanner_->ScanTextBlock(&batch_, sink, batch_hints_);
  batch_.clear();
  batch_hints_ = Scanner::BlockHints{false, false};
  return false;
}

void ScanFileLines(LineReader* reader, bool html, bool* decode_utf8, LineScanner* lines,
                   LineScanner::Sink* sink, FileLineHooks* hooks) {
  reader->SetPieceLimit(kPieceBytes, *decode_utf8);
  lines->BeginFile();
  // An HTML document's head is passed over; it may declare UTF-8.
  bool doctype_seen = !html;
  std::optional<HtmlHead> head;
  int64_t head_start = 0;
  bool continuing = false;  // the last piece's line goes on
  std::string_view raw;
  while (true) {
    if (hooks->StopBeforeLine()) {
      lines->BeginFile();  // the lines waiting are not scanned
      return;
    }
    const int64_t piece_start = reader->BytesRead();
    if (!reader->Next(&raw)) {
      if (head && reader->error().empty()) {
        // The document ended inside its head: it is read again from its
        // document type on, as if it had no head.
        head.reset();
        continuing = false;
        if (reader->Rewind(head_start)) continue;
      }
      break;
    }
    const bool first = !continuing;
    const bool last = !reader->line_continues();
    continuing = !last;
    hooks->Progress(reader->BytesRead());
    if (!doctype_seen && first && IsDoctypeLine(raw)) {
      doctype_seen = true;
      head.emplace();
      head_start = piece_start;
    }
    if (head) {
      const size_t at = head->Feed(raw, last);
      if (head->declares_utf8() && !*decode_utf8) {
        *decode_utf8 = true;
        reader->SetPieceLimit(kPieceBytes, true);
      }
      if (at == HtmlHead::kGoesOn) continue;
      head.reset();
      raw.remove_prefix(at);  // the rest begins a line of the body
    }
    lines->ScanPieceOfLine(raw, last, *decode_utf8, sink);
  }
  lines->Flush(sink);
}

}  // namespace vorn
