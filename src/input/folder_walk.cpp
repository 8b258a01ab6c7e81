#include "input/folder_walk.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

namespace vorn {

namespace {

// What a directory entry names, following links.
enum class EntryKind { kFile, kFolder, kOther };

// The kind of the entry, and for a file its id. `folder_device` is the
// device of the folder that holds the entry.
EntryKind KindOf(int dir_fd, const dirent& entry, uint64_t folder_device, FileId* id) {
  switch (entry.d_type) {
    case DT_REG:
      *id = FileId{folder_device, entry.d_ino};
      return EntryKind::kFile;
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_LNK:
    case DT_UNKNOWN:
      break;
    default:
      return EntryKind::kOther;
  }
  struct stat st {};
  if (fstatat(dir_fd, entry.d_name, &st, 0) != 0) return EntryKind::kOther;
  if (S_ISDIR(st.st_mode)) return EntryKind::kFolder;
  if (!S_ISREG(st.st_mode)) return EntryKind::kOther;
  *id = FileId{st.st_dev, st.st_ino};
  return EntryKind::kFile;
}

class Walker {
 public:
  Walker(const std::string& top, const FilePathSpecs& specs, bool subfolders,
         FolderVisitor* visitor)
      : top_(top), specs_(specs), subfolders_(subfolders), visitor_(visitor) {}

  // False when the visitor ended the walk.
  bool Walk(const std::string& folder, bool top) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) {
      visitor_->OnUnreadable(folder, errno);
      return true;
    }
    if (!visited_.insert(FileId{st.st_dev, st.st_ino}).second) return true;
    if (!top && !visitor_->OnSubfolder(folder)) return false;
    const FolderListing listing = ListFolder(folder);
    if (listing.error != 0) {
      visitor_->OnUnreadable(folder, listing.error);
      return true;
    }
    for (const FolderListing::File& file : listing.files) {
      const std::string path = JoinPath(folder, file.name);
      if (!FileMatches(path, specs_) || !files_met_.insert(file.id).second) continue;
      if (!visitor_->OnFile(path)) return false;
    }
    if (!subfolders_) return true;
    for (const std::string& name : listing.folders) {
      const std::string path = JoinPath(folder, name);
      if (FolderExcluded(std::string_view(path).substr(top_.size()), specs_)) continue;
      if (!Walk(path, false)) return false;
    }
    return true;
  }

 private:
  const std::string& top_;
  const FilePathSpecs& specs_;
  bool subfolders_;
  FolderVisitor* visitor_;
  std::set<FileId> visited_;    // the folders walked
  std::set<FileId> files_met_;  // the files handed over
};

}  // namespace

FolderListing ListFolder(const std::string& path) {
  FolderListing listing;
  DIR* dir = opendir(path.c_str());
  if (dir == nullptr) {
    listing.error = errno;
    return listing;
  }
  const int fd = dirfd(dir);
  struct stat self {};
  const uint64_t device = fstat(fd, &self) == 0 ? self.st_dev : 0;
  errno = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;  // hidden, or "." and ".."
    FileId id;
    switch (KindOf(fd, *entry, device, &id)) {
      case EntryKind::kFile:
        listing.files.push_back(FolderListing::File{entry->d_name, id});
        break;
      case EntryKind::kFolder:
        listing.folders.emplace_back(entry->d_name);
        break;
      case EntryKind::kOther:
        break;
    }
    errno = 0;
  }
  if (errno != 0) listing.error = errno;
  closedir(dir);
  // std::string compares as unsigned bytes.
  std::sort(listing.files.begin(), listing.files.end());
  std::sort(listing.folders.begin(), listing.folders.end());
  return listing;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool WalkFolderTree(const std::string& folder, const FilePathSpecs& specs, bool subfolders,
                    FolderVisitor* visitor) {
  std::string top = folder;
  while (top.size() > 1 && top.back() == '/') top.pop_back();
  Walker walker(top, specs, subfolders, visitor);
  return walker.Walk(top, true);
}

}  // namespace vorn
