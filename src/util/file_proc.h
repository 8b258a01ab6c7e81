// FileProc: small file-system helpers. None throws.
//
// Thread-compatible.

#ifndef VORN_UTIL_FILE_PROC_H_
#define VORN_UTIL_FILE_PROC_H_

#include <cstdint>
#include <string>

namespace vorn {

// False for the empty path, else whether a regular file (or a link to one)
// exists there.
bool FileExists(const std::string& path);

// Whether the trimmed path names an existing directory.
bool FolderExists(const std::string& path);

// The length of the file in bytes, or -1 when it cannot be measured.
int64_t FileLength(const std::string& path);

// Empty for an empty path or a missing file, else FormatByteSize of its
// length.
std::string FileSizeText(const std::string& path);

// True when the two paths are the same text or name the same file.
bool SamePath(const std::string& a, const std::string& b);

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
