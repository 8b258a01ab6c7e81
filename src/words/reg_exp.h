// Reg_Exp: regular expressions through PCRE2, with compiled patterns cached.
//
// Patterns are compiled once per distinct pattern text and option set and
// kept for the life of the program (the cache is bounded; when it is full it
// is emptied and starts again). Not thread-safe: one cache per thread of use.

#ifndef VORN_WORDS_REG_EXP_H_
#define VORN_WORDS_REG_EXP_H_

#include <cstdint>
#include <string_view>

#include "util/text.h"

namespace vorn {

// IsValidRegExp: the engine accepts the pattern (case-insensitive) and can
// run it against the one-letter text "X" without error.
bool IsValidRegExp(TextView pattern);

// Whether `pattern` matches anywhere in `text` (case-insensitive unless
// case_significant). Stores false in *valid (when given) when the pattern
// cannot be compiled or run; the result is then false.
bool RegExpFind(TextView pattern, TextView text, bool case_significant, bool* valid = nullptr);

// A quick look at a pattern (Windows-1252 bytes) that needs no compiling:
// true when its parentheses or its character class are certainly not
// closed, which makes it invalid. False says nothing: the pattern must be
// compiled to know. Patterns that hold constructs that change how
// parentheses are read ("(?", "\Q", "\c", "[:") are never judged here.
bool IsUnbalancedRegExp(std::string_view pattern);

// How many patterns this thread has compiled so far (each distinct pattern
// once while it stays in the cache).
uint64_t RegExpCompilations();

}  // namespace vorn

#endif  // VORN_WORDS_REG_EXP_H_
