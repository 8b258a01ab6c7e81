#include "input/docx.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "input/zip_library.h"
#include "util/file_proc.h"
#include "util/message_table.h"

namespace vorn {

namespace fs = std::filesystem;

namespace {

// The bytes asked of libzip at a time while the member is inflated.
constexpr int64_t kInflateChunk = 64 * 1024;

struct ArchiveCloser {
  const ZipLibrary* zip;
  void operator()(zip_t* archive) const { zip->discard(archive); }
};
struct MemberCloser {
  const ZipLibrary* zip;
  void operator()(zip_file_t* file) const { zip->fclose(file); }
};

std::string ProgramTitle() {
  std::string title = GetMessageText(1);
  return title.empty() ? "VORN" : title;
}

// base without its trailing "/" (the root stays "/").
std::string WithoutTrailingSlash(std::string base) {
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  return base;
}

std::string NumberedFolder(const std::string& base, const std::string& prefix, int n) {
  char digits[8];
  std::snprintf(digits, sizeof digits, "%03d", n);
  const std::string root = WithoutTrailingSlash(base);
  return (root == "/" ? root : root + "/") + prefix + digits;
}

bool IsEncryptionError(int code) {
  return code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD || code == ZIP_ER_ENCRNOTSUPP;
}

}  // namespace

bool IsZipFile(const std::string& path) {
  if (path.empty()) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat st {};
  unsigned char head[4] = {};
  const bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 10 &&
                  read(fd, head, sizeof head) == static_cast<ssize_t>(sizeof head);
  close(fd);
  return ok && head[0] == 'P' && head[1] == 'K' && head[2] == 3 && head[3] == 4;
}

bool IsDocx(const std::string& path) { return LowerExtension(path) == "docx" && IsZipFile(path); }

DocxQuestion ChecksumQuestion(const std::string& path) {
  return {ProgramTitle(),
          "Invalid checksum found when processing\r\n" + path +
              "\r\n\r\nDo you wish to scan this file anyway?",
          Buttons::kYesNo, Answer::kYes};
}

DocxQuestion BigFileQuestion(const std::string& path) {
  return {"Big file",
          path + "\r\nis rather large.  It may take awhile to scan.\r\nDo you wish to continue?",
          Buttons::kYesNo, Answer::kNo};
}

int ExtractDocumentXml(const std::string& path, DocumentXml* out) {
  *out = DocumentXml();
  // libzip would open a pipe or a device and wait on it.
  const PathKind kind = ClassifyPath(path);
  if (kind != PathKind::kRegular) {
    out->read_error = kind == PathKind::kMissing ? "No such file" : "Not a regular file";
    return kDocxReadError;
  }
  const ZipLibrary* zip = Zip(&out->read_error);
  if (zip == nullptr) return kDocxReadError;
  int open_error = 0;
  std::unique_ptr<zip_t, ArchiveCloser> archive(zip->open(path.c_str(), ZIP_RDONLY, &open_error),
                                                ArchiveCloser{zip});
  if (!archive) {
    zip_error_t error;
    zip->error_init_with_code(&error, open_error);
    out->read_error = zip->error_strerror(&error);
    zip->error_fini(&error);
    return kDocxReadError;
  }
  // Part names of a package are compared without regard to letter case.
  const zip_int64_t index = zip->name_locate(archive.get(), kDocumentXmlName, ZIP_FL_NOCASE);
  if (index < 0) return kDocxNoDocumentXml;
  const auto member_index = static_cast<zip_uint64_t>(index);
  zip_stat_t st;
  zip->stat_init(&st);
  if (zip->stat_index(archive.get(), member_index, 0, &st) == 0 &&
      (st.valid & ZIP_STAT_ENCRYPTION_METHOD) != 0 && st.encryption_method != ZIP_EM_NONE) {
    return kDocxEncrypted;
  }
  std::unique_ptr<zip_file_t, MemberCloser> member(zip->fopen_index(archive.get(), member_index, 0),
                                                   MemberCloser{zip});
  if (!member) {
    const int code = zip->error_code_zip(zip->get_error(archive.get()));
    if (IsEncryptionError(code)) return kDocxEncrypted;
    out->read_error = zip->strerror(archive.get());
    return kDocxReadError;
  }
  // The size in the headers is only a hint for the first allocation: a
  // member may inflate to far more than it claims, so the reading itself
  // stops one byte past the limit.
  if ((st.valid & ZIP_STAT_SIZE) != 0) {
    out->xml.reserve(static_cast<size_t>(std::min<zip_uint64_t>(st.size, kDocxMaxSize + 1)));
  }
  std::string& xml = out->xml;
  while (true) {
    const int64_t room = kDocxMaxSize + 1 - out->inflated;
    if (room <= 0) {
      std::string().swap(xml);
      return kDocxTooLarge;
    }
    const size_t old_size = xml.size();
    const auto want = static_cast<size_t>(std::min(room, kInflateChunk));
    xml.resize(old_size + want);
    const zip_int64_t got = zip->fread(member.get(), xml.data() + old_size, want);
    if (got < 0) {
      xml.resize(old_size);
      // libzip checks the CRC-32 when the member's data has been read to its
      // end, so all of it is in xml by now.
      if (zip->error_code_zip(zip->file_get_error(member.get())) == ZIP_ER_CRC) {
        return kDocxChecksumError;
      }
      out->read_error = zip->file_strerror(member.get());
      std::string().swap(xml);
      return kDocxReadError;
    }
    xml.resize(old_size + static_cast<size_t>(got));
    out->inflated += got;
    if (got == 0) break;
  }
  return static_cast<int>(xml.size());
}

DocxExtraction ExtractDocument(const std::string& path, const std::string& temp_base,
                               const DocxAsk& ask) {
  DocxExtraction result;
  result.temp_folder = CreateTempFolder(temp_base);
  if (result.temp_folder.empty()) {
    result.code = kDocxNoTempFolder;
    return result;
  }
  int code = ExtractDocumentXml(path, &result.member);
  if (code == kDocxChecksumError) {
    if (!ask) {
      code = kDocxChecksumError;
    } else if (ask(ChecksumQuestion(path)) == Answer::kYes) {
      result.checksum_error = true;
      code = static_cast<int>(result.member.xml.size());
    } else {
      code = kDocxChecksumDeclined;
    }
  }
  if (code > kDocxWarnSize && ask && ask(BigFileQuestion(path)) != Answer::kYes) {
    code = kDocxBigFileDeclined;
  }
  result.code = code;
  if (code < 0) {
    DeleteTempFolder(result.temp_folder);
    result.temp_folder.clear();
    std::string().swap(result.member.xml);
  }
  return result;
}

std::string DocxTempBase() {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return "";
  return base.string();
}

std::string CreateTempFolder(const std::string& base, const std::string& prefix) {
  if (base.empty()) return "";
  for (int n = 1; n <= 999; ++n) {
    const std::string folder = NumberedFolder(base, prefix, n);
    // mkdir takes a name only when nothing at all is there, a dangling link
    // included, so the folder is surely the one made here.
    if (mkdir(folder.c_str(), 0700) == 0) return folder + "/";
    if (errno != EEXIST) return "";
  }
  return "";
}

void DeleteTempFolder(const std::string& folder) {
  const std::string path = WithoutTrailingSlash(folder);
  if (path.empty() || path == "/") return;
  std::error_code ec;
  fs::remove_all(path, ec);
}

void DeleteAllTempFolders(const std::string& base, const std::string& prefix) {
  if (base.empty()) return;
  const uid_t me = geteuid();
  for (int n = 0; n <= 999; ++n) {
    const std::string folder = NumberedFolder(base, prefix, n);
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) continue;
    if (!S_ISDIR(st.st_mode) || st.st_uid != me) continue;
    DeleteTempFolder(folder);
  }
}

