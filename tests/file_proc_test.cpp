#include "util/file_proc.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace vorn {
namespace {

TEST(FileProcTest, ExistenceLengthAndSizeText) {
  TempDir dir;
  const std::string file = dir.Write("a.txt", std::string(1023, 'x'));
  const std::string missing = dir.File("missing");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(""));
  EXPECT_FALSE(FileExists(dir.path()));  // a folder is not a file
  EXPECT_FALSE(FileExists(missing));
  EXPECT_TRUE(FolderExists("  " + dir.path() + " "));  // trimmed
  EXPECT_FALSE(FolderExists(file));
  EXPECT_FALSE(FolderExists("   "));
  EXPECT_FALSE(FolderExists(missing));
  EXPECT_EQ(FileLength(file), 1023);
  EXPECT_EQ(FileLength(dir.Write("empty.txt", "")), 0);
  EXPECT_EQ(FileLength(missing), -1);
  EXPECT_EQ(FileSizeText(file), "1023 bytes");
  EXPECT_EQ(FileSizeText(""), "");
  EXPECT_EQ(FileSizeText(missing), "");
}

TEST(FileProcTest, SamePathAndPathIdentityCompareByIdentity) {
  TempDir dir;
  const std::string file = dir.Write("a.txt", "x");
  dir.Write("b.txt", "y");
  std::filesystem::create_directories(dir.File("sub"));
  std::error_code ec;
  std::filesystem::create_symlink(file, dir.File("link.txt"), ec);
  ASSERT_FALSE(ec);
  std::filesystem::create_symlink(dir.path(), dir.File("again"), ec);
  ASSERT_FALSE(ec);
  std::filesystem::create_hard_link(file, dir.File("hard.txt"), ec);
  ASSERT_FALSE(ec);
  const std::string relative =
      std::filesystem::path(file).lexically_relative(std::filesystem::current_path()).string();
  const std::vector<std::string> paths = {file,
                                          dir.File("link.txt"),
                                          dir.File("hard.txt"),
                                          dir.File("again/a.txt"),
                                          dir.path() + "/./a.txt",
                                          dir.path() + "/sub/../a.txt",
                                          dir.path() + "//a.txt",
                                          relative,
                                          dir.File("b.txt"),
                                          dir.File("A.txt"),
                                          dir.File("new.txt"),
                                          dir.path() + "/sub/../new.txt",
                                          dir.File("sub/new.txt"),
                                          "new.txt",
                                          ""};
  // SamePath compares by identity, also of files not yet there, and exactly.
  EXPECT_TRUE(SamePath(file, dir.File("link.txt")));
  EXPECT_TRUE(SamePath(file, dir.path() + "/./a.txt"));
  EXPECT_TRUE(SamePath(dir.File("new.txt"), dir.path() + "//new.txt"));
  EXPECT_FALSE(SamePath(file, dir.File("A.txt")));  // case matters
  EXPECT_FALSE(SamePath(file, dir.File("b.txt")));
  EXPECT_FALSE(SamePath(file, ""));
  // A PathIdentity taken of one path matches another as SamePath does.
  for (const std::string& b : paths) {
    const PathIdentity identity(b);
    EXPECT_EQ(identity.path(), b);
    for (const std::string& a : paths) {
      EXPECT_EQ(identity.Matches(a, StampOf(a)), SamePath(a, b)) << a << " | " << b;
    }
  }
  EXPECT_FALSE(PathIdentity().Matches(file, StampOf(file)));
  // Taken once: a file that comes later is found by its location only.
  const PathIdentity before(dir.File("later.txt"));
  const std::string later = dir.Write("later.txt", "z");
  EXPECT_TRUE(before.Matches(later, StampOf(later)));
  std::filesystem::create_symlink(later, dir.File("later_link.txt"), ec);
  ASSERT_FALSE(ec);
  EXPECT_FALSE(before.Matches(dir.File("later_link.txt"), StampOf(dir.File("later_link.txt"))));
}

TEST(FileProcTest, ClassifyPathSaysWhatThePathNames) {
  TempDir dir;
  const std::string file = dir.Write("a.txt", "x");
  std::error_code ec;
  std::filesystem::create_symlink(file, dir.File("link.txt"), ec);
  std::filesystem::create_symlink(dir.path(), dir.File("folder_link"), ec);
  std::filesystem::create_symlink(dir.File("gone"), dir.File("dangling"), ec);
  struct Case {
    std::string path;
    PathKind want;
  };
  const std::vector<Case> cases = {
      {"", PathKind::kMissing},
      {dir.File("missing"), PathKind::kMissing},
      {dir.File("dangling"), PathKind::kMissing},
      {file + " ", PathKind::kMissing},  // taken as given, not trimmed
      {file, PathKind::kRegular},
      {dir.File("link.txt"), PathKind::kRegular},
      {dir.Write("empty.txt", ""), PathKind::kRegular},
      {dir.path(), PathKind::kFolder},
      {dir.File("folder_link"), PathKind::kFolder},
      {dir.MakeLinkLoop("loop"), PathKind::kLinkLoop},
      {dir.MakeFifo("fifo"), PathKind::kNotRegular},  // not opened: nothing waits
      {dir.MakeSocket("sock"), PathKind::kNotRegular},
      {"/dev/zero", PathKind::kNotRegular},
      {"/proc/version", PathKind::kSizeUnknown},  // size 0, yet it holds text
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(c.path.empty() && c.want != PathKind::kMissing) << "could not make a case";
    EXPECT_EQ(ClassifyPath(c.path), c.want) << c.path;
  }
}

TEST(FileProcTest, ParentFolderExtensionAndErrorDescription) {
  EXPECT_EQ(ParentFolder("/home/user/a.txt"), "/home/user");
  EXPECT_EQ(ParentFolder("/a.txt"), "/");
  EXPECT_EQ(ParentFolder("a.txt"), "");
  EXPECT_EQ(LowerExtension("/x/Report.DOCX"), "docx");
  EXPECT_EQ(LowerExtension("/x.d/readme"), "");
  EXPECT_EQ(LowerExtension("archive.tar.GZ"), "gz");
  EXPECT_EQ(LowerExtension("name."), "");
  EXPECT_EQ(ErrorDescription(ENOENT), "No such file or directory");
  EXPECT_FALSE(ErrorDescription(123456).empty());
}

}  // namespace
}  // namespace vorn
