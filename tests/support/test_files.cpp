#include "support/test_files.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
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

std::string TempDir::MakeFifo(std::string_view name) const {
  const std::string p = File(name);
  return mkfifo(p.c_str(), 0600) == 0 ? p : "";
}

std::string TempDir::MakeSocket(std::string_view name) const {
  const std::string p = File(name);
  sockaddr_un addr{};
  if (p.size() >= sizeof(addr.sun_path)) return "";
  addr.sun_family = AF_UNIX;
  p.copy(addr.sun_path, p.size());
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return "";
  // The socket file stays when the socket is closed.
  const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
  close(fd);
  return bound ? p : "";
}

std::string TempDir::MakeLinkLoop(std::string_view name) const {
  const std::string p = File(name);
  const std::string other = p + "2";
  return symlink(other.c_str(), p.c_str()) == 0 && symlink(p.c_str(), other.c_str()) == 0 ? p : "";
}

std::string ManyWords(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) {
    std::string w = "w";
    for (int k = i; k > 0; k /= 20) w += static_cast<char>('a' + k % 20);
    text += w + "ord ";
    if (i % 10 == 9) text += "\n";
  }
  return text;
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

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

FileSizeLimit::FileSizeLimit(uint64_t bytes) {
  old_handler_ = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  old_soft_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = old_soft_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, old_handler_);
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
