// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a replay: pause, frame steps, speeds, seeking by re-simulating, taking over.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "shell/game.h"
#include "shell/pad_roles.h"
#include "shell/replay_file.h"
#include "shell/session.h"

namespace vane {

// The speeds, in quarters of the game's own: x1/4 ... x8.
constexpr int kReplaySpeeds[] = {1, 2, 4, 8, 16, 32};

class ReplayPlayer : public LoopObserver {
 public:
  // `keeper` takes the new replay once the player takes over.
  ReplayPlayer(const Replay& replay, const PadRoles& roles, StageKeeper& keeper);
  ~ReplayPlayer() override;
  ReplayPlayer(const ReplayPlayer&) = delete;
  ReplayPlayer& operator=(const ReplayPlayer&) = delete;

  // The player's keys while watching: Space, Right, Left, Up, Down, PageUp, PageDown, Home, End, T.
  void control(int virtualKey);
  // Shows frame `frame` (1 to the replay's last): re-simulated from the start when it lies
  // behind, run on without presenting when ahead.
  void seekTo(long long frame);
  // The progress bar over the picture: off for pictures compared with vane-sim's.
  void showBar(bool shown) { barShown_ = shown; }
  void finish();

  long long frame() const { return frame_; }
  long long lastFrame() const;
  bool paused() const { return paused_; }
  int speedQuarters() const { return kReplaySpeeds[speed_]; }
  bool takenOver() const { return takenOver_; }
  const std::string& desync() const { return desync_; }
  // The bar's text: frame, time, speed and state.
  std::string barText() const;

  Next beforeFrame() override;
  void afterFrame() override;
  bool whileInactive() override;
  void messageTaken(const host::Message& message) override;

 private:
  void restart();
  void takeOver();
  Next waitForDue();
  void drawBar(uint16_t* picture, bool is565) const;
  static void overlay(void* user, uint16_t* picture, bool is565);
  static void heard(void* user, int virtualKey, bool repeat);

  const Replay& replay_;
  PadRoles roles_;
  StageKeeper& keeper_;
  std::unique_ptr<Session> session_;
  long long frame_ = 0;   // the frames run since the replay's start
  long long target_ = 0;  // seeking: run unpresented up to this frame
  bool paused_ = false;
  bool stepOne_ = false;
  bool frameDecided_ = false;
  bool present_ = true;
  size_t speed_ = 2;
  int periodFrames_ = 0;  // frames run in this display period
  uint64_t due_ = 0;      // when the next presented frame is due
  bool barShown_ = true;
  bool takenOver_ = false;
  std::string desync_;
  std::vector<SoundEvent> events_;
};

}  // namespace vane
