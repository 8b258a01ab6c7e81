#include "words/normalise.h"

#include <array>

#include "words/char_classes.h"

namespace vorn {

namespace {

// Á À ... as in VowelChars: the vowels A E I O U with their accented forms,
// Æ and Ø; not Ç Ð Ñ Ý, their small forms, Œ or œ.
constexpr TextView kVowelChars =
    u"AEIOUaeiou\u00C0\u00C1\u00C2\u00C3\u00C4\u00C5\u00C6\u00C8\u00C9\u00CA\u00CB\u00CC\u00CD"
    u"\u00CE\u00CF\u00D2\u00D3\u00D4\u00D5\u00D6\u00D8\u00D9\u00DA\u00DB\u00DC\u00E0\u00E1\u00E2"
    u"\u00E3\u00E4\u00E5\u00E6\u00E8\u00E9\u00EA\u00EB\u00EC\u00ED\u00EE\u00EF\u00F2\u00F3\u00F4"
    u"\u00F5\u00F6\u00F8\u00F9\u00FA\u00FB\u00FC";

constexpr TextView kContractionStems =
    u"aren couldn didn doesn hadn hasn isn shouldn wasn weren wouldn ";

constexpr std::array<TextView, 9> kRomanExceptions = {u"DIM",   u"MID",   u"VIM",   u"CID", u"LID",
                                                      u"LIVID", u"VIVID", u"CIVIL", u"DILL"};

bool IsLetterChar(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
  if (c >= 0xC0 && c <= 0xFF) return c != 0xD7 && c != 0xF7;
  return c == 0x0160 || c == 0x0152 || c == 0x0178 || c == 0x0161 || c == 0x0153;
}

bool IsRomanLetter(char16_t c) {
  switch (c) {
    case u'I':
    case u'V':
    case u'X':
    case u'L':
    case u'C':
    case u'D':
    case u'M':
    case u'i':
    case u'v':
    case u'x':
    case u'l':
    case u'c':
    case u'd':
    case u'm':
      return true;
    default:
      return false;
  }
}

bool IsUpperLetterChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return true;
  if (c >= 0xC0 && c <= 0xDE) return c != 0xD7;
  return c == 0x0160 || c == 0x0152 || c == 0x0178;
}

bool EndsWith(TextView s, TextView suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

TextView TrimBlanks(TextView s) {
  if (s.empty() || (s.front() != u' ' && s.back() != u' ')) return s;
  size_t b = 0;
  size_t e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return s.substr(b, e - b);
}

}  // namespace

bool IsVowel(char16_t c, bool lower_only) {
  if (lower_only) c = LowerChar(c) == c ? c : 0;  // only small vowels count
  return c != 0 && kVowelChars.find(c) != TextView::npos;
}

bool IsContractionStem(TextView word) {
  // The word followed by a blank stands in the stems only when it ends one of
  // them: every such ending of two or more letters ends in "en", "dn" or "sn".
  const size_t n = word.size();
  if (n == 0 || n > 7 || LowerChar(word[n - 1]) != u'n') return false;
  if (n == 1) return true;
  const char16_t before = LowerChar(word[n - 2]);
  if (before != u'e' && before != u'd' && before != u's') return false;
  char16_t probe[8];
  for (size_t i = 0; i < n; ++i) probe[i] = LowerChar(word[i]);
  probe[n] = u' ';
  return kContractionStems.find(TextView(probe, n + 1)) != TextView::npos;
}

bool IsOneRepeatedChar(TextView word) {
  TextView w = TrimBlanks(word);
  if (w.empty()) return false;
  for (char16_t c : w) {
    if (c != w[0]) return false;
  }
  return true;
}

bool IsRomanNumeral(TextView word) {
  TextView w = TrimBlanks(word);
  for (char16_t c : w) {
    if (!IsRomanLetter(c)) return false;
  }
  if (w.size() < 3 || w.size() > 5) return true;
  Text upper(w);
  for (char16_t& c : upper) c = UpperChar(c);
  for (TextView e : kRomanExceptions) {
    if (upper == e) return false;
  }
  return true;
}

bool HasNoLetter(TextView word) {
  for (char16_t c : word) {
    if (IsLetterChar(c)) return false;
  }
  return true;
}

bool HasNoVowelOrY(TextView word) {
  for (char16_t c : word) {
    if (c == u'Y' || c == u'y' || kVowelChars.find(c) != TextView::npos) return false;
  }
  return true;
}

bool HasFourRepeatedLetters(TextView word) {
  if (word.size() < 4) return false;
  for (size_t i = 0; i + 3 < word.size(); ++i) {
    const char16_t c = UpperChar(word[i]);
    if (!IsUpperLetterChar(c)) continue;
    if (UpperChar(word[i + 1]) == c && UpperChar(word[i + 2]) == c && UpperChar(word[i + 3]) == c) {
      return true;
    }
  }
  return false;
}

bool IsAll7bit(TextView word) {
  for (char16_t c : word) {
    if (Key(c) >= 128) return false;
  }
  return true;
}

bool NormaliseChangesWords(const NormaliseOptions& o) {
  return !o.all_phrases_mode && !o.reading_word_lists && (o.convert_final_ies || o.drop_final_s);
}

bool IsDiscardedSlow(TextView w, const NormaliseOptions& o) {
  const size_t n = w.size();
  // One character: a remnant "s" or "t", or one repeated character.
  if (n <= 1) return true;
  if (w[0] == u' ' || w[n - 1] == u' ') {
    // Blanks only come with the user's own extra characters: the slow path.
    if (!o.reading_word_lists && !o.allow_apostrophes && IsContractionStem(w)) return true;
    return IsOneRepeatedChar(w) || IsRomanNumeral(w);
  }
  // Remnants of contractions split at the apostrophe.
  if (!o.reading_word_lists && !o.allow_apostrophes && IsContractionStem(w)) return true;
  // One repeated character, Roman numerals; most words fail at once.
  if (w[0] == w[1] && IsOneRepeatedChar(w)) return true;
  return IsRomanLetter(w[0]) && IsRomanNumeral(w);
}

bool NormaliseWord(Text* word, const NormaliseOptions& o) {
  Text& w = *word;
  const bool counting_words = !o.all_phrases_mode && !o.reading_word_lists;
  // "ies" to "y".
  if (counting_words && o.convert_final_ies && w.size() > 5) {
    if (EndsWith(w, u"ies")) {
      w.replace(w.size() - 3, 3, u"y");
    } else if (EndsWith(w, u"IES")) {
      w.replace(w.size() - 3, 3, u"Y");
    }
  }
  // The final "s"; every word the rule touches ends in a small or capital s.
  if (counting_words && o.drop_final_s && !w.empty() && LowerChar(w.back()) == u's') {
    const Text lower = LowerCaseAccented(w);
    if (lower == u"lattices") {
      w.pop_back();
    } else if (EndsWith(lower, u"ics") || lower == u"maths" || lower == u"stats" ||
               lower == u"dickens" || lower == u"always" || lower == u"perhaps") {
      // kept as it is
    } else if (w.size() >= 3 && w.back() == u's' && !IsVowel(w[w.size() - 2], true) &&
               !EndsWith(w, u"ss") && !EndsWith(w, u"'s")) {
      w.pop_back();
    }
  }
  return !IsDiscardedSlow(w, o);
}

}  // namespace vorn
