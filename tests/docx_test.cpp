#include "input/docx.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "input/docx_xml.h"
#include "input/zip_library.h"
#include "support/test_files.h"

namespace vorn {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

// One member of a test archive.
struct Member {
  std::string name;
  std::string data;
  bool store = false;              // uncompressed, so that its bytes can be found and changed
  const char* password = nullptr;  // AES-256 encrypted with this password
};

// Writes the members to a new zip archive at path with libzip.
void WriteZip(const std::string& path, const std::vector<Member>& members) {
  int error = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(archive, nullptr) << error;
  for (const Member& m : members) {
    zip_source_t* source = zip_source_buffer(archive, m.data.data(), m.data.size(), 0);
    ASSERT_NE(source, nullptr);
    const zip_int64_t index = zip_file_add(archive, m.name.c_str(), source, ZIP_FL_ENC_UTF_8);
    ASSERT_GE(index, 0) << zip_strerror(archive);
    const auto i = static_cast<zip_uint64_t>(index);
    if (m.store) {
      ASSERT_EQ(zip_set_file_compression(archive, i, ZIP_CM_STORE, 0), 0);
    }
    if (m.password != nullptr) {
      ASSERT_EQ(zip_file_set_encryption(archive, i, ZIP_EM_AES_256, m.password), 0)
          << zip_strerror(archive);
    }
  }
  ASSERT_EQ(zip_close(archive), 0) << zip_strerror(archive);
}

// The XML of a document whose body is `body`.
std::string Document(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n"
         "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\">"
         "<w:body>" +
         body + "<w:sectPr><w:pgSz w:w=\"11906\"/></w:sectPr></w:body></w:document>";
}

// A paragraph of one run per text, each run with its formatting.
std::string Para(const std::vector<std::string>& runs) {
  std::string p = "<w:p><w:pPr><w:tabs><w:tab w:val=\"left\" w:pos=\"720\"/></w:tabs></w:pPr>";
  for (const std::string& text : runs) {
    p += "<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">" + text + "</w:t></w:r>";
  }
  return p + "</w:p>";
}

// Changes the 16- or 32-bit field at `offset` of every local header (PK 3 4,
// local_offset) and every central-directory header (PK 1 2, central_offset)
// of a zip archive.
void PatchHeaders(std::string* zip, size_t local_offset, size_t central_offset, uint32_t value,
                  int width) {
  auto patch = [&](const std::string& signature, size_t offset) {
    for (size_t at = zip->find(signature); at != std::string::npos;
         at = zip->find(signature, at + 4)) {
      for (int i = 0; i < width; ++i) (*zip)[at + offset + i] = static_cast<char>(value >> (8 * i));
    }
  };
  patch("PK\x03\x04"s, local_offset);
  patch("PK\x01\x02"s, central_offset);
}

// The questions asked through a DocxAsk, answered from a script.
struct Asker {
  explicit Asker(Answer a) : answer(a) {}
  Answer answer;
  std::vector<DocxQuestion> asked;
  DocxAsk Callback() {
    return [this](const DocxQuestion& q) {
      asked.push_back(q);
      return answer;
    };
  }
};

// A TempDir with a base folder for the temporary folders inside it.
struct DocxFiles {
  DocxFiles() { fs::create_directory(base()); }
  std::string base() const { return dir.File("tmp"); }
  // The temporary folders left under base().
  std::vector<std::string> TempFolders() const { return FolderNames(base()); }

