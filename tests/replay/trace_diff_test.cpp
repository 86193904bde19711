// SPDX-License-Identifier: GPL-3.0-or-later
// The desync report names the first differing frame and field.
#include "trace_diff.h"

#include <gtest/gtest.h>

namespace vane::testing {
namespace {

const std::string kRun =
    "{\"f\":1,\"gs\":4,\"P\":[[1,2]],\"E\":[[1001,6000,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0]]}\n"
    "{\"f\":2,\"gs\":4,\"P\":[[1,2]],\"E\":[[1001,6000,200,0,0,0,0,0,0,0,0,0,0,0,0,0,0]]}\n";

TEST(TraceDiff, ShortFieldsStayLiteralAndLongOnesBecomeDigests) {
  const std::string golden = digestTrace(kRun);
  EXPECT_EQ(golden.substr(0, 22), "f=1 gs=4 P=[[1,2]] E=~");
  EXPECT_EQ(firstDesync(golden, kRun), "");
}

TEST(TraceDiff, NamesTheFirstDifferingFrameAndField) {
  std::string other = kRun;
  other.replace(other.rfind("200"), 3, "300");
  const std::string report = firstDesync(digestTrace(kRun), other);
  EXPECT_EQ(report.substr(0, 25), "frame 2, field E: expecte");
  EXPECT_NE(report.find("got [[1001,6000,300"), std::string::npos);
  std::string scalar = kRun;
  scalar.replace(scalar.find("\"gs\":4"), 6, "\"gs\":5");
  EXPECT_EQ(firstDesync(digestTrace(kRun), scalar), "frame 1, field gs: expected 4 got 5");
}

TEST(TraceDiff, GameFieldsLeaveOutOnlyThePictureHash) {
  const std::string withHash =
      "{\"f\":1,\"gs\":4,\"h\":\"00000000000000aa\"}\n{\"f\":2,\"gs\":4,\"h\":\"00000000000000bb\"}"
      "\n";
  std::string otherPicture = withHash;
  otherPicture.replace(otherPicture.rfind("bb"), 2, "cc");
  const std::string golden = digestTrace(withHash);
  EXPECT_EQ(firstDesync(golden, otherPicture, Compare::GameFields), "");
  EXPECT_EQ(firstDesync(golden, otherPicture).substr(0, 24), "frame 2, field h: expect");
  std::string otherState = otherPicture;
  otherState.replace(otherState.rfind("\"gs\":4"), 6, "\"gs\":3");
  EXPECT_EQ(firstDesync(golden, otherState, Compare::GameFields),
            "frame 2, field gs: expected 4 got 3");
}

TEST(TraceDiff, ReportsARunThatEndsEarly) {
  EXPECT_EQ(firstDesync(digestTrace(kRun), kRun.substr(0, kRun.find('\n') + 1)),
            "expected 2 frames, got 1");
}

}  // namespace
}  // namespace vane::testing
