// Docx: takes a Word .docx document apart for the count run.
//
// A .docx file is a zip archive whose text lies in the member
// word/document.xml. ExtractDocument makes a temporary folder for the run
// (<temp>/VORN001/ and so on), inflates that member into memory, checks its
// checksum and size, and asks the caller's questions about a damaged or a big
// member; ConvertDocumentXml and WriteLines (docx_xml.h) then turn the XML
// into the temporary text file that the count run reads like any other
// input file. The member is inflated into a buffer that never grows past
// kDocxMaxSize + 1 bytes, whatever sizes the archive's headers claim, and
// nothing of the archive is ever written to disk: a member named
// "../evil.xml" or "/etc/x" is never even looked at.
//
// Nothing here shows anything: questions go through the DocxAsk callback the
// caller passes, and DocxMessage gives the message of each result code.
//
// Functions over the file system; thread-compatible (two threads must not
// make or delete the temporary folders of one base folder at once).

#ifndef VORN_INPUT_DOCX_H_
#define VORN_INPUT_DOCX_H_

#include <cstdint>
#include <functional>
#include <string>

#include "input/docx_xml.h"
#include "util/host.h"

namespace vorn {

// Sizes of the XML member: above kDocxWarnSize the user is asked whether to
// go on; above kDocxMaxSize the document is refused.
inline constexpr int64_t kDocxWarnSize = 10485760;  // 10 x 1024 x 1024
inline constexpr int64_t kDocxMaxSize = 20971520;   // 20 x 1024 x 1024

// The member that holds the document's text.
inline constexpr char kDocumentXmlName[] = "word/document.xml";

// The prefix of the temporary folders.
inline constexpr char kTempFolderPrefix[] = "VORN";

// Result codes of ExtractDocument and ExtractDocumentXml (a non-negative
// result is the size of the XML in bytes).
inline constexpr int kDocxNoTempFolder = -1;      // no temporary folder could be made
inline constexpr int kDocxChecksumDeclined = -2;  // checksum error, the user chose not to go on
inline constexpr int kDocxChecksumError = -3;     // checksum error, no question allowed
inline constexpr int kDocxTooLarge = -4;          // the XML is larger than kDocxMaxSize
inline constexpr int kDocxBigFileDeclined = -5;   // the user chose not to go on with a big file
inline constexpr int kDocxReadError = -6;         // the archive cannot be read (see read_error)
inline constexpr int kDocxNoDocumentXml = -7;     // the archive has no word/document.xml
inline constexpr int kDocxEncrypted = -8;         // word/document.xml is encrypted

// Whether the file exists, is a regular file, holds at least 10 bytes and
// begins with the zip signature "PK" 3 4. Never waits on a pipe.
bool IsZipFile(const std::string& path);

// Whether the file is a document: the extension, in any letter case, is
// "docx" and IsZipFile holds.
bool IsDocx(const std::string& path);

// A question for the user: Yes or No, with default_answer focused.
struct DocxQuestion {
  std::string title;
  std::string text;
  Buttons buttons = Buttons::kYesNo;
  Answer default_answer = Answer::kYes;
};

// Asks the user; the caller forwards it to Host::Ask. Only Answer::kYes goes
// on. An empty DocxAsk means that no question may be asked.
using DocxAsk = std::function<Answer(const DocxQuestion& question)>;

// "Invalid checksum found when processing" + path, "Do you wish to scan
// this file anyway?" (Yes is the default).
DocxQuestion ChecksumQuestion(const std::string& path);

// path + "is rather large. ..." "Do you wish to continue?", titled "Big
// file" (No is the default).
DocxQuestion BigFileQuestion(const std::string& path);

// What ExtractDocumentXml found in the archive.
struct DocumentXml {
  std::string xml;         // the inflated member (also after a checksum error)
  int64_t inflated = 0;    // bytes inflated; never more than kDocxMaxSize + 1
  std::string read_error;  // libzip's description, for kDocxReadError
};

// Finds word/document.xml in the archive at path (ignoring letter case in
// its name), inflates it into out->xml and checks its CRC-32. Returns the
// size of the XML; kDocxChecksumError when the CRC does not match (out->xml
// then holds all that was inflated); kDocxTooLarge as soon as more than
// kDocxMaxSize bytes have been inflated (out->xml is then emptied);
// kDocxNoDocumentXml, kDocxEncrypted, or kDocxReadError with libzip's
// description in out->read_error for every other failure (not a zip
// archive, a truncated or inconsistent one, damaged compressed data, an
// unsupported compression method).
int ExtractDocumentXml(const std::string& path, DocumentXml* out);

// What ExtractDocument made.
struct DocxExtraction {
  int code = kDocxNoTempFolder;  // the result code (see above)
  std::string temp_folder;       // TempFolder, with a trailing "/"; empty after a failure
  DocumentXml member;            // the XML, valid when code >= 0
  bool checksum_error = false;   // the member failed its checksum and the user went on
};

// Takes the document at path apart:
//  1. makes a temporary folder under temp_base (CreateTempFolder); none:
//     kDocxNoTempFolder;
//  2. inflates word/document.xml (ExtractDocumentXml); kDocxTooLarge,
//     kDocxNoDocumentXml, kDocxEncrypted and kDocxReadError are returned as
//     they are;
//  3. on a checksum error: kDocxChecksumError when ask is empty; otherwise
//     asks ChecksumQuestion and returns kDocxChecksumDeclined unless the
//     answer is Yes, which goes on with what was inflated;
//  4. above kDocxWarnSize bytes, when ask is set: asks BigFileQuestion and
//     returns kDocxBigFileDeclined unless the answer is Yes;
//  5. returns the size of the XML in code.
// After a failure the temporary folder has been deleted again; after a
// success it is the caller's to delete (DeleteTempFolder).
DocxExtraction ExtractDocument(const std::string& path, const std::string& temp_base,
                               const DocxAsk& ask);

// The folder under which the temporary folders are made: the system's
// temporary folder (TMPDIR, else /tmp), or "" when there is none.
std::string DocxTempBase();

// Makes the folder base/<prefix>NNN for the first NNN from 001 to 999 at
// which nothing exists yet (not a folder, a file or a link), readable only by
// this user, and returns its path with a trailing "/". Returns "" when base
// is empty or all 999 names are taken, or the folder cannot be made.
std::string CreateTempFolder(const std::string& base,
                             const std::string& prefix = kTempFolderPrefix);

// Deletes the folder with everything in it, ignoring errors.
void DeleteTempFolder(const std::string& folder);

// Deletes base/<prefix>000 to base/<prefix>999 wherever such a folder
// exists: after every count run and on quitting. A link of that name, and a
// folder that belongs to another user, are left alone.
void DeleteAllTempFolders(const std::string& base, const std::string& prefix = kTempFolderPrefix);

// The temporary text file of the document: temp_folder + the document's
// file name with its extension replaced by "txt" ("/d/Report.docx" and
// "/tmp/VORN001/" give "/tmp/VORN001/Report.txt").
std::string TempTextFilePath(const std::string& temp_folder, const std::string& document_path);

// Copies the text file to the folder "extracted_text" beside the document
// (made when missing), under the text file's name, replacing an older copy.
// Stores the copy's path in *copy_path. Returns false and fills *error with
// the system's description on failure.
bool CopyToExtractedText(const std::string& text_file, const std::string& document_path,
                         std::string* copy_path, std::string* error);

// A message for the user.
struct DocxNotice {
  std::string title;
  std::string text;  // empty: nothing is shown
  Icon icon = Icon::kNone;
};

// The message of a negative result code of ExtractDocument for the document
// at path; read_error is DocumentXml::read_error for kDocxReadError.
// kDocxChecksumDeclined gives no message (the user has just answered);
// kDocxBigFileDeclined gives the advice that follows the user's No.
DocxNotice DocxMessage(int code, const std::string& path, const std::string& read_error = "");

// The note on a document whose XML is damaged (DocumentText::problem): the
// text that could be recovered is counted. Empty text for kNone.
DocxNotice DocxXmlMessage(DocxXmlProblem problem, const std::string& path);

}  // namespace vorn

#endif  // VORN_INPUT_DOCX_H_
