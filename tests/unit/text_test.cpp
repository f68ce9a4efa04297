#include "platform/text.h"

#include <gtest/gtest.h>

namespace pavrelin {
namespace {

TEST(TrimTrailingBlanks, DropsOnlyTheEnd) {
  EXPECT_EQ(TrimTrailingBlanks(" a b \r\n\t "), " a b");
  EXPECT_EQ(TrimTrailingBlanks("\r\n \t"), "");
  EXPECT_EQ(TrimTrailingBlanks(""), "");
}

TEST(CutAtCharBoundary, NeverSplitsADoubleByteCharacter) {
  EXPECT_EQ(CutAtCharBoundary("ab网", 3), "ab");
  EXPECT_EQ(CutAtCharBoundary("ab网", 4), "ab网");
  EXPECT_EQ(CutAtCharBoundary("网络", 3), "网");
  EXPECT_EQ(CutAtCharBoundary("abc", 10), "abc");
  EXPECT_EQ(CutAtCharBoundary("abc", 0), "");
  // A lone lead byte at the end counts as one byte.
  EXPECT_EQ(CutAtCharBoundary("a\xB2", 2), "a\xB2");
}

}  // namespace
}  // namespace pavrelin
