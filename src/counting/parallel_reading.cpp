// The engine's parallel reading: a large single file counted in parts, and
// the files of a folder run counted ahead, on worker threads. The workers'
// tables are merged on the engine's thread in file and part order, which
// makes the word list what a run on one thread makes: the same entries,
// counts, file tallies and order of first occurrence. While it waits for a
// worker, the engine goes on letting the window's events run.

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "counting/engine.h"
#include "counting/packed_words.h"
#include "counting/word_lists.h"
#include "input/docx.h"
#include "util/file_proc.h"
#include "words/comment_markers.h"
#include "words/normalise.h"

namespace vorn {

namespace {

// The parts of a large file: about half of a thread's share of the file
// each, within these bounds. Smaller parts share the work out more
// evenly; larger ones leave less to merge.
constexpr int64_t kMinPartBytes = int64_t{4} << 20;
constexpr int64_t kMaxPartBytes = int64_t{32} << 20;
// A single file of at least this many bytes is counted in parts (one part
// when it is small): a part's words are found a block at a time, and its
// table is merged once per distinct word.
constexpr int64_t kMinCountedInParts = int64_t{1} << 20;
// A part with more than one new entry in this many words is mostly
// distinct words.
constexpr int64_t kMostlyDistinct = 4;
// The engine reads about this much of the first part (at most half of it)
// before the workers begin: text of mostly distinct words is then read on
// one thread from the start, with no worker taking a core from it. Fewer
// words than kProbeWords tell nothing yet.
constexpr int64_t kProbeBytes = int64_t{1} << 20;
constexpr int64_t kProbeWords = 4096;
// A folder run's files go to the workers in runs of at most this many files
// and, but for a run's last file, fewer bytes.
constexpr size_t kRunFiles = 16;
constexpr int64_t kRunBytes = int64_t{256} << 10;

}  // namespace

WorkerPool* Engine::Pool() {
  if (pool_ == nullptr || pool_asked_ != threads_ - 1) {
    pool_.reset();  // its threads end before others start
    pool_asked_ = threads_ - 1;
    pool_ = std::make_unique<WorkerPool>(pool_asked_);
  }
  return pool_.get();
}

template <typename Result>
bool Engine::AwaitFront(WorkerGroup<Result>* group) {
  while (!group->work.FrontReady(std::chrono::milliseconds(0))) {
    if (group->pool.RunPending()) {
      // What the window asked while the task ran here is acted on now; its
      // result waits for its turn.
      if (st_.Abandoning) throw RunAbandoned{};
    } else if (!group->work.FrontReady(kWorkerWaitStep)) {
      st_.pacer.Check();
    }
    if (st_.run.StopRequested) return false;
  }
  return true;
}

// The files of a folder run's reading pass, looked at and counted by the
// workers a few files ahead of the one being merged, and by the engine
// while the next one is not ready (a run on n threads has n - 1 workers).
// Consecutive small files go to a worker together, so that the handing
// over costs the engine's thread little per file. The smallest files are
// the engine's to count as it merges; a worker that has looked at a run
// and has nothing else to do counts them too, from the run's last file
// back, and the engine takes the count of each one it reaches that a
// worker has begun.
class Engine::FolderAhead {
 public:
  // Who took a small file offered to the workers (FileAhead::claim, 0 for a
  // file not offered): none yet, a worker, the worker who has its count, or
  // the engine.
  static constexpr uint8_t kClaimOpen = 1;
  static constexpr uint8_t kClaimWorker = 2;
  static constexpr uint8_t kClaimCounted = 3;
  static constexpr uint8_t kClaimEngine = 4;

