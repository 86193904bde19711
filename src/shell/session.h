// SPDX-License-Identifier: GPL-3.0-or-later
// The program's main loop as the player runs it: plain play, recording the keys, or a replay.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "shell/game.h"
#include "shell/key_script.h"
#include "shell/pad_roles.h"

namespace vane {

class Session : public LoopObserver {
 public:
  explicit Session(const PadRoles& roles) : roles_(roles) {}

  // Writes the seed, then a script line whenever the keys of a frame say something new.
  void record(std::ostream& out, uint32_t seed);
  // Plays the keys of `script` in place of the player's, as scripted keys of the host.
  void replay(const KeyScript& script);
  // Ends a recording: the last line, before the frame that never ran, ends the run there.
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

  PadRoles roles_;
  std::ostream* recording_ = nullptr;
  const KeyScript* script_ = nullptr;
  long long frame_ = 1;
  bool keysApplied_ = false;
  HeldKeys before_{};    // held in the frame before, as recorded
  HeldKeys scripted_{};  // held in the frame before, as the replay set them
  std::vector<int> keyDowns_;
};

}  // namespace vane
