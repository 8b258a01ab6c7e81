#include "results/count_array.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "results/display_formats.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/output_file.h"
#include "util/paced_sort.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

constexpr std::string_view kCrLfBytes = "\r\n";

void AppendNumber(int64_t n, Bytes* out) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof(digits), n);
  out->append(digits, result.ptr);
}

// A listed entry and its row total, for the by-frequency table.
struct FrequencyRow {
  int64_t total;
  int32_t entry;
};

// Puts an entry's tallies into file order (they come in the order the files
// were first met, which in a folder run is already file order), adds up a
// file that occurs twice and drops tallies of files outside 1..columns.
// Returns the row total.
int64_t PrepareTallies(std::vector<FileTally>* tallies, int64_t columns) {
  std::vector<FileTally>& t = *tallies;
  auto by_file = [](const FileTally& a, const FileTally& b) { return a.file_index < b.file_index; };
  if (!std::is_sorted(t.begin(), t.end(), by_file)) std::stable_sort(t.begin(), t.end(), by_file);
  size_t kept = 0;
  int64_t total = 0;
  for (const FileTally& tally : t) {
    if (tally.file_index < 1 || tally.file_index > columns) continue;
    total += tally.count;
    if (kept > 0 && t[kept - 1].file_index == tally.file_index) {
      t[kept - 1].count += tally.count;
    } else {
      t[kept++] = tally;
    }
  }
  t.resize(kept);
  return total;
}

// Writes one count array. The working data (the zero cells, the column
// totals, the rows of the by-frequency table) lives only as long as the
// writer; the file, unless committed, is given up with it.
class CountArrayWriter {
 public:
  CountArrayWriter(EngineState* st, const std::tm& now)
      : st_(st),
        s_(st->settings),
        now_(now),
        columns_(static_cast<int64_t>(st->run.ScannedFilePaths.size())),
        alphabetical_(s_.CountArrayLayout != 1),
        by_frequency_(s_.CountArrayLayout == 1 || s_.CountArrayLayout == 2),
        relative_(s_.CountArrayWriteRelativeFrequency != 0),
        numerals_(s_.AllowWordsWithNumerals != 0) {}

  CountArrayOutcome Write();

 private:
  // Whether the writing ends here: the file failed, or a stop was asked.
  bool Ended() const { return error_ != 0 || st_->run.StopRequested; }

  void Put(std::string_view bytes) { buffer_.append(bytes); }
  void PutText(TextView text) { AppendWindows1252(text, &buffer_); }
  void EndLine() {
    buffer_.append(kCrLfBytes);
    if (buffer_.size() >= kFileChunk) Flush();
  }
  // Hands the gathered bytes to the file, and lets events run when due.
  void Flush();

  void WriteFileHeader();
  void WriteCountArrayHeader();
  void WriteCountArrayTotals();
  // One row: the label, a cell for every file and (with two or more files)
  // the row total. REQUIRES: tallies as PrepareTallies leaves them.
  void WriteRow(BytesView label, const std::vector<FileTally>& tallies, int64_t total);
  void WriteAlphabeticalRows();
  void WriteFrequencyRows();
  CountArrayOutcome Finish();

  EngineState* st_;
  const Settings& s_;
  std::tm now_;
  const int64_t columns_;
  const bool alphabetical_;
  const bool by_frequency_;
  const bool relative_;
  const bool numerals_;

  OutputFile file_;
  Bytes buffer_;
  int error_ = 0;

  // A zero cell as written (tab and zero text) for every column: a run of
  // zero cells is a piece of it.
  Bytes zero_cells_;
  size_t zero_cell_size_ = 0;
  std::vector<int64_t> column_totals_;
  int64_t grand_total_ = 0;
  std::vector<FrequencyRow> frequency_rows_;
  std::vector<FileTally> tallies_;
  bool text_hint_ = false;
};

void CountArrayWriter::Flush() {
  if (error_ == 0 && !buffer_.empty()) error_ = file_.Write(buffer_);
  buffer_.clear();
  st_->pacer.Check();
}

void CountArrayWriter::WriteFileHeader() {
  Put("Output from ");
  PutText(T(GetMessageText(1)));
  Put(" at ");
  Put(FormatDateTimeStamp(now_, /*on_form=*/true, /*with_seconds=*/false));
  EndLine();
  Put("showing the frequency of each word or phrase in ");
  if (columns_ == 1) {
    Put("the file ");
    PutText(PathText(st_->run.ScannedFilePaths[0]));
  } else {
    Put("the files specified by the file indices.");
  }
  EndLine();
  const ListStatistics& stats = st_->stats;
  if (stats.MaxCount > 0 && st_->words.DistinctCount() >= 2) {
    Put("Maximum frequency =");
    Put(StrForm(stats.MaxCount));
    Put("    The word or phrase '");
    PutText(stats.TopEntry);
    Put("' occurs with this frequency (there may be others).");
    EndLine();
  }
  EndLine();
}

