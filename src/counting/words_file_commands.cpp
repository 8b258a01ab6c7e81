#include "counting/words_file_commands.h"

#include <algorithm>
#include <vector>

#include "counting/count_dialogs.h"
#include "counting/word_lists.h"
#include "counting/words_files.h"
#include "util/program_folder.h"

namespace vorn {

namespace {

constexpr char kLineBreak[] = "\r\n";

bool ValidIndex(int index) { return index == 0 || index == 1; }

const char* FilesField(int index) { return index == 0 ? "WordsFiles0" : "WordsFiles1"; }

WordsFileList& Files(EngineState* st, int index) {
  return st->settings.WordsFiles[static_cast<size_t>(index)];
}

// The part of a path after its last "/".
std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string WordsFilesCaption(const EngineState& st, int index) {
  return std::string(index == 0 ? "Words-to-ignore files (" : "Count-only words/phrases files (") +
         std::to_string(st.settings.WordsFiles[index == 0 ? 0 : 1].paths.size()) + ")";
}

void AddWordsFileClicked(EngineState* st, int index) {
  if (!ValidIndex(index)) return;
  if (index == 0) {
    GetExtraWords(st, 1);
    if (st->lists.CountOnlySet()) {
      const std::string text = std::string("Since there are count-only words (that is,") +
                               kLineBreak + "only specified words are to be counted)," +
                               kLineBreak + "specifying words to be ignored will have no effect." +
                               kLineBreak + "Do you still wish to specify words to be ignored?";
      if (st->host->Ask("Proceed?", text, Buttons::kYesNo, Answer::kYes) != Answer::kYes) return;
    }
  }
  WordsFileList& files = Files(st, index);
  if (files.paths.size() >= kMaxWordsFiles) {
    st->host->ShowMessage(WordsFilesCaption(*st, index), "No more files may be added to this list.",
                          Icon::kExclamation);
    return;
  }
  FileChooser chooser;
  chooser.title = index == 0 ? "Specify a file containing words to ignore"
                             : "Specify a file containing count-only words/phrases";
  chooser.filter = "Any text file (*.*) | *.*";
  chooser.file_must_exist = true;
  chooser.path_must_exist = true;
  const std::string path = st->host->ChooseFile(chooser);
  if (path.empty()) return;
  if (std::find(files.paths.begin(), files.paths.end(), path) != files.paths.end()) {
    st->host->ShowMessage("Already present",
                          path + kLineBreak + "is already in this list. " + kLineBreak +
                              "If the file has changed" + kLineBreak +
                              "select it from the drop-down list and reload it.",
                          Icon::kInformation);
    return;
  }
  LoadWordsFile(st, index, path);
}

void WordsFileChosen(EngineState* st, int index, int position) {
  if (!ValidIndex(index)) return;
  WordsFileList& files = Files(st, index);
  if (position < 0 || static_cast<size_t>(position) >= files.paths.size()) return;
  const std::string path = files.paths[static_cast<size_t>(position)];
  switch (AskLoadOrRemove(st, index, path)) {
    case LoadOrRemove::kLoad:
      files.selected = static_cast<int16_t>(position);
      st->SettingChanged(FilesField(index));
      AttemptToReadWords(st, index);
      return;
    case LoadOrRemove::kRemove:
      RemoveWordsFile(st, index, static_cast<size_t>(position));
      st->lists.FileWords(index).clear();
      return;
    case LoadOrRemove::kCancel:
      return;
  }
}

void ClearWordsFilesClicked(EngineState* st, int index) {
  if (!ValidIndex(index)) return;
  const Answer a = st->host->Ask(
      index == 0 ? "Clear words-to-ignore files" : "Clear count-only words/phrases files",
      "Do you wish to remove ALL files from this list?", Buttons::kYesNo, Answer::kYes);
  if (a != Answer::kYes) return;
  WordsFileList& files = Files(st, index);
  files.paths.clear();
  files.selected = -1;
  st->SettingChanged(FilesField(index));
  st->lists.FileWords(index).clear();
}

void ClearBoxClicked(EngineState* st, int index) {
  if (!ValidIndex(index)) return;
  st->settings.ExtraWords[static_cast<size_t>(index)].clear();
  st->SettingChanged(index == 0 ? "ExtraWords0" : "ExtraWords1");
  (index == 0 ? st->lists.ExtraIgnoreWords : st->lists.ExtraCountOnly).clear();
}

bool BoxLeft(EngineState* st, int index) {
  if (!ValidIndex(index)) return false;
  return GetExtraWords(st, index);
}

void CommonWordsChosen(EngineState* st, int language) {
  Settings& s = st->settings;
  if (language < 0 || language > kNoCommonWordsLanguage) return;
  if (language == kNoCommonWordsLanguage) {
    st->ChangeSetting(&s.CommonWordsLanguage, language, "CommonWordsLanguage");
    return;
  }
  const WordsFileList& files = s.WordsFiles[0];
  const bool selected =
      files.selected >= 0 && static_cast<size_t>(files.selected) < files.paths.size();
  if (selected && FileNameOf(files.paths[static_cast<size_t>(files.selected)]) ==
                      CommonWordsFileName(language)) {
    st->ChangeSetting(&s.CommonWordsLanguage, language, "CommonWordsLanguage");
    return;
  }
  const Answer a =
      st->host->Ask("Load common words file",
                    "Load common words file for " +
                        CommonWordsLanguageItems()[static_cast<size_t>(language)] + "?",
                    Buttons::kYesNo, Answer::kYes);
  if (a == Answer::kYes) LoadCommonWords(st, language);
  // Declined, or the file was not found: the window shows the language
  // stored before.
  if (s.CommonWordsLanguage != language) st->SettingChanged("CommonWordsLanguage");
}

void ListCountOnlyClicked(EngineState* st) {
  GetExtraWords(st, 1);
  if (!st->lists.CountOnlySet()) {
    st->textbox.SetText(u"There are no count-only words/phrases.");
    return;
  }
  ListCountOnlyWords(st);
}

}  // namespace vorn
