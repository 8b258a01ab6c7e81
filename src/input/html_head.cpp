#include "input/html_head.h"

#include <algorithm>
#include <array>

#include "util/str_proc.h"

namespace vorn {

namespace {

constexpr size_t kMaxName = 16;  // longer names are none of the head's
constexpr std::array<std::string_view, 10> kHeadElements = {
    "html", "head", "title", "base", "link", "meta", "style", "script", "noscript", "template"};
constexpr std::array<std::string_view, 3> kRawTextElements = {"title", "style", "script"};
constexpr std::string_view kBom = "\xEF\xBB\xBF";

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool Contains(const auto& list, std::string_view name) {
  return std::find(list.begin(), list.end(), name) != list.end();
}

// Whether text holds needle, comparing ASCII letters in any case.
// REQUIRES: needle is in lower case.
bool ContainsNoCase(std::string_view text, std::string_view needle) {
  if (needle.size() > text.size()) return false;
  for (size_t i = 0; i + needle.size() <= text.size(); ++i) {
    size_t k = 0;
    while (k < needle.size() && Lower(text[i + k]) == needle[k]) ++k;
    if (k == needle.size()) return true;
  }
  return false;
}

// Whether text[at...] is `word` in any letter case. REQUIRES: word in lower case.
bool IsAtNoCase(std::string_view text, size_t at, std::string_view word) {
  if (at > text.size() || text.size() - at < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k) {
    if (Lower(text[at + k]) != word[k]) return false;
  }
  return true;
}

// "charset=utf-8" or charset="utf-8", found from each "=" (rare in text).
bool HasUtf8Charset(std::string_view text) {
  for (size_t eq = text.find('='); eq != std::string_view::npos; eq = text.find('=', eq + 1)) {
    if (eq >= 7 && IsAtNoCase(text, eq - 7, "charset") &&
        (IsAtNoCase(text, eq + 1, "utf-8") || IsAtNoCase(text, eq + 1, "\"utf-8\""))) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool IsDoctypeLine(std::string_view line) {
  return ContainsNoCase(line, "<!doctype") && ContainsNoCase(line, "html");
}

void Utf8Declaration::Feed(std::string_view text, bool line_ends) {
  constexpr size_t kKeep = 15;  // one less than charset="utf-8"
  if (!found_) {
    std::string joint = line_tail_;
    joint.append(text.substr(0, kKeep));
    found_ = HasUtf8Charset(joint) || HasUtf8Charset(text);
  }
  if (line_ends) {
    line_tail_.clear();
  } else if (text.size() >= kKeep) {
    line_tail_.assign(text.substr(text.size() - kKeep));
  } else {
    line_tail_.append(text);
    if (line_tail_.size() > kKeep) line_tail_.erase(0, line_tail_.size() - kKeep);
  }
}

size_t HtmlHead::StartTagRead(size_t tag_start) {
  if (!Contains(kHeadElements, name_)) return tag_began_here_ ? tag_start : 0;
  raw_end_ = Contains(kRawTextElements, name_) ? name_ : std::string();
  state_ = State::kInTag;
  return kGoesOn;
}

size_t HtmlHead::Feed(std::string_view text, bool line_ends) {
  size_t i = 0;
  size_t end = kGoesOn;
  // A byte-order mark may lead the document.
  while (bom_seen_ < kBom.size() && i < text.size()) {
    if (text[i] != kBom[bom_seen_]) {
      if (bom_seen_ > 0) end = 0;  // part of a mark: text
      bom_seen_ = kBom.size();
      break;
    }
    ++bom_seen_;
    ++i;
  }
  tag_began_here_ = false;
  for (; i < text.size() && end == kGoesOn; ++i) {
    const char c = text[i];
    switch (state_) {
      case State::kText:
        if (c == '<') {
          state_ = State::kTagOpen;
          tag_start_ = i;
          tag_began_here_ = true;
        } else if (!IsBlank(c)) {
          end = i;  // text of the document's body
        }
        break;
      case State::kTagOpen:
        name_.clear();
        end_tag_ = false;
        ends_head_ = false;
        if (c == '/') {
          end_tag_ = true;
          state_ = State::kTagName;
        } else if (IsLetter(c)) {
          name_.push_back(Lower(c));
          state_ = State::kTagName;
        } else if (c == '!') {
          state_ = State::kBang;
        } else if (c == '?') {
          state_ = State::kDeclaration;
        } else {
          end = tag_began_here_ ? tag_start_ : 0;  // a "<" that opens no tag is text
        }
        break;
      case State::kTagName:
        if (IsNameChar(c) && name_.size() <= kMaxName) {
          name_.push_back(Lower(c));
          break;
        }
        if (end_tag_) {
          ends_head_ = name_ == "head";
          state_ = State::kInTag;
          raw_end_.clear();
        } else {
          end = StartTagRead(tag_start_);
          if (end != kGoesOn) break;
        }
        --i;  // the character after the name belongs to the tag
        break;
      case State::kInTag:
        if (quote_ != 0) {
          if (c == quote_) quote_ = 0;
        } else if (c == '"' || c == '\'') {
          quote_ = c;
        } else if (c == '>') {
          if (ends_head_) {
            end = i + 1;
          } else if (!raw_end_.empty()) {
            state_ = State::kRawText;
            raw_matched_ = 0;
          } else {
            state_ = State::kText;
          }
        }
        break;
      case State::kBang:
        state_ = c == '-' ? State::kBangDash : c == '>' ? State::kText : State::kDeclaration;
        break;
      case State::kBangDash:
        if (c == '-') {
          state_ = State::kComment;
          dashes_ = 0;
        } else {
          state_ = c == '>' ? State::kText : State::kDeclaration;
        }
        break;
      case State::kComment:
        if (c == '>' && dashes_ >= 2) state_ = State::kText;
        dashes_ = c == '-' ? dashes_ + 1 : 0;
        break;
      case State::kDeclaration:
        if (c == '>') state_ = State::kText;
        break;
      case State::kRawText:
      case State::kRawEnd: {
        // "</" and the element's name, in any case, end its text.
        const size_t want = raw_end_.size() + 2;
        const char expected = raw_matched_ == 0     ? '<'
                              : raw_matched_ == 1   ? '/'
                              : raw_matched_ < want ? raw_end_[raw_matched_ - 2]
                                                    : 0;
        if (raw_matched_ < want && Lower(c) == expected) {
          ++raw_matched_;
          state_ = State::kRawEnd;
        } else if (raw_matched_ == want && !IsNameChar(c)) {
          state_ = State::kInTag;
          ends_head_ = false;
          raw_end_.clear();
          --i;
        } else {
          raw_matched_ = c == '<' ? 1 : 0;
          state_ = raw_matched_ == 1 ? State::kRawEnd : State::kRawText;
        }
        break;
      }
    }
  }
  charset_.Feed(text.substr(0, end == kGoesOn ? text.size() : end), line_ends);
  return end;
}

}  // namespace vorn
