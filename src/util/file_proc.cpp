#include "util/file_proc.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "util/str_proc.h"

namespace vorn {

namespace fs = std::filesystem;

// Every function catches what path construction or the filesystem library
// may throw (allocation, conversion), so that no exception leaves them.

bool FileExists(const std::string& path) {
  if (path.empty()) return false;
  try {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
  } catch (...) {
    return false;
  }
}

bool FolderExists(const std::string& path) {
  const std::string_view trimmed = TrimSpaces(std::string_view(path));
  if (trimmed.empty()) return false;
  try {
    std::error_code ec;
    return fs::is_directory(fs::path(trimmed), ec);
  } catch (...) {
    return false;
  }
}

PathKind ClassifyPath(const std::string& path) {
  if (path.empty()) return PathKind::kMissing;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    return errno == ELOOP ? PathKind::kLinkLoop : PathKind::kMissing;
  }
  if (S_ISDIR(st.st_mode)) return PathKind::kFolder;
  if (!S_ISREG(st.st_mode)) return PathKind::kNotRegular;
  if (st.st_size > 0) return PathKind::kRegular;
  // Some file systems (/proc, /sys) give 0 as the size of files that have
  // content; one byte tells them from an empty file.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return PathKind::kRegular;
  char byte = 0;
  const ssize_t got = read(fd, &byte, 1);
  close(fd);
  return got > 0 ? PathKind::kSizeUnknown : PathKind::kRegular;
}

FileStamp StampOf(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return FileStamp();
  return StampFromStat(st);
}

FileStamp StampFromStat(const struct stat& st) {
  FileStamp stamp;
  if (!S_ISREG(st.st_mode)) return stamp;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.changed_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  return stamp;
}

int64_t FileLength(const std::string& path) {
  if (path.empty()) return -1;
  try {
    std::error_code ec;
    const uintmax_t size = fs::file_size(fs::path(path), ec);
    if (ec) return -1;
    return static_cast<int64_t>(size);
  } catch (...) {
    return -1;
  }
}

std::string FileSizeText(const std::string& path) {
  if (!FileExists(path)) return "";
  const int64_t length = FileLength(path);
  if (length < 0) return "";
  return FormatByteSize(length);
}

bool SamePath(const std::string& a, const std::string& b) {
  if (a == b) return true;
  if (a.empty() || b.empty()) return false;
  try {
    std::error_code ec;
    if (fs::equivalent(fs::path(a), fs::path(b), ec) && !ec) return true;
    // A file that does not exist yet (an output file) is the same as another
    // path when both spell the same absolute location.
    const fs::path abs_a = fs::absolute(fs::path(a), ec).lexically_normal();
    if (ec) return false;
    const fs::path abs_b = fs::absolute(fs::path(b), ec).lexically_normal();
    if (ec) return false;
    return abs_a == abs_b;
  } catch (...) {
    return false;
  }
}

PathIdentity::PathIdentity(const std::string& path) : path_(path) {
  if (path.empty()) return;
  try {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
      exists_ = true;
      device_ = st.st_dev;
      inode_ = st.st_ino;
    }
    std::error_code ec;
    cwd_ = fs::current_path(ec);
    has_cwd_ = !ec;
    fs::path p(path);
    if (p.is_relative()) {
      if (!has_cwd_) return;
      p = cwd_ / p;
    }
    absolute_ = p.lexically_normal();
    located_ = true;
  } catch (...) {
    located_ = false;
  }
}

bool PathIdentity::Matches(const std::string& other, const FileStamp& stamp) const {
  if (other == path_) return true;
  if (other.empty() || path_.empty()) return false;
  // As fs::equivalent: both exist and are one file.
  if (exists_ && stamp.size >= 0 && stamp.device == device_ && stamp.inode == inode_) return true;
  if (!located_) return false;
  // A last name other than "." and ".." stays last in the normal form, so a
  // different one rules the location out without building it.
  const size_t slash = other.rfind('/');
  const std::string_view name =
      std::string_view(other).substr(slash == std::string::npos ? 0 : slash + 1);
  if (!name.empty() && name != "." && name != ".." && name != absolute_.filename().native()) {
    return false;
  }
  try {
    fs::path p(other);
    if (p.is_relative()) {
      if (!has_cwd_) return false;
      p = cwd_ / p;
    }
    return p.lexically_normal() == absolute_;
  } catch (...) {
    return false;
  }
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string LowerExtension(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return "";
  return AsciiLower(name.substr(dot + 1));
}

std::string ErrorDescription(int err) {
  try {
    return std::generic_category().message(err);
  } catch (...) {
    return "Error " + std::to_string(err);
  }
}

}  // namespace vorn
