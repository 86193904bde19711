// SPDX-License-Identifier: GPL-3.0-or-later
// A headless back end, reset game state and a scratch data folder for the shell tests.
#include "shell/shell_fixture.h"

#include "gfx/frames.h"
#include "tools/common/formats.h"
#include "tools/common/private_folder.h"

namespace vane::testing {

void ShellTest::SetUp() {
  backend.echoDialogs = false;
  platform::setBackend(&backend);
  resetGame();
  previousDir = std::filesystem::current_path();
  std::error_code failed;
  dir = tools::makePrivateFolder("vane-shell-", failed);
  ASSERT_FALSE(failed) << failed.message();
}

void ShellTest::TearDown() {
  std::filesystem::current_path(previousDir);
  resetGame();
  platform::setBackend(nullptr);
  std::filesystem::remove_all(dir);
}

void ShellTest::writeDataFiles(const std::vector<std::string>& missing) {
  auto skip = [&](const std::string& name) {
    for (const auto& m : missing) {
      if (m == name) return true;
    }
    return false;
  };
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    if (!skip(sheet.fileName)) {
      tools::writeFile((dir / sheet.fileName).string(), tools::spriteFileBytes({}));
    }
  }
  for (const char* name : {"1.snd", "music.snd"}) {
    if (!skip(name)) tools::writeFile((dir / name).string(), tools::soundBankBytes({}));
  }
}

int ShellTest::startUpHere() {
  std::filesystem::current_path(dir);
  return startUp(1u);
}

bool ShellTest::pumpMessages() {
  host::Message m;
  while (host::peekMessage(m)) {
    m = host::getMessage();
    if (m.id == host::kWmQuit) return false;
    host::dispatchMessage(m);
  }
  return true;
}

void ShellTest::keyDown(int virtualKey) {
  host::postMessage(host::Message{host::kWmKeyDown, static_cast<uint32_t>(virtualKey), 0});
}

}  // namespace vane::testing
