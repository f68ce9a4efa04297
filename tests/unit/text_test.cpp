#include "platform/text.h"

#include <gtest/gtest.h>

namespace pavrelin {
namespace {

TEST(BytesToText, StopsAtTheFirstZeroByte) {
  const struct Case {
    Bytes bytes;
    std::string text;
  } cases[] = {
      {{0x31, 0x00, 0x32}, "1"},
      {{}, ""},
      {{0x00, 0x31}, ""},
      {{0x31, 0x0D, 0x0A}, "1\r\n"},
      {{0xCD, 0xF8, 0xBF, 0xA8}, "网卡"},  // GBK bytes pass unconverted
  };
  for (const Case& c : cases) EXPECT_EQ(BytesToText(c.bytes), c.text);
}

TEST(TextToBytes, KeepsEveryByteAndAddsNoZero) {
  EXPECT_EQ(TextToBytes("abc"), (Bytes{'a', 'b', 'c'}));
  EXPECT_TRUE(TextToBytes("").empty());
  EXPECT_EQ(TextToBytes("网卡"), (Bytes{0xCD, 0xF8, 0xBF, 0xA8}));
  EXPECT_EQ(TextToBytes(std::string("a\0b", 3)), (Bytes{'a', 0, 'b'}));
}

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
