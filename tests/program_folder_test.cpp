#include "util/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/settings.h"
#include "support/test_files.h"
#include "util/file_proc.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;

TEST(ProgramFolderTest, IsTheFolderOfThisTestProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(FolderExists(folder));
  EXPECT_TRUE(FileExists(folder + "/program_folder_test"));
}

TEST(ProgramFolderTest, LooksBesideTheProgramThenInShareThenInTheSourceData) {
  TempDir dir;
  const std::string bin = dir.File("prefix/bin");
  const std::string share = dir.File("prefix/share/vorn");
  const std::string source = dir.File("source/data");
  fs::create_directories(bin);
  fs::create_directories(share);
  fs::create_directories(source);
  for (const std::string& folder : {bin, share, source}) WriteFileBytes(folder + "/a.txt", "a");
  WriteFileBytes(share + "/b.txt", "b");
  WriteFileBytes(source + "/b.txt", "b");
  WriteFileBytes(source + "/c.txt", "c");

  EXPECT_EQ(FindDataFileIn("a.txt", bin, source), bin + "/a.txt");
  EXPECT_EQ(FindDataFileIn("b.txt", bin, source), share + "/b.txt");
  EXPECT_EQ(FindDataFileIn("c.txt", bin, source), source + "/c.txt");
  EXPECT_EQ(FindDataFileIn("d.txt", bin, source), "");
  EXPECT_EQ(FindDataFileIn("", bin, source), "");
  EXPECT_EQ(FindDataFileIn("c.txt", bin, ""), "");
  EXPECT_EQ(FindDataFileIn("c.txt", "", source), source + "/c.txt");
  EXPECT_EQ(FindDataFileIn("bin", dir.File("prefix"), ""), "");  // a folder is no file
}

TEST(ProgramFolderTest, FindManualFindsTheSourceTreesManualFromABuildTree) {
  const std::string path = FindManual();
  ASSERT_FALSE(path.empty());
  EXPECT_TRUE(SamePath(path, SourceDir() + "/docs/manual/index.html"));
}

TEST(ProgramFolderTest, FindManualLooksInShareDocThenInTheSourceTree) {
  TempDir dir;
  const std::string bin = dir.File("prefix/bin");
  const std::string installed = dir.File("prefix/share/doc/vorn/manual");
  const std::string data = dir.File("source/data");
  const std::string docs = dir.File("source/docs/manual");
  for (const std::string& folder : {bin, data, docs}) fs::create_directories(folder);

  EXPECT_EQ(FindManualIn(bin, data), "");
  WriteFileBytes(docs + "/index.html", "<html></html>");
  EXPECT_EQ(FindManualIn(bin, data), docs + "/index.html");
  EXPECT_EQ(FindManualIn("", data), docs + "/index.html");
  fs::create_directories(installed);
  WriteFileBytes(installed + "/index.html", "<html></html>");
  EXPECT_EQ(FindManualIn(bin, data), installed + "/index.html");
  EXPECT_EQ(FindManualIn(bin, ""), installed + "/index.html");
  EXPECT_EQ(FindManualIn("", ""), "");
}

TEST(ProgramFolderTest, CommonWordsFileNameFollowsTheLanguageList) {
  ASSERT_EQ(static_cast<int>(CommonWordsLanguageItems().size()), kCommonWordsLanguages + 1);
  EXPECT_EQ(CommonWordsLanguageItems()[kNoCommonWordsLanguage], "[No language selected]");
  EXPECT_EQ(CommonWordsFileName(0), "cwds_en.txt");
  EXPECT_EQ(CommonWordsFileName(1), "cwds_de.txt");
  EXPECT_EQ(CommonWordsFileName(2), "cwds_es.txt");
  EXPECT_EQ(CommonWordsFileName(3), "cwds_pt.txt");
  EXPECT_EQ(CommonWordsFileName(4), "cwds_it.txt");
  EXPECT_EQ(CommonWordsFileName(5), "cwds_fr.txt");
  EXPECT_EQ(CommonWordsFileName(6), "cwds_en_de_es_pt_it_fr.txt");
  EXPECT_EQ(CommonWordsFileName(kNoCommonWordsLanguage), "");
  EXPECT_EQ(CommonWordsFileName(-1), "");
  EXPECT_EQ(CommonWordsFileName(8), "");
}

}  // namespace
}  // namespace vorn