// The legend of the file numbers and the column header row; only for two or
// more files.
void CountArrayWriter::WriteCountArrayHeader() {
  for (int64_t k = 1; k <= columns_; ++k) {
    Put("\t");
    AppendNumber(k, &buffer_);
    Put("\t");
    PutText(PathText(st_->run.ScannedFilePaths[static_cast<size_t>(k - 1)]));
    EndLine();
  }
  EndLine();
  Put("<File indices>");
  for (int64_t k = 1; k <= columns_; ++k) {
    Put("\t");
    AppendNumber(k, &buffer_);
  }
  Put("\t\tTotal");
  EndLine();
}

// With a single file the totals line is left open: whatever is written next
// continues it, and the file may end without a line break.
void CountArrayWriter::WriteCountArrayTotals() {
  EndLine();
  Put("Total");
  for (int64_t k = 1; k <= columns_; ++k) {
    Put("\t");
    AppendNumber(column_totals_[static_cast<size_t>(k)], &buffer_);
  }
  if (columns_ >= 2) {
    Put("\t\t");
    AppendNumber(grand_total_, &buffer_);
    EndLine();
  }
}

void CountArrayWriter::WriteRow(BytesView label, const std::vector<FileTally>& tallies,
                                int64_t total) {
  if (!text_hint_) NoteExcelTextColumn(label, numerals_, &text_hint_);
  Put(label);
  // The cells between two tallies are zero cells: copied as one piece, so
  // that a wide row of a rare word costs little more than its bytes.
  int64_t next = 1;
  auto zero_cells = [&](int64_t up_to) {
    if (up_to > next) {
      Put(std::string_view(zero_cells_)
              .substr(0, static_cast<size_t>(up_to - next) * zero_cell_size_));
    }
  };
  for (const FileTally& tally : tallies) {
    zero_cells(tally.file_index);
    Put("\t");
    if (relative_) {
      Put(FormatFraction(int64_t{tally.count} * 100, total, 0, /*grouping=*/true));
      Put("%");
    } else {
      AppendNumber(tally.count, &buffer_);
    }
    next = tally.file_index + 1;
  }
  zero_cells(columns_ + 1);
  if (columns_ >= 2) {
    Put("\t\t");
    AppendNumber(total, &buffer_);
  }
  EndLine();
}

// The rows in table order; also gathers the column totals and the rows of
// the by-frequency table, whether or not this table is wanted.
void CountArrayWriter::WriteAlphabeticalRows() {
  const WordList& words = st_->words;
  const int64_t n = words.DistinctCount();
  for (int64_t i = 1; i <= n && !Ended(); ++i) {
    st_->pacer.Poll();
    if (!words[i].Listed) continue;
    tallies_ = words.Files(i);
    const int64_t total = PrepareTallies(&tallies_, columns_);
    for (const FileTally& tally : tallies_) {
      column_totals_[static_cast<size_t>(tally.file_index)] += tally.count;
    }
    grand_total_ += total;
    if (by_frequency_) frequency_rows_.push_back({total, static_cast<int32_t>(i)});
    if (alphabetical_) WriteRow(words.Word(i), tallies_, total);
  }
}

void CountArrayWriter::WriteFrequencyRows() {
  const WordList& words = st_->words;
  // Decreasing total, then the word in ordinal order. Row totals may pass
  // 99,999 (many files of up to 99,999 each); they are compared as numbers.
  PacedSort(
      &frequency_rows_,
      [&words](const FrequencyRow& a, const FrequencyRow& b) {
        if (a.total != b.total) return a.total > b.total;
        const BytesView wa = words.Word(a.entry);
        const BytesView wb = words.Word(b.entry);
        if (OrdinalLess(wa, wb)) return true;
        if (OrdinalLess(wb, wa)) return false;
        return a.entry < b.entry;
      },
      &st_->pacer, SortStability::kUnstable);
  if (Ended()) return;
  if (columns_ >= 2) WriteCountArrayHeader();
  for (const FrequencyRow& row : frequency_rows_) {
    if (Ended()) return;
    st_->pacer.Poll();
    tallies_ = words.Files(row.entry);
    const int64_t total = PrepareTallies(&tallies_, columns_);
    WriteRow(TrimSpaces(words.Word(row.entry)), tallies_, total);
  }
  WriteCountArrayTotals();
}

