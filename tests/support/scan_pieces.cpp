#include "support/scan_pieces.h"

namespace vorn {

void ScanPieces(Scanner* scanner, const Bytes& text, const std::vector<size_t>& cuts,
                ScanSink* sink) {
  scanner->BeginLine();
  size_t from = 0;
  for (size_t cut : cuts) {
    scanner->ScanPiece(BytesView(text).substr(from, cut - from), false, sink,
                       Scanner::BlockHints());
    from = cut;
  }
  Bytes rest = text.substr(from) + " ";
  scanner->ScanPiece(rest, true, sink, Scanner::BlockHints());
}

}  // namespace vorn
