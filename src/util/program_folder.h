// Where the program runs from, and where it finds its data files (the
// common-words files cwds_*.txt) and its user manual.
//
// A data file is looked for in the folder of the executable, then in
// ../share/vorn/ beside it (an installed program: bin/ and share/vorn/ under
// one prefix), then in the data/ folder of the source tree the program was
// built from (a build run in place).
//
// Thread-safe; none throws.

#ifndef VORN_UTIL_PROGRAM_FOLDER_H_
#define VORN_UTIL_PROGRAM_FOLDER_H_

#include <string>
#include <string_view>

namespace vorn {

// The folder of the running executable (from /proc/self/exe), without a
// trailing "/"; "" when it cannot be read.
std::string ProgramFolder();

// The data/ folder of the source tree the engine was built from; "" when the
// build did not record one.
std::string SourceDataFolder();

// The full path of the first existing regular file of
//   <program_folder>/<name>
//   <program_folder>/../share/vorn/<name>
//   <source_data_folder>/<name>
// skipping a folder given as ""; "" when the name is empty or none exists.
std::string FindDataFileIn(std::string_view name, const std::string& program_folder,
                           const std::string& source_data_folder);

// FindDataFileIn(name, ProgramFolder(), SourceDataFolder()).
std::string FindDataFile(std::string_view name);

// The full path of the user manual's first page, the first existing regular
// file of
//   <program_folder>/../share/doc/vorn/manual/index.html   (installed)
//   <source_data_folder>/../docs/manual/index.html         (the source tree)
// skipping a folder given as ""; "" when neither exists.
std::string FindManualIn(const std::string& program_folder, const std::string& source_data_folder);

// FindManualIn(ProgramFolder(), SourceDataFolder()): what the main window's
// "Online user manual" link opens.
std::string FindManual();

// The number of common-words languages, and the index of "[No language
// selected]" (the last item of CommonWordsLanguageItems()).
inline constexpr int kCommonWordsLanguages = 7;
inline constexpr int kNoCommonWordsLanguage = 7;

// The file name of the common-words list of a language, by its index in
// CommonWordsLanguageItems(): 0 English "cwds_en.txt", 1 German, 2 Spanish,
// 3 Portuguese, 4 Italian, 5 French, 6 all six languages
// "cwds_en_de_es_pt_it_fr.txt"; "" for 7 (no language selected) and for any
// other index.
std::string CommonWordsFileName(int language);

}  // namespace vorn

#endif  // VORN_UTIL_PROGRAM_FOLDER_H_