CountArrayOutcome CountArrayWriter::Write() {
  const Bytes zero_cell = s_.CountArrayZeroCellsBlank != 0 ? "\t" : "\t0";
  zero_cell_size_ = zero_cell.size();
  zero_cells_.reserve(zero_cell.size() * static_cast<size_t>(columns_));
  for (int64_t k = 0; k < columns_; ++k) zero_cells_ += zero_cell;
  column_totals_.assign(static_cast<size_t>(columns_) + 1, 0);
  if (by_frequency_) frequency_rows_.reserve(static_cast<size_t>(st_->stats.ListedCount));

  error_ = file_.Open(s_.OutputFilePath);
  if (error_ == 0) {
    WriteFileHeader();
    if (alphabetical_ && columns_ >= 2) WriteCountArrayHeader();
    WriteAlphabeticalRows();
    if (!Ended()) {
      if (alphabetical_) WriteCountArrayTotals();
      if (s_.CountArrayLayout == 2) EndLine();
      if (by_frequency_) {
        if (alphabetical_) EndLine();
        st_->textbox.SetText(u"Now sorting ...");
        WriteFrequencyRows();
      }
    }
  }
  return Finish();
}

CountArrayOutcome CountArrayWriter::Finish() {
  if (error_ == 0 && !st_->run.StopRequested) {
    Flush();
    if (error_ == 0) error_ = file_.Commit();
  }
  if (error_ != 0) {
    file_.Discard();
    st_->textbox.OutputToTxb(T("\r\nError: " + ErrorDescription(error_)));
    return CountArrayOutcome::kFailed;
  }
  if (st_->run.StopRequested) {
    file_.Discard();
    st_->textbox.OutputToTxb(u"\r\nOutput to file was terminated.");
    return CountArrayOutcome::kStopped;
  }
  Text done = u"Excel file " + PathText(s_.OutputFilePath) +
              u" created successfully.\r\n\r\n"
              u"This file may now be read into Excel.  When opening the file\r\n"
              u"select 'Text Files', 'Delimited', 'Windows (ANSI)' and 'Tab'.";
  if (text_hint_) {
    done +=
        u"\r\n\r\nAt step 3 format the first column as 'Text' so as to left-justify any\r\n"
        u"numbers present and display the words 'true' and 'false' correctly.";
  }
  st_->textbox.SetText(done);
  return CountArrayOutcome::kWritten;
}

std::tm LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

CountArrayOutcome WriteCountArray(EngineState* st) { return WriteCountArray(st, LocalTimeNow()); }

CountArrayOutcome WriteCountArray(EngineState* st, const std::tm& now) {
  if (st->stats.ListedCount == 0) {
    NoEntriesMessage(st);
    return CountArrayOutcome::kNoEntries;
  }
  // The writer (and with it the unfinished file) is gone before a failure is
  // shown; whatever the pacer throws passes on.
  std::string failure;
  try {
    CountArrayWriter writer(st, now);
    return writer.Write();
  } catch (const std::bad_alloc&) {
    failure = ErrorDescription(ENOMEM);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  st->textbox.OutputToTxb(T("\r\nError: " + failure));
  return CountArrayOutcome::kFailed;
}

std::string FormatDateTimeStamp(const std::tm& t, bool on_form, bool with_seconds) {
  char date[32];
  char time[32];
  std::snprintf(date, sizeof(date), "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
  if (with_seconds) {
    std::snprintf(time, sizeof(time), "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  } else {
    std::snprintf(time, sizeof(time), "%02d:%02d", t.tm_hour, t.tm_min);
  }
  return on_form ? std::string(time) + " on " + date : std::string(date) + " " + time;
}

void NoteExcelTextColumn(BytesView label, bool numerals_allowed, bool* hint) {
  auto lower_equals = [label](std::string_view word) {
    if (label.size() != word.size()) return false;
    for (size_t k = 0; k < word.size(); ++k) {
      const char c = label[k];
      if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != word[k]) return false;
    }
    return true;
  };
  if (lower_equals("true") || lower_equals("false")) {
    *hint = true;
    return;
  }
  if (!numerals_allowed) return;
  const std::string_view trimmed = TrimSpaces(label);
  if (trimmed.empty()) return;
  const size_t minus = trimmed.find('-');
  const size_t plus = trimmed.find('+');
  if ((minus != std::string_view::npos && minus != 0) ||
      (plus != std::string_view::npos && plus != 0)) {
    return;
  }
  if (trimmed.find_first_not_of("0123456789-+,.") == std::string_view::npos) *hint = true;
}

}  // namespace vorn
