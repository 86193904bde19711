// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main loop as the player runs it: plain play, recording the keys, or a replay.
#pragma once

#include <cstdint>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "shell/game.h"
#include "shell/key_script.h"
#include "shell/pad_roles.h"
#include "shell/replay_recorder.h"

namespace vane {

// Takes each stage's replay as the stage is left or the program ends, and works between frames.
class StageKeeper {
 public:
  virtual ~StageKeeper() = default;
  virtual void keep(const ReplayRecorder& run, const std::string& text) = 0;
  // After each frame: what can go on beside the game without holding it up.
  virtual void poll() {}
};

class Session : public LoopObserver {
 public:
  explicit Session(const PadRoles& roles) : roles_(roles) {}
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The digest of the data files the run plays with, for the replays' headers.
  void setDataDigest(const std::string& digest) { dataDigest_ = digest; }
  // Writes a version-2 replay of the whole run from Boot: the header, then a line whenever the
  // keys of a frame say something new, and a check line every 250 frames.
  void record(std::ostream& out, uint32_t seed);
  // Records each stage played, from the menu's start row to leaving the stage, and hands its
  // replay to `keeper` as the stage is left or the program ends.
  void keepStages(StageKeeper& keeper);
  // Plays the keys of `script` in place of the player's, as scripted keys of the host.
  void replay(const KeyScript& script);
  // The player takes over the replay after the frames played so far: the keyboard is his again,
  // and the run goes on being recorded as a new replay whose first part is `old`'s, handed to
  // `keeper` when the stage is left or the program ends.
  void takeOver(const Replay& old, StageKeeper& keeper);
  // Ends the recordings: the last line, before the frame that never ran, ends the run there.
  void finish();
  // The controller's parts from now on (the options changed them).
  void setPadRoles(const PadRoles& roles) { roles_ = roles; }
  // How many frames have run.
  long long framesRun() const { return frame_ - 1; }

  Next beforeFrame() override;
  void afterFrame() override;
  bool whileInactive() override;
  void messageTaken(const host::Message& message) override;

 private:
  void followScreen();
  void recordFrame();
  bool replayFrame();
  void listenToSound();
  Replay headerNow(uint32_t seed) const;
  void followStages();
  void endStage();

  PadRoles roles_;
  const KeyScript* script_ = nullptr;
  long long frame_ = 1;
  bool keysApplied_ = false;
  HeldKeys scripted_{};  // held in the frame before, as the replay set them
  std::vector<int> keyDowns_;
  std::vector<SoundEvent> events_;
  bool listening_ = false;
  std::string dataDigest_;
  ReplayRecorder whole_;
  ReplayRecorder stage_;
  std::ostringstream stageText_;
  StageKeeper* keeper_ = nullptr;
};

}  // namespace vane
