#include "counting/part_count.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <vector>

#include "counting/block_scanning.h"
#include "counting/line_scanning.h"
#include "counting/packed_words.h"
#include "input/decode.h"
#include "util/file_proc.h"
#include "words/comment_markers.h"

namespace vorn {

namespace {

// How far past a nominal place FindPartStarts looks for a line end, at most.
constexpr size_t kSearchWindow = size_t{64} << 10;
// CountPacked keeps its table for the next file while the words' text is at
// most this large.
constexpr size_t kMaxKeptTableText = size_t{1} << 20;

// Counts every word into the part's table; ends the scan on cancel.
class PartSink final : public LineScanner::Sink, public FileLineHooks {
 public:
  PartSink(PartCount* count, const std::atomic<bool>& cancel, FileLineHooks* hooks)
      : count_(count), cancel_(cancel), hooks_(hooks) {}

  bool OnWord(BytesView word) override {
    count_->words.Add(word, nullptr);
    return cancelled();
  }
  bool Yield() override { return cancelled(); }
  void OnPiece(bool) override {}
  bool StopBeforeLine() override {
    if (hooks_ != nullptr && hooks_->StopBeforeLine()) stopped_ = true;
    return cancelled();
  }
  bool StopBeforeBlock() override {
    if (hooks_ != nullptr && hooks_->StopBeforeBlock()) stopped_ = true;
    return cancelled();
  }
  void Progress(int64_t bytes_read) override {
    if (hooks_ != nullptr) hooks_->Progress(bytes_read);
  }

  bool cancelled() const { return stopped_ || cancel_.load(std::memory_order_relaxed); }

 private:
  PartCount* count_;
  const std::atomic<bool>& cancel_;
  FileLineHooks* hooks_;
  bool stopped_ = false;  // the hooks asked to stop
};

// Refuses the words the scanner would discard: a word read off a block is
// judged once, when the part first meets it.
class DiscardGate final : public WordList::Gate {
 public:
  explicit DiscardGate(const NormaliseOptions& options) : options_(options) {}
  bool Admits(BytesView word) override { return !IsDiscarded(word, options_); }