  explicit FolderAhead(Engine* e)
      : engine_(e),
        setup_(e->MakePartSetup()),
        workers_(e->Pool()),
        window_(static_cast<size_t>(e->threads_) + 2) {}
  ~FolderAhead() {
    // The work not begun is dropped, the looking begun ends (and with it
    // the offers of help), and then the help begun, before the files it
    // counts go.
    workers_.Abandon();
    workers_.pool.DropPending();
    std::weak_ptr<void> helping = help_token_;
    help_token_.reset();
    while (!helping.expired()) std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  FolderAhead(const FolderAhead&) = delete;
  FolderAhead& operator=(const FolderAhead&) = delete;

  // What the workers (or the engine) found for the next file of the pass
  // (files are taken in order); null when a stop was asked for while
  // waiting.
  FileAhead* TakeNext() {
    if (run_ == nullptr || taken_ == run_->size()) {
      if (run_ != nullptr) taken_runs_.push_back(std::move(run_));
      Post();
      if (!engine_->AwaitFront(&workers_)) return nullptr;
      run_ = workers_.work.TakeFront();
      taken_ = 0;
      Post();
    }
    FileAhead* next = (*run_)[taken_++].get();
    uint8_t open = kClaimOpen;
    if (!next->claim.compare_exchange_strong(open, kClaimEngine, std::memory_order_acquire)) {
      // A worker counts it, or has: the engine takes its count.
      while (next->claim.load(std::memory_order_acquire) == kClaimWorker) {
        std::this_thread::yield();
      }
    }
    return next;
  }

 private:
  using Run = std::vector<std::unique_ptr<FileAhead>>;

  void Post() {
    const auto& files = engine_->folder_files_;
    while (next_ < files.size() && workers_.work.pending() < window_) {
      // A run of small files, or a large file on its own.
      size_t end = next_;
      int64_t bytes = 0;
      while (end < files.size() && end - next_ < kRunFiles && bytes < kRunBytes) {
        bytes += std::max<int64_t>(files[end].stamp.size, 0);
        ++end;
      }
      workers_.work.Post([this, first = next_, end, freed = std::move(taken_runs_)]() mutable {
        // What a worker allocated is best freed by it: two threads freeing
        // each other's memory wait for each other's locks.
        freed.clear();
        return LookAtRun(first, end);
      });
      taken_runs_.clear();
      next_ = end;
    }
  }

  // On a worker (or the engine): what the reading pass would find out about
  // files [first, end). A worker then offers to count the small files.
  std::shared_ptr<Run> LookAtRun(size_t first, size_t end) {
    auto run = std::make_shared<Run>();
    run->reserve(end - first);
    bool offered = false;
    for (size_t i = first; i < end; ++i) {
      run->push_back(Look(engine_->folder_files_[i]));
      offered = offered || run->back()->claim.load(std::memory_order_relaxed) == kClaimOpen;
    }
    if (offered && std::this_thread::get_id() != engine_thread_) {
      workers_.pool.Post([this, run, first, token = help_token_] { Help(*run, first); });
    }
    return run;
  }

  // On a worker with nothing else to do: counts the small files of a run
  // that the engine has not reached, the last first.
  void Help(const Run& run, size_t first) const {
    // The engine, waiting for a run, rather looks at the next: it counts
    // these files itself when it reaches them.
    if (std::this_thread::get_id() == engine_thread_) return;
    for (size_t k = run.size(); k-- > 0 && !workers_.cancel;) {
      FileAhead& found = *run[k];
      uint8_t open = kClaimOpen;
      if (found.claim.compare_exchange_strong(open, kClaimWorker, std::memory_order_relaxed)) {
        found.count = Count(engine_->folder_files_[first + k], found);
        found.claim.store(kClaimCounted, std::memory_order_release);
      } else if (open == kClaimEngine) {
        return;  // the engine has reached the run
      }
    }
  }

  // On a worker (or the engine): what the reading pass would find out about
  // the file, and its words when it is text.
  std::unique_ptr<FileAhead> Look(const FolderFile& file) const {
    auto found = std::make_unique<FileAhead>();
    found->stamp = StampOf(file.path);
    if (found->stamp.size < 0 || workers_.cancel) return found;
    found->document = IsDocx(file.path);
    const bool unchanged = found->stamp == file.stamp;
    found->info = unchanged || found->document ? file.info : IsTextFile(file.path);
    if (found->document || !IsTextToRead(found->info.result)) return found;
    // A small kept file is offered: the engine reads it as it merges, unless
    // a worker with nothing else to do counts it first.
    if (ReadsWordByWord(file.KeptBytes(found->stamp))) {
      found->claim.store(kClaimOpen, std::memory_order_relaxed);
      return found;
    }
    found->count = Count(file, *found);
    return found;
  }

  // The words of a text file, counted on a worker (or the engine).
  std::unique_ptr<PackedCount> Count(const FolderFile& file, const FileAhead& found) const {
    const std::string_view* bytes = file.KeptBytes(found.stamp);
    const FilePart part{
        file.path,
        EndingOf(found.info.result, found.info.start_code),
        ReadsAsUtf8(file.path, found.info, bytes) || found.info.result == kTextUnicode,
        0,
        -1,
        bytes};
    // On the engine's thread the window's events run between lines.
    std::optional<LineHooks> hooks;
    if (std::this_thread::get_id() == engine_thread_) {
      hooks.emplace(engine_, false, part.ending == LineEnding::kLfOnly, found.stamp.size);
    }
    auto count = std::make_unique<PackedCount>();
    CountPacked(setup_, part, workers_.cancel, count.get(), hooks ? &*hooks : nullptr);
    return count;
  }

  Engine* engine_;
  const std::thread::id engine_thread_ = std::this_thread::get_id();
  const PartSetup setup_;
  WorkerGroup<std::shared_ptr<Run>> workers_;
  // Held by every help task posted: gone once the help has ended.
  std::shared_ptr<void> help_token_ = std::make_shared<int>(0);
  const size_t window_;       // runs posted and not yet taken, at most
  size_t next_ = 0;           // the first file not yet posted
  std::shared_ptr<Run> run_;  // the run being taken, and how far
  size_t taken_ = 0;
  std::vector<std::shared_ptr<Run>> taken_runs_;  // for the next task to free
};

void Engine::FolderAheadEnd::operator()(FolderAhead* ahead) const { delete ahead; }

std::unique_ptr<Engine::FolderAhead, Engine::FolderAheadEnd> Engine::StartFolderAhead() {
  if (!CountsInParallel()) return nullptr;
  return std::unique_ptr<FolderAhead, FolderAheadEnd>(new FolderAhead(this));
}

Engine::FileAhead* Engine::TakeNextAhead(FolderAhead* ahead) { return ahead->TakeNext(); }

bool Engine::LineEndsMeanNothing() const {
  const CountRun& run = st_.run;
  return !run.AllPhrasesMode && !run.ReadingWordLists &&
         !(run.CountOnlyMode && run.MaxPhraseWords > 1) && st_.settings.SuppressWords != 0;
}

bool Engine::CountsInParts() const {
  return !word_by_word_ && LineEndsMeanNothing() && !ListsMayMeetProblems(st_);
}

bool Engine::CountsInParallel() const { return threads_ > 1 && CountsInParts(); }

PartSetup Engine::MakePartSetup() const {
  PartSetup setup;
  setup.scanner = scanner_;
  setup.case_significant = st_.settings.CaseSignificant != 0;
  setup.allow_comment_markers = st_.settings.AllowCommentMarkers != 0;
  return setup;
}

bool Engine::CanCountInParts(const std::string& path, LineEnding ending, int64_t length) const {
  const Settings& s = st_.settings;
  const int64_t min_length = part_bytes_ > 0 ? 2 * part_bytes_ : kMinCountedInParts;
  if (s.Source != InputSource::kSingleFile || length < min_length || !CountsInParts()) {
    return false;
  }
  // Parts begin at line ends: no comment, HTML head or long line of
  // another text encoding may run across them.
  if (ending != LineEnding::kCrLfOrCr && ending != LineEnding::kLfOnly) return false;
  const std::string ext = LowerExtension(path);
  if (ext.find("htm") != std::string::npos) return false;
  const FileMarkers markers = MarkersForExtension(ext, s.AllowCommentMarkers != 0);
  return markers.markers.empty() && !markers.is_markup;
}

Engine::ReadResult Engine::ReadInParts(const std::string& path, LineEnding ending, bool decode_utf8,
                                       int64_t length, bool show_progress) {
  const int64_t part_bytes =
      part_bytes_ > 0 ? part_bytes_
                      : std::clamp(length / (int64_t{2} * threads_), kMinPartBytes, kMaxPartBytes);
  std::vector<int64_t> starts = FindPartStarts(path, ending, length, part_bytes);
  const auto end_of = [&](size_t k) { return k + 1 < starts.size() ? starts[k + 1] : -1; };
  const PartSetup setup = MakePartSetup();
  using Counted = std::shared_ptr<PartCount>;
  // The workers count the parts, and so does the engine when the next part
  // to merge has not begun: a run on n threads has n - 1 workers, and on
  // one thread the engine counts every part itself, in order. A part
  // counted here lets the window's events run.
  WorkerGroup<Counted> w(Pool());
  const std::thread::id engine_thread = std::this_thread::get_id();
  LineHooks hooks(this, show_progress, ending == LineEnding::kLfOnly, length);
  const auto count = [&setup, &cancel = w.cancel, &hooks, engine_thread](const FilePart& part) {
    auto counted = std::make_shared<PartCount>();
    const bool here = std::this_thread::get_id() == engine_thread;
    CountPart(setup, part, cancel, counted.get(), here ? &hooks : nullptr);
    return counted;
  };
  // At most one more part is posted at a time than there are threads.
  const size_t window = static_cast<size_t>(threads_) + 1;
  size_t next = 0;
  const auto post = [&] {
    for (; next < starts.size() && w.work.pending() < window; ++next) {
      const FilePart part{path, ending, decode_utf8, starts[next], end_of(next)};
      w.work.Post([&count, part] { return count(part); });
    }
  };
  // The beginning of the file is counted here, while the workers begin on
  // the parts: text of mostly distinct words is read on from there by the
  // engine alone.
  const int64_t distinct_before = st_.words.DistinctCount();
  const int64_t read_before = st_.run.WordsRead;
  const auto mostly_distinct = [&] {
    const int64_t distinct = st_.words.DistinctCount() - distinct_before;
    return distinct * kMostlyDistinct > st_.run.WordsRead - read_before;
  };
  const int64_t first_end = end_of(0) < 0 ? length : end_of(0);
  const int64_t probe_bytes = std::min(kProbeBytes, first_end / 2);
  const std::vector<int64_t> probe = FindPartStarts(path, ending, 2 * probe_bytes, probe_bytes);
  if (probe.size() > 1 && probe[1] < first_end) {
    // The workers begin on the parts after it meanwhile.
    starts[0] = probe[1];
    post();
    Counted begun = count(FilePart{path, ending, decode_utf8, 0, probe[1]});
    if (!begun->opened) return ReadResult{false, begun->error};
    if (st_.run.StopRequested) return ReadResult{true, ""};
    MergePart(*begun);
    if (!begun->error.empty()) return ReadResult{true, begun->error};
    begun.reset();
    if (st_.run.WordsRead - read_before >= kProbeWords && mostly_distinct()) {
      // What the workers counted ahead is given back before the rest is read.
      w.Abandon();
      return ReadRange(path, ending, decode_utf8, FileRange{probe[1], -1, length, show_progress});
    }
  } else if (starts.size() == 1) {
    // A file with no line end to cut it at is read here as it goes: its
    // words are listed as they are found.
    return ReadRange(path, ending, decode_utf8, FileRange{0, -1, length, show_progress});
  } else {
    post();
  }
  for (size_t merged = 0; merged < starts.size(); ++merged) {
    // A stop drops the part it came in.
    if (!AwaitFront(&w)) return ReadResult{true, ""};
    Counted part = w.work.TakeFront();
    if (!part->opened) return ReadResult{merged > 0 || starts[0] > 0, part->error};
    MergePart(*part);
    if (!part->error.empty()) return ReadResult{true, part->error};
    part.reset();  // its table is done with
    if (merged == 0 && starts.size() > 1 && mostly_distinct()) {
      // What the workers counted ahead is given back before the rest is read.
      w.Abandon();
      return ReadRange(path, ending, decode_utf8, FileRange{starts[1], -1, length, show_progress});
    }
    if (show_progress) {
      const int64_t done = end_of(merged) < 0 ? length : end_of(merged);
      ShowFileProgress(done, length, ending == LineEnding::kLfOnly);
    }
    if (Yield()) break;
    post();
  }
  return ReadResult{true, ""};
}

Engine::ReadResult Engine::MergeCountedFile(const PackedCount& counted) {
  if (!counted.opened) return ReadResult{false, counted.error};
  ForEachPackedWord(counted.words, [this](BytesView word, int64_t count) {
    st_.pacer.Poll();
    if (count != 0) MergeWord(word, count);
  });
  return ReadResult{true, counted.error};
}

bool Engine::CountsInTableHere(const std::string_view* bytes) const {
  return table_setup_ != nullptr && !ReadsWordByWord(bytes);
}

Engine::ReadResult Engine::CountInTableHere(const std::string& path, LineEnding ending,
                                            bool decode_utf8, const FileRange& range) {
  static const std::atomic<bool> kNoCancel{false};
  LineHooks hooks(this, range.show_progress, ending == LineEnding::kLfOnly, range.length);
  ReadResult result;
  CountInKeptTable(*table_setup_, FilePart{path, ending, decode_utf8, 0, -1, range.bytes},
                   kNoCancel, &hooks, [&](const PartCount& count) {
                     result = ReadResult{count.opened, count.error};
                     // A stop keeps the words counted before it, as the word
                     // by word reading does.
                     if (count.opened) MergePart(count);
                   });
  return result;
}

void Engine::MergePart(const PartCount& part) {
  part.words.ForEachEntryInOrder([this](BytesView word, int64_t count) {
    st_.pacer.Poll();
    // A word the part refused was discarded: it was never read.
    if (count != 0) MergeWord(word, count);
  });
}

// As OnWord for `count` occurrences of one word, in a run that counts in
// parallel: no phrase window, no expression that may fail.
void Engine::MergeWord(BytesView word, int64_t count) {
  CountRun& run = st_.run;
  run.WordsRead += count;
  if (st_.settings.Only7bitASCII && !IsAll7bit(word)) return;
  if (static_cast<int64_t>(word.size()) > kMaxWordLength) return;
  WordList::Gate* gate = run.CountOnlyMode ? static_cast<WordList::Gate*>(&count_only_gate_)
                         : run.IgnoreMode  ? &ignore_gate_
                                           : nullptr;
  if (st_.words.AddGatedCount(word, run.CurrentFileIndex, count, gate) == WordList::Gated::kNew) {
    NewEntry(word);
  }
}

}  // namespace vorn