  TempDir dir;
};

TEST(DocxTest, IsDocxNeedsTheExtensionAndTheZipSignature) {
  TempDir dir;
  WriteZip(dir.File("a.docx"), {{"word/document.xml", Document(Para({"x"}))}});
  fs::copy_file(dir.File("a.docx"), dir.File("B.DocX"));
  fs::copy_file(dir.File("a.docx"), dir.File("c.odt"));
  fs::copy_file(dir.File("a.docx"), dir.File("docx"));
  dir.Write("text.docx", "This is not a zip archive.");
  dir.Write("nine.docx", "PK\x03\x04zzzzz"s);
  dir.Write("ten.docx", "PK\x03\x04zzzzzz"s);
  fs::create_directory(dir.File("folder.docx"));
  const struct {
    std::string path;
    bool zip;
    bool docx;
  } kCases[] = {{dir.File("a.docx"), true, true},
                {dir.File("B.DocX"), true, true},
                {dir.File("c.odt"), true, false},
                {dir.File("docx"), true, false},
                {dir.File("text.docx"), false, false},
                {dir.File("nine.docx"), false, false},  // a zip holds at least 10 bytes
                {dir.File("ten.docx"), true, true},
                {dir.File("folder.docx"), false, false},
                {dir.File("missing.docx"), false, false},
                {dir.MakeFifo("pipe.docx"), false, false},  // not waited on
                {"", false, false}};
  for (const auto& c : kCases) {
    EXPECT_EQ(IsZipFile(c.path), c.zip) << c.path;
    EXPECT_EQ(IsDocx(c.path), c.docx) << c.path;
  }
}

TEST(DocxXmlTest, RunsBecomeLines) {
  const struct {
    const char* what;
    std::string body;
    Lines want;
  } kCases[] = {
      {"paragraphs",
       Para({"First paragraph."}) + Para({"Second ", "one."}),
       {"First paragraph. ", "Second ", "one."}},
      {"line breaks",
       "<w:p><w:r><w:t>a</w:t><w:br/><w:t>b</w:t></w:r><w:r><w:br w:type=\"page\"/></w:r>"
       "<w:r><w:t>c</w:t><w:cr/></w:r><w:r><w:t>d</w:t></w:r></w:p>",
       {"a ", "b ", "c ", "d"}},
      {"tabs give no text but keep words apart",
       "<w:p><w:r><w:t>a</w:t></w:r><w:r><w:tab/></w:r><w:r><w:t>b</w:t></w:r>"
       "<w:r><w:tab/></w:r></w:p>" +
           Para({"c"}),
       {"a ", "b ", "c"}},
      {"a table",
       "<w:tbl><w:tblPr><w:tblW w:w=\"0\"/></w:tblPr><w:tr><w:tc><w:tcPr/>" + Para({"cell1"}) +
           "</w:tc><w:tc>" + Para({"cell", "2"}) + "</w:tc></w:tr></w:tbl>" + Para({"after"}),
       {"cell1 ", "cell", "2 ", "after"}},
      {"entities, each decoded once",
       Para({"&amp;lt; &amp; &lt;b&gt; &quot;q&quot; it&apos;s caf&#233; na&#xEF;ve &#x20AC;"}),
       {"&lt; & <b> \"q\" it's caf\xC3\xA9 na\xC3\xAFve \xE2\x82\xAC"}},
      {"blank and empty runs", Para({"a", "   ", "b", "", "c", ""}), {"a", " ", "b", "", "c", ""}},
      {"other elements whose names begin with w:t",
       "<w:p><w:r><w:tab/><w:tbl/><w:t/><w:tcW/><w:t>x</w:t></w:r></w:p>",
       {"x"}},
      {"a \">\" in an attribute value",
       "<w:p><w:sdt><w:sdtPr><w:alias w:val=\"a>b\"/></w:sdtPr></w:sdt>"
       "<w:r><w:t>text</w:t></w:r></w:p>",
       {"text"}},
      {"deleted text and field codes are not text",
       "<w:p><w:del><w:r><w:delText>gone</w:delText></w:r></w:del><w:r><w:instrText> PAGE "
       "</w:instrText></w:r><w:r><w:t>kept</w:t></w:r></w:p>",
       {"kept"}},
      {"a text box counts once",
       "<w:p><mc:AlternateContent><mc:Choice Requires=\"wps\"><w:txbxContent>" + Para({"box"}) +
           "</w:txbxContent></mc:Choice><mc:Fallback><w:txbxContent>" + Para({"box"}) +
           "</w:txbxContent></mc:Fallback></mc:AlternateContent></w:p>" + Para({"next"}),
       {"box ", "next"}},
      {"comments and CDATA",
       "<!-- <w:t>not text</w:t> --><w:p><w:r><w:t>a<![CDATA[<&>]]>b<!-- c --></w:t></w:r></w:p>",
       {"a<&>b"}},
      {"a non-breaking hyphen belongs to the word",
       "<w:p><w:r><w:t>well</w:t><w:noBreakHyphen/><w:t>known</w:t></w:r></w:p>",
       {"well", "-", "known"}},
      {"no runs at all", "<w:p/><w:tbl/>", {}},
  };
  for (const auto& c : kCases) {
    const DocumentText text = ConvertDocumentXml(Document(c.body));
    EXPECT_EQ(text.lines, c.want) << c.what;
    EXPECT_EQ(text.problem, DocxXmlProblem::kNone) << c.what;
    int64_t total = 0;
    for (const std::string& line : text.lines) total += static_cast<int64_t>(line.size());
    EXPECT_EQ(text.total_length, total) << c.what;
  }
}

TEST(DocxXmlTest, DamagedXmlKeepsWhatCanBeRead) {
  const struct {
    const char* what;
    std::string xml;
    Lines want;
    DocxXmlProblem problem;
    size_t offset;
  } kCases[] = {
      {"a run that never ends",
       "<w:p><w:r><w:t>abc def",
       {"abc def"},
       DocxXmlProblem::kUnclosedRun,
       15},
      {"a run cut by another run",
       "<w:t>ab<w:t>cd</w:t></w:p><w:t>e</w:t>",
       {"ab", "cd ", "e"},
       DocxXmlProblem::kUnclosedRun,
       5},
      {"the XML ends inside a tag",
       "<w:t>a</w:t></w:r></w:p><w:p><w:r",
       {"a"},
       DocxXmlProblem::kUnclosedTag,
       29},
      {"the XML ends inside a closing tag",
       "<w:t>abc</w:",
       {"abc"},
       DocxXmlProblem::kUnclosedRun,
       5},
      {"an unclosed comment",
       "<w:t>a</w:t><!-- <w:t>b</w:t>",
       {"a"},
       DocxXmlProblem::kUnclosedTag,
       12},
      {"a bare ampersand",
       "<w:t>fish & chips &amp; peas</w:t>",
       {"fish & chips & peas"},
       DocxXmlProblem::kBadEntity,
       10},
      {"an entity split over two runs",
       "<w:t>&am</w:t><w:t>p;</w:t>",
       {"&am", "p;"},
       DocxXmlProblem::kBadEntity,
       5},
      {"unknown and invalid references",
       "<w:t>&nbsp;&#0;&#xD800;&#12a;</w:t>",
       {"&nbsp;&#0;&#xD800;&#12a;"},
       DocxXmlProblem::kBadEntity,
       5},
  };
  for (const auto& c : kCases) {
    const DocumentText text = ConvertDocumentXml(c.xml);
    EXPECT_EQ(text.lines, c.want) << c.what;
    EXPECT_EQ(text.problem, c.problem) << c.what;
    EXPECT_EQ(text.problem_offset, c.offset) << c.what;
  }
  EXPECT_EQ(DocxXmlMessage(DocxXmlProblem::kUnclosedTag, "/d/a.docx").text,
            "/d/a.docx\r\nis damaged: the XML ends inside a tag.\r\n"
            "Its text is counted as far as it can be read.");
  EXPECT_EQ(DocxXmlMessage(DocxXmlProblem::kNone, "/d/a.docx").text, "");
}

TEST(DocxXmlTest, ProgressIsReportedAndCanStop) {
  std::string body;
  for (int i = 0; i < 2000; ++i) body += Para({"word" + std::to_string(i) + "."});
  const std::string xml = Document(body);
  std::vector<size_t> positions;
  const DocumentText all = ConvertDocumentXml(xml, [&](size_t pos, size_t length, const Lines&) {
    EXPECT_EQ(length, xml.size());
    positions.push_back(pos);
    return true;
  });
  EXPECT_FALSE(all.stopped);
  EXPECT_EQ(all.lines.size(), 2000u);
  ASSERT_GE(positions.size(), xml.size() / kDocxProgressStep - 1);
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

  size_t seen = 0;
  const DocumentText stopped = ConvertDocumentXml(xml, [&](size_t, size_t, const Lines& lines) {
    seen = lines.size();
    return false;
  });
  EXPECT_TRUE(stopped.stopped);
  // The run that was being read when the conversion stopped is kept.
  EXPECT_EQ(stopped.lines.size(), seen + 1);
  EXPECT_LT(stopped.lines.size(), 2000u);
}

TEST(DocxXmlTest, WriteLinesEndsLinesAfterSentences) {
  TempDir dir;
  const struct {
    Lines lines;
    std::string want;
  } kCases[] = {
      {{"Hel", "lo."}, "Hello.\r\n"},
      {{"One. ", "Two ", "three.  ", "Four"}, "One. \r\nTwo three.  \r\nFour"},
      {{"It is 3.", "14 today."}, "It is 3.14 today.\r\n"},  // not a sentence end
      {{"Dr.", "", " Who."}, "Dr.\r\n Who.\r\n"},
      {{"a.b. ", "c"}, "a.b. \r\nc"},
      {{" ", "x"}, " x"},
      {{}, ""},
      // Text with any byte above ASCII is marked as UTF-8.
      {{"caf\xC3\xA9."},
       "\xEF\xBB\xBF"
       "caf\xC3\xA9.\r\n"},
  };
  for (const auto& c : kCases) {
    std::string error;
    ASSERT_TRUE(WriteLines(dir.File("out.txt"), c.lines, &error)) << error;
    EXPECT_EQ(ReadFileBytes(dir.File("out.txt")), c.want) << c.want;
  }
  std::string error;
  EXPECT_FALSE(WriteLines(dir.File("missing/out.txt"), {"x"}, &error));
  EXPECT_EQ(error, "No such file or directory");
}

TEST(DocxTest, ExtractsTheTextOfADocument) {
  DocxFiles f;
  const std::string doc = f.dir.File("Report.v2.docx");
  const std::string xml =
      Document(Para({"The first ", "sent", "ence."}) + Para({"Fish &amp; chips"}) +
               "<w:p><w:r><w:t>Line</w:t><w:br/><w:t>end.</w:t></w:r></w:p>" +
               Para({"Pi is 3.", "14 or so."}));
  WriteZip(doc, {{"[Content_Types].xml", "<Types/>"},
                 {"word/styles.xml", "<w:styles/>"},
                 {"word/document.xml", xml}});
  Asker asker(Answer::kYes);
  DocxExtraction x = ExtractDocument(doc, f.base(), asker.Callback());
  ASSERT_EQ(x.code, static_cast<int>(xml.size()));
  EXPECT_TRUE(asker.asked.empty());
  EXPECT_FALSE(x.checksum_error);
  EXPECT_EQ(x.member.xml, xml);
  EXPECT_EQ(x.member.inflated, static_cast<int64_t>(xml.size()));
  EXPECT_EQ(x.temp_folder, f.base() + "/VORN001/");
  // Nothing of the archive is written to the temporary folder.
  EXPECT_EQ(FolderNames(x.temp_folder), Lines{});

  const DocumentText text = ConvertDocumentXml(x.member.xml);
  const std::string text_file = TempTextFilePath(x.temp_folder, doc);
  EXPECT_EQ(text_file, f.base() + "/VORN001/Report.v2.txt");
  std::string error;
  ASSERT_TRUE(WriteLines(text_file, text.lines, &error)) << error;
  const std::string want =
      "The first sentence. \r\nFish & chips Line end. \r\nPi is 3.14 or so.\r\n";
  EXPECT_EQ(ReadFileBytes(text_file), want);

  // The copy beside the document, made twice: the second replaces the first.
  std::string copy;
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(CopyToExtractedText(text_file, doc, &copy, &error)) << error;
  }
  EXPECT_EQ(copy, f.dir.File("extracted_text/Report.v2.txt"));
  EXPECT_EQ(ReadFileBytes(copy), want);
  // A file where the folder should be.
  TempDir other;
  other.Write("extracted_text", "");
  EXPECT_FALSE(CopyToExtractedText(text_file, other.File("a.docx"), &copy, &error));
  EXPECT_EQ(error, "File exists");

