// Runs on several threads against runs on one: a large single file counted
// in small parts, and folders of files of every kind, must give the same
// output file, results box and labels; a stopped run lists the words of the
// parts it merged, as a run over just that beginning of the file would.
// The engine reads the first part of a large file itself, the workers the
// others; on one thread the engine counts those into tables of their own
// too.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "counting/engine.h"
#include "counting/part_count.h"
#include "support/scripted_host.h"
#include "support/test_files.h"
#include "util/text.h"

namespace vorn {
namespace {

// Text of words and of the characters that the scanner treats specially:
// hyphens, brackets, apostrophes, accented letters, UTF-8-looking bytes,
// tabs, backspaces and every kind of line end.
std::string MixedText(uint32_t seed, size_t bytes, const std::string& line_end) {
  std::mt19937 rng(seed);
  static const std::vector<std::string> kPieces = {
      "the",   "The",   "cat",  "and",    "dog's",   "co-op",     "a--b",
      "<b>",   "x<y>z", "e.g.", "(note)", "caf\xE9", "\xC9t\xE9", "na\xEFve",
      "1999",  "r2d2",  "--",   "'tis",   "word.",   "word,",     "\t",
      "\b",    "-",     "<!--", "-->",    "&amp;",   "\xA0",      "\x93q\x94",
      "ab\bc", "zz",    "Ab",   "ab",     "\xC3\xA9"};
  std::string text;
  while (text.size() < bytes) {
    const uint32_t r = rng() % 100;
    if (r < 8) {
      text += line_end;
    } else if (r < 10) {
      text += rng() % 2 ? "\r" : "\n";
    } else {
      text += kPieces[rng() % kPieces.size()];
      text += rng() % 5 ? " " : "";
    }
  }
  return text;
}

// What a run shows: the output file, the results box and the labels.
struct Shown {
  RunOutcome outcome;
  std::string output;
  std::string box;
  std::vector<std::string> labels;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) { *os << s.box.substr(0, 2000); }

class ParallelCountTest : public ::testing::Test {
 protected:
  // Counts with `threads` threads, parts of `part_bytes` for a single file
  // (!in_parts: every word goes into the list as it is read, the
  // reference); `setup` changes the settings first.
  Shown Count(int threads, const std::function<void(Settings*)>& setup = nullptr,
              bool in_parts = true) {
    ScriptedHost host;
    Engine engine(&host);
    engine.SetEventThrottle(throttle_words, std::chrono::milliseconds(0));
    engine.SetThreads(threads);
    engine.SetPartBytes(part_bytes);
    engine.SetWordByWord(!in_parts);
    Settings& s = engine.settings();
    s.Source = source;
    s.InputFilePath = input;
    s.FolderPath = input;
    s.IncludeSubfolders = 1;
    s.OutputFilePath = out.File("out" + std::to_string(threads) + ".txt");
    s.DisableOutputToFile = 0;
    if (setup) setup(&s);
    if (before_count) before_count(&host, &engine);
    Shown shown;
    shown.outcome = engine.CountWords();
    shown.output = ReadFileBytes(s.OutputFilePath);
    shown.box = TextToUtf8(engine.state().textbox.text());
    // Every label but the run's clock.
    for (int l = 0; l < kLabelCount; ++l) {
      if (static_cast<Label>(l) != Label::kTimeElapsed) {
        shown.labels.push_back(host.label(static_cast<Label>(l)));
      }
    }
    return shown;
  }

