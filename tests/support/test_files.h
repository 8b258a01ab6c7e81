// Helpers for tests that need files: a fresh temporary folder per test,
// writing and reading whole files as bytes.

#ifndef VORN_TESTS_SUPPORT_TEST_FILES_H_
#define VORN_TESTS_SUPPORT_TEST_FILES_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// A temporary folder that is removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string File(std::string_view name) const;
  // Writes bytes to path()/name and returns the full path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // Makes path()/name a named pipe, a Unix socket, or two symbolic links
  // that point at each other (name and name + "2"); returns the full path,
  // or "" when the system refused.
  std::string MakeFifo(std::string_view name) const;
  std::string MakeSocket(std::string_view name) const;
  std::string MakeLinkLoop(std::string_view name) const;

 private:
  std::string path_;
};

// n distinct words ("word", "waord", "wbord", ...), ten to a line.
std::string ManyWords(int n);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::string_view bytes);

// The names in a folder (hidden ones too), sorted.
std::vector<std::string> FolderNames(const std::string& folder);

// While it lives, no write of this process may make a file longer than
// `bytes`: such a write fails with EFBIG, as a write to a full disk fails
// with ENOSPC (the signal the system sends with it is ignored meanwhile).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  uint64_t old_soft_;
  void (*old_handler_)(int);
};

// The source tree (VORN_SOURCE_DIR, or the working directory).
std::string SourceDir();

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_TEST_FILES_H_
