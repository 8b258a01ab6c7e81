#include "cli/cli_main.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <iostream>

#include "cli/cli_host.h"
#include "counting/engine.h"
#include "counting/state_commands.h"
#include "input/decode.h"
#include "results/output.h"
#include "util/file_proc.h"
#include "util/text.h"
#include "words/char_classes.h"

namespace vorn {

namespace {

constexpr const char* kUsage =
    "Usage: vorn-cli [OPTIONS] SOURCE\n"
    "       vorn-cli --clipboard TEXTFILE [OPTIONS]\n"
    "       vorn-cli [OPTIONS] --save-settings FILE\n"
    "       vorn-cli --help | --version\n"
    "\n"
    "Counts the words of SOURCE (a text file, or the files of a folder) and lists them.\n"
    "\n"
    "Options:\n"
    "  --clipboard FILE     count FILE's text as the clipboard text ('-' = standard input;\n"
    "                       up to 100,000 characters)\n"
    "  --settings FILE      start from the settings saved in FILE (a .vorn file)\n"
    "  --set NAME=VALUE     set one settings field (repeatable)\n"
    "  -r, --subfolders     a folder SOURCE: read its subfolders too\n"
    "  --patterns TEXT      a folder SOURCE: read only files matching these patterns\n"
    "                       (such as '*.txt, a*.htm*')\n"
    "  --exclude TEXT       a folder SOURCE: leave out files and subfolders whose\n"
    "                       names hold one of these texts (such as 'copy, bak')\n"
    "  --list-files         list the files of a folder SOURCE that a count would read\n"
    "  --phrases MIN-MAX[:OCC]  count all phrases of MIN to MAX words that occur at\n"
    "                       least OCC times (each 1 to 30; OCC 2 when left out)\n"
    "  --exclude-ignored-phrases  with --phrases: leave out phrases made only of words\n"
    "                       to ignore\n"
    "  --count-array alpha|freq|both  write the table of words against the files of a\n"
    "                       folder SOURCE to the output file (-o), for a spreadsheet\n"
    "  --ignore TEXT        extra words to ignore, separated by blanks\n"
    "  --count-only TEXT    extra count-only words and phrases, separated by ', '\n"
    "  --all-words          count all words although count-only entries are set\n"
    "  --ignore-file FILE   load FILE as a words-to-ignore file\n"
    "  --count-only-file FILE  load FILE as a count-only words/phrases file\n"
    "  --common-words LANG  ignore the common words of en, de, es, pt, it, fr or all\n"
    "  -o, --output FILE    write the output file (Windows-1252, CR LF)\n"
    "  --raw                print the listing byte for byte as the file would hold it\n"
    "  --textbox            print the final text of the results box instead of the listing\n"
    "  --answer yes|no      the answer to every question (default yes)\n"
    "  -q, --quiet          no progress line\n"
    "  --threads N          read and count with N threads (default: the machine's\n"
    "                       processors; 1 = one thread); the results are the same\n"
    "  --save-settings FILE  write the settings the other options made to FILE\n"
    "                       (with no SOURCE, nothing else is done)\n"
    "  --help               this text\n"
    "  --version            the version\n";

struct Options {
  std::string source;
  bool has_source = false;
  std::string clipboard;
  bool has_clipboard = false;
  std::vector<std::string> sets;
  std::string output;
  bool has_output = false;
  bool raw = false;
  bool textbox = false;
  bool answer_yes = true;
  bool quiet = false;
  int threads = 0;                      // 0: the engine's default
  std::vector<std::string> ignore;      // --ignore texts, in order
  std::vector<std::string> count_only;  // --count-only texts, in order
  std::vector<std::string> ignore_files;
  std::vector<std::string> count_only_files;
  std::vector<int> common_words;  // CommonWordsLanguage positions
  bool all_words = false;
  bool subfolders = false;
  std::vector<std::string> patterns;  // --patterns texts, in order
  std::vector<std::string> exclude;   // --exclude texts, in order
  bool list_files = false;
  bool phrases = false;
  int phrase_min = 0;
  int phrase_max = 0;
  int phrase_occurrences = 2;
  bool exclude_ignored_phrases = false;
  int count_array = -1;       // the layout of --count-array
  std::string settings;       // --settings FILE
  std::string save_settings;  // --save-settings FILE
};

constexpr int kMaxThreads = 256;

// Reads N of --threads: a number from 1 to kMaxThreads.
bool ParseThreads(const std::string& v, int* threads) {
  if (v.empty() || v.size() > 3 ||
      !std::all_of(v.begin(), v.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  *threads = std::stoi(v);
  return *threads >= 1 && *threads <= kMaxThreads;
}

// Reads MIN-MAX[:OCC] of --phrases, each a number from 1 to 30.
bool ParsePhrases(const std::string& v, Options* o) {
  int min = 0;
  int max = 0;
  int occ = 2;
  char dash = 0;
  char colon = 0;
  char rest = 0;
  const int n = std::sscanf(v.c_str(), "%2d%c%2d%c%2d%c", &min, &dash, &max, &colon, &occ, &rest);
  const bool shape = (n == 3 && dash == '-') || (n == 5 && dash == '-' && colon == ':');
  auto in_range = [](int x) { return x >= 1 && x <= 30; };
  if (!shape || !in_range(min) || !in_range(max) || !in_range(occ)) return false;
  if (v.find_first_not_of("0123456789-:") != std::string::npos) return false;
  o->phrase_min = min;
  o->phrase_max = max;
  o->phrase_occurrences = occ;
  return true;
}

int Usage(std::ostream& err, const std::string& problem) {
  err << "vorn-cli: " << problem << "\n"
      << "Try 'vorn-cli --help'.\n";
  return 2;
}

// The most bytes of a clipboard file that can hold kMaxClipboardChars
// characters: a character of Text takes at most three bytes of UTF-8 (a
// four-byte sequence makes two) and one of Windows-1252, and a byte-order mark
// may come first. A longer file surely holds too much text.
constexpr size_t kClipboardByteLimit = 3 + 3 * static_cast<size_t>(kMaxClipboardChars);

// Reads the clipboard file (standard input for "-"), but not more than
// kClipboardByteLimit bytes of it, into *bytes; sets *cut when the file goes
// on past them. Returns false, with the system's description in *error, when
// the file cannot be opened or read.
bool ReadClipboardFile(const std::string& path, std::string* bytes, bool* cut, std::string* error) {
  const int fd = path == "-" ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = ErrorDescription(errno);
    return false;
  }
  // One byte over the limit tells whether there is more.
  bytes->assign(kClipboardByteLimit + 1, '\0');
  size_t got = 0;
  bool ok = true;
  while (got < bytes->size()) {
    const ssize_t n = read(fd, bytes->data() + got, bytes->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *error = ErrorDescription(errno);
      ok = false;
      break;
    }
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  if (fd != STDIN_FILENO) close(fd);
  *cut = got > kClipboardByteLimit;
  bytes->resize(std::min(got, kClipboardByteLimit));
  return ok;
}

// True when standard input is read from the file at path.
bool StandardInputIs(const std::string& path) {
  struct stat in {};
  struct stat file {};
  return fstat(STDIN_FILENO, &in) == 0 && stat(path.c_str(), &file) == 0 &&
         in.st_dev == file.st_dev && in.st_ino == file.st_ino;
}

// The clipboard text of a file: UTF-8 when it is valid UTF-8, else
// Windows-1252.
Text ClipboardFromBytes(const std::string& bytes) {
  std::string_view b = bytes;
  if (b.size() >= 3 && b.substr(0, 3) == "\xEF\xBB\xBF") b.remove_prefix(3);
  return IsValidUtf8(b) ? Utf8ToText(b) : DecodeWindows1252(b);
}

// Writes text to standard output and flushes it. Returns false, after saying
// why on err, when it could not be written (a full disk, a closed pipe).
bool WriteOut(std::ostream& out, std::ostream& err, std::string_view text) {
  errno = 0;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.flush();
  if (out) return true;
  err << "vorn-cli: cannot write to standard output: " << ErrorDescription(errno != 0 ? errno : EIO)
      << "\n";
  err.flush();
  return false;
}

// Hands the listing to standard output as it is made, so that it is never
// held whole: byte for byte (--raw), or in UTF-8 with LF line ends.
class ListingToOutput : public ByteSink {
 public:
  ListingToOutput(std::ostream* out, bool raw) : out_(out), raw_(raw) {}

  int Write(std::string_view bytes) override {
    if (raw_) return Put(bytes);
    utf8_.clear();
    for (const char c : bytes) {
      if (c == '\r') {
        utf8_.push_back('\n');
        after_cr_ = true;
        continue;
      }
      if (c == '\n' && after_cr_) {
        after_cr_ = false;
        continue;
      }
      after_cr_ = false;
      AppendUtf8(Windows1252ToChar(static_cast<uint8_t>(c)), &utf8_);
    }
    return Put(utf8_);
  }

 private:
  int Put(std::string_view bytes) {
    errno = 0;
    out_->write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return *out_ ? 0 : (errno != 0 ? errno : EIO);
  }

  std::ostream* out_;
  bool raw_;
  bool after_cr_ = false;  // a CR LF may be cut between two pieces
  std::string utf8_;
};

std::string TextAsUtf8Lf(const Text& text) {
  std::string s = ToLf(TextToUtf8(text));
  if (!s.empty() && s.back() != '\n') s.push_back('\n');
  return s;
}

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
               bool err_is_terminal) {
  Options o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* dest) {
      if (i + 1 >= args.size()) return false;
      *dest = args[++i];
      return true;
    };
    if (a == "--help" || a == "-h") {
      return WriteOut(out, err, kUsage) ? 0 : 1;
    } else if (a == "--version") {
      return WriteOut(out, err, std::string("vorn-cli ") + VORN_VERSION + "\n") ? 0 : 1;
    } else if (a == "--clipboard") {
      if (!value(&o.clipboard)) return Usage(err, "--clipboard needs a file");
      o.has_clipboard = true;
    } else if (a == "--settings" || a == "--save-settings") {
      if (!value(a == "--settings" ? &o.settings : &o.save_settings)) {
        return Usage(err, a + " needs a file");
      }
    } else if (a == "--set") {
      std::string v;
      if (!value(&v)) return Usage(err, "--set needs NAME=VALUE");
      o.sets.push_back(v);
    } else if (a == "-o" || a == "--output") {
      if (!value(&o.output)) return Usage(err, a + " needs a file");
      o.has_output = true;
    } else if (a == "--raw") {
      o.raw = true;
    } else if (a == "--textbox") {
      o.textbox = true;
    } else if (a == "--answer") {
      std::string v;
      if (!value(&v) || (v != "yes" && v != "no")) return Usage(err, "--answer takes yes or no");
      o.answer_yes = v == "yes";
    } else if (a == "-q" || a == "--quiet") {
      o.quiet = true;
    } else if (a == "--threads" || a.starts_with("--threads=")) {
      std::string v = a.size() > 9 ? a.substr(10) : "";
      if (a.size() == 9 && !value(&v)) return Usage(err, "--threads needs a number");
      if (!ParseThreads(v, &o.threads)) {
        return Usage(err, "--threads takes a number from 1 to " + std::to_string(kMaxThreads));
      }
    } else if (a == "--ignore" || a == "--count-only") {
      std::string v;
      if (!value(&v)) return Usage(err, a + " needs a text");
      (a == "--ignore" ? o.ignore : o.count_only).push_back(v);
    } else if (a == "-r" || a == "--subfolders") {
      o.subfolders = true;
    } else if (a == "--patterns" || a == "--exclude") {
      std::string v;
      if (!value(&v)) return Usage(err, a + " needs a text");
      (a == "--patterns" ? o.patterns : o.exclude).push_back(v);
    } else if (a == "--list-files") {
      o.list_files = true;
    } else if (a == "--phrases") {
      std::string v;
      if (!value(&v) || !ParsePhrases(v, &o)) {
        return Usage(err, "--phrases takes MIN-MAX or MIN-MAX:OCC, numbers from 1 to 30");
      }
      o.phrases = true;
    } else if (a == "--exclude-ignored-phrases") {
      o.exclude_ignored_phrases = true;
    } else if (a == "--count-array") {
      std::string v;
      if (!value(&v) || (v != "alpha" && v != "freq" && v != "both")) {
        return Usage(err, "--count-array takes alpha, freq or both");
      }
      o.count_array = v == "alpha" ? 0 : v == "freq" ? 1 : 2;
    } else if (a == "--all-words") {
      o.all_words = true;
    } else if (a == "--ignore-file" || a == "--count-only-file") {
      std::string v;
      if (!value(&v)) return Usage(err, a + " needs a file");
      (a == "--ignore-file" ? o.ignore_files : o.count_only_files).push_back(v);
    } else if (a == "--common-words") {
      static const char* const kLanguages[] = {"en", "de", "es", "pt", "it", "fr", "all"};
      std::string v;
      if (!value(&v)) return Usage(err, "--common-words needs a language");
      const auto* at = std::find(std::begin(kLanguages), std::end(kLanguages), v);
      if (at == std::end(kLanguages)) {
        return Usage(err, "--common-words takes en, de, es, pt, it, fr or all, not " + v);
      }
      o.common_words.push_back(static_cast<int>(at - std::begin(kLanguages)));
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return Usage(err, "unknown option " + a);
    } else {
      if (o.has_source) return Usage(err, "more than one source: " + o.source + " and " + a);
      o.source = a;
      o.has_source = true;
    }
  }
  if (o.has_source && o.has_clipboard) return Usage(err, "give either SOURCE or --clipboard");
  if (o.list_files && (!o.has_source || ClassifyPath(o.source) != PathKind::kFolder)) {
    return Usage(err, "--list-files needs a folder SOURCE");
  }
  const bool count_array = o.count_array >= 0;
  if (o.list_files + o.phrases + o.all_words + count_array > 1) {
    return Usage(err, "give at most one of --list-files, --phrases, --count-array and --all-words");
  }
  if (count_array && !o.has_output) return Usage(err, "--count-array needs an output file (-o)");
  if (o.exclude_ignored_phrases && !o.phrases) {
    return Usage(err, "--exclude-ignored-phrases goes with --phrases");
  }

