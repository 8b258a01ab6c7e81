// pause_bench: the longest time the engine works without letting events run.
//
// The engine runs on the window's thread, so the time between two calls of
// Host::ProcessEvents is how long the window stands frozen. This program
// drives the engine through a host that only measures: it notes the time
// between consecutive ProcessEvents calls, and from the start of each
// command to the first call and from the last call to the command's end.
//
// Usage: pause_bench KJV10_FILE KJV1_FILE DISTINCT_FILE WORK_DIR
//
// Cases: (a) a count of KJV10_FILE, (b) a count of DISTINCT_FILE, (c) the
// alphabetical relist of (b), (d) a count of KJV1_FILE (one copy) with the
// words shown as found, with the number of results-box changes and the
// characters they carried. Each count writes its listing to WORK_DIR/pause_out.txt. Prints one
// line a case and ends with "longest pause N ms", N the longest of all.

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "counting/engine.h"
#include "util/host.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A host that answers everything at once and times the gaps between the
// engine's pauses.
class PauseHost final : public vorn::Host {
 public:
  void ShowMessage(const std::string& title, const std::string& text, vorn::Icon) override {
    std::fprintf(stderr, "message: %s: %s\n", title.c_str(), text.c_str());
  }
  vorn::Answer Ask(const std::string&, const std::string&, vorn::Buttons buttons,
                   vorn::Answer) override {
    return buttons == vorn::Buttons::kOkCancel ? vorn::Answer::kOk : vorn::Answer::kYes;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string& default_text) override {
    return default_text;
  }
  std::string ChooseFile(const vorn::FileChooser&) override { return ""; }
  std::string ChooseFolder(const vorn::FolderChooser&) override { return ""; }
  vorn::CountWordsAnswer ShowCountWordsDialog(const vorn::CountWordsDialog&) override {
    vorn::CountWordsAnswer a;
    a.choice = vorn::CountChoice::kCountAllWords;
    return a;
  }
  vorn::CountAllPhrasesAnswer ShowCountAllPhrasesDialog(
      const vorn::CountAllPhrasesDialog&) override {
    return {};
  }
  vorn::CountArrayAnswer ShowCountArrayDialog(const vorn::CountArrayDialog&) override { return {}; }
  vorn::LoadOrRemove ShowLoadOrRemoveDialog(const vorn::LoadOrRemoveDialog&) override {
    return vorn::LoadOrRemove::kCancel;
  }
  void ShowPopUp(const vorn::PopUpMessage&) override {}
  void ShowSettingsWindow() override {}
  vorn::ClipboardContent ReadClipboard() override { return {}; }
  void BusyChanged(vorn::Busy) override {}
  void LabelChanged(vorn::Label, const std::string&, bool) override {}
  void IndicatorChanged(vorn::Indicator, int) override {}
  void ResultsChanged(const vorn::ResultsChange& change) override {
    ++results_changes_;
    results_chars_ += static_cast<int64_t>(change.added.size());
    // A replaced text names the phase the engine is in ("Now filtering
    // words . . ."); the start of it is kept to say where the longest
    // pause began and ended.
    if (change.keep == 0) {
      phase_.clear();
      for (char16_t c : change.added.substr(0, 40)) {
        phase_.push_back(c < 0x80 && c >= 0x20 ? static_cast<char>(c) : ' ');
      }
    }
  }
  void SettingChanged(const std::string&) override {}
  void DisplayControlsChanged(const vorn::DisplayControls&) override {}
  void ProcessEvents() override {
    ++pauses_;
    Mark("");
  }

  // A command begins: the clock starts from here.
  void Begin() {
    last_ = Clock::now();
    longest_ = Clock::duration::zero();
    longest_where_.clear();
    phase_ = "(start)";
    phase_at_last_ = phase_;
    pauses_ = 0;
    results_changes_ = 0;
    results_chars_ = 0;
    started_ = last_;
  }
  // The command ended.
  void End() {
    Mark(" (to the end)");
    ended_ = Clock::now();
  }

