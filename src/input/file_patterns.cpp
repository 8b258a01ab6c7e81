#include "input/file_patterns.h"

#include <cstddef>

#include "counting/engine_state.h"
#include "util/host.h"
#include "util/text.h"
#include "words/char_classes.h"

namespace vorn {

namespace {

const char* const kSpecFields[] = {"FileFilepathSpecifications0", "FileFilepathSpecifications1"};

// The characters no file pattern or exclusion text may hold.
constexpr std::string_view kInvalidSpecChars = "~,;/\\<>`\"";

// UTF-8 as Text, folded unless case is significant.
Text Fold(std::string_view utf8, bool case_significant) {
  Text t = Utf8ToText(utf8);
  if (!case_significant) LowerCaseAccentedInPlace(&t);
  return t;
}

bool IsHighSurrogateUnit(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogateUnit(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// `s` without any of the characters of `drop`.
Text Without(TextView s, TextView drop) {
  Text out;
  for (char16_t c : s) {
    if (drop.find(c) == TextView::npos) out.push_back(c);
  }
  return out;
}

// WildMatch over texts already folded as the caller wants them.
bool WildMatchText(TextView text, TextView pattern) {
  if (text == pattern) return true;
  if (Without(pattern, u"*").empty()) return true;
  size_t i = 0;
  size_t j = 0;
  for (;;) {
    if (j == pattern.size()) return i == text.size();
    const char16_t p = pattern[j];
    if (p == u'?') {
      if (i >= text.size()) return false;
      // One character, whether it takes one code unit or two.
      i += (IsHighSurrogateUnit(text[i]) && i + 1 < text.size() && IsLowSurrogateUnit(text[i + 1]))
               ? 2
               : 1;
      ++j;
    } else if (p == u'*') {
      // The first literal character after the wildcards; the text goes on at
      // its first occurrence, never a later one.
      const size_t lit = pattern.find_first_not_of(u"*?", j);
      if (lit == TextView::npos) return true;
      const size_t at = text.find(pattern[lit], i);
      if (at == TextView::npos) return false;
      i = at + 1;
      j = lit + 1;
    } else {
      if (i >= text.size() || text[i] != p) return false;
      ++i;
      ++j;
    }
  }
}

TextView TrimBlanks(TextView s) {
  const size_t first = s.find_first_not_of(u" \t");
  if (first == TextView::npos) return {};
  const size_t last = s.find_last_not_of(u" \t");
  return s.substr(first, last - first + 1);
}

// MatchFilePattern over texts already folded.
bool MatchFilePatternText(TextView name, TextView pattern) {
  if (name.empty() || pattern.empty()) return false;
  if (name.find_first_of(u"?*:\\") != TextView::npos) return false;
  pattern = TrimBlanks(pattern);
  if (pattern.empty()) return true;

  const size_t name_dot = name.rfind(u'.');
  const size_t pattern_dot = pattern.rfind(u'.');
  TextView name_base = name;
  TextView name_ext;
  TextView pattern_base = pattern;
  TextView pattern_ext;
  if (pattern_dot != TextView::npos) {
    pattern_base = pattern.substr(0, pattern_dot);
    pattern_ext = pattern.substr(pattern_dot + 1);
    if (name_dot == TextView::npos) {
      // A name without an extension meets only an extension of wildcards.
      if (!Without(pattern_ext, u"*").empty()) return false;
    } else {
      name_base = name.substr(0, name_dot);
      name_ext = name.substr(name_dot + 1);
    }
  } else if (name_dot != TextView::npos) {
    return false;
  } else {
    return WildMatchText(name, pattern);
  }
  return WildMatchText(name_base, pattern_base) && WildMatchText(name_ext, pattern_ext);
}

// The number of characters of a UTF-8 text (bytes that do not continue a
// sequence).
size_t CharCount(std::string_view utf8) {
  size_t n = 0;
  for (char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  }
  return n;
}

}  // namespace

std::string NormaliseSpecText(std::string_view text, std::vector<std::string>* items) {
  if (items != nullptr) items->clear();
  std::string joined;
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == ' ' || text[i] == ',') {
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && text[end] != ' ' && text[end] != ',') ++end;
    const std::string item = TextToUtf8(Fold(text.substr(i, end - i), false));
    if (!joined.empty()) joined += ", ";
    joined += item;
    if (items != nullptr) items->push_back(item);
    i = end;
  }
  return joined;
}

void GetFileFilepathSpecifications(EngineState* st, int index) {
  std::string& box = st->settings.FileFilepathSpecifications[index];
  std::vector<std::string>& items =
      index == 0 ? st->file_specs.patterns : st->file_specs.exclude_texts;
  const std::string normalised = NormaliseSpecText(box, &items);
  st->ChangeSetting(&box, normalised, kSpecFields[index]);
}

void FileSpecBoxLeft(EngineState* st, int index) {
  GetFileFilepathSpecifications(st, index);
  const std::string& normalised = st->settings.FileFilepathSpecifications[index];
  if (index == 0) {
    const std::string_view doc = ".doc";
    const bool ends_with_doc =
        normalised.size() >= doc.size() &&
        normalised.compare(normalised.size() - doc.size(), doc.size(), doc) == 0;
    if (normalised.find(".doc,") != std::string::npos || ends_with_doc) {
      st->host->ShowMessage("Match file patterns",
                            "This software does not process .doc files.  To process\r\n"
                            "Word .doc files they should first be converted to .docx files.",
                            Icon::kInformation);
    }
  }
}

std::string SpecToolTip(int index, const std::string& text) {
  if (text.empty()) return index == 0 ? "E.g., *.txt, *.docx, a*.htm*, b*.xml" : "E.g., copy, bak";
  if (CharCount(text) > 30) return text;
  return "";
}

bool CheckFilePatterns(Host* host, const FilePathSpecs& specs) {
  for (const std::string& pattern : specs.patterns) {
    if (pattern.find_first_of(kInvalidSpecChars) != std::string::npos) {
      host->ShowMessage("Invalid input",
                        "File pattern '" + pattern + "' contains an invalid character.",
                        Icon::kExclamation);
      return false;
    }
  }
  for (const std::string& text : specs.exclude_texts) {
    if (text.find_first_of(kInvalidSpecChars) != std::string::npos ||
        text.find_first_of("*?") != std::string::npos) {
      host->ShowMessage("Invalid input",
                        "Folder pattern '" + text + "' contains an invalid character.",
                        Icon::kExclamation);
      return false;
    }
  }
  return true;
}

bool FileMatches(std::string_view path, const FilePathSpecs& specs) {
  const size_t slash = path.rfind('/');
  const Text name = Fold(slash == std::string_view::npos ? path : path.substr(slash + 1), false);
  const size_t dot = name.rfind(u'.');
  if (dot != Text::npos) {
    const std::string ext = TextToUtf8(TextView(name).substr(dot + 1));
    for (std::string_view excluded : kExcludedExtensions) {
      if (ext == excluded) return false;
    }
  }
  for (const std::string& text : specs.exclude_texts) {
    if (!text.empty() && name.find(Fold(text, false)) != Text::npos) return false;
  }
  if (specs.patterns.empty()) return true;
  for (const std::string& pattern : specs.patterns) {
    if (MatchFilePatternText(name, Fold(pattern, false))) return true;
  }
  return false;
}

bool FolderExcluded(std::string_view relative_path, const FilePathSpecs& specs) {
  if (specs.exclude_texts.empty()) return false;
  const Text folded = Fold(relative_path, false);
  for (const std::string& text : specs.exclude_texts) {
    if (!text.empty() && folded.find(Fold(text, false)) != Text::npos) return true;
  }
  return false;
}

bool MatchFilePattern(std::string_view name, std::string_view pattern, bool case_significant) {
  return MatchFilePatternText(Fold(name, case_significant), Fold(pattern, case_significant));
}

bool WildMatch(std::string_view text, std::string_view pattern, bool case_significant) {
  return WildMatchText(Fold(text, case_significant), Fold(pattern, case_significant));
}

}  // namespace vorn