  CliHost host(&err, o.answer_yes, err_is_terminal && !o.quiet);
  Engine engine(&host);
  // Paths on the command line are taken as given, blanks at their ends
  // included.
  engine.SetTrimInputPath(false);
  if (o.threads > 0) engine.SetThreads(o.threads);
  // The listing goes to standard output whole, without -o too.
  engine.SetListingPrinted(true);
  Settings& s = engine.settings();
  if (!o.settings.empty()) {
    if (!FileExists(o.settings)) return Usage(err, "--settings: no such file " + o.settings);
    LoadSettingsFile(&engine.state(), o.settings);
  }
  for (const std::string& set : o.sets) {
    const size_t eq = set.find('=');
    if (eq == std::string::npos) return Usage(err, "--set needs NAME=VALUE, not " + set);
    const std::string problem = SetFieldByName(&s, set.substr(0, eq), set.substr(eq + 1));
    if (!problem.empty()) return Usage(err, problem);
  }
  // Typed into the boxes: the last of each counts.
  if (o.subfolders) s.IncludeSubfolders = 1;
  if (!o.patterns.empty()) s.FileFilepathSpecifications[0] = o.patterns.back();
  if (!o.exclude.empty()) s.FileFilepathSpecifications[1] = o.exclude.back();
  if (!o.ignore.empty()) s.ExtraWords[0] = o.ignore.back();
  if (!o.count_only.empty()) s.ExtraWords[1] = o.count_only.back();
  if (o.all_words) host.SetCountChoice(CountChoice::kCountAllWords);
  for (const std::string& path : o.ignore_files) engine.LoadWordsFile(0, path);
  for (const std::string& path : o.count_only_files) engine.LoadWordsFile(1, path);
  for (const int language : o.common_words) engine.LoadCommonWords(language);
  // The "any of:" characters are cleaned as leaving their box cleans them.
  if (!s.UserSpecifiedExtraChars.empty()) {
    const char forbidden = CleanUserExtraChars(&s.UserSpecifiedExtraChars);
    if (forbidden != 0) {
      host.ShowMessage("Invalid character",
                       std::string("The character ") + forbidden + " is not permitted in words.",
                       Icon::kExclamation);
    }
    if (Utf8ToText(s.UserSpecifiedExtraChars).size() > 5) {
      return Usage(err, "UserSpecifiedExtraChars takes up to 5 characters");
    }
    if (s.UserSpecifiedExtraChars.empty()) s.AllowWordsWithUserSpecifiedExtraChars = 0;
  }
  // Checked after the --set options, so that a bad one is named (with the
  // names or values it could take) even when the source is still missing.
  if (!o.has_source && !o.has_clipboard && o.save_settings.empty()) {
    return Usage(err, "no source given");
  }
  if (o.has_output) {
    s.OutputFilePath = o.output;
    s.DisableOutputToFile = 0;
  }
  // The output file is emptied before the count and then written: it must
  // not be the file the clipboard text comes from, by whatever name.
  if (o.has_clipboard && !s.OutputFilePath.empty() && !s.DisableOutputToFile &&
      (o.clipboard == "-" ? StandardInputIs(s.OutputFilePath)
                          : SamePath(o.clipboard, s.OutputFilePath))) {
    host.ShowMessage("Error", "The output file cannot be the same as the input file.",
                     Icon::kExclamation);
    return 1;
  }
  if (o.has_clipboard) {
    std::string bytes;
    bool cut = false;
    std::string error;
    if (!ReadClipboardFile(o.clipboard, &bytes, &cut, &error)) {
      err << "vorn-cli: cannot read " << o.clipboard << ": " << error << "\n";
      return 1;
    }
    host.SetClipboard({ClipboardFromBytes(bytes), cut});
    s.Source = InputSource::kClipboard;
  } else if (o.has_source && ClassifyPath(o.source) == PathKind::kFolder) {
    s.Source = InputSource::kFolder;
    s.FolderPath = o.source;
  } else if (o.has_source) {
    s.Source = InputSource::kSingleFile;
    s.InputFilePath = o.source;
  }
  SyncOutputFileOption(&s);
  if (!o.save_settings.empty()) {
    if (!SaveSettingsFile(&engine.state(), o.save_settings)) return 1;
    if (!o.has_source && !o.has_clipboard) return 0;
  }

