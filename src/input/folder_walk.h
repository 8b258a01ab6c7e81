// FolderWalk: the files of a folder tree, in the order a folder run reads
// them.
//
// A folder's files come first, in ascending byte order of their names, then
// its subfolders in the same order, each walked whole before the next.
// Names beginning with "." are hidden and left out, as are named pipes,
// devices, sockets and links that lead nowhere. A link to a file is a file
// and a link to a folder a folder, but no folder is walked twice and no file
// is handed over twice: a link that leads back to a folder already walked (a
// cycle, or a second way to the same folder), and a second name of a file
// already met (a link, a hard link), are passed over.
//
// Paths are "/"-separated: the folder's path as given (without trailing
// "/"), "/", and the name.
//
// Thread-compatible.

#ifndef VORN_INPUT_FOLDER_WALK_H_
#define VORN_INPUT_FOLDER_WALK_H_

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

#include "input/file_patterns.h"

namespace vorn {

// Which file or folder an entry names, whatever its name or path.
struct FileId {
  uint64_t device = 0;
  uint64_t inode = 0;
  auto operator<=>(const FileId&) const = default;
};

// The entries of one folder.
struct FolderListing {
  struct File {
    std::string name;
    FileId id;
    bool operator<(const File& other) const { return name < other.name; }
  };
  std::vector<File> files;           // ascending byte order of the names
  std::vector<std::string> folders;  // names of subfolders, the same order
  int error = 0;                     // errno when the folder could not be read
};

// Lists the folder at `path`.
FolderListing ListFolder(const std::string& path);

// `folder` + "/" + `name`, without doubling a "/" that ends the folder.
std::string JoinPath(const std::string& folder, const std::string& name);

// What the walk tells the one who asked for it.
class FolderVisitor {
 public:
  virtual ~FolderVisitor() = default;
  // A file that FileMatches accepts. False ends the walk.
  virtual bool OnFile(const std::string& path) = 0;
  // The walk enters a subfolder (not the top folder, nor one already
  // walked). False ends the walk.
  virtual bool OnSubfolder(const std::string& path) = 0;
  // A folder that could not be read (errno `error`).
  virtual void OnUnreadable(const std::string& path, int error) = 0;
};

// Walks `folder` (and, with `subfolders`, every folder below it) and hands
// the files that `specs` accepts to `visitor`. A subfolder whose path below
// `folder` holds an exclusion text is left out with everything below it.
// Returns false when the visitor ended the walk.
bool WalkFolderTree(const std::string& folder, const FilePathSpecs& specs, bool subfolders,
                    FolderVisitor* visitor);

}  // namespace vorn

#endif  // VORN_INPUT_FOLDER_WALK_H_
