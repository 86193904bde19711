// SPDX-License-Identifier: GPL-3.0-or-later
// The player's main loop: the controller's meaning per screen, recording and replaying the keys.
#include "shell/session.h"

#include <algorithm>

#include "host/pad_bindings.h"
#include "shell/player_keys.h"

namespace vane {

namespace {

HeldKeys keysHeldNow() {
  HeldKeys held{};
  for (int k = 1; k < 256; ++k) held[static_cast<size_t>(k)] = host::keyHeld(k);
  return held;
}

}  // namespace

void Session::record(std::ostream& out, uint32_t seed) {
  recording_ = &out;
  out << seedLine(seed) << '\n' << std::flush;
}

void Session::replay(const KeyScript& script) {
  script_ = &script;
  host::takeOverKeyboard();
}

// The controls take their meaning from the screen as it stands after each frame and each batch of
// messages, before the events that follow are read.
void Session::followScreen() {
  host::setPadBindings(padBindingsFor(screenNow(), roles_));
}

LoopObserver::Next Session::beforeFrame() {
  // The game stands while the options are open, as while the window is inactive.
  if (optionsOpen()) {
    host::waitMessage();
    return Next::HandleMessages;
  }
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
  host::waitMessage();
  return true;
}

void Session::messageTaken(const host::Message& message) {
  if (message.id == host::kWmKeyDown) keyDowns_.push_back(static_cast<int>(message.wParam));
}

void Session::recordFrame() {
  const HeldKeys now = keysHeldNow();
  const std::string line = lineForFrame(frame_, before_, now, keyDowns_);
  if (!line.empty()) *recording_ << line << '\n' << std::flush;
  keyDowns_.clear();
  before_ = now;
}

// Lets go of the keys the frame no longer holds, sends its key-downs in order, then holds the
// keys it holds without a message; true when there are events to take in before the frame.
bool Session::replayFrame() {
  const FrameInput input = inputForFrame(*script_, frame_, scripted_);
  if (!input.scripted) return false;
  bool sent = false;
  for (size_t k = 1; k < input.held.size(); ++k) {
    if (scripted_[k] && !input.held[k]) {
      host::scriptKeyUp(static_cast<int>(k));
      sent = true;
    }
  }
  HeldKeys held = scripted_;
  for (int k : input.keyDowns) {
    const auto i = static_cast<size_t>(k);
    if (input.held[i] && !held[i]) {
      host::scriptKeyDown(k);
      held[i] = true;
    } else {
      // One more key-down for a key held already, or a press and release within the frame.
      host::scriptKeyDown(k);
      if (!held[i]) host::scriptKeyUp(k);
    }
    sent = true;
  }
  for (size_t k = 1; k < input.held.size(); ++k) {
    if (input.held[k] && !held[k]) {
      host::scriptKeyHold(static_cast<int>(k));
      sent = true;
    }
  }
  scripted_ = input.held;
  return sent;
}

void Session::finish() {
  if (recording_ == nullptr) return;
  HeldKeys now = keysHeldNow();
  // However the run ended (Escape, the window closed, the menu's quit), Escape ends it there too.
  if (std::find(keyDowns_.begin(), keyDowns_.end(), host::kVkEscape) == keyDowns_.end()) {
    keyDowns_.push_back(host::kVkEscape);
    now[host::kVkEscape] = true;
  }
  *recording_ << lineForFrame(frame_, before_, now, keyDowns_) << "  # the run ended here\n"
              << std::flush;
  recording_ = nullptr;
}

}  // namespace vane
