// SPDX-License-Identifier: GPL-3.0-or-later
// One run written as a version-2 replay while it is played: its keys, check lines and end.
#pragma once

#include <ostream>
#include <vector>

#include "audio/sound.h"
#include "shell/key_script.h"
#include "shell/replay_file.h"

namespace vane {

class ReplayRecorder {
 public:
  // Writes the header to `out`; the next frame to run is the run's frame 1.
  void begin(std::ostream& out, const Replay& header);
  bool active() const { return out_ != nullptr; }
  // Goes on from the first `frames` frames of `old` (its keys and check lines written again under
  // `header`), which left `held` held and the ship's score at `score`.
  void resume(std::ostream& out, const Replay& header, const Replay& old, long long frames,
              const HeldKeys& held, int64_t score);

  // Before a frame: the line for the keys held now and the key-downs taken since the frame
  // before, when they say something new.
  void beforeFrame(const HeldKeys& now, const std::vector<int>& keyDowns);
  // After it: the ship's score, and a check line every kCheckEvery frames.
  void afterFrame(const std::vector<SoundEvent>& events);
  // The end line; with `escapeLine`, a last line before the frame that never ran says that
  // Escape ended the run there, as a recording from the start of the program always has.
  void end(bool escapeLine, HeldKeys now, std::vector<int> keyDowns);

  long long frames() const { return frame_ - 1; }
  int64_t score() const { return score_; }
  const Replay& header() const { return header_; }

 private:
  void put(const std::string& text);

  std::ostream* out_ = nullptr;
  Replay header_;
  long long frame_ = 1;
  HeldKeys before_{};
  int64_t score_ = -1;
};

}  // namespace vane
