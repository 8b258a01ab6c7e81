// OutputFile: writes a file so that a failed write never leaves a cut-off
// file standing where a whole one is expected.
//
// A regular file, or a path where no file is yet, is written to a new
// temporary file in the same folder, which takes the target's place by
// rename only once every byte is written; until then the earlier file stays
// as it was, and a failure removes the temporary file. The new file keeps the
// permission bits of the file it replaces (a new file gets those the umask
// leaves). When the path is a symbolic link, the file the link names is the
// target, so the link stays a link.
//
// The file is written in place instead when the target is not a regular file
// (a device such as /dev/full, a pipe), when it has other hard links or
// belongs to another user (replacing it would cut those links or change its
// owner), or when no temporary file can be made in its folder (the folder
// may not be written, or the name would be too long). Then a failed write
// empties a regular file rather than leave part of it.
//
// One OutputFile writes one file. Thread-compatible.

#ifndef VORN_UTIL_OUTPUT_FILE_H_
#define VORN_UTIL_OUTPUT_FILE_H_

#include <string>
#include <string_view>

namespace vorn {

class OutputFile {
 public:
  OutputFile() = default;
  // Discards the file unless it was committed.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens the file at `path` for writing. Returns 0, or the errno value of
  // the failure: among others EACCES (or EROFS, ETXTBSY) when an existing
  // file may not be written, EISDIR for a folder, ENOENT for a missing
  // folder. REQUIRES: not yet opened.
  [[nodiscard]] int Open(const std::string& path);

  // Appends `bytes`. Returns 0 or the errno value of the failure (ENOSPC
  // when the disk is full). REQUIRES: Open() succeeded.
  [[nodiscard]] int Write(std::string_view bytes);

  // Makes the bytes written the content of the file: the temporary file
  // takes the target's place, or the file written in place is closed.
  // Returns 0 or the errno value of the failure, after which the file is
  // discarded as by Discard().
  [[nodiscard]] int Commit();

  // Gives up the file: removes the temporary file (the target stays as it
  // was), or empties a regular file that was written in place.
  void Discard();

  // Whether the file is written in place rather than through a temporary
  // file; the temporary file's path while it is open.
  bool in_place() const { return in_place_; }
  const std::string& temp_path() const { return temp_path_; }

 private:
  std::string target_;     // the path written, symbolic links followed
  std::string temp_path_;  // "" when written in place
  int fd_ = -1;
  bool in_place_ = false;
  bool regular_ = false;  // the file written in place is a regular file
};

}  // namespace vorn

#endif  // VORN_UTIL_OUTPUT_FILE_H_
