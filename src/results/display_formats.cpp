#include "results/display_formats.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "results/output.h"
#include "results/quick_sort.h"
#include "results/ranking.h"
#include "util/message_table.h"
#include "util/str_proc.h"

namespace vorn {

namespace {

enum class LineStyle { kTextbox, kTabs, kCommas };

constexpr TextView kSep1 = u" ";
constexpr TextView kSep2 = u"  ";
constexpr TextView kCommaSep = u",  ";
constexpr int64_t kFlushLength = 2048;

// The decimal digits of a number as characters, made without allocating.
class Digits {
 public:
  explicit Digits(int64_t n) {
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    size_ = static_cast<size_t>(end - digits);
    for (size_t k = 0; k < size_; ++k) text_[k] = static_cast<char16_t>(digits[k]);
  }
  TextView view() const { return TextView(text_, size_); }

 private:
  char16_t text_[24];
  size_t size_;
};

// Takes the spaces off the end of *line, but none before `start`.
void TrimTrailingSpacesFrom(Text* line, size_t start) {
  size_t end = line->size();
  while (end > start && (*line)[end - 1] == u' ') --end;
  line->resize(end);
}

const WordEntry& Entry(const ListingPass& pass, int64_t i) { return pass.st->words[i]; }

int Format(const ListingPass& pass) { return pass.st->settings.DisplayFormat; }

bool IsFolderSource(const EngineState& st) { return st.settings.Source == InputSource::kFolder; }

// The relative frequency of `count` as shown: two decimals, digit grouping.
Text RelativeText(int64_t count, int64_t listed_instances) {
  if (listed_instances == 0) return u"0.00";
  return Utf8ToText(FormatFraction(count * 100, listed_instances, 2, /*grouping=*/true));
}

// A base-10 logarithm with four decimals and no leading zero.
Text LogText(int64_t x) {
  const double value = x > 0 ? ZipfLog(static_cast<double>(x)) : 0.0;
  return Utf8ToText(FormatFixed(value, 4, /*grouping=*/false, /*leading_zero=*/false));
}

// Wt: the word with the spaces at both ends removed, or the header text.
Text TrimmedWord(const ListingPass& pass, int64_t i) {
  if (i == 0) return WordHeader(*pass.st);
  return DecodeWindows1252(TrimSpaces(pass.st->words.Word(i)));
}

Text FolderText(const EngineState& st) { return PathText(st.settings.FolderPath); }

// The header of formats 12 and 13: the "{Folder}" legend when the folder
// path is abbreviated.
Text FolderHeader(const EngineState& st) {
  const Text folder = FolderText(st);
  if (static_cast<int64_t>(folder.size()) <= kFolderAbbreviationMin) return Text();
  return Text(kCrLf) + u"{Folder} = " + folder + Text(kCrLf);
}

Text BuildLine(ListingPass* pass, int64_t i, LineStyle style) {
  const int format = Format(*pass);
  if (format == 8 || format == 9) return TrimmedWord(*pass, i);
  if (format == 12 || format == 13) {
    if (i == 0) return FolderHeader(*pass->st);
    return TrimmedWord(*pass, i) + Text(kCrLf) + FileListBlock(*pass, i, format == 13);
  }
  const bool tabs = style == LineStyle::kTabs;
  const bool commas = style == LineStyle::kCommas;
  // Separators: "lead" starts the line, "mid" stands between two columns.
  const TextView lead1 = tabs ? TextView() : commas ? kSep2 : kSep1;
  const TextView lead2 = tabs ? TextView() : kSep2;
  const TextView mid = tabs ? TextView(u"\t") : commas ? kCommaSep : kSep2;
  // The word column with the spaces at its end taken off.
  const auto wr = [&](Text* line) {
    const size_t start = line->size();
    AppendWordColumn(line, pass, i);
    TrimTrailingSpacesFrom(line, start);
  };
  // The line is built in one string, column after column.
  Text line;
  line.reserve(static_cast<size_t>(pass->RankWidth + pass->FreqWidth + pass->WordWidth) + 16);
  switch (format) {
    case 0:
      line += lead1;
      AppendRankColumn(&line, *pass, i);
      line += mid;
      AppendFrequencyColumn(&line, *pass, i);
      line += mid;
      wr(&line);
      break;
    case 1: {
      line += lead1;
      AppendRankColumn(&line, *pass, i);
      line += mid;
      AppendWordColumn(&line, pass, i);
      if (!tabs && !commas) line += kSep2;
      AppendFrequencyColumn(&line, *pass, i);
      break;
    }
    case 2:
      line += lead1;
      AppendRankColumn(&line, *pass, i);
      line += mid;
      AppendFrequencyColumn(&line, *pass, i);
      break;
    case 3:
      line += lead1;
      AppendRankColumn(&line, *pass, i);
      line += mid;
      wr(&line);
      break;
    case 4:
      line += lead1;
      AppendFrequencyColumn(&line, *pass, i);
      line += mid;
      AppendRankColumn(&line, *pass, i);
      break;
    case 5:
      line += lead2;
      AppendFrequencyColumn(&line, *pass, i);
      line += mid;
      wr(&line);
      break;
    case 6:
      line += lead2;
      AppendWordColumn(&line, pass, i);
      if (!tabs && !commas) line += kSep1;
      AppendRankColumn(&line, *pass, i);
      break;
    case 7:
      line += lead2;
      AppendWordColumn(&line, pass, i);
      if (!tabs && !commas) line += kSep1;
      AppendFrequencyColumn(&line, *pass, i);
      break;
    case 10:
      line += lead1;
      AppendRankColumn(&line, *pass, i);
      line += mid;
      AppendFrequencyColumn(&line, *pass, i);
      line += mid;
      AppendLogRankColumn(&line, *pass, i);
      line += mid;
      AppendLogFrequencyColumn(&line, *pass, i);
      line += mid;
      wr(&line);
      break;
    case 11: {
      const TextView sep = tabs ? TextView(u"\t") : kSep1;
      line += lead2;
      AppendWordColumn(&line, pass, i);
      line += sep;
      AppendFrequencyColumn(&line, *pass, i);
      line += sep;
      AppendFilesColumn(&line, pass, i);
      break;
    }
    default:
      break;
  }
  return line;
}

// Format 13: the word line first, then the file lines by descending count.
Text SortFileLines(const ListingPass& pass, const Text& line) {
  const bool relative = ShowRelativeFrequency(pass.st->settings);
  std::vector<Text> pieces;
  size_t start = 0;
  while (start <= line.size()) {
    size_t end = line.find(kCrLf, start);
    if (end == Text::npos) end = line.size();
    if (end > start) pieces.emplace_back(line.substr(start, end - start));
    start = end + kCrLf.size();
  }
  for (Text& piece : pieces) {
    if (relative) {
      piece.insert(0, u"  ");
      continue;
    }
    const size_t p = piece.find(u' ');
    if (p == Text::npos) continue;
    // The text before the first space is right-aligned to four characters;
    // a longer one (a five-digit count) is kept whole rather than cut.
    piece = RightJustify(TextView(piece).substr(0, p), 4) + piece.substr(p);
  }
  if (!pieces.empty()) {
    QuickSortDescending(&pieces, 0, static_cast<int64_t>(pieces.size()) - 1, 1);
  }
  Text joined;
  for (const Text& piece : pieces) {
    joined += piece;
    joined += kCrLf;
  }
  return joined;
}

// Hands the gathered bytes of a file pass to its sink.
void FlushFile(ListingPass* pass) {
  if (pass->FileError == 0 && !pass->FileBuffer.empty()) {
    pass->FileError = pass->file->Write(pass->FileBuffer);
  }
  pass->FileBuffer.clear();
}

void Emit(ListingPass* pass, int64_t i, Text line) {
  const int format = Format(*pass);
  if (format == 9 && i == 0) return;
  if (pass->ToFile()) {
    Bytes& out = pass->FileBuffer;
    if (format == 9) {
      if (pass->wrote_list_entry) out += ", ";
      AppendWindows1252(line, &out);
      pass->wrote_list_entry = true;
    } else {
      AppendWindows1252(format == 8 ? TrimSpaces(line) : TextView(line), &out);
      out += "\r\n";
    }
    if (out.size() >= kFileChunk) FlushFile(pass);
    return;
  }
  Textbox& box = pass->st->textbox;
  Text& buffer = pass->OutputBuffer;
  if (static_cast<int64_t>(buffer.size()) < kOutputLimit) {
    if (format == 9) {
      buffer += line;
      buffer += u", ";
    } else {
      buffer += format == 8 ? TrimSpaces(line) : TextView(line);
      buffer += kCrLf;
    }
  }
  box.OutputAborted = static_cast<int64_t>(buffer.size()) >= kOutputLimit;
  if (static_cast<int64_t>(buffer.size()) > kFlushLength && !box.OutputAborted) {
    if (!box.Append(buffer)) pass->textbox_refused = true;
    buffer.clear();
  }
}

// After each entry of the walk: polls the pacer (which lets events run now
// and then), and tells whether the walk ends here (a stop was asked, or
// nothing more can reach the results box).
bool WalkEnds(ListingPass* pass) {
  EngineState* st = pass->st;
  st->pacer.Poll();
  if (st->run.StopRequested) return true;
  if (pass->ToFile()) return pass->FileError != 0;
  return pass->textbox_refused || st->textbox.OutputAborted;
}

void RunListing(ListingPass* pass, bool alphabetical) {
  EngineState* st = pass->st;
  pass->OutputBuffer.clear();
  pass->FileBuffer.clear();
  pass->FileError = 0;
  pass->wrote_list_entry = false;
  pass->textbox_refused = false;
  if (pass->touch_textbox) st->textbox.OutputAborted = false;
  if (IsFolderSource(*st)) pass->OutputBuffer = ScannedFilesSummary(*st);
  ComputeColumnWidths(pass);
  if (pass->touch_textbox) st->textbox.SetText(pass->OutputBuffer);
  pass->OutputBuffer.clear();

  const int64_t n = st->words.DistinctCount();
  if (alphabetical) {
    for (int64_t i = 1; i <= n; ++i) {
      if (st->words[i].Listed) DisplayNextLine(pass, i);
      if (WalkEnds(pass)) break;
    }
  } else {
    int64_t i = st->stats.ChainHead;
    for (int64_t k = 0; k < st->stats.ListedCount; ++k) {
      if (i < 1 || i > n) break;  // the chain ended early
      DisplayNextLine(pass, i);
      i = st->words[i].NextInChain;
      if (WalkEnds(pass)) break;
    }
  }

  Text& buffer = pass->OutputBuffer;
  if (alphabetical && buffer.size() >= 2 && buffer.compare(buffer.size() - 2, 2, u", ") == 0) {
    buffer.replace(buffer.size() - 2, 2, kCrLf);
  }
  if (pass->touch_textbox) {
    if (!buffer.empty()) st->textbox.Append(buffer);
    st->textbox.Repaint(Caret::kStart);
  }
  buffer.clear();
  if (pass->ToFile()) FlushFile(pass);
  if (!pass->ToFile() && st->textbox.OutputAborted) {
    ReportError(st, "ListWords", -7, "Insufficient memory");
  }
}

}  // namespace

bool RelativeFrequencyAvailable(int format) {
  switch (format) {
    case 0:
    case 1:
    case 2:
    case 4:
    case 5:
    case 7:
    case 11:
    case 13:
      return true;
    default:
      return false;
  }
}

bool ShowRelativeFrequency(const Settings& s) {
  return s.DisplayRelativeFrequency != 0 && RelativeFrequencyAvailable(s.DisplayFormat);
}

std::string DisplayFormatName(int i) { return GetMessageText(51 + i); }

Text WordHeader(const EngineState& st) {
  if (st.listing.AllPhrases) return u"Phrase";
  if (st.run.CountOnlyMode && st.run.PhrasesInCountOnly) return u"Word or phrase";
  return u"Word";
}

void AppendRankColumn(Text* line, const ListingPass& pass, int64_t i) {
  if (i == 0) {
    AppendRightJustified(line, u"Rank", pass.RankWidth);
  } else {
    AppendRightJustified(line, Digits(Entry(pass, i).Rank).view(), pass.RankWidth);
  }
}

void AppendFrequencyColumn(Text* line, const ListingPass& pass, int64_t i) {
  const bool relative = ShowRelativeFrequency(pass.st->settings);
  if (i == 0) {
    AppendRightJustified(line, relative ? u"Rel freq" : u"Freq", pass.FreqWidth);
  } else if (relative) {
    AppendRightJustified(line,
                         RelativeText(Entry(pass, i).Count, pass.st->stats.ListedInstances) + u"%",
                         pass.FreqWidth);
  } else {
    AppendRightJustified(line, Digits(Entry(pass, i).Count).view(), pass.FreqWidth);
  }
}

void AppendWordColumn(Text* line, ListingPass* pass, int64_t i) {
  const EngineState& st = *pass->st;
  const size_t start = line->size();
  if (i == 0) {
    const Text header = WordHeader(st);
    pass->WordWidth = std::max(pass->WordWidth, static_cast<int64_t>(header.size()));
    *line += header;
  } else {
    const BytesView word = TrimSpaces(st.words.Word(i));
    line->resize(start + word.size());
    char16_t* out = line->data() + start;
    for (const char c : word) *out++ = Windows1252ToChar(static_cast<uint8_t>(c));
  }
  const auto pad = [&] {
    const auto width = static_cast<int64_t>(line->size() - start);
    if (width < pass->WordWidth) line->append(static_cast<size_t>(pass->WordWidth - width), u' ');
  };
  if (!pass->ToFile()) return pad();
  if (st.listing.AllPhrases) {
    *line += u'\t';
    return;
  }
  const int format = st.settings.DisplayFormat;
  if (st.settings.OutputWithCommas && (format == 1 || format == 6 || format == 7)) {
    TrimTrailingSpacesFrom(line, start);
    *line += u", ";
    return;
  }
  pad();
}

void AppendFilesColumn(Text* line, ListingPass* pass, int64_t i) {
  EngineState* st = pass->st;
  const bool by_files = st->settings.SortByNumberOfFiles != 0;
  if (i == 0) {
    *line += by_files ? u" Files   File freq" : u" Files";
    return;
  }
  const int64_t file_count = st->words.FileCount(i);
  const Text files = Utf8ToText(StrForm(file_count));
  if (!by_files) return AppendRightJustified(line, files, 5);
  // The file frequency: the share of the scanned files that hold the entry.
  const int64_t scanned = st->run.FilesScanned;
  const std::string freq =
      scanned > 0 ? FormatFraction(file_count, scanned, 3, /*grouping=*/false) : "0.000";
  AppendRightJustified(line, files + u"    " + Utf8ToText(freq), 14);
}

void AppendLogRankColumn(Text* line, const ListingPass& pass, int64_t i) {
  AppendRightJustified(line, i == 0 ? Text(u"L10(R)") : LogText(Entry(pass, i).Rank),
                       pass.RankWidth);
}

void AppendLogFrequencyColumn(Text* line, const ListingPass& pass, int64_t i) {
  Text value = i == 0 ? Text(u"L10(F)") : LogText(Entry(pass, i).Count);
  if (value.size() > 8) value.resize(8);
  AppendRightJustified(line, value, pass.FreqWidth);
}

Text FileListBlock(const ListingPass& pass, int64_t i, bool with_frequency) {
  const EngineState& st = *pass.st;
  const bool relative = with_frequency && ShowRelativeFrequency(st.settings);
  const Text folder = FolderText(st);
  const bool abbreviate = static_cast<int64_t>(folder.size()) > kFolderAbbreviationMin;
  const std::vector<std::string>& paths = st.run.ScannedFilePaths;
  Text block;
  for (const FileTally& tally : st.words.Files(i)) {
    // An entry may hold thousands of files.
    pass.st->pacer.Poll();
    if (!with_frequency) {
      block += u"    ";
    } else if (relative) {
      // Kept whole when longer than five characters (100.00).
      block += RightJustify(RelativeText(tally.count, st.stats.ListedInstances), 5);
      block += u"% ";
    } else {
      AppendRightJustified(&block, Digits(tally.count).view(), 5);
      block += u" ";
    }
    Text path;
    if (tally.file_index >= 1 && static_cast<size_t>(tally.file_index) <= paths.size()) {
      path = PathText(paths[static_cast<size_t>(tally.file_index) - 1]);
    }
    if (abbreviate) {
      block += u"{Folder}";
      if (path.size() > folder.size()) block += TextView(path).substr(folder.size());
    } else {
      block += path;
    }
    block += kCrLf;
  }
  return block;
}

void ComputeColumnWidths(ListingPass* pass) {
  const EngineState& st = *pass->st;
  const int64_t min_width = st.listing.MinColumnWidth;
  pass->RankWidth = static_cast<int64_t>(Trimmed(st.stats.ListedCount).size());
  if (ShowRelativeFrequency(st.settings)) {
    pass->FreqWidth =
        static_cast<int64_t>(RelativeText(st.stats.MaxCount, st.stats.ListedInstances).size() + 1);
  } else {
    pass->FreqWidth = static_cast<int64_t>(Trimmed(st.stats.MaxCount).size());
  }
  pass->WordWidth = st.stats.LongestEntryLength;
  pass->RankWidth = std::max(pass->RankWidth, min_width);
  pass->FreqWidth = std::max(pass->FreqWidth, min_width);
  pass->WordWidth = std::max(pass->WordWidth, min_width);
  DisplayNextLine(pass, 0);
}

Text FormatLineForTextbox(ListingPass* pass, int64_t i) {
  return BuildLine(pass, i, LineStyle::kTextbox);
}

Text FormatLineWithTabs(ListingPass* pass, int64_t i) {
  return BuildLine(pass, i, LineStyle::kTabs);
}

Text FormatLineWithCommas(ListingPass* pass, int64_t i) {
  return BuildLine(pass, i, LineStyle::kCommas);
}

void DisplayNextLine(ListingPass* pass, int64_t i) {
  EngineState* st = pass->st;
  const int format = st->settings.DisplayFormat;
  Text line;
  if (!pass->ToFile()) {
    line = FormatLineForTextbox(pass, i);
  } else if (st->settings.OutputWithCommas) {
    line = FormatLineWithCommas(pass, i);
  } else {
    line = FormatLineWithTabs(pass, i);
  }
  if (format == 13 && i != 0 && !line.empty()) line = SortFileLines(*pass, line);
  if (i == 0) {
    line = st->listing.HeaderPrefix + line;
    if (format == 0 || format == 3 || format == 5 || format == 8 || format == 9) {
      line = Text(TrimTrailingSpaces(line)) + u" [longest has" +
             Utf8ToText(StrForm(st->stats.LongestEntryLength)) + u" characters]";
    }
  }
  Emit(pass, i, std::move(line));
}

void ListWordsAlphabetically(ListingPass* pass) { RunListing(pass, /*alphabetical=*/true); }

void ListWordsByFrequency(ListingPass* pass) { RunListing(pass, /*alphabetical=*/false); }

Text ScannedFilesSummary(const EngineState& st) {
  const int64_t files = st.run.FilesScanned;
  const int64_t folders = st.run.FolderCount;
  std::string s = Grouped(files) + " file" + (files > 1 ? "s" : "") + " (in " + Grouped(folders) +
                  " folder" + (folders > 1 ? "s" : "") + (files == 1 ? ") was" : ") were") +
                  " scanned.\r\n";
  if (st.run.Interrupted) s += "Counting was stopped and this list is incomplete.\r\n";
  s += "Number of words in this list: " + StrForm(st.stats.ListedCount) + "\r\n";
  s += "Number of instances of words in this list: " + StrForm(st.stats.ListedInstances) +
       "\r\n\r\n";
  return Utf8ToText(s);
}

}  // namespace vorn