  double LongestMs() const { return Ms(longest_); }
  const std::string& LongestWhere() const { return longest_where_; }
  double TotalMs() const { return Ms(ended_ - started_); }
  int64_t pauses() const { return pauses_; }
  int64_t results_changes() const { return results_changes_; }
  int64_t results_chars() const { return results_chars_; }

 private:
  void Mark(const char* note) {
    const Clock::time_point now = Clock::now();
    const Clock::duration gap = now - last_;
    if (gap > longest_) {
      longest_ = gap;
      longest_where_ = "from \"" + phase_at_last_ + "\" to \"" + phase_ + "\"" + note;
    }
    last_ = now;
    phase_at_last_ = phase_;
  }

  Clock::time_point started_;
  Clock::time_point ended_;
  Clock::time_point last_;
  Clock::duration longest_{};
  std::string longest_where_;
  std::string phase_;
  std::string phase_at_last_;  // the phase when events last ran
  int64_t pauses_ = 0;
  int64_t results_changes_ = 0;
  int64_t results_chars_ = 0;
};

double Report(const char* name, const PauseHost& host, bool show_results) {
  std::printf("%-34s %8.0f ms total, %6lld pauses, longest pause %5.1f ms %s\n", name,
              host.TotalMs(), static_cast<long long>(host.pauses()), host.LongestMs(),
              host.LongestWhere().c_str());
  if (show_results) {
    std::printf("%-34s %lld results changes carrying %lld characters\n", "",
                static_cast<long long>(host.results_changes()),
                static_cast<long long>(host.results_chars()));
  }
  std::fflush(stdout);
  return host.LongestMs();
}

bool Count(vorn::Engine* engine, PauseHost* host, const std::string& path) {
  engine->settings().Source = vorn::InputSource::kSingleFile;
  engine->settings().InputFilePath = path;
  host->Begin();
  const vorn::RunOutcome outcome = engine->CountWords();
  host->End();
  if (outcome != vorn::RunOutcome::kListed) {
    std::fprintf(stderr, "pause_bench: the count of %s did not list its results\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: pause_bench KJV10_FILE KJV1_FILE DISTINCT_FILE WORK_DIR\n");
    return 2;
  }
  const std::string kjv = argv[1];
  const std::string kjv1 = argv[2];
  const std::string distinct = argv[3];
  const std::string out = std::string(argv[4]) + "/pause_out.txt";

  double longest = 0;
  PauseHost host;
  {
    vorn::Engine engine(&host);
    vorn::Settings& s = engine.settings();
    s.OutputFilePath = out;
    s.DisableOutputToFile = 0;
    s.SuppressWords = 1;

    if (!Count(&engine, &host, kjv)) return 1;
    longest = std::max(longest, Report("(a) count KJV x10:", host, false));

    if (!Count(&engine, &host, distinct)) return 1;
    longest = std::max(longest, Report("(b) count 1,000,000 distinct words:", host, false));

    s.WordOrder = 1;
    host.Begin();
    const bool relisted = engine.DisplayOptionChanged(vorn::DisplayOption::kWordOrder);
    host.End();
    if (!relisted) {
      std::fprintf(stderr, "pause_bench: the relist was refused\n");
      return 1;
    }
    longest = std::max(longest, Report("(c) relist (b) alphabetically:", host, false));
  }
  {
    vorn::Engine engine(&host);
    vorn::Settings& s = engine.settings();
    s.OutputFilePath = out;
    s.DisableOutputToFile = 0;
    s.SuppressWords = 0;
    if (!Count(&engine, &host, kjv1)) return 1;
    longest = std::max(longest, Report("(d) count KJV once, words as found:", host, true));
  }
  std::printf("longest pause %.0f ms\n", longest);
  return 0;
}
