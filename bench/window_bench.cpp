// window_bench: how the VORN window answers while it counts.
//
// Drives the real main window (the same code as the program, on whatever
// display Qt is given) through long counts and measures, during each:
//   - the longest time between two repaints of a probe widget that asks to
//     be repainted every 5 ms (how long the window may look frozen);
//   - the longest time a click waits: clicks on the count button (the stop
//     command) are posted from another thread at moments spread over the
//     run, and the time from posting to the engine asking "Really stop?"
//     is taken (the question is answered No, so the run goes on);
//   - the whole time of the count, to compare with vorn-cli on the same
//     input (bench/window.sh does).
//
// Usage: window_bench KJV10_FILE KJV1_FILE DISTINCT_FILE WORK_DIR
// Prints one line a case and ends with "longest wait N ms".

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/frm_main.h"
#include "ui/modals.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The modal windows answered at once: no common words, count all words,
// and "Really stop?" answered No (the time of the question is noted).
class BenchModals final : public vorn::Modals {
 public:
  void SetParentWindow(QWidget*) override {}
  void ShowMessage(const std::string& title, const std::string& text, vorn::Icon) override {
    std::fprintf(stderr, "message: %s: %s\n", title.c_str(), text.c_str());
  }
  vorn::Answer Ask(const std::string& title, const std::string& text, vorn::Buttons,
                   vorn::Answer) override {
    if (text.find("Really stop?") != std::string::npos) {
      if (asked_at) *asked_at = Clock::now();
      return vorn::Answer::kNo;
    }
    (void)title;
    return vorn::Answer::kNo;
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string& d) override {
    return d;
  }
  std::string ChooseFile(const vorn::FileChooser&) override { return ""; }
  std::string ChooseFolder(const vorn::FolderChooser&) override { return ""; }
  vorn::CountWordsAnswer ShowCountWordsDialog(const vorn::CountWordsDialog&) override {
    return {vorn::CountChoice::kCountAllWords, false};
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

  std::optional<Clock::time_point>* asked_at = nullptr;
};

// A small widget that asks to be repainted every 5 ms and notes the
// longest time between two of its paints.
class Probe : public QWidget {
 public:
  Probe() {
    resize(20, 20);
    connect(&timer_, &QTimer::timeout, this, [this] { update(); });
    timer_.start(5);
  }
  void Reset() {
    last_ = Clock::now();
    longest_ = {};
  }
  Clock::duration longest() const { return longest_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).fillRect(rect(), (++n_ & 1) != 0 ? Qt::black : Qt::white);
    const Clock::time_point now = Clock::now();
    longest_ = std::max(longest_, now - last_);
    last_ = now;
  }

 private:
  QTimer timer_;
  Clock::time_point last_ = Clock::now();
  Clock::duration longest_{};
  int n_ = 0;
};

struct Case {
  double total_ms = 0;
  double longest_paint_gap_ms = 0;
  double longest_click_wait_ms = 0;
  int clicks = 0;
};

// Posts clicks on `button` from another thread every `every_ms`, and notes
// how long each waited for its "Really stop?".
class Clicker : public QThread {
 public:
  Clicker(QPushButton* button, int every_ms) : button_(button), every_ms_(every_ms) {}
  std::atomic<bool> done{false};

 protected:
  void run() override {
    while (!done) {
      QThread::msleep(static_cast<unsigned long>(every_ms_));
      if (done) break;
      const QPointF at(button_->width() / 2.0, button_->height() / 2.0);
      posted.store(Clock::now().time_since_epoch().count());
      QCoreApplication::postEvent(
          button_, new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton, Qt::LeftButton,
                                   Qt::NoModifier));
      QCoreApplication::postEvent(
          button_, new QMouseEvent(QEvent::MouseButtonRelease, at, at, Qt::LeftButton, Qt::NoButton,
                                   Qt::NoModifier));
    }
  }

 public:
  std::atomic<Clock::rep> posted{0};

 private:
  QPushButton* button_;
  int every_ms_;
};

