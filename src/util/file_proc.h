// FileProc: small file-system helpers. None throws.
//
// Thread-compatible.

#ifndef VORN_UTIL_FILE_PROC_H_
#define VORN_UTIL_FILE_PROC_H_

#include <cstdint>
#include <filesystem>
#include <string>

struct stat;

namespace vorn {

// False for the empty path, else whether a regular file (or a link to one)
// exists there.
bool FileExists(const std::string& path);

// Whether the trimmed path names an existing directory.
bool FolderExists(const std::string& path);

// What a path names, for reading it as an input file.
enum class PathKind {
  kMissing,      // nothing (or a link to nothing), or a path that cannot be followed
  kRegular,      // a regular file, or a link to one
  kFolder,       // a folder, or a link to one
  kLinkLoop,     // symbolic links that lead round in a loop
  kNotRegular,   // a named pipe, a device or a socket
  kSizeUnknown,  // a regular file whose size the system gives as 0 although it
                 // has content (the files of /proc)
};

// What the path names, following symbolic links. The path is taken as given
// (not trimmed). Nothing is opened except a regular file of size 0, without
// waiting (O_NONBLOCK), to see whether it holds bytes all the same.
PathKind ClassifyPath(const std::string& path);

// What tells one state of a file from another: which file it is, its size
// and the time it was last changed.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = -1;
  int64_t changed_ns = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of the regular file at `path` (following links); size -1 when
// there is none.
FileStamp StampOf(const std::string& path);

// The stamp of a file as stat or fstat described it (size -1 when it is not
// a regular file).
FileStamp StampFromStat(const struct stat& st);

// The length of the file in bytes, or -1 when it cannot be measured.
int64_t FileLength(const std::string& path);

// Empty for an empty path or a missing file, else FormatByteSize of its
// length.
std::string FileSizeText(const std::string& path);

// True when the two paths are the same text or name the same file.
bool SamePath(const std::string& a, const std::string& b);

// PathIdentity: what SamePath needs to know of one path, taken once (the
// file it names and its absolute location), so that many paths can be
// compared with it without asking the file system about it again.
class PathIdentity {
 public:
  // The identity of no path: it matches no path but the empty one.
  PathIdentity() = default;
  // Takes the identity of `path` now (the working folder is looked up here,
  // once).
  explicit PathIdentity(const std::string& path);

  const std::string& path() const { return path_; }

  // Whether SamePath(other, path()) holds for a path `other` that names a
  // regular file (or nothing), `stamp` being StampOf(other) as the caller
  // took it. Asks the file system nothing.
  bool Matches(const std::string& other, const FileStamp& stamp) const;

 private:
  std::string path_;
  bool exists_ = false;  // path_ names a file (device_, inode_)
  uint64_t device_ = 0;
  uint64_t inode_ = 0;
  bool has_cwd_ = false;
  std::filesystem::path cwd_;
  bool located_ = false;            // absolute_ is known
  std::filesystem::path absolute_;  // lexically normal
};

// The folder part of a path ("" when it has none), without the trailing "/";
// "/" for a file at the root.
std::string ParentFolder(const std::string& path);

// The extension of the file name, after its last ".", in lower case ("" when
// the name has no ".").
std::string LowerExtension(const std::string& path);

// The description the system gives of errno value `err`.
std::string ErrorDescription(int err);

}  // namespace vorn

#endif  // VORN_UTIL_FILE_PROC_H_
