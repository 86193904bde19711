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

int loadSheets() {
  const SheetFile files[] = {
      {&playerSheet, "player.spr"}, {&enemySheet, "enemy.spr"}, {&ebSheet, "eb.spr"},
      {&backSheet, "back001.spr"},  {&stageSheet, "stage.spr"}, {&xSheet, "x.spr"},
      {&etcSheet, "etc.spr"},
  };
  for (const SheetFile& f : files) {
    const files::LoadingNote note(f.name);
    if (!loadSpriteSheet(*f.sheet, f.name, use565)) return 0;
  }
  return 1;
}

}  // namespace

int startUp(std::optional<uint32_t> seed, ExitStatus* failure) {
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
  if (!loadSheets()) return 0;
  const auto loadBank = [](SoundBank& bank, const char* name) {
    const files::LoadingNote note(name);
    loadSoundBank(bank, name);
  };
  loadBank(effectsBank, "1.snd");
  loadBank(musicBank, "music.snd");
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