std::string TempTextFilePath(const std::string& temp_folder, const std::string& document_path) {
  const size_t slash = document_path.rfind('/');
  std::string name = slash == std::string::npos ? document_path : document_path.substr(slash + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  std::string folder = temp_folder;
  if (!folder.empty() && folder.back() != '/') folder.push_back('/');
  return folder + name + ".txt";
}

bool CopyToExtractedText(const std::string& text_file, const std::string& document_path,
                         std::string* copy_path, std::string* error) {
  const std::string parent = ParentFolder(document_path);
  const std::string folder =
      parent.empty() ? "extracted_text" : WithoutTrailingSlash(parent) + "/extracted_text";
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    fs::create_directory(folder, ec);
    if (ec) {
      *error = ec.message();
      return false;
    }
  }
  const size_t slash = text_file.rfind('/');
  *copy_path =
      folder + "/" + (slash == std::string::npos ? text_file : text_file.substr(slash + 1));
  fs::copy_file(text_file, *copy_path, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    *error = ec.message();
    return false;
  }
  return true;
}

DocxNotice DocxMessage(int code, const std::string& path, const std::string& read_error) {
  switch (code) {
    case kDocxNoTempFolder:
      return {ProgramTitle(), "Unable to create temporary folder.", Icon::kExclamation};
    case kDocxChecksumError:
      return {"Error", "Invalid checksum found when processing\r\n" + path, Icon::kExclamation};
    case kDocxTooLarge:
      return {"File too big",
              path +
                  "\r\nis too large (more than 20 Mb) to be scanned directly.\r\n\r\n"
                  "You might be able to save it as a text file\r\n"
                  "and apply this program to that file.",
              Icon::kInformation};
    case kDocxBigFileDeclined:
      return {"Big file",
              "You could try saving it as a text file\r\nand applying this program to that file.",
              Icon::kNone};
    case kDocxReadError:
      return {"Error", path + "\r\ncannot be read as a docx document (" + read_error + ").",
              Icon::kExclamation};
    case kDocxNoDocumentXml:
      return {"Error", path + "\r\nis not a Word document: it holds no " + kDocumentXmlName + ".",
              Icon::kExclamation};
    case kDocxEncrypted:
      return {"Encrypted document",
              path + "\r\nis encrypted (protected by a password) and cannot be scanned.",
              Icon::kInformation};
    default:
      return {};
  }
}

DocxNotice DocxXmlMessage(DocxXmlProblem problem, const std::string& path) {
  if (problem == DocxXmlProblem::kNone) return {};
  return {"Damaged document",
          path + "\r\nis damaged: " + DocxXmlProblemText(problem) +
              ".\r\nIts text is counted as far as it can be read.",
          Icon::kInformation};
}

}  // namespace vorn
