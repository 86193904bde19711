// SPDX-License-Identifier: GPL-3.0-or-later
// Motion steps by heading, the corner hit test and the heading towards a point.
#include "world/geometry.h"

#include <gtest/gtest.h>

namespace vane {
namespace {

struct Step {
  int32_t angle;
  int32_t stepX;
  int32_t stepY;
};

// clang-format off
constexpr Step kSteps[] = {
  {0, 100, 0},    {5, 99, 8},      {30, 86, 49},    {45, 70, 70},    {60, 50, 86},
  {86, 6, 99},    {90, 0, 100},    {95, -8, 99},    {150, -86, 50},  {175, -99, 8},
  {180, -100, 0}, {210, -86, -49}, {240, -50, -86}, {263, -12, -99}, {270, 0, -100},
  {300, 49, -86}, {330, 86, -50},
  // angles outside 0..359 are used as they are
  {-30, 86, -49}, {-60, 50, -86},
};
// clang-format on

Actor movedOnce(int32_t angle, int32_t speed) {
  Actor a;
  a.x = 1000;
  a.y = 2000;
  a.angle = angle;
  a.speed = speed;
  moveByHeading(a);
  a.x -= 1000;
  a.y -= 2000;
  return a;
}

TEST(MoveByHeading, StepsFollowTheTable) {
  for (const Step& s : kSteps) {
    SCOPED_TRACE(s.angle);
    const Actor a = movedOnce(s.angle, 1);
    EXPECT_EQ(a.x, s.stepX);
    EXPECT_EQ(a.y, s.stepY);
  }
}

TEST(MoveByHeading, TruncatesBeforeMultiplying) {
  const Actor a = movedOnce(265, 20);
  EXPECT_EQ(a.x, -160);
  EXPECT_EQ(a.y, -1980);
  const Actor up = movedOnce(270, 30);
  EXPECT_EQ(up.x, 0);
  EXPECT_EQ(up.y, -3000);
  const Actor still = movedOnce(123, 0);
  EXPECT_EQ(still.x, 0);
  EXPECT_EQ(still.y, 0);
}

TEST(BoxesOverlap, CornersDecide) {
  EXPECT_EQ(boxesOverlap(0, 0, 10, 10, 10, 10, 20, 20), 1);  // shared corner
  EXPECT_EQ(boxesOverlap(0, 0, 10, 10, 10, 0, 20, 10), 1);   // shared edge
  EXPECT_EQ(boxesOverlap(0, 0, 10, 10, 11, 0, 20, 10), 0);
  EXPECT_EQ(boxesOverlap(0, 0, 100, 100, 40, 40, 60, 60), 1);  // inside
  EXPECT_EQ(boxesOverlap(40, 40, 60, 60, 0, 0, 100, 100), 1);
  EXPECT_EQ(boxesOverlap(0, -100, 10, 100, -100, 0, 100, 10), 0);  // a plus sign
  EXPECT_EQ(boxesOverlap(-100, 0, 100, 10, 0, -100, 10, 100), 0);
}

TEST(HeadingTo, AxesAndTruncation) {
  EXPECT_EQ(headingTo(5, 5, 5, 5), 90);
  EXPECT_EQ(headingTo(0, 0, 0, -7), 270);
  EXPECT_EQ(headingTo(0, 0, 0, 7), 90);
  EXPECT_EQ(headingTo(0, 0, -7, 0), 180);
  EXPECT_EQ(headingTo(0, 0, 7, 0), 0);
  EXPECT_EQ(headingTo(0, 0, 3, -1), 342);
  EXPECT_EQ(headingTo(0, 0, -3, 1), 162);
  EXPECT_EQ(headingTo(0, 0, 1, 1), 45);
  EXPECT_EQ(headingTo(0, 0, -1, -1), 225);
  EXPECT_EQ(headingTo(10, 10, 11, 1000), 89);
}

}  // namespace
}  // namespace vane
