// Feeds a line to a scanner in pieces, as the engine hands over a long
// line: cut at the given places, the last piece with its trailing blank.

#ifndef VORN_TESTS_SUPPORT_SCAN_PIECES_H_
#define VORN_TESTS_SUPPORT_SCAN_PIECES_H_

#include <cstddef>
#include <vector>

#include "util/text.h"
#include "words/scanner.h"

namespace vorn {

void ScanPieces(Scanner* scanner, const Bytes& text, const std::vector<size_t>& cuts,
                ScanSink* sink);

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_SCAN_PIECES_H_
