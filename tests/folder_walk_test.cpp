// The walk of a folder tree: its order, what it leaves out, and the
// exclusion texts, which look only below the folder chosen.

#include "input/folder_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace vorn {
namespace {

using Strings = std::vector<std::string>;

// Records what the walk hands over, paths below the top folder.
struct Recorder final : FolderVisitor {
  explicit Recorder(std::string top) : top_(std::move(top)) {}
  bool OnFile(const std::string& path) override {
    seen.push_back(path.substr(top_.size()));
    return static_cast<int>(seen.size()) != stop_after;
  }
  bool OnSubfolder(const std::string& path) override {
    seen.push_back("[" + path.substr(top_.size()) + "]");
    return true;
  }
  void OnUnreadable(const std::string& path, int) override { seen.push_back("!" + path); }
  Strings seen;
  int stop_after = -1;

 private:
  std::string top_;
};

TEST(FolderWalkTest, FilesInByteOrderThenEachSubfolderWhole) {
  TempDir dir;
  const std::string top = dir.File("bak-texts");  // an exclusion text above the folder chosen
  std::filesystem::create_directories(top + "/b/inner");
  std::filesystem::create_directories(top + "/A");
  std::filesystem::create_directories(top + "/.git");
  std::filesystem::create_directories(top + "/old-bak");
  for (const char* name : {"b.txt", "a.txt", "B.txt", "\xC3\xA9.txt", "_.txt", ".hidden.txt",
                           "b/inner/z.txt", "b/y.txt", "A/x.txt", ".git/config", "old-bak/w.txt"}) {
    WriteFileBytes(top + "/" + name, "word\n");
  }
  dir.MakeFifo("bak-texts/pipe.txt");
  FilePathSpecs specs;
  specs.exclude_texts = {"bak"};
  Recorder rec(top);
  EXPECT_TRUE(WalkFolderTree(top + "/", specs, true, &rec));
  EXPECT_EQ(rec.seen, (Strings{"/B.txt", "/_.txt", "/a.txt", "/b.txt", "/\xC3\xA9.txt", "[/A]",
                               "/A/x.txt", "[/b]", "/b/y.txt", "[/b/inner]", "/b/inner/z.txt"}));

  // Without subfolders, and ended by the visitor.
  Recorder top_only(top);
  EXPECT_TRUE(WalkFolderTree(top, FilePathSpecs{}, false, &top_only));
  EXPECT_EQ(top_only.seen.size(), 5u);
  Recorder stopped(top);
  stopped.stop_after = 2;
  EXPECT_FALSE(WalkFolderTree(top, FilePathSpecs{}, true, &stopped));
  EXPECT_EQ(stopped.seen, (Strings{"/B.txt", "/_.txt"}));
}

TEST(FolderWalkTest, AFolderThatCannotBeReadIsNamed) {
  TempDir dir;
  Recorder rec(dir.path());
  WalkFolderTree(dir.File("missing"), FilePathSpecs{}, true, &rec);
  EXPECT_EQ(rec.seen, Strings{"!" + dir.File("missing")});
  EXPECT_EQ(ListFolder(dir.File("missing")).error, ENOENT);
}

}  // namespace
}  // namespace vorn
