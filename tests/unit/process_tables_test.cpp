#include <gtest/gtest.h>

#include "platform/process.h"

namespace pavrelin {
namespace {

TEST(ShowCommandForMode, MapsAndClampsEveryMode) {
  const std::pair<int, int> cases[] = {{-3, 0}, {0, 0}, {1, 0}, {2, 1}, {3, 2},
                                       {4, 3},  {5, 4}, {6, 6}, {7, 6}, {100, 6}};
  for (const auto& [mode, command] : cases) EXPECT_EQ(ShowCommandForMode(mode), command) << mode;
}

TEST(ButtonCodeForResult, MapsTheWindowsResults) {
  // IDOK..IDNO, then a failed box (0) and results the table does not know.
  const std::pair<int, int> cases[] = {{1, 0}, {2, 1}, {3, 2}, {4, 3},  {5, 4},
                                       {6, 5}, {7, 6}, {0, 0}, {10, 0}, {-1, 0}};
  for (const auto& [result, code] : cases) EXPECT_EQ(ButtonCodeForResult(result), code) << result;
}

TEST(BoxStyleForFlags, AddsTaskModalUnlessSystemModal) {
  EXPECT_EQ(BoxStyleForFlags(0x0), 0x2000u);
  EXPECT_EQ(BoxStyleForFlags(0x4), 0x2004u);
  EXPECT_EQ(BoxStyleForFlags(0x10), 0x2010u);
  EXPECT_EQ(BoxStyleForFlags(0x1000), 0x1000u);
  EXPECT_EQ(BoxStyleForFlags(0x1004), 0x1004u);
}

}  // namespace
}  // namespace pavrelin
