// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up order and its failure paths.
#include <gtest/gtest.h>

#include "audio/sound.h"
#include "core/devices.h"
#include "core/random.h"
#include "core/state.h"
#include "gfx/sprite.h"
#include "shell/shell_fixture.h"

namespace vane::testing {
namespace {

using Icon = host::Icon;

TEST_F(ShellTest, StartsWithAllFilesPresentAndSeedsTheGenerator) {
  writeDataFiles();
  ASSERT_EQ(startUpHere(), 1);
  EXPECT_TRUE(backend.dialogs.empty());
  EXPECT_EQ(randomState(), 1u);
  EXPECT_EQ(use565, 1);
  EXPECT_TRUE(host::windowExists());
}

TEST_F(ShellTest, MissingSpriteFileEndsStartUpBeforeLaterFilesAndBanks) {
  writeDataFiles({"x.spr", "etc.spr", "1.snd", "music.snd"});
  EXPECT_EQ(startUpHere(), 0);
  // Only x.spr was tried: etc.spr and the banks would each have added a dialog.
  ASSERT_EQ(backend.dialogs.size(), 1u);
  EXPECT_EQ(backend.dialogs[0].text, "SPR Not Found");
  EXPECT_EQ(backend.dialogs[0].title, "ERROR");
  EXPECT_EQ(backend.dialogs[0].icon, Icon::Error);
}

TEST_F(ShellTest, MissingSoundBanksLetStartUpGoOn) {
  writeDataFiles({"music.snd"});
  EXPECT_EQ(startUpHere(), 1);
  ASSERT_EQ(backend.dialogs.size(), 1u);
  EXPECT_EQ(backend.dialogs[0].text, "File Not Found");
}

TEST_F(ShellTest, DisplayFailureEndsSilently) {
  writeDataFiles();
  backend.failDisplay = true;
  EXPECT_EQ(startUpHere(), 0);
  EXPECT_TRUE(backend.dialogs.empty());
}

TEST_F(ShellTest, NoSoundDeviceShowsItsMessageAndEnds) {
  writeDataFiles();
  host::faults().soundDevice = true;
  EXPECT_EQ(startUpHere(), 0);
  ASSERT_EQ(backend.dialogs.size(), 1u);
  EXPECT_EQ(backend.dialogs[0].text, "Fail to create Direct Sound");
  EXPECT_EQ(backend.dialogs[0].icon, Icon::Error);
}

TEST_F(ShellTest, UnreadablePixelFormatWarnsAndFallsBackTo555) {
  writeDataFiles();
  host::faults().pixelFormat = true;
  EXPECT_EQ(startUpHere(), 1);
  ASSERT_EQ(backend.dialogs.size(), 1u);
  EXPECT_EQ(backend.dialogs[0].text, "GetRGB16");
  EXPECT_EQ(backend.dialogs[0].icon, Icon::None);
  EXPECT_EQ(use565, 0);
}

TEST_F(ShellTest, A555DisplayKeepsThe555Layout) {
  writeDataFiles();
  backend.use565Layout = false;
  EXPECT_EQ(startUpHere(), 1);
  EXPECT_EQ(use565, 0);
}

TEST_F(ShellTest, UnregisteredWindowClassEndsWithoutAWindow) {
  host::faults().registerClass = true;
  EXPECT_EQ(startUpHere(), 0);
  EXPECT_FALSE(host::windowExists());
  EXPECT_TRUE(backend.dialogs.empty());
}

}  // namespace
}  // namespace vane::testing
