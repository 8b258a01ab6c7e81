// The file-path specifications of a folder run: which files of a folder are
// read.
//
// Two boxes of the main window hold them: "Scan files matching patterns:"
// (box 0: file patterns such as "*.txt, a*.htm*") and "Exclude filepaths
// containing text:" (box 1: texts such as "copy, bak"). Items are separated by
// commas or blanks; the boxes show them joined by ", ", lower-cased.
//
// A file is read when its extension is not one of kExcludedExtensions, its
// name holds none of the exclusion texts, and it matches one of the patterns
// (any name when there are none). "*" stands for any run of characters and
// "?" for one character; a pattern matches the base name and the extension
// (after the last ".") separately, so "*" matches only names without an
// extension and "*.*" every name.
//
// Letter case: names and patterns are UTF-8. For matching, they are decoded
// to the engine's Text (Utf8ToText: a byte that is not part of a valid UTF-8
// sequence stands for its Windows-1252 character, so no name is refused for
// its bytes) and folded by LowerCaseAccented: A-Z and the Windows-1252 case
// pairs (À-Þ but ×, Š Œ Ž Ÿ); other letters keep their case. "?" stands for
// one character, a character beyond U+FFFF included.
//
// Pure functions but GetFileFilepathSpecifications, which reads and writes
// the engine state. Thread-safe otherwise.

#ifndef VORN_INPUT_FILE_PATTERNS_H_
#define VORN_INPUT_FILE_PATTERNS_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class Host;
struct EngineState;

// The two boxes as a folder run uses them, lower-cased UTF-8.
struct FilePathSpecs {
  std::vector<std::string> patterns;       // box 0, "Scan files matching patterns:"
  std::vector<std::string> exclude_texts;  // box 1, "Exclude filepaths containing text:"
};

// The extensions of files that are never read from a folder.
inline constexpr std::array<std::string_view, 26> kExcludedExtensions = {
    "ico", "gif", "jpg", "png", "bmp",      "zip", "bin",  "xls", "mdb",
    "pdf", "com", "exe", "dll", "cab",      "ocx", "vxd",  "drv", "sys",
    "vbx", "---", "css", "js",  "loaded_0", "ini", "gdoc", "doc"};

// Normalises the text of a box: every comma becomes a blank, the text is
// split at its blanks, and the items (lower-cased) are stored in *items
// (when given) and returned joined by ", " ("" when there are none).
std::string NormaliseSpecText(std::string_view text, std::vector<std::string>* items);

// Reads box `index` (0 or 1) of the settings into st->file_specs: the box is
// normalised, and stored back (with SettingChanged) when that changed it.
void GetFileFilepathSpecifications(EngineState* st, int index);

// Box `index` lost the focus: GetFileFilepathSpecifications, and for box 0
// with a ".doc" pattern the note that .doc files are not processed.
void FileSpecBoxLeft(EngineState* st, int index);

// The tool tip of box `index` showing `text`: an example when the box is
// empty, the text itself when it is longer than 30 characters, else "".
std::string SpecToolTip(int index, const std::string& text);

// Checks the characters of the specifications; reports the first bad item
// ("Invalid input") and returns false.
bool CheckFilePatterns(Host* host, const FilePathSpecs& specs);

// Whether the file at `path` ("/"-separated) is to be read from a folder.
bool FileMatches(std::string_view path, const FilePathSpecs& specs);

// Whether a subfolder is left out of a folder run, with everything below
// it: its path below the chosen folder (`relative_path`, such as
// "/old/bak") holds one of the exclusion texts.
bool FolderExcluded(std::string_view relative_path, const FilePathSpecs& specs);

// Whether the file name `name` matches the file pattern `pattern` (base name
// and extension matched separately).
bool MatchFilePattern(std::string_view name, std::string_view pattern, bool case_significant);

// Whether `text` matches `pattern` with "*" and "?". A "*" takes the text up
// to the first occurrence of the next literal character of the pattern and
// never goes back for a later one, so matching is linear: "*b" does not
// match "abb".
bool WildMatch(std::string_view text, std::string_view pattern, bool case_significant);

}  // namespace vorn

#endif  // VORN_INPUT_FILE_PATTERNS_H_
