#include "util/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "support/test_files.h"

namespace vorn {
namespace {

using Names = std::vector<std::string>;

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

// Opens, writes and commits `bytes`; returns the first error, 0 when none.
int WriteWhole(OutputFile* file, const std::string& path, std::string_view bytes) {
  int err = file->Open(path);
  if (err == 0) err = file->Write(bytes);
  if (err == 0) return file->Commit();
  file->Discard();
  return err;
}

TEST(OutputFileTest, ReplacesARegularFileThroughATemporaryFile) {
  TempDir dir;
  const std::string path = dir.Write("out.txt", "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  OutputFile file;
  ASSERT_EQ(file.Open(path), 0);
  EXPECT_FALSE(file.in_place());
  const std::string temp = file.temp_path();
  EXPECT_EQ(temp.substr(0, dir.path().size() + 2), dir.path() + "/.");  // hidden, same folder
  ASSERT_EQ(file.Write("new "), 0);
  ASSERT_EQ(file.Write("content"), 0);
  EXPECT_EQ(ReadFileBytes(path), "old");  // until the commit
  ASSERT_EQ(file.Commit(), 0);
  EXPECT_EQ(ReadFileBytes(path), "new content");
  EXPECT_EQ(ModeOf(path), 0640u);
  EXPECT_EQ(FolderNames(dir.path()), Names{"out.txt"});
}

TEST(OutputFileTest, ANewFileGetsTheModeTheUmaskLeaves) {
  TempDir dir;
  const mode_t mask = ::umask(022);
  OutputFile file;
  const int err = WriteWhole(&file, dir.File("new.txt"), "x");
  ::umask(mask);
  ASSERT_EQ(err, 0);
  EXPECT_EQ(ModeOf(dir.File("new.txt")), 0644u);
  EXPECT_EQ(FolderNames(dir.path()), Names{"new.txt"});
}

TEST(OutputFileTest, ASymbolicLinkStaysAndTheFileItNamesIsWritten) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.File("real").c_str(), 0755), 0);
  const std::string target = dir.Write("real/target.txt", "old");
  ASSERT_EQ(::symlink("real/target.txt", dir.File("link.txt").c_str()), 0);
  ASSERT_EQ(::symlink("link.txt", dir.File("link2.txt").c_str()), 0);  // a link to a link
  ASSERT_EQ(::symlink("real/later.txt", dir.File("dangling.txt").c_str()), 0);
  OutputFile first;
  ASSERT_EQ(WriteWhole(&first, dir.File("link2.txt"), "through links"), 0);
  EXPECT_EQ(ReadFileBytes(target), "through links");
  OutputFile second;
  ASSERT_EQ(WriteWhole(&second, dir.File("dangling.txt"), "made"), 0);
  EXPECT_EQ(ReadFileBytes(dir.File("real/later.txt")), "made");
  struct stat st;
  for (const char* link : {"link.txt", "link2.txt", "dangling.txt"}) {
    ASSERT_EQ(::lstat(dir.File(link).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << link;
  }
  EXPECT_EQ(FolderNames(dir.File("real")), (Names{"later.txt", "target.txt"}));
}

// Where a file is written in place, and what it then holds.
TEST(OutputFileTest, WritesInPlaceWhereReplacingWouldNotDo) {
  TempDir dir;
  // A file with a second hard link: both names see the new content.
  const std::string linked = dir.Write("linked.txt", "old");
  ASSERT_EQ(::link(linked.c_str(), dir.File("other-name.txt").c_str()), 0);
  OutputFile hard;
  ASSERT_EQ(WriteWhole(&hard, linked, "shared"), 0);
  EXPECT_TRUE(hard.in_place());
  EXPECT_EQ(ReadFileBytes(dir.File("other-name.txt")), "shared");
  // A name too long for a temporary file beside it.
  const std::string long_name = dir.File(std::string(250, 'n'));
  OutputFile named;
  ASSERT_EQ(WriteWhole(&named, long_name, "long"), 0);
  EXPECT_TRUE(named.in_place());
  EXPECT_EQ(ReadFileBytes(long_name), "long");
  // A device.
  OutputFile device;
  ASSERT_EQ(WriteWhole(&device, "/dev/null", "gone"), 0);
  EXPECT_TRUE(device.in_place());
  EXPECT_EQ(FolderNames(dir.path()),
            (Names{"linked.txt", std::string(250, 'n'), "other-name.txt"}));
}

TEST(OutputFileTest, PathsThatCannotBeWritten) {
  TempDir dir;
  const struct {
    std::string path;
    int err;
  } kCases[] = {{dir.path(), EISDIR}, {dir.File("missing/out.txt"), ENOENT}};
  for (const auto& c : kCases) {
    OutputFile file;
    EXPECT_EQ(file.Open(c.path), c.err) << c.path;
  }
  OutputFile full;
  ASSERT_EQ(full.Open("/dev/full"), 0);
  EXPECT_EQ(full.Write("x"), ENOSPC);
  EXPECT_TRUE(FolderNames(dir.path()).empty());
}

// A write that fails (here: past a file-size limit, as on a full disk)
// leaves an earlier file as it was and no temporary file; a file written in
// place is emptied rather than left cut off. A file not committed is
// discarded when it goes, as by Discard.
TEST(OutputFileTest, AFailedWriteLeavesNoCutOffFile) {
  TempDir dir;
  const std::string path = dir.Write("out.txt", "earlier results");
  const std::string linked = dir.Write("linked.txt", "earlier results");
  ASSERT_EQ(::link(linked.c_str(), dir.File("second-link.txt").c_str()), 0);
  const std::string big(64 * 1024, 'b');
  for (const std::string& target : {path, linked}) {
    OutputFile file;
    ASSERT_EQ(file.Open(target), 0) << target;
    int err = 0;
    {
      FileSizeLimit limit(16 * 1024);
      err = file.Write(big);
    }
    EXPECT_EQ(err, EFBIG) << target;
    if (target == linked) file.Discard();
  }
  EXPECT_EQ(ReadFileBytes(path), "earlier results");
  EXPECT_EQ(ReadFileBytes(linked), "");
  EXPECT_EQ(FolderNames(dir.path()), (Names{"linked.txt", "out.txt", "second-link.txt"}));
}

}  // namespace
}  // namespace vorn
