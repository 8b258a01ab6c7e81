#include "words/bracket_judge.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "words/reg_exp.h"

namespace vorn {
namespace {

TEST(BracketJudgeTest, AgreesWithTheCompilerForEveryOpeningOfABracket) {
  // Random blocks of the characters that matter, judged as the scanner asks:
  // every "<" with the next ">", in rising order.
  std::mt19937 rng(11);
  const std::string kAlphabet = "ab()(()[]^\\?:Q<<>";
  for (int round = 0; round < 300; ++round) {
    Bytes block;
    for (size_t k = 0; k < 60; ++k) block += kAlphabet[rng() % kAlphabet.size()];
    BracketJudge judge;
    judge.NewBlock();
    for (size_t open = block.find('<'); open != Bytes::npos; open = block.find('<', open + 1)) {
      const size_t close = block.find('>', open + 1);
      if (close == Bytes::npos) break;
      const Bytes text = block.substr(open, close - open + 1);
      EXPECT_EQ(judge.IsValid(block, open, close), IsValidRegExp(DecodeWindows1252(text)))
          << text << " in " << block;
    }
  }
}

}  // namespace
}  // namespace vorn
