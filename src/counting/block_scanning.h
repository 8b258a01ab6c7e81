// ScanFileBlocks: the lines of a file of plain text read a block of whole
// lines at a time. The words of the lines that plain runs cover (see
// BlockWords) are counted straight into a table; the other lines, and any
// line longer than a block, go one by one to a LineScanner and its sink, in
// their place, so that the table's order of first occurrence is that of a
// reading line by line.
//
// Not thread-safe: one call per thread, with its own reader, table and
// scanners.

#ifndef VORN_COUNTING_BLOCK_SCANNING_H_
#define VORN_COUNTING_BLOCK_SCANNING_H_

#include "counting/line_scanning.h"
#include "counting/part_words.h"
#include "input/line_reader.h"
#include "words/block_words.h"

namespace vorn {

// Reads the lines of an open reader (of a byte mode: lf_ends for LF-only
// text) until the file ends, a hook or the sink ends it (both are asked
// before each block and each line or piece that goes to `lines`), or a read error
// (reader->error()). Counts each plain word into `words` through `gate`,
// which refuses the words the scanner would discard. `decode_utf8`: the
// text is UTF-8, as `blocks` was told.
void ScanFileBlocks(LineReader* reader, bool lf_ends, bool decode_utf8, BlockWords* blocks,
                    PartWords* words, WordList::Gate* gate, LineScanner* lines,
                    LineScanner::Sink* sink, FileLineHooks* hooks);

}  // namespace vorn

#endif  // VORN_COUNTING_BLOCK_SCANNING_H_
