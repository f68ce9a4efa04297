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

TEST(AnnouncedLength, IsTheWholeDecimalNumberOrNothing) {
  const struct Case {
    const char* content_length;
    std::optional<std::uint64_t> length;
  } cases[] = {
      {"0", 0},
      {"864676", 864676},
      {" 42\t", 42},
      {"4294967296", 4294967296u},
      {"18446744073709551615", UINT64_MAX},
      {"18446744073709551616", std::nullopt},
      {"", std::nullopt},
      {"  ", std::nullopt},
      {"-5", std::nullopt},
      {"+5", std::nullopt},
      {"12abc", std::nullopt},
      {"1 2", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AnnouncedLength(c.content_length), c.length) << '"' << c.content_length << '"';
}

}  // namespace
}  // namespace pavrelin
