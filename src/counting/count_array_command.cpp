// "Make 2-d count array for Excel": the checks of the folder and of the
// output file, the options dialog, and a folder run whose results become the
// table of words or phrases against files (results/count_array.h) instead
// of a listing.

#include "counting/count_dialogs.h"
#include "counting/engine.h"
#include "util/file_proc.h"
#include "util/message_table.h"
#include "util/str_proc.h"

namespace vorn {

RunOutcome Engine::CountArray() {
  return RunCommand([this] { return StartCountArray(); });
}

RunOutcome Engine::StartCountArray() {
  Settings& s = st_.settings;
  CountRun& run = st_.run;
  // The table is written whatever "Disable output to file" says.
  run.CountArrayMode = true;
  struct Done {
    CountRun* run;
    ~Done() { run->CountArrayMode = false; }
  } done{&run};
  st_.textbox.Clear();
  // The messages bear the button's caption.
  std::string caption = st_.labels[static_cast<int>(Label::kCountArrayCaption)].text;
  if (caption.empty()) caption = GetMessageText(101);
  if (TrimBlanksAndTabs(s.OutputFilePath).empty()) {
    st_.host->ShowMessage(caption, GetMessageText(103) + "\r\n" + GetMessageText(104),
                          Icon::kInformation);
    return RunOutcome::kRefused;
  }
  if (s.Source != InputSource::kFolder) {
    st_.host->ShowMessage(caption, "A count array is made from the files of a folder.",
                          Icon::kInformation);
    return RunOutcome::kRefused;
  }
  if (!CheckFolderSource()) return RunOutcome::kRefused;
  if (s.WarnOnOverwrite && FileExists(s.OutputFilePath)) {
    const std::optional<std::string> answer = st_.host->InputBox(
        "The output file exists.",
        "To overwrite the current output file click on 'OK'.\r\nTo write to a different file "
        "edit the filepath below.\r\n\r\n(This 'warn on overwrite' can be disabled\r\nin the "
        "'Settings' window.)",
        s.OutputFilePath);
    const std::string path = answer ? std::string(TrimBlanksAndTabs(*answer)) : std::string();
    if (path.empty()) return RunOutcome::kCancelled;
    if (!FolderExists(ParentFolder(path))) {
      st_.host->ShowMessage("Error", "Folder does not exist.", Icon::kExclamation);
      return RunOutcome::kRefused;
    }
    if (!CheckOutputOutsideFolder(path)) return RunOutcome::kRefused;
    st_.ChangeSetting(&s.OutputFilePath, path, "OutputFilePath");
  }
  if (!AskCountArrayOptions(&st_)) return RunOutcome::kCancelled;
  return StartCount();
}

}  // namespace vorn
