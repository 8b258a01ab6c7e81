// A test fixture for tests that set the vector path of the character work
// in turn: it puts back the path that was in use.

#ifndef VORN_TESTS_SUPPORT_VECTOR_PATHS_H_
#define VORN_TESTS_SUPPORT_VECTOR_PATHS_H_

#include <gtest/gtest.h>

#include <string>

#include "words/simd_text.h"

namespace vorn {

class VectorPathsTest : public testing::Test {
 protected:
  void SetUp() override { saved_ = VectorPathName(); }
  void TearDown() override { SetVectorPath(saved_); }

 private:
  std::string saved_;
};

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_VECTOR_PATHS_H_
