#include "words/reg_exp.h"

#include <pcre2.h>

#include <memory>
#include <unordered_map>

namespace vorn {

namespace {

struct CodeDeleter {
  void operator()(pcre2_code* c) const { pcre2_code_free(c); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* m) const { pcre2_match_data_free(m); }
};

struct Compiled {
  std::unique_ptr<pcre2_code, CodeDeleter> code;
  bool runs = false;  // compiled and ran on "X" without error
};

constexpr size_t kMaxCached = 4096;

class PatternCache {
 public:
  const Compiled& Get(TextView pattern, bool caseless) {
    Text key(pattern);
    key.push_back(caseless ? u'i' : u'c');
    auto it = cache_.find(key);
    if (it != cache_.end()) return it->second;
    if (cache_.size() >= kMaxCached) cache_.clear();
    ++compilations_;
    Compiled c;
    int error = 0;
    PCRE2_SIZE offset = 0;
    const uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | (caseless ? PCRE2_CASELESS : 0);
    c.code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                               options, &error, &offset, nullptr));
    if (c.code) {
      static const char16_t kX[] = u"X";
      std::unique_ptr<pcre2_match_data, MatchDataDeleter> md(
          pcre2_match_data_create_from_pattern(c.code.get(), nullptr));
      const int rc =
          pcre2_match(c.code.get(), reinterpret_cast<PCRE2_SPTR>(kX), 1, 0, 0, md.get(), nullptr);
      c.runs = rc >= 0 || rc == PCRE2_ERROR_NOMATCH;
    }
    return cache_.emplace(std::move(key), std::move(c)).first->second;
  }

  uint64_t compilations() const { return compilations_; }

 private:
  std::unordered_map<Text, Compiled> cache_;
  uint64_t compilations_ = 0;
};

PatternCache& Cache() {
  static thread_local PatternCache cache;
  return cache;
}

}  // namespace

bool IsUnbalancedRegExp(std::string_view pattern) {
  const std::string_view p = pattern;
  if (p.find("(?") != p.npos || p.find("\\Q") != p.npos || p.find("\\c") != p.npos ||
      p.find("[:") != p.npos) {
    return false;
  }
  int64_t depth = 0;
  bool in_class = false;
  size_t class_start = 0;  // where a "]" is still a literal member of the class
  for (size_t i = 0; i < p.size(); ++i) {
    const char c = p[i];
    if (c == '\\') {
      ++i;  // the escaped character
    } else if (in_class) {
      if (c == ']' && i != class_start) in_class = false;
    } else if (c == '[') {
      in_class = true;
      class_start = i + 1 < p.size() && p[i + 1] == '^' ? i + 2 : i + 1;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth == 0) return true;
      --depth;
    }
  }
  return in_class || depth > 0;
}

uint64_t RegExpCompilations() { return Cache().compilations(); }

bool IsValidRegExp(TextView pattern) { return Cache().Get(pattern, true).runs; }

bool RegExpFind(TextView pattern, TextView text, bool case_significant, bool* valid) {
  const Compiled& c = Cache().Get(pattern, !case_significant);
  if (valid) *valid = c.runs;
  if (!c.runs) return false;
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> md(
      pcre2_match_data_create_from_pattern(c.code.get(), nullptr));
  const int rc = pcre2_match(c.code.get(), reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                             0, 0, md.get(), nullptr);
  if (rc < 0 && rc != PCRE2_ERROR_NOMATCH) {
    if (valid) *valid = false;
    return false;
  }
  return rc >= 0;
}

}  // namespace vorn
