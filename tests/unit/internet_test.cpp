#include "platform/internet.h"

#include <gtest/gtest.h>

namespace pavrelin {
namespace {

TEST(ReadPieceSize, FollowsTheContentLength) {
  const struct Case {
    const char* content_length;
    std::size_t piece;
  } cases[] = {
      {"", 10240},
      {"0", 10240},
      {"-5", 10240},
      {"abc", 10240},
      {"1", 2},
      {"5", 6},
      {"102398", 102399},
      {"102399", 102400},
      {"102400", 102400},
      {"4294967296", 102400},
      {"99999999999999999999", 102400},
      {" 42", 43},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadPieceSize(c.content_length), c.piece) << '"' << c.content_length << '"';
}

}  // namespace
}  // namespace pavrelin