  host.OnInterrupt([&engine] { engine.CountWords(); }, [&engine] { engine.StopSilently(); });
  CliHost::InstallInterruptHandler();
  // The files listed are printed as they are found.
  if (o.list_files) host.StreamResults(&out);
  if (o.phrases) {
    host.SetPhrases(o.phrase_min, o.phrase_max, o.phrase_occurrences, o.exclude_ignored_phrases);
  }
  host.SetCountArrayLayout(o.count_array);
  const RunOutcome outcome = o.list_files  ? engine.ListFiles()
                             : o.phrases   ? engine.CountAllPhrases()
                             : count_array ? engine.CountArray()
                                           : engine.CountWords();
  host.StreamResults(nullptr);
  CliHost::RemoveInterruptHandler();
  host.EndProgress();

  EngineState& st = engine.state();
  if (o.list_files) {
    if (!WriteOut(out, err, "")) return 1;
  } else if (o.textbox || o.has_output) {
    if (!WriteOut(out, err, TextAsUtf8Lf(st.textbox.text()))) return 1;
  } else if (outcome == RunOutcome::kListed ||
             (outcome == RunOutcome::kFailed && st.run.ResultsPresent)) {
    // A run ended by an error still lists what it found.
    ListingToOutput listing(&out, o.raw);
    const int failure = engine.RenderListing(&listing);
    if (failure != 0 || !WriteOut(out, err, "")) {
      if (failure != 0) {
        err << "vorn-cli: cannot write to standard output: " << ErrorDescription(failure) << "\n";
        err.flush();
      }
      return 1;
    }
  }
  return outcome == RunOutcome::kListed ? 0 : 1;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool err_is_terminal) {
  const int status = RunCommand(args, out, err, err_is_terminal);
  // A message or question that could not be written to standard error
  // turns a run that otherwise went well into a failed one.
  err.flush();
  return status == 0 && !err ? 1 : status;
}

}  // namespace vorn
