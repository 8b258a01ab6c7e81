#include "input/docx_xml.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>

#include "util/file_proc.h"
#include "util/text.h"

namespace vorn {

namespace {

// The longest entity body ("#x10FFFF") with its ";" and some room.
constexpr size_t kMaxEntity = 12;

bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A blank for the period rule: a space or a control character, as the line
// trimming of the count run sees it.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The code point of a character reference body ("#233", "#xE9"), or nullopt
// when it is not one or names no character that XML allows.
std::optional<char32_t> CharacterReference(std::string_view body) {
  if (body.size() < 2 || body[0] != '#') return std::nullopt;
  const bool hex = body[1] == 'x';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  char32_t cp = 0;
  for (char c : digits) {
    int d;
    if (c >= '0' && c <= '9') {
      d = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      d = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      d = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(d);
  }
  const bool allowed = cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
                       (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
  if (!allowed) return std::nullopt;
  return cp;
}

// Walks the tags of the XML and gathers the runs.
class Converter {
 public:
  Converter(std::string_view xml, const DocxProgress& progress) : xml_(xml), progress_(progress) {}

  DocumentText Run() {
    size_t pos = 0;
    size_t next_report = kDocxProgressStep;
    while (pos < xml_.size()) {
      if (progress_ && pos >= next_report) {
        next_report = pos + kDocxProgressStep;
        if (!progress_(pos, xml_.size(), out_.lines)) {
          out_.stopped = true;
          break;
        }
      }
      const size_t lt = xml_.find('<', pos);
      if (lt == std::string_view::npos) break;
      pos = Tag(lt);
    }
    // The last run gets no blank: nothing follows it.
    if (pending_) Emit(false);
    return std::move(out_);
  }

 private:
  void Problem(DocxXmlProblem problem, size_t offset) {
    if (out_.problem != DocxXmlProblem::kNone) return;
    out_.problem = problem;
    out_.problem_offset = offset;
  }

  // The position of the ">" that ends the tag beginning at lt; a ">" inside
  // a quoted attribute value does not end it.
  size_t TagEnd(size_t lt) const {
    char quote = 0;
    for (size_t i = lt + 1; i < xml_.size(); ++i) {
      const char c = xml_[i];
      if (quote != 0) {
        if (c == quote) quote = 0;
      } else if (c == '"' || c == '\'') {
        quote = c;
      } else if (c == '>') {
        return i;
      }
    }
    return std::string_view::npos;
  }

  // Handles the markup that begins at lt; returns the position after it.
  size_t Tag(size_t lt) {
    const std::string_view rest = xml_.substr(lt);
    // Comments, CDATA sections and processing instructions may hold ">"
    // and tag-like text; none of them is text of the document outside a run.
    for (const auto& [open, close] : kSkipped) {
      if (rest.starts_with(open)) {
        const size_t end = xml_.find(close, lt + open.size());
        if (end == std::string_view::npos) {
          Problem(DocxXmlProblem::kUnclosedTag, lt);
          return xml_.size();
        }
        return end + close.size();
      }
    }
    const size_t gt = TagEnd(lt);
    if (gt == std::string_view::npos) {
      Problem(DocxXmlProblem::kUnclosedTag, lt);
      return xml_.size();
    }
    std::string_view inner = xml_.substr(lt + 1, gt - lt - 1);
    const bool closing = inner.starts_with('/');
    if (closing) inner.remove_prefix(1);
    const bool empty_element = inner.ends_with('/');
    size_t name_end = 0;
    while (name_end < inner.size() && !IsXmlSpace(inner[name_end]) && inner[name_end] != '/') {
      ++name_end;
    }
    const std::string_view name = inner.substr(0, name_end);

    if (name == "mc:Fallback" && !empty_element) {
      // A second rendering of what the mc:Choice before it holds.
      if (closing) {
        if (fallback_depth_ > 0) --fallback_depth_;
      } else {
        ++fallback_depth_;
      }
      return gt + 1;
    }
    if (fallback_depth_ > 0 || closing) {
      if (closing && name == "w:p" && fallback_depth_ == 0) separated_ = true;
      return gt + 1;
    }
    if (name == "w:t") {
      if (empty_element) return gt + 1;  // <w:t/> holds no text
      return TextRun(gt + 1);
    }
    if (name == "w:br" || name == "w:cr" || name == "w:tab" || name == "w:ptab") {
      separated_ = true;
    } else if (name == "w:noBreakHyphen") {
      // A hyphen that Word keeps in the word: it is text of the word.
      Begin();
      pending_->push_back('-');
    }
    return gt + 1;
  }

  // Reads the text of a run that begins at start; returns the position after
  // its closing tag.
  size_t TextRun(size_t start) {
    Begin();
    size_t pos = start;
    while (true) {
      const size_t lt = xml_.find('<', pos);
      const size_t end = lt == std::string_view::npos ? xml_.size() : lt;
      Decode(pos, end);
      if (lt == std::string_view::npos) {
        Problem(DocxXmlProblem::kUnclosedRun, start);
        return xml_.size();
      }
      const std::string_view rest = xml_.substr(lt);
      if (rest.starts_with("<![CDATA[")) {
        const size_t close = xml_.find("]]>", lt + 9);
        if (close == std::string_view::npos) {
          Problem(DocxXmlProblem::kUnclosedTag, lt);
          return xml_.size();
        }
        pending_->append(xml_.substr(lt + 9, close - lt - 9));
        pos = close + 3;
        continue;
      }
      if (rest.starts_with("<!--")) {
        const size_t close = xml_.find("-->", lt + 4);
        if (close == std::string_view::npos) {
          Problem(DocxXmlProblem::kUnclosedTag, lt);
          return xml_.size();
        }
        pos = close + 3;
        continue;
      }
      size_t after = 5;  // "</w:t"
      if (rest.starts_with("</w:t")) {
        while (after < rest.size() && IsXmlSpace(rest[after])) ++after;
        if (after < rest.size() && rest[after] == '>') return lt + after + 1;
      }
      // Another tag inside the run: the run was never closed. Its text ends
      // here and the tag is read as a tag of its own.
      Problem(DocxXmlProblem::kUnclosedRun, start);
      return lt;
    }
  }

  // Appends the text xml_[begin, end) to the pending run, decoding entities.
  void Decode(size_t begin, size_t end) {
    size_t pos = begin;
    while (pos < end) {
      // Searched within the run only: a document of many runs without an
      // "&" must not be searched to its end for every run.
      const std::string_view text = xml_.substr(pos, end - pos);
      const size_t found = text.find('&');
      if (found == std::string_view::npos) {
        pending_->append(text);
        return;
      }
      const size_t amp = pos + found;
      pending_->append(text.substr(0, found));
      pos = amp + 1;
      // Entity names and references are short: the ";" is looked for only
      // among the next few bytes, so that text full of "&" stays linear.
      const std::string_view window =
          xml_.substr(amp + 1, std::min<size_t>(kMaxEntity, end - amp - 1));
      const size_t semi = window.find(';');
      if (semi != std::string_view::npos) {
        const std::string_view body = window.substr(0, semi);
        std::optional<char32_t> cp;
        if (body == "amp") {
          cp = U'&';
        } else if (body == "lt") {
          cp = U'<';
        } else if (body == "gt") {
          cp = U'>';
        } else if (body == "quot") {
          cp = U'"';
        } else if (body == "apos") {
          cp = U'\'';
        } else {
          cp = CharacterReference(body);
        }
        if (cp) {
          AppendUtf8(*cp, &*pending_);
          pos = amp + 1 + semi + 1;
          continue;
        }
      }
      Problem(DocxXmlProblem::kBadEntity, amp);
      pending_->push_back('&');
    }
  }

  // Starts a new pending run, handing the previous one over first.
  void Begin() {
    if (pending_) Emit(separated_);
    pending_.emplace();
    separated_ = false;
  }

  void Emit(bool blank_after) {
    std::string line = std::move(*pending_);
    pending_.reset();
    if (blank_after) line.push_back(' ');
    // A run of blanks only (or an empty run before a break) collapses to one
    // blank; a truly empty run adds nothing, so that it cannot split the
    // word around it.
    if (!line.empty() && line.find_first_not_of(' ') == std::string::npos) line = " ";
    out_.total_length += static_cast<int64_t>(line.size());
    out_.lines.push_back(std::move(line));
  }

  static constexpr std::pair<std::string_view, std::string_view> kSkipped[] = {
      {"<!--", "-->"}, {"<![CDATA[", "]]>"}, {"<?", "?>"}, {"<!DOCTYPE", ">"}};

  std::string_view xml_;
  const DocxProgress& progress_;
  DocumentText out_;
  std::optional<std::string> pending_;  // the last run, until we know what follows it
  bool separated_ = false;              // a break, tab or paragraph end came after the pending run
  int fallback_depth_ = 0;
};

}  // namespace

DocumentText ConvertDocumentXml(std::string_view xml, const DocxProgress& progress) {
  return Converter(xml, progress).Run();
}

bool WriteLines(const std::string& path, const std::vector<std::string>& lines,
                std::string* error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                       &std::fclose);
  if (!file) {
    *error = ErrorDescription(errno);
    return false;
  }
  std::string out;
  for (const std::string& line : lines) {
    for (char c : line) {
      if (static_cast<unsigned char>(c) >= 0x80) {
        out = "\xEF\xBB\xBF";
        break;
      }
    }
    if (!out.empty()) break;
  }
  auto flush = [&]() {
    if (out.empty()) return true;
    const bool ok = std::fwrite(out.data(), 1, out.size(), file.get()) == out.size();
    out.clear();
    return ok;
  };
  bool ok = true;
  for (size_t i = 0; i < lines.size() && ok; ++i) {
    const std::string& line = lines[i];
    out.append(line);
    size_t end = line.size();
    while (end > 0 && IsBlank(line[end - 1])) --end;
    if (end > 0 && line[end - 1] == '.') {
      // The period ends a sentence unless the next run goes on with the
      // same word ("3." and "14").
      bool breaks = end < line.size();
      if (!breaks) {
        size_t next = i + 1;
        while (next < lines.size() && lines[next].empty()) ++next;
        breaks = next == lines.size() || IsBlank(lines[next][0]);
      }
      if (breaks) out.append("\r\n");
    }
    if (out.size() >= size_t{1} << 16) ok = flush();
  }
  if (ok) ok = flush();
  if (ok && std::fflush(file.get()) != 0) ok = false;
  if (!ok) {
    *error = ErrorDescription(errno);
    return false;
  }
  const int closed = std::fclose(file.release());
  if (closed != 0) {
    *error = ErrorDescription(errno);
    return false;
  }
  return true;
}

std::string DocxXmlProblemText(DocxXmlProblem problem) {
  switch (problem) {
    case DocxXmlProblem::kNone:
      return "";
    case DocxXmlProblem::kUnclosedTag:
      return "the XML ends inside a tag";
    case DocxXmlProblem::kUnclosedRun:
      return "a text run is not closed";
    case DocxXmlProblem::kBadEntity:
      return "an \"&\" begins no entity";
  }
  return "";
}

}  // namespace vorn
