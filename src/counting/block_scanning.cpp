#include "counting/block_scanning.h"

namespace vorn {

void ScanFileBlocks(LineReader* reader, bool lf_ends, bool decode_utf8, BlockWords* blocks,
                    PartWords* words, WordList::Gate* gate, LineScanner* lines,
                    LineScanner::Sink* sink, FileLineHooks* hooks) {
  reader->SetPieceLimit(kPieceBytes, decode_utf8);
  lines->BeginFile();
  // The words of a block are followed by blanks.
  const auto count = [words, gate](BytesView word) { words->AddPadded(word, gate); };
  std::string_view raw;
  while (!hooks->StopBeforeBlock() && !sink->Yield()) {
    if (!reader->NextLines(&raw)) {
      // A line longer than a block (in pieces), or the end.
      if (!reader->Next(&raw)) break;
      hooks->Progress(reader->BytesRead());
      if (lines->ScanPieceOfLine(raw, !reader->line_continues(), decode_utf8, sink)) return;
      continue;
    }
    hooks->Progress(reader->BytesRead());
    blocks->Load(raw);
    size_t pos = 0;
    while (pos < raw.size()) {
      const size_t odd = blocks->NextUncovered(pos);
      if (odd == raw.size()) {
        blocks->ForEachWord(pos, raw.size(), count);
        break;
      }
      // The words before the line the scanner reads, then that line.
      size_t begin = 0;
      size_t end = 0;
      blocks->LineAround(odd, lf_ends, &begin, &end);
      blocks->ForEachWord(pos, begin, count);
      if (lines->ScanPieceOfLine(raw.substr(begin, end - begin), true, decode_utf8, sink) ||
          lines->Flush(sink)) {
        return;
      }
      pos = end;
    }
  }
  lines->Flush(sink);
}

}  // namespace vorn
