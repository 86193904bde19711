// SPDX-License-Identifier: GPL-3.0-or-later
// The player's main loop: the controller's meaning per screen, recording and replaying the keys.
#include "shell/session.h"

#include <algorithm>

#include "platform/pad.h"

namespace vane {

void Session::record(std::ostream& out, uint32_t seed) {
  recording_ = &out;
  out << seedLine(seed) << '\n' << std::flush;
}

void Session::replay(const KeyScript& script) {
  script_ = &script;
  tap_.replaceKeyboard();
}

// The controls take their meaning from the screen as it stands after each frame and each batch of
// messages, before the events that follow are read.
void Session::followScreen() {
  platform::setPadBindings(padBindingsFor(screenNow(), roles_));
}

LoopObserver::Next Session::beforeFrame() {
  followScreen();
  if (script_ != nullptr && !keysApplied_) {
    keysApplied_ = true;
    if (replayFrame()) return Next::HandleMessages;
  }
  if (recording_ != nullptr) recordFrame();
  return Next::RunFrame;
}

void Session::afterFrame() {
  followScreen();
  ++frame_;
  keysApplied_ = false;
}

bool Session::whileInactive() {
  tap_.waitMessage();
  return true;
}

void Session::recordFrame() {
  const HeldKeys now = tap_.heldKeys();
  const std::string line = lineForFrame(frame_, before_, now, tap_.takeKeyDowns());
  if (!line.empty()) *recording_ << line << '\n' << std::flush;
  before_ = now;
}

// Holds the frame's keys and queues its key-downs; true when there are messages to handle first.
bool Session::replayFrame() {
  const FrameInput input = inputForFrame(*script_, frame_, before_);
  if (!input.scripted) return false;
  tap_.setHeld(input.held);
  before_ = input.held;
  for (int k : input.keyDowns) tap_.sendKeyDown(k);
  return !input.keyDowns.empty();
}

void Session::finish() {
  if (recording_ == nullptr) return;
  std::vector<int> keyDowns = tap_.takeKeyDowns();
  HeldKeys now = tap_.heldKeys();
  // However the run ended (Escape, the window closed, the menu's quit), Escape ends it there too.
  if (std::find(keyDowns.begin(), keyDowns.end(), platform::kVkEscape) == keyDowns.end()) {
    keyDowns.push_back(platform::kVkEscape);
    now[platform::kVkEscape] = true;
  }
  *recording_ << lineForFrame(frame_, before_, now, keyDowns) << "  # the run ended here\n"
              << std::flush;
  recording_ = nullptr;
}

}  // namespace vane
