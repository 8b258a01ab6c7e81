#include "counting/line_scanning.h"

#include <optional>

#include "input/decode.h"
#include "input/html_head.h"
#include "words/char_classes.h"
#include "words/simd_text.h"

namespace vorn {

namespace {

// Short lines are scanned together in blocks of about this size.
constexpr size_t kBatchBytes = size_t{64} << 10;

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

uint32_t LineScanner::PrepareLine(std::string_view text, bool decode_utf8, Bytes* out, size_t at) {
  const bool lower = !case_significant_;
  out->resize(at + text.size());
  uint32_t seen = Kernels().lower_copy(text.data(), text.size(), out->data() + at, lower);
  if (decode_utf8 && (seen & kHintHigh) != 0) {
    // Only a line with a byte above 127 decodes to other bytes.
    out->resize(at);
    DecodeUtf8LineTo1252(text, out);
    seen = Kernels().lower_copy(out->data() + at, out->size() - at, out->data() + at, lower);
  }
  return seen;
}

Scanner::BlockHints LineScanner::HintsOf(uint32_t seen) {
  Scanner::BlockHints hints;
  hints.may_need_prepare = (seen & kHintPrepare) != 0;
  hints.may_hold_hyphens = (seen & kHintHyphen) != 0;
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
  if (batching_ && !line_open_ && last && text.size() < kBatchBytes &&
      !scanner_->HasCommentMarkers() && !scanner_->markup()) {
    // The line is made ready at the end of the batch, and stays there when
    // it may be scanned with the others.
    const size_t at = batch_.size();
    const uint32_t seen = PrepareLine(text, decode_utf8, &batch_, at);
    if ((seen & (kHintHyphen | kHintAngle)) == 0 && batch_.size() - at < kBatchBytes) {
      batch_ += ' ';
      batch_hints_.may_need_prepare |= (seen & kHintPrepare) != 0;
      return batch_.size() >= kBatchBytes && Flush(sink);
    }
    line_.assign(batch_, at);
    batch_.resize(at);
    if (Flush(sink)) return true;
    line_.push_back(' ');
    scanner_->ScanTextBlock(&line_, sink, HintsOf(seen));
    return false;
  }
  const Scanner::BlockHints hints = HintsOf(PrepareLine(text, decode_utf8, &line_, 0));
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
