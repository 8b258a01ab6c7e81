#include "support/test_files.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vorn {

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vorn-test-XXXXXX").string();
  char* made = mkdtemp(tmpl.data());
  path_ = made ? std::string(made) : tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::File(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  std::string p = File(name);
  WriteFileBytes(p, bytes);
  return p;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFileBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string SourceDir() {
  const char* d = std::getenv("VORN_SOURCE_DIR");
  if (d != nullptr) return d;
#ifdef VORN_TEST_SOURCE_DIR
  return VORN_TEST_SOURCE_DIR;
#else
  return std::filesystem::current_path().string();
#endif
}

}  // namespace vorn
