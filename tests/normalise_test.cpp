#include "words/normalise.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "words/char_classes.h"

namespace vorn {
namespace {

struct Case {
  const char16_t* in;
  const char16_t* want;  // nullptr: discarded
};

void Check(const std::vector<Case>& cases, const NormaliseOptions& o) {
  for (const Case& c : cases) {
    Bytes w = EncodeWindows1252(c.in);
    const bool kept = NormaliseWord(&w, o);
    if (c.want == nullptr) {
      EXPECT_FALSE(kept) << TextToUtf8(c.in);
    } else {
      EXPECT_TRUE(kept) << TextToUtf8(c.in);
      EXPECT_EQ(TextToUtf8(DecodeWindows1252(w)), TextToUtf8(c.want)) << TextToUtf8(c.in);
    }
  }
}

TEST(NormaliseTest, NothingChangesWhileReadingListsOrCountingPhrases) {
  NormaliseOptions o;
  o.drop_final_s = true;
  o.convert_final_ies = true;
  o.reading_word_lists = true;
  Check({{u"cats", u"cats"}, {u"babies", u"babies"}, {u"iv", nullptr}, {u"t", nullptr}}, o);
  o.reading_word_lists = false;
  o.all_phrases_mode = true;
  Check({{u"cats", u"cats"}, {u"babies", u"babies"}}, o);
}

TEST(NormaliseTest, ContractionRemnants) {
  NormaliseOptions o;
  Check({{u"isn", nullptr},
         {u"t", nullptr},
         {u"s", nullptr},
         {u"won", u"won"},
         {u"couldn", nullptr},
         {u"ldn", nullptr},
         {u"en", nullptr},
         {u"don", u"don"}},
        o);
  o.allow_apostrophes = true;
  Check({{u"isn", u"isn"}, {u"en", u"en"}}, o);
}

// The plurals and Roman numerals of whole texts are compared in the
// end-to-end test; here the words that nothing is left of.
TEST(NormaliseTest, RepeatedCharactersAndWhatIsLeftOfAPlural) {
  Check({{u"a", nullptr}, {u"aaa", nullptr}, {u"000", nullptr}}, NormaliseOptions());
  NormaliseOptions o;
  o.drop_final_s = true;
  o.convert_final_ies = true;
  Check({{u"ss", nullptr}}, o);
}

TEST(NormaliseTest, ByteCaseMapsMatchTheCharacterCaseMaps) {
  for (int b = 0; b < 256; ++b) {
    const char16_t c = Windows1252ToChar(static_cast<uint8_t>(b));
    EXPECT_EQ(Windows1252ToChar(LowerByte(static_cast<uint8_t>(b))), LowerChar(c)) << b;
    EXPECT_EQ(Windows1252ToChar(UpperByte(static_cast<uint8_t>(b))), UpperChar(c)) << b;
  }
}

TEST(NormaliseTest, ShapeTests) {
  EXPECT_TRUE(HasFourRepeatedLetters(u"bzzzz"));
  EXPECT_FALSE(HasFourRepeatedLetters(u"bzzz"));
  EXPECT_FALSE(HasFourRepeatedLetters(u"----"));
  EXPECT_TRUE(HasFourRepeatedLetters(u"aAaA"));
  EXPECT_TRUE(HasNoLetter(u"1999"));
  EXPECT_TRUE(HasNoLetter(u""));
  EXPECT_FALSE(HasNoLetter(u"\u0161"));  // š is a letter
  EXPECT_TRUE(HasNoVowelOrY(u"bcd"));
  EXPECT_FALSE(HasNoVowelOrY(u"rhythm"));
  EXPECT_FALSE(HasNoVowelOrY(u"d\u00E9j"));
  EXPECT_TRUE(HasNoVowelOrY(u"\u00E7\u00F1"));  // ç ñ are no vowels
  EXPECT_FALSE(IsAll7bit(u"na\u00EFve"));
  EXPECT_TRUE(IsAll7bit(u"\u0161"));  // the key of š is 0x61
  EXPECT_FALSE(IsAll7bit(BytesView("na\xEFve")));
  EXPECT_TRUE(IsAll7bit(BytesView("\x9A")));   // š again, as its Windows-1252 byte
  EXPECT_FALSE(IsAll7bit(BytesView("\x80")));  // € has the key 0xAC
}

TEST(NormaliseTest, TheQuickDiscardTestAgreesWithTheFullOne) {
  // Every word of two to four characters from letters that the rules look
  // at, and random longer ones.
  const std::string kChars = "acdeilmnsvxDENSMIt '\xC9\xE9";
  std::vector<std::string> words;
  for (size_t len = 2; len <= 4; ++len) {
    std::vector<size_t> at(len, 0);
    while (true) {
      std::string w;
      for (size_t i : at) w += kChars[i];
      words.push_back(w);
      size_t k = 0;
      while (k < len && ++at[k] == kChars.size()) at[k++] = 0;
      if (k == len) break;
    }
  }
  for (const char* stem : {"aren", "couldn", "didn", "doesn", "hadn", "hasn", "isn", "shouldn",
                           "SHOULDN", "wasn", "Weren", "wouldn", "shouldnt"}) {
    words.push_back(stem);
  }
  std::mt19937 rng(3);
  for (int i = 0; i < 20000; ++i) {
    std::string w(5 + rng() % 5, ' ');
    for (char& c : w) c = kChars[rng() % kChars.size()];
    words.push_back(w);
  }
  for (const bool apostrophes : {false, true}) {
    NormaliseOptions o;
    o.allow_apostrophes = apostrophes;
    for (const std::string& w : words) {
      ASSERT_EQ(IsDiscarded(w, o), IsDiscardedSlow(w, o)) << "[" << w << "]";
    }
  }
}

}  // namespace
}  // namespace vorn
