#include "ui/picture_geometry.h"

#include <gtest/gtest.h>

namespace pavrelin {
namespace {

TEST(PicturePlace, FollowsTheDisplayMode) {
  struct Case {
    const char* what;
    int mode;
    int box_width, box_height, picture_width, picture_height;
    Rect place;
  } const cases[] = {
      {"natural size, top-left", 0, 192, 16, 190, 14, {0, 0, 190, 14}},
      {"natural size, larger than the box", 0, 100, 40, 310, 65, {0, 0, 310, 65}},
      {"stretched", 1, 32, 23, 512, 512, {0, 0, 32, 23}},
      {"centred, odd room left over", 2, 200, 31, 190, 14, {5, 8, 190, 14}},
      {"exactly fits", 2, 310, 65, 310, 65, {0, 0, 310, 65}},
      {"shrunk to the height", 2, 32, 23, 512, 512, {4, 0, 23, 23}},
      {"shrunk to the width, rounded", 2, 155, 100, 310, 65, {0, 33, 155, 33}},
      {"too wide only", 2, 100, 100, 200, 50, {0, 37, 100, 25}},
      {"a sliver keeps a pixel", 2, 10, 10, 1000, 1, {0, 4, 10, 1}},
      {"unknown mode draws as 0", 7, 50, 50, 20, 10, {0, 0, 20, 10}},
  };
  for (const Case& c : cases) {
    const Rect place =
        PicturePlace(c.mode, c.box_width, c.box_height, c.picture_width, c.picture_height);
    EXPECT_EQ(place.left, c.place.left) << c.what;
    EXPECT_EQ(place.top, c.place.top) << c.what;
    EXPECT_EQ(place.width, c.place.width) << c.what;
    EXPECT_EQ(place.height, c.place.height) << c.what;
  }
}

}  // namespace
}  // namespace pavrelin