  InputSource source = InputSource::kSingleFile;
  std::string input;
  int64_t part_bytes = 0;
  int throttle_words = 1;  // events are let run every so many words
  std::function<void(ScriptedHost*, Engine*)> before_count;
  TempDir dir;
  TempDir out;
};

TEST_F(ParallelCountTest, ASingleFileInPartsCountsAsOnOneThread) {
  part_bytes = 700;
  const std::vector<std::function<void(Settings*)>> options = {
      nullptr,
      [](Settings* s) { s->CaseSignificant = 1; },
      [](Settings* s) { s->Only7bitASCII = 1; },
      [](Settings* s) { s->ExtraWords[0] = "the and <c.t>"; },
      [](Settings* s) { s->ExtraWords[1] = "cat, zz, ab~"; },
      [](Settings* s) {
        s->AllowWordsWithNumerals = 1;
        s->DisplayFormat = 3;
        s->WordOrder = 1;
      },
  };
  const std::vector<std::pair<std::string, std::string>> kinds = {
      {"crlf.txt", "\r\n"}, {"lf.txt", "\n"}, {"cr.txt", "\r"}};
  uint32_t seed = 1;
  for (const auto& [name, line_end] : kinds) {
    input = dir.Write(name, MixedText(seed++, 30000, line_end));
    ASSERT_GT(FindPartStarts(input, line_end == "\n" ? LineEnding::kLfOnly : LineEnding::kCrLfOrCr,
                             30000, part_bytes)
                  .size(),
              line_end == "\r" ? 0u : 10u);
    for (size_t o = 0; o < options.size(); ++o) {
      const Shown one = Count(1, options[o], false);
      ASSERT_EQ(one.outcome, RunOutcome::kListed) << name << " " << o;
      EXPECT_EQ(Count(1, options[o]), one) << name << " option " << o;
      EXPECT_EQ(Count(3, options[o]), one) << name << " option " << o;
    }
  }
  // UTF-8 text, declared by its first bytes.
  input = dir.Write("utf8.txt", "\xEF\xBB\xBF" + MixedText(seed, 30000, "\r\n"));
  const Shown one = Count(1, nullptr, false);
  EXPECT_EQ(Count(1), one);
  EXPECT_EQ(Count(2), one);
}

TEST_F(ParallelCountTest, TheFiltersJudgeALargeTableAsOnOneThread) {
  // A table large enough to be judged on two threads: words met once and
  // more often, short ones, ones without a vowel, with repeated letters and
  // without letters.
  std::mt19937 rng(9);
  std::string text;
  for (int i = 0; i < 30000; ++i) {
    std::string word;
    for (int v = i; v > 0; v /= 26) word += static_cast<char>('a' + v % 26);
    switch (rng() % 6) {
      case 0:
        word = "zz" + word;
        break;
      case 1:
        word = word.substr(0, 2);
        break;
      case 2:
        word += "qqqq";
        break;
      case 3:
        word = std::to_string(i);
        break;
      default:
        word = "e" + word;
        break;
    }
    for (uint32_t k = rng() % 3; k < 3; ++k) text += word + (i % 9 == 0 ? "\r\n" : " ");
  }
  input = dir.Write("filters.txt", text);
  throttle_words = 1000;
  const auto infrequent = [](Settings* s) { s->IgnoreInfrequentWords = 1; };
  for (const auto& setup : {std::function<void(Settings*)>(nullptr), std::function(infrequent)}) {
    const Shown one = Count(1, setup, false);
    ASSERT_EQ(one.outcome, RunOutcome::kListed);
    EXPECT_EQ(Count(2, setup), one);
    EXPECT_EQ(Count(3, setup), one);
  }
}

TEST_F(ParallelCountTest, MostlyDistinctWordsCountAsOnOneThread) {
  // Text of distinct words is read on one thread: judged so at the start of
  // the first part, at its end, or (after a start of common words) not at all.
  const auto distinct = [](int from, int n) {
    std::string text;
    for (int i = from; i < from + n; ++i) {
      std::string word = "q";
      for (int v = i; v > 0; v /= 26) word += static_cast<char>('a' + v % 26);
      text += word + (i % 12 == 11 ? "\r\n" : " ");
    }
    return text;
  };
  std::string common;
  while (common.size() < 100000) common += "the cat and the dog sat on the mat\r\n";
  part_bytes = 60000;
  throttle_words = 1000;
  for (const std::string& text : {distinct(1, 25000), common.substr(0, 40000) + distinct(1, 25000),
                                  common + distinct(1, 25000)}) {
    input = dir.Write("distinct.txt", text);
    const Shown one = Count(1, nullptr, false);
    ASSERT_EQ(one.outcome, RunOutcome::kListed);
    EXPECT_EQ(Count(1), one);
    EXPECT_EQ(Count(2), one);
    EXPECT_EQ(Count(3), one);
  }
}

TEST_F(ParallelCountTest, AFolderOfEveryKindOfFileCountsAsOnOneThread) {
  source = InputSource::kFolder;
  input = dir.path();
  std::filesystem::create_directories(dir.File("sub/deeper"));
  uint32_t seed = 100;
  for (int i = 0; i < 12; ++i) {
    dir.Write("f" + std::to_string(i) + ".txt", MixedText(seed++, 500 + 300 * i, "\r\n"));
    dir.Write("sub/g" + std::to_string(i) + ".txt", MixedText(seed++, 400, "\n"));
  }
  // Markup and program text of more than 1 KB: counted in tables too.
  std::string body;
  std::string code;
  for (int i = 0; i < 40; ++i) {
    body += "<p>body words &amp; more " + std::to_string(i) + "</p><!-- a comment -->\n";
    code += "int f" + std::to_string(i) + "() { /* a comment */ return 0; } // more\n";
  }
  dir.Write("sub/page.htm",
            "<!DOCTYPE html>\n<html><head><title>head words</title></head>\n<body>" + body +
                "</body></html>\n");
  dir.Write("sub/code.c", code);
  dir.Write("sub/deeper/utf16.txt", std::string("\xFF\xFE"
                                                "a\0b\0 \0c\0\r\0\n\0",
                                                14));
  dir.Write("sub/deeper/empty.txt", "");
  dir.Write("sub/deeper/binary.dat", std::string("\x01\x02\x00\x00\x05", 5));
  const std::vector<std::function<void(Settings*)>> options = {
      nullptr,
      [](Settings* s) { s->DisplayFormat = 11; },
      [](Settings* s) {
        s->DisplayFormat = 12;
        s->ExtraWords[0] = "the";
      },
      [](Settings* s) { s->AllowCommentMarkers = 1; },
      [](Settings* s) { s->ExtraWords[1] = "cat, zz"; },
  };
  for (size_t o = 0; o < options.size(); ++o) {
    const Shown one = Count(1, options[o], false);
    ASSERT_EQ(one.outcome, RunOutcome::kListed) << o;
    EXPECT_EQ(Count(1, options[o]), one) << "option " << o;
    EXPECT_EQ(Count(2, options[o]), one) << "option " << o;
    EXPECT_EQ(Count(5, options[o]), one) << "option " << o;
  }
}

TEST_F(ParallelCountTest, SmallFilesCountedByIdleWorkersCountAsOnOneThread) {
  // Files small enough for the engine to count as it merges; an engine
  // held up between words leaves the workers idle, and they count most of
  // them instead.
  source = InputSource::kFolder;
  input = dir.path();
  uint32_t seed = 300;
  for (int i = 0; i < 120; ++i) {
    dir.Write("s" + std::to_string(1000 + i) + ".txt",
              MixedText(seed++, 100 + 7 * static_cast<size_t>(i), i % 3 ? "\r\n" : "\n"));
  }
  const Shown one = Count(1, nullptr, false);
  ASSERT_EQ(one.outcome, RunOutcome::kListed);
  before_count = [](ScriptedHost* host, Engine* engine) {
    host->OnProcessEvents([engine] {
      if (engine->state().run.ReadingFiles) {
        std::this_thread::sleep_for(std::chrono::microseconds(20));
      }
    });
  };
  EXPECT_EQ(Count(2), one);
  EXPECT_EQ(Count(3), one);
  // A stop while the workers count files ahead ends the run with the files
  // merged so far; what the workers counted beyond them goes with it.
  int events = 0;
  before_count = [&events](ScriptedHost* host, Engine* engine) {
    events = 0;
    host->OnProcessEvents([engine, &events] {
      if (!engine->state().run.ReadingFiles) return;
      std::this_thread::sleep_for(std::chrono::microseconds(20));
      if (++events == 400) engine->CountWords();
    });
  };
  const Shown stopped = Count(2);
  EXPECT_EQ(stopped.outcome, RunOutcome::kListed);
  EXPECT_GE(events, 400);
  EXPECT_LT(stopped.output.size(), one.output.size());
}

// The words and counts of a finished run's list.
std::vector<std::pair<std::string, int64_t>> Entries(const Engine& engine) {
  std::vector<std::pair<std::string, int64_t>> entries;
  const WordList& words = engine.state().words;
  for (int64_t i = 1; i <= words.DistinctCount(); ++i) {
    entries.emplace_back(std::string(words.Word(i)), words[i].Count);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST_F(ParallelCountTest, AStoppedRunListsTheWordsOfThePartsItMerged) {
  const std::string text = MixedText(7, 20000, "\r\n");
  input = dir.Write("a.txt", text);
  const std::vector<int64_t> starts = FindPartStarts(input, LineEnding::kCrLfOrCr, 20000, 1000);
  ASSERT_GT(starts.size(), 10u);
  // The places where what is merged may end: the end of the file's head,
  // which the engine counts first (half the first part, cut at a line end),
  // and the end of each part.
  const int64_t head = starts[1] / 2;
  const std::vector<int64_t> head_starts =
      FindPartStarts(input, LineEnding::kCrLfOrCr, 2 * head, head);
  ASSERT_EQ(head_starts.size(), 2u);
  std::vector<int64_t> ends = {head_starts[1]};
  ends.insert(ends.end(), starts.begin() + 1, starts.end());
  ends.push_back(static_cast<int64_t>(text.size()));
  // The list of a run over each beginning of the file that ends there.
  std::vector<std::vector<std::pair<std::string, int64_t>>> prefixes;
  for (const int64_t end : ends) {
    ScriptedHost host;
    Engine engine(&host);
    engine.SetThreads(1);
    engine.settings().Source = InputSource::kSingleFile;
    engine.settings().InputFilePath =
        dir.Write("prefix.txt", text.substr(0, static_cast<size_t>(end)));
    ASSERT_EQ(engine.CountWords(), RunOutcome::kListed);
    prefixes.push_back(Entries(engine));
  }
  int stopped = 0;
  for (const auto& [threads, stop_at] :
       std::vector<std::pair<int, int>>{{2, 1}, {2, 3}, {2, 8}, {2, 20}, {1, 1}, {1, 30}}) {
    ScriptedHost host;
    Engine engine(&host);
    engine.SetEventThrottle(1, std::chrono::milliseconds(0));
    engine.SetThreads(threads);
    engine.SetPartBytes(1000);
    engine.settings().Source = InputSource::kSingleFile;
    engine.settings().InputFilePath = input;
    int calls = 0;
    // Stops once the engine has read the first part itself and merges the
    // other parts (the progress bar is past the first part).
    host.OnProcessEvents([&] {
      if (engine.state().run.ReadingFiles && host.indicator(Indicator::kFileProgress) >= 4 &&
          ++calls == stop_at) {
        engine.CountWords();
      }
    });
    const RunOutcome outcome = engine.CountWords();
    if (calls < stop_at) continue;  // the run ended before
    stopped += threads;
    ASSERT_EQ(outcome, RunOutcome::kListed) << stop_at;
    EXPECT_TRUE(engine.state().run.Interrupted);
    const auto entries = Entries(engine);
    EXPECT_NE(std::find(prefixes.begin(), prefixes.end(), entries), prefixes.end())
        << "stopped at pause " << stop_at << " with " << entries.size() << " entries";
  }
  EXPECT_GE(stopped, 2 * 2 + 1);  // on both thread counts
}

}  // namespace
}  // namespace vorn
