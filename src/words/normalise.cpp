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

constexpr BytesView kContractionStems =
    "aren couldn didn doesn hadn hasn isn shouldn wasn weren wouldn ";

constexpr std::array<BytesView, 9> kRomanExceptions = {"DIM",   "MID",   "VIM",   "CID", "LID",
                                                       "LIVID", "VIVID", "CIVIL", "DILL"};

bool IsUpperLetterChar(char16_t c) {
  if (c >= u'A' && c <= u'Z') return true;
  if (c >= 0xC0 && c <= 0xDE) return c != 0xD7;
  return c == 0x0160 || c == 0x0152 || c == 0x0178;
}

bool EndsWith(BytesView s, BytesView suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

BytesView TrimBlanks(BytesView s) {
  if (s.empty() || (s.front() != ' ' && s.back() != ' ')) return s;
  size_t b = 0;
  size_t e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

uint8_t U8(char c) { return static_cast<uint8_t>(c); }

}  // namespace

bool IsLetterChar(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
  if (c >= 0xC0 && c <= 0xFF) return c != 0xD7 && c != 0xF7;
  return c == 0x0160 || c == 0x0152 || c == 0x0178 || c == 0x0161 || c == 0x0153;
}

bool IsVowel(char16_t c, bool lower_only) {
  if (lower_only) c = LowerChar(c) == c ? c : 0;  // only small vowels count
  return c != 0 && kVowelChars.find(c) != TextView::npos;
}

bool IsContractionStem(BytesView word) {
  // The word followed by a blank stands in the stems only when it ends one of
  // them: every such ending of two or more letters ends in "en", "dn" or "sn".
  const size_t n = word.size();
  if (n == 0 || n > 7 || LowerByte(U8(word[n - 1])) != 'n') return false;
  if (n == 1) return true;
  const uint8_t before = LowerByte(U8(word[n - 2]));
  if (before != 'e' && before != 'd' && before != 's') return false;
  char probe[8];
  for (size_t i = 0; i < n; ++i) probe[i] = static_cast<char>(LowerByte(U8(word[i])));
  probe[n] = ' ';
  return kContractionStems.find(BytesView(probe, n + 1)) != BytesView::npos;
}

bool IsOneRepeatedChar(BytesView word) {
  BytesView w = TrimBlanks(word);
  if (w.empty()) return false;
  for (char c : w) {
    if (c != w[0]) return false;
  }
  return true;
}

bool IsRomanNumeral(BytesView word) {
  BytesView w = TrimBlanks(word);
  for (char c : w) {
    if (!IsRomanLetter(c)) return false;
  }
  if (w.size() < 3 || w.size() > 5) return true;
  char upper[5];
  for (size_t i = 0; i < w.size(); ++i) upper[i] = static_cast<char>(UpperByte(U8(w[i])));
  for (BytesView e : kRomanExceptions) {
    if (BytesView(upper, w.size()) == e) return false;
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

bool IsAll7bit(BytesView word) {
  for (char c : word) {
    if (U8(c) >= 128 && KeyOfByte(U8(c)) >= 128) return false;
  }
  return true;
}

bool NormaliseChangesWords(const NormaliseOptions& o) {
  return !o.all_phrases_mode && !o.reading_word_lists && (o.convert_final_ies || o.drop_final_s);
}

bool IsDiscardedSlow(BytesView w, const NormaliseOptions& o) {
  const size_t n = w.size();
  // One character: a remnant "s" or "t", or one repeated character.
  if (n <= 1) return true;
  // Remnants of contractions split at the apostrophe.
  if (!o.reading_word_lists && !o.allow_apostrophes && IsContractionStem(w)) return true;
  // One repeated character, Roman numerals.
  return IsOneRepeatedChar(w) || IsRomanNumeral(w);
}

bool NormaliseWord(Bytes* word, const NormaliseOptions& o) {
  Bytes& w = *word;
  const bool counting_words = !o.all_phrases_mode && !o.reading_word_lists;
  // "ies" to "y".
  if (counting_words && o.convert_final_ies && w.size() > 5) {
    if (EndsWith(w, "ies")) {
      w.replace(w.size() - 3, 3, "y");
    } else if (EndsWith(w, "IES")) {
      w.replace(w.size() - 3, 3, "Y");
    }
  }
  // The final "s"; every word the rule touches ends in a small or capital s.
  if (counting_words && o.drop_final_s && !w.empty() && LowerByte(U8(w.back())) == 's') {
    Bytes lower = w;
    for (char& c : lower) c = static_cast<char>(LowerByte(U8(c)));
    if (lower == "lattices") {
      w.pop_back();
    } else if (EndsWith(lower, "ics") || lower == "maths" || lower == "stats" ||
               lower == "dickens" || lower == "always" || lower == "perhaps") {
      // kept as it is
    } else if (w.size() >= 3 && w.back() == 's' &&
               !IsVowel(Windows1252ToChar(U8(w[w.size() - 2])), true) && !EndsWith(w, "ss") &&
               !EndsWith(w, "'s")) {
      w.pop_back();
    }
  }
  return !IsDiscardedSlow(w, o);
}

}  // namespace vorn
