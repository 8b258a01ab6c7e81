#include "util/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "util/file_proc.h"

namespace vorn {

namespace {

constexpr int kMaxLinks = 40;      // as the kernel's limit on followed links
constexpr int kNameAttempts = 64;  // temporary names tried before giving up

// The folder of `path` ("." for a bare name), without a trailing "/".
std::string FolderOf(const std::string& path) {
  const std::string folder = ParentFolder(path);
  return folder.empty() ? "." : folder;
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path with its symbolic links followed, as far as they lead: the file
// a write through `path` reaches, or the path itself when it is no link (or
// the links go round; opening it then reports that).
std::string FollowLinks(const std::string& path) {
  std::string current = path;
  for (int hop = 0; hop < kMaxLinks; ++hop) {
    struct stat st;
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    std::vector<char> buffer(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(current.c_str(), buffer.data(), buffer.size());
    if (n <= 0 || static_cast<size_t>(n) >= buffer.size()) return current;
    const std::string link(buffer.data(), static_cast<size_t>(n));
    current = link.front() == '/' ? link : FolderOf(current) + "/" + link;
  }
  return path;
}

// A name for a temporary file beside `target`, hidden and unlike any other
// the process has made.
std::string TemporaryName(const std::string& target) {
  static uint64_t made = 0;
  uint64_t x = static_cast<uint64_t>(::getpid()) << 32 ^
               static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (++made * 0x9E3779B97F4A7C15ULL);
  std::string suffix;
  for (int k = 0; k < 8; ++k) {
    suffix += "abcdefghijklmnopqrstuvwxyz0123456789"[x % 36];
    x /= 36;
  }
  return FolderOf(target) + "/." + NameOf(target) + "." + suffix + ".tmp";
}

int CloseFile(int fd) {
  if (::close(fd) != 0 && errno != EINTR) return errno;
  return 0;
}

}  // namespace

OutputFile::~OutputFile() { Discard(); }

int OutputFile::Open(const std::string& path) {
  target_ = FollowLinks(path);
  struct stat st;
  const bool exists = ::stat(target_.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) return EISDIR;
  const bool replaceable =
      !exists || (S_ISREG(st.st_mode) && st.st_nlink == 1 && st.st_uid == ::geteuid());
  if (exists && S_ISREG(st.st_mode)) {
    // A file that may not be written is not replaced either.
    const int probe = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) return errno;
    ::close(probe);
  }
  if (replaceable) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      const std::string name = TemporaryName(target_);
      fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0) {
        temp_path_ = name;
        break;
      }
      if (errno != EEXIST) break;
    }
    if (fd_ >= 0) {
      if (exists) {
        // The file keeps its permission bits and, where the system lets
        // us, its group.
        if (::fchmod(fd_, st.st_mode & 07777) != 0) {
          const int err = errno;
          Discard();
          return err;
        }
        if (st.st_gid != ::getegid() && ::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) != 0) {
          // Not a member of that group: the file takes ours.
        }
      }
      return 0;
    }
  }
  // In place.
  in_place_ = true;
  fd_ = ::open(target_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd_ < 0) return errno;
  struct stat opened;
  regular_ = ::fstat(fd_, &opened) == 0 && S_ISREG(opened.st_mode);
  return 0;
}

int OutputFile::Write(std::string_view bytes) {
  if (fd_ < 0) return EBADF;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

int OutputFile::Commit() {
  if (fd_ < 0) return EBADF;
  if (in_place_) {
    const int err = CloseFile(fd_);
    fd_ = -1;
    // A file whose last bytes may not have reached the disk is emptied.
    if (err != 0 && regular_ && ::truncate(target_.c_str(), 0) != 0) {
      // Nothing more can be done; the error is reported.
    }
    return err;
  }
  int err = CloseFile(fd_);
  fd_ = -1;
  if (err == 0 && ::rename(temp_path_.c_str(), target_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp_path_.c_str());
  }
  temp_path_.clear();
  return err;
}

void OutputFile::Discard() {
  if (fd_ < 0) return;
  if (in_place_ && regular_ && ::ftruncate(fd_, 0) != 0) {
    // The file could not be emptied; it is closed as it is.
  }
  ::close(fd_);
  fd_ = -1;
  if (!temp_path_.empty()) {
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
  }
}

}  // namespace vorn