Case RunCount(vorn::FrmMain* window, BenchModals* modals, Probe* probe,
              const std::function<void()>& start, int click_every_ms) {
  Case c;
  auto* button = window->findChild<QPushButton*>("cmdCountWords");
  std::optional<Clock::time_point> asked;
  modals->asked_at = &asked;
  Clicker clicker(button, click_every_ms);
  std::vector<double> waits;
  // Each question notes the wait of the click that caused it.
  QTimer collect;
  QObject::connect(&collect, &QTimer::timeout, [&] {
    if (!asked) return;
    const Clock::time_point posted{Clock::duration(clicker.posted.load())};
    waits.push_back(Ms(*asked - posted));
    asked.reset();
  });
  collect.start(1);
  probe->Reset();
  if (click_every_ms > 0) clicker.start();
  const Clock::time_point t0 = Clock::now();
  start();
  c.total_ms = Ms(Clock::now() - t0);
  clicker.done = true;
  clicker.wait();
  QCoreApplication::processEvents();
  c.longest_paint_gap_ms = Ms(probe->longest());
  c.clicks = static_cast<int>(waits.size());
  for (double w : waits) c.longest_click_wait_ms = std::max(c.longest_click_wait_ms, w);
  modals->asked_at = nullptr;
  return c;
}

void Report(const char* name, const Case& c) {
  std::printf(
      "%-38s %8.0f ms total, longest between repaints %5.1f ms, %3d clicks, longest "
      "click wait %5.1f ms\n",
      name, c.total_ms, c.longest_paint_gap_ms, c.clicks, c.longest_click_wait_ms);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: window_bench KJV10_FILE KJV1_FILE DISTINCT_FILE WORK_DIR\n");
    return 2;
  }
  QTemporaryDir config;
  setenv("XDG_CONFIG_HOME", qPrintable(config.path()), 1);
  QApplication app(argc, argv);
  const std::string kjv10 = argv[1], kjv1 = argv[2], distinct = argv[3], work = argv[4];

  BenchModals modals;
  vorn::FrmMain window(&modals);
  window.resize(1200, 740);
  window.show();
  window.StartUp();
  Probe probe;
  probe.show();
  vorn::Settings& s = window.engine().settings();
  // Each count writes its listing to an output file; the KJV x10 counts to
  // window_out.txt, which bench/window.sh compares with vorn-cli's.
  const auto count = [&](const std::string& path, bool suppress,
                         const char* output = "/window_other_out.txt") {
    return [&window, &s, path, suppress, output, work] {
      s.Source = vorn::InputSource::kSingleFile;
      s.InputFilePath = path;
      s.OutputFilePath = work + output;
      s.SuppressWords = suppress ? 1 : 0;
      window.OnSettingChanged("");
      window.findChild<QPushButton*>("cmdCountWords")->click();
    };
  };
  s.DisableOutputToFile = 0;
  double longest = 0;
  const auto note = [&](const char* name, const Case& c) {
    Report(name, c);
    longest = std::max({longest, c.longest_paint_gap_ms, c.longest_click_wait_ms});
  };

  // The whole time of the count, best of 3, without clicks.
  double best = 1e300;
  for (int i = 0; i < 3; ++i) {
    best = std::min(
        best,
        RunCount(&window, &modals, &probe, count(kjv10, true, "/window_out.txt"), 0).total_ms);
  }
  std::printf("window count of KJV x10, best of 3: %.0f ms\n", best);
  note("KJV x10 count, clicks every 97 ms",
       RunCount(&window, &modals, &probe, count(kjv10, true, "/window_out.txt"), 97));
  note("1,000,000 distinct words, clicks 89 ms",
       RunCount(&window, &modals, &probe, count(distinct, true), 89));
  note("  relisted alphabetically",
       RunCount(
           &window, &modals, &probe,
           [&] {
             s.WordOrder = 1;
             window.engine().DisplayOptionChanged(vorn::DisplayOption::kWordOrder);
           },
           0));
  s.WordOrder = 0;
  note("KJV once, words shown as found",
       RunCount(&window, &modals, &probe, count(kjv1, false), 83));
  std::printf("longest wait %.1f ms\n", longest);
  return 0;
}
