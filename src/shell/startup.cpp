// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up in its fixed order, the whole program, and the reset of all global state.
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "audio/sound.h"
#include "core/devices.h"
#include "core/random.h"
#include "core/state.h"
#include "files/last_resort.h"
#include "gfx/sprite.h"
#include "host/host.h"
#include "screens/screens.h"
#include "shell/game.h"
#include "world/actor.h"

namespace vane {

void resetWindowState();

namespace {

struct SheetFile {
  SpriteSheet* sheet;
  const char* name;
};

std::string pathOf(const DataSource& data, const char* name) {
  return data.folder.empty() ? std::string(name) : (data.folder / name).string();
}

int loadSheets(DataSource& data) {
  const SheetFile files[] = {
      {&playerSheet, "player.spr"}, {&enemySheet, "enemy.spr"}, {&ebSheet, "eb.spr"},
      {&backSheet, "back001.spr"},  {&stageSheet, "stage.spr"}, {&xSheet, "x.spr"},
      {&etcSheet, "etc.spr"},
  };
  for (const SheetFile& f : files) {
    const std::string path = pathOf(data, f.name);
    const files::LoadingNote note(path);
    if (!loadSpriteSheet(*f.sheet, path.c_str(), use565)) {
      data.failedFile = f.name;
      return 0;
    }
  }
  return 1;
}

// A bank that fails leaves its sounds silent, unless the data source is strict.
int loadBanks(DataSource& data) {
  const auto loadBank = [&data](SoundBank& bank, const char* name) {
    const std::string path = pathOf(data, name);
    const files::LoadingNote note(path);
    if (loadSoundBank(bank, path.c_str()) != 0 || !data.strict) return true;
    data.failedFile = name;
    return false;
  };
  return loadBank(effectsBank, "1.snd") && loadBank(musicBank, "music.snd") ? 1 : 0;
}

}  // namespace

int startUp(std::optional<uint32_t> seed, ExitStatus* failure, DataSource* data) {
  DataSource workingDirectory;
  DataSource& source = data != nullptr ? *data : workingDirectory;
  ExitStatus unused = kExitOk;
  ExitStatus& cause = failure != nullptr ? *failure : unused;
  cause = kExitNoDisplay;
  if (!host::registerWindowClass(windowProc)) return 0;
  host::createWindow();
  if (!initDevices()) {
    if (displayOpen()) cause = kExitNoSound;
    return 0;
  }
  if (!detectPixelFormat()) {
    host::messageBox("GetRGB16", "ERROR", host::Icon::None);
  }
  cause = kExitBadData;
  if (!loadSheets(source) || !loadBanks(source)) return 0;
  tuneSoundDevice();
#if defined(__GLIBC__)
  // Loading freed the files' bytes between what it keeps; give those pages back.
  malloc_trim(0);
#endif
  seedRandom(seed ? *seed : host::tickCount());
  cause = kExitOk;
  return 1;
}

int gameMain(std::optional<uint32_t> seed, LoopObserver* observer) {
  ExitStatus failure = kExitOk;
  if (!startUp(seed, &failure)) return failure;
  return runMainLoop(observer);
}

void resetGame() {
  host::resetHost();
  resetWorld();
  resetCounters();
  resetDevices();
  resetWindowState();
  resetSheets();
  resetAudio();
  seedRandom(1);
}

}  // namespace vane