  DeleteTempFolder(x.temp_folder);
  EXPECT_EQ(f.TempFolders(), Lines{});
}

TEST(DocxTest, TemporaryFoldersAreNumberedAndDeleted) {
  DocxFiles f;
  EXPECT_FALSE(DocxTempBase().empty());
  EXPECT_EQ(CreateTempFolder(f.base()), f.base() + "/VORN001/");
  EXPECT_EQ(CreateTempFolder(f.base() + "/"), f.base() + "/VORN002/");
  // A name already taken by a file or a dangling link is passed over.
  WriteFileBytes(f.base() + "/VORN003", "x");
  fs::create_symlink(f.dir.File("nowhere"), f.base() + "/VORN004");
  EXPECT_EQ(CreateTempFolder(f.base()), f.base() + "/VORN005/");
  struct stat st {};
  ASSERT_EQ(stat((f.base() + "/VORN005").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(CreateTempFolder(""), "");
  EXPECT_EQ(CreateTempFolder(f.dir.File("missing")), "");

  // DeleteAllTempFolders removes the folders with their contents, VORN000
  // too, and leaves links, files and other names alone.
  WriteFileBytes(f.base() + "/VORN001/a.txt", "text");
  fs::create_directory(f.base() + "/VORN000");
  fs::create_directory(f.base() + "/VORN1000");
  fs::create_directory(f.base() + "/vorn006");
  fs::create_directory(f.dir.File("kept"));
  WriteFileBytes(f.dir.File("kept/file.txt"), "keep me");
  fs::create_symlink(f.dir.File("kept"), f.base() + "/VORN007");
  DeleteAllTempFolders(f.base());
  EXPECT_EQ(f.TempFolders(), (Lines{"VORN003", "VORN004", "VORN007", "VORN1000", "vorn006"}));
  EXPECT_EQ(ReadFileBytes(f.dir.File("kept/file.txt")), "keep me");

  // Without a temporary folder no document is taken apart.
  const std::string doc = f.dir.File("a.docx");
  WriteZip(doc, {{"word/document.xml", Document(Para({"x"}))}});
  EXPECT_EQ(ExtractDocument(doc, f.dir.File("missing"), nullptr).code, kDocxNoTempFolder);
  EXPECT_EQ(ExtractDocument(doc, "", nullptr).code, kDocxNoTempFolder);
}

TEST(DocxTest, ChecksumErrorAsksWhetherToGoOn) {
  DocxFiles f;
  const std::string doc = f.dir.File("damaged.docx");
  const std::string xml = Document(Para({"An intact sentence."}));
  WriteZip(doc, {{"word/document.xml", xml, true}});
  std::string bytes = ReadFileBytes(doc);
  const size_t at = bytes.find("intact");
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'I';
  WriteFileBytes(doc, bytes);

  DocumentXml member;
  EXPECT_EQ(ExtractDocumentXml(doc, &member), kDocxChecksumError);
  EXPECT_EQ(member.xml.size(), xml.size());

  // No question allowed.
  EXPECT_EQ(ExtractDocument(doc, f.base(), nullptr).code, kDocxChecksumError);
  EXPECT_EQ(f.TempFolders(), Lines{});

  // The user declines.
  Asker no(Answer::kNo);
  DocxExtraction x = ExtractDocument(doc, f.base(), no.Callback());
  EXPECT_EQ(x.code, kDocxChecksumDeclined);
  EXPECT_EQ(x.temp_folder, "");
  EXPECT_EQ(f.TempFolders(), Lines{});
  ASSERT_EQ(no.asked.size(), 1u);
  EXPECT_EQ(no.asked[0].title, "VORN");
  EXPECT_EQ(no.asked[0].text, "Invalid checksum found when processing\r\n" + doc +
                                  "\r\n\r\nDo you wish to scan this file anyway?");
  EXPECT_EQ(no.asked[0].buttons, Buttons::kYesNo);
  EXPECT_EQ(no.asked[0].default_answer, Answer::kYes);

  // The user goes on: the damaged text is read as it is.
  Asker yes(Answer::kYes);
  x = ExtractDocument(doc, f.base(), yes.Callback());
  EXPECT_EQ(x.code, static_cast<int>(xml.size()));
  EXPECT_TRUE(x.checksum_error);
  EXPECT_EQ(yes.asked.size(), 1u);
  EXPECT_EQ(ConvertDocumentXml(x.member.xml).lines, Lines{"An Intact sentence."});
  DeleteTempFolder(x.temp_folder);
}

TEST(DocxTest, ArchivesThatCannotBeReadAreRefused) {
  DocxFiles f;
  const std::string xml = Document(Para({"x"}));
  const std::string good = f.dir.File("good.docx");
  WriteZip(good, {{"word/document.xml", xml}});
  const std::string zip = ReadFileBytes(good);

  const std::string truncated = f.dir.Write("truncated.docx", zip.substr(0, zip.size() / 2));
  const std::string cut_tail = f.dir.Write("tail.docx", zip.substr(0, zip.size() - 3));
  const std::string not_zip = f.dir.Write("text.docx", "Just some words, no archive.");
  std::string method = zip;
  PatchHeaders(&method, 8, 10, 97, 2);  // a compression method nobody knows
  const std::string unknown_method = f.dir.Write("method.docx", method);
  const std::string no_member = f.dir.File("nodoc.docx");
  WriteZip(no_member, {{"word/styles.xml", "<w:styles/>"}, {"word/document2.xml", xml}});
  const std::string encrypted = f.dir.File("locked.docx");
  WriteZip(encrypted, {{"word/document.xml", xml, false, "secret"}});

  const struct {
    std::string path;
    int code;
    std::string read_error;
  } kCases[] = {
      {truncated, kDocxReadError, "Not a zip archive"},
      {cut_tail, kDocxReadError, "Not a zip archive"},
      {not_zip, kDocxReadError, "Not a zip archive"},
      {unknown_method, kDocxReadError, "Compression method not supported"},
      {f.dir.File("missing.docx"), kDocxReadError, "No such file"},
      {f.dir.path(), kDocxReadError, "Not a regular file"},
      {no_member, kDocxNoDocumentXml, ""},
      {encrypted, kDocxEncrypted, ""},
  };
  for (const auto& c : kCases) {
    DocumentXml member;
    EXPECT_EQ(ExtractDocumentXml(c.path, &member), c.code) << c.path;
    EXPECT_EQ(member.read_error, c.read_error) << c.path;
    EXPECT_EQ(member.xml, "") << c.path;
    const DocxExtraction x = ExtractDocument(c.path, f.base(), nullptr);
    EXPECT_EQ(x.code, c.code) << c.path;
    EXPECT_EQ(x.member.read_error, c.read_error) << c.path;
    EXPECT_EQ(f.TempFolders(), Lines{}) << c.path;
  }
  // The member name is found whatever its letter case.
  const std::string upper = f.dir.File("upper.docx");
  WriteZip(upper, {{"Word/Document.XML", xml}});
  DocumentXml member;
  EXPECT_EQ(ExtractDocumentXml(upper, &member), static_cast<int>(xml.size()));
}

TEST(DocxTest, AZipLibraryThatCannotBeLoadedIsNamedInTheError) {
  ZipLibrary library;
  std::string error;
  EXPECT_FALSE(LoadZipLibrary("libvorn-no-such-zip.so.0", &library, &error));
  EXPECT_EQ(error.rfind("the zip library libvorn-no-such-zip.so.0 cannot be loaded", 0), 0u)
      << error;
  // A library that is not libzip lacks its functions.
  EXPECT_FALSE(LoadZipLibrary("libc.so.6", &library, &error));
  EXPECT_EQ(error, "the zip library has no zip_open");
  EXPECT_EQ(library.open, nullptr);
  // The library the program loads has every function.
  ASSERT_NE(Zip(&error), nullptr) << error;
  EXPECT_NE(Zip(&error)->file_strerror, nullptr);
}

TEST(DocxTest, MemberNamesNeverReachTheDisk) {
  DocxFiles f;
  fs::create_directory(f.dir.File("docs"));
  const std::string doc = f.dir.File("docs/evil.docx");
  const std::string xml = Document(Para({"Harmless."}));
  WriteZip(doc, {{"../evil.xml", "<evil/>"},
                 {"../../word/document.xml", "<w:t>wrong one</w:t>"},
                 {"/tmp/vorn-absolute.xml", "<evil/>"},
                 {"word/document.xml", xml}});
  DocxExtraction x = ExtractDocument(doc, f.base(), nullptr);
  ASSERT_EQ(x.code, static_cast<int>(xml.size()));
  EXPECT_EQ(x.member.xml, xml);
  const std::string text_file = TempTextFilePath(x.temp_folder, doc);
  std::string error;
  ASSERT_TRUE(WriteLines(text_file, ConvertDocumentXml(x.member.xml).lines, &error)) << error;
  EXPECT_EQ(FolderNames(x.temp_folder), Lines{"evil.txt"});
  EXPECT_EQ(FolderNames(f.base()), Lines{"VORN001"});
  EXPECT_EQ(FolderNames(f.dir.File("docs")), Lines{"evil.docx"});
  EXPECT_EQ(FolderNames(f.dir.path()), (Lines{"docs", "tmp"}));
  EXPECT_FALSE(fs::exists("/tmp/vorn-absolute.xml"));
  DeleteTempFolder(x.temp_folder);
}

TEST(DocxTest, SizeLimits) {
  DocxFiles f;
  // The sizes are those of the XML member; its content does not matter here.
  const struct {
    int64_t size;
    Answer answer;
    bool asked;
    int code;
  } kCases[] = {
      {kDocxWarnSize, Answer::kNo, false, static_cast<int>(kDocxWarnSize)},
      {kDocxWarnSize + 1, Answer::kNo, true, kDocxBigFileDeclined},
      {kDocxMaxSize, Answer::kYes, true, static_cast<int>(kDocxMaxSize)},
      {kDocxMaxSize + 1, Answer::kYes, false, kDocxTooLarge},
  };
  const std::string doc = f.dir.File("big.docx");
  for (const auto& c : kCases) {
    WriteZip(doc, {{"word/document.xml", std::string(static_cast<size_t>(c.size), 'a')}});
    Asker asker(c.answer);
    const DocxExtraction x = ExtractDocument(doc, f.base(), asker.Callback());
    EXPECT_EQ(x.code, c.code) << c.size;
    EXPECT_EQ(asker.asked.size(), c.asked ? 1u : 0u) << c.size;
    EXPECT_EQ(f.TempFolders(), c.code < 0 ? Lines{} : Lines{"VORN001"}) << c.size;
    DeleteAllTempFolders(f.base());
    if (c.code == kDocxBigFileDeclined) {
      EXPECT_EQ(asker.asked[0].title, "Big file");
      EXPECT_EQ(asker.asked[0].text, doc +
                                         "\r\nis rather large.  It may take awhile to scan.\r\n"
                                         "Do you wish to continue?");
      EXPECT_EQ(asker.asked[0].default_answer, Answer::kNo);
      // With no question allowed the big document is read.
      EXPECT_EQ(ExtractDocument(doc, f.base(), nullptr).code, c.size);
      DeleteAllTempFolders(f.base());
    }
  }
}

TEST(DocxTest, ZipBombIsRefusedWhileInflating) {
  TempDir dir;
  // 25 MB of one character compress to a few kilobytes.
  const int64_t size = 25 * 1024 * 1024;
  const std::string doc = dir.File("bomb.docx");
  WriteZip(doc, {{"word/document.xml", std::string(static_cast<size_t>(size), 'a')}});
  std::string zip = ReadFileBytes(doc);
  EXPECT_LT(zip.size(), 100'000u);
  // The same archive with headers that claim 1,000 bytes: the limit does
  // not rest on what the headers say.
  PatchHeaders(&zip, 22, 24, 1000, 4);
  const std::string lying = dir.Write("lying.docx", zip);
  for (const std::string& path : {doc, lying}) {
    DocumentXml member;
    EXPECT_EQ(ExtractDocumentXml(path, &member), kDocxTooLarge) << path;
    // Inflating stopped one byte past the limit, not at the end of the member.
    EXPECT_EQ(member.inflated, kDocxMaxSize + 1) << path;
    EXPECT_LT(member.xml.capacity(), 1024u) << path;
  }
}

TEST(DocxTest, MessagesOfTheResultCodes) {
  const std::string path = "/d/Report.docx";
  const struct {
    int code;
    std::string title;
    std::string text;
    Icon icon;
  } kCases[] = {
      {kDocxNoTempFolder, "VORN", "Unable to create temporary folder.", Icon::kExclamation},
      {kDocxChecksumDeclined, "", "", Icon::kNone},
      {kDocxChecksumError, "Error", "Invalid checksum found when processing\r\n/d/Report.docx",
       Icon::kExclamation},
      {kDocxTooLarge, "File too big",
       "/d/Report.docx\r\nis too large (more than 20 Mb) to be scanned directly.\r\n\r\n"
       "You might be able to save it as a text file\r\nand apply this program to that file.",
       Icon::kInformation},
      {kDocxBigFileDeclined, "Big file",
       "You could try saving it as a text file\r\nand applying this program to that file.",
       Icon::kNone},
      {kDocxReadError, "Error",
       "/d/Report.docx\r\ncannot be read as a docx document (Not a zip archive).",
       Icon::kExclamation},
      {kDocxNoDocumentXml, "Error",
       "/d/Report.docx\r\nis not a Word document: it holds no word/document.xml.",
       Icon::kExclamation},
      {kDocxEncrypted, "Encrypted document",
       "/d/Report.docx\r\nis encrypted (protected by a password) and cannot be scanned.",
       Icon::kInformation},
      {0, "", "", Icon::kNone},
  };
  for (const auto& c : kCases) {
    const DocxNotice notice = DocxMessage(c.code, path, "Not a zip archive");
    EXPECT_EQ(notice.title, c.title) << c.code;
    EXPECT_EQ(notice.text, c.text) << c.code;
    EXPECT_EQ(notice.icon, c.icon) << c.code;
  }
}

}  // namespace
}  // namespace vorn