 private:
  const NormaliseOptions& options_;
};

}  // namespace

bool IsTextToRead(int result) {
  switch (result) {
    case kStartPermissionDenied:
    case kStartUnreadable:
    case kNotText:  // not text, empty, or gone: passed over
    case kTextRtf:
    case kStartZeroLength:
    case kStartMissing:
    case kStartEmptyPath:
      return false;
    default:
      return true;
  }
}

LineEnding EndingOf(int text_result, int start_code) {
  if (text_result == kTextLf) return LineEnding::kLfOnly;
  if (text_result != kTextUnicode) return LineEnding::kCrLfOrCr;
  switch (start_code) {
    case kStartUtf16Be:
      return LineEnding::kUtf16Be;
    case kStartUtf32Be:
      return LineEnding::kUtf32Be;
    case kStartUtf32Le:
      return LineEnding::kUtf32Le;
    default:
      return LineEnding::kUtf16Le;
  }
}

bool ReadsAsUtf8(const std::string& path, const TextFileInfo& info, const std::string_view* bytes) {
  if (info.result != kStartTiny) return info.utf8;
  std::string head(4, '\0');
  if (bytes != nullptr) {
    head.assign(bytes->substr(0, 4));
  } else {
    std::ifstream in(path, std::ios::binary);
    in.read(head.data(), 4);
    head.resize(static_cast<size_t>(in.gcount()));
  }
  return IsValidUtf8(head) &&
         std::any_of(head.begin(), head.end(), [](char c) { return (c & 0x80) != 0; });
}

void CountPart(const PartSetup& setup, const FilePart& part, const std::atomic<bool>& cancel,
               PartCount* result, FileLineHooks* hooks) {
  Scanner scanner = setup.scanner;
  const std::string ext = LowerExtension(part.path);
  const FileMarkers markers = MarkersForExtension(ext, setup.allow_comment_markers);
  scanner.SetCommentMarkers(markers.markers);
  scanner.SetMarkup(markers.is_markup);
  LineScanner lines(&scanner);
  lines.SetCaseSignificant(setup.case_significant);
  // Only runs whose words reach the list one by one count in parallel.
  lines.SetBatching(true);
  // The reader and the blocks of a thread keep their buffers from part to
  // part: fresh memory costs a page fault a page.
  thread_local LineReader reader;
  thread_local BlockWords blocks;
  struct Closer {
    LineReader* reader;
    ~Closer() { reader->Close(); }
  } closer{&reader};
  if (part.bytes != nullptr) {
    reader.OpenBytes(*part.bytes, part.ending);
  } else if (!reader.Open(part.path, part.ending, &result->error)) {
    return;
  }
  result->opened = true;
  if (part.begin != 0 && !reader.Rewind(part.begin)) {
    result->error = reader.error();
    return;
  }
  reader.SetEnd(part.end);
  PartSink sink(result, cancel, hooks);
  bool decode_utf8 = part.decode_utf8;
  const bool whole = part.begin == 0 && part.end < 0;
  const bool html = whole && ext.find("htm") != std::string::npos;
  const bool byte_mode = part.ending == LineEnding::kCrLfOrCr || part.ending == LineEnding::kLfOnly;
  if (!html && byte_mode && scanner.TakesPlainRuns()) {
    const int64_t end = part.end >= 0 ? part.end : reader.Length();
    result->words.ExpectBytes(end - part.begin);
    blocks.Configure(scanner, !setup.case_significant, decode_utf8);
    DiscardGate gate(scanner.options());
    ScanFileBlocks(&reader, part.ending == LineEnding::kLfOnly, decode_utf8, &blocks,
                   &result->words, &gate, &lines, &sink, &sink);
  } else {
    ScanFileLines(&reader, html, &decode_utf8, &lines, &sink, &sink);
  }
  result->error = reader.error();
  result->cancelled = sink.cancelled();
}

void CountInKeptTable(const PartSetup& setup, const FilePart& part, const std::atomic<bool>& cancel,
                      FileLineHooks* hooks, const std::function<void(const PartCount&)>& use) {
  // A fresh table for every file would cost allocations and new pages.
  thread_local PartCount count;
  count.opened = false;
  count.error.clear();
  count.cancelled = false;
  count.words.Clear();
  // The table of a large file is not kept for the next, however the count
  // ends.
  struct Trim {
    ~Trim() {
      if (count.words.TextBytes() > kMaxKeptTableText) count.words = PartWords();
    }
  } trim;
  CountPart(setup, part, cancel, &count, hooks);
  use(count);
}

void CountPacked(const PartSetup& setup, const FilePart& part, const std::atomic<bool>& cancel,
                 PackedCount* result, FileLineHooks* hooks) {
  CountInKeptTable(setup, part, cancel, hooks, [result](const PartCount& count) {
    result->opened = count.opened;
    result->error = count.error;
    PackWords(count.words, &result->words);
  });
}

std::vector<int64_t> FindPartStarts(const std::string& path, LineEnding ending, int64_t length,
                                    int64_t part_bytes) {
  std::vector<int64_t> starts{0};
  if (part_bytes <= 0 || length <= part_bytes) return starts;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return starts;
  const bool lf_only = ending == LineEnding::kLfOnly;
  std::vector<char> window(kSearchWindow + 1);
  for (int64_t place = part_bytes; place < length; place += part_bytes) {
    if (place <= starts.back()) continue;
    // From one byte before the place, so that a CR LF across it is seen.
    const int64_t from = place - 1;
    const ssize_t got = ::pread(fd, window.data(), window.size(), from);
    if (got <= 0) break;
    const auto n = static_cast<size_t>(got);
    for (size_t k = 1; k < n; ++k) {
      if (window[k] != '\n' || (!lf_only && window[k - 1] != '\r')) continue;
      const int64_t start = from + static_cast<int64_t>(k) + 1;
      if (start < length) starts.push_back(start);
      break;
    }
  }
  ::close(fd);
  return starts;
}

}  // namespace vorn
