#include "util/program_folder.h"

#include <array>
#include <filesystem>
#include <system_error>

#include "util/file_proc.h"

namespace vorn {

namespace fs = std::filesystem;

std::string ProgramFolder() {
  try {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) return "";
    return exe.parent_path().string();
  } catch (...) {
    return "";
  }
}

std::string SourceDataFolder() {
#ifdef VORN_SOURCE_DATA_DIR
  return VORN_SOURCE_DATA_DIR;
#else
  return "";
#endif
}

std::string FindDataFileIn(std::string_view name, const std::string& program_folder,
                           const std::string& source_data_folder) {
  if (name.empty()) return "";
  try {
    const fs::path file_name{std::string(name)};
    std::array<fs::path, 3> candidates;
    int count = 0;
    if (!program_folder.empty()) {
      const fs::path folder(program_folder);
      candidates[count++] = folder / file_name;
      candidates[count++] = (folder / ".." / "share" / "vorn" / file_name).lexically_normal();
    }
    if (!source_data_folder.empty()) {
      candidates[count++] = fs::path(source_data_folder) / file_name;
    }
    for (int i = 0; i < count; ++i) {
      const std::string path = candidates[i].string();
      if (FileExists(path)) return path;
    }
    return "";
  } catch (...) {
    return "";
  }
}

std::string FindDataFile(std::string_view name) {
  return FindDataFileIn(name, ProgramFolder(), SourceDataFolder());
}

std::string FindManualIn(const std::string& program_folder, const std::string& source_data_folder) {
  try {
    std::array<fs::path, 2> candidates;
    int count = 0;
    if (!program_folder.empty()) {
      candidates[count++] = fs::path(program_folder) / ".." / "share" / "doc" / "vorn" / "manual";
    }
    if (!source_data_folder.empty()) {
      candidates[count++] = fs::path(source_data_folder) / ".." / "docs" / "manual";
    }
    for (int i = 0; i < count; ++i) {
      // Normalised, so that the browser is handed a plain absolute path.
      const std::string path = (candidates[i] / "index.html").lexically_normal().string();
      if (FileExists(path)) return path;
    }
    return "";
  } catch (...) {
    return "";
  }
}

std::string FindManual() { return FindManualIn(ProgramFolder(), SourceDataFolder()); }

std::string CommonWordsFileName(int language) {
  static constexpr std::array<std::string_view, kCommonWordsLanguages> kNames = {
      "cwds_en.txt",
      "cwds_de.txt",
      "cwds_es.txt",
      "cwds_pt.txt",
      "cwds_it.txt",
      "cwds_fr.txt",
      "cwds_en_de_es_pt_it_fr.txt"};
  if (language < 0 || language >= kCommonWordsLanguages) return "";
  return std::string(kNames[static_cast<size_t>(language)]);
}

}  // namespace vorn
