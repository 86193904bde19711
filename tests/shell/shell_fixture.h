// SPDX-License-Identifier: GPL-3.0-or-later
// A headless back end, reset game state and a scratch data folder for the shell tests.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/host.h"
#include "platform/headless/headless.h"
#include "shell/game.h"

namespace vane::testing {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes empty but valid sprite files and sound banks into the scratch folder, except `missing`.
  void writeDataFiles(const std::vector<std::string>& missing = {});
  // Runs start-up in the scratch folder.
  int startUpHere();
  // Handles every waiting message as the main loop does; false once the quit message came.
  bool pumpMessages();
  // Posts a key-down message for the key, as the window receives it.
  void keyDown(int virtualKey);

  platform::HeadlessBackend backend;
  std::filesystem::path dir;
  std::filesystem::path previousDir;
};

}  // namespace vane::testing
