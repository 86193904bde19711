// SPDX-License-Identifier: GPL-3.0-or-later
// The player's main loop: the controller's meaning per screen, recording and replaying the keys.
#include "shell/session.h"

#include "core/random.h"
#include "core/state.h"
#include "host/pad_bindings.h"
#include "shell/frame_fields.h"
#include "shell/player_keys.h"
#include "world/actor.h"

namespace vane {

namespace {

HeldKeys keysHeldNow() {
  HeldKeys held{};
  for (int k = 1; k < 256; ++k) held[static_cast<size_t>(k)] = host::keyHeld(k);
  return held;
}

bool inStage() {
  return gameState == Stage1 || gameState == Stage2;
}

}  // namespace

Session::~Session() {
  if (listening_) setSoundEventHook(nullptr);
}

// The sound events of each frame go into its check line.
void Session::listenToSound() {
  if (listening_) return;
  listening_ = true;
  setSoundEventHook([this](const SoundEvent& e) { events_.push_back(e); });
}

Replay Session::headerNow(uint32_t seed) const {
  Replay header;
  header.format = 2;
  header.seed = seed;
  header.program = programVersion();
  header.data = dataDigest_.empty() ? std::string(16, '0') : dataDigest_;
  header.date = utcDateNow();
  return header;
}

void Session::record(std::ostream& out, uint32_t seed) {
  listenToSound();
  whole_.begin(out, headerNow(seed));
}

void Session::keepStages(StageKeeper& keeper) {
  listenToSound();
  keeper_ = &keeper;
}

void Session::takeOver(const Replay& old, StageKeeper& keeper) {
  script_ = nullptr;
  host::giveBackKeyboard();
  keepStages(keeper);
  Replay header = old;
  header.program = programVersion();
  header.date = utcDateNow();
  if (!dataDigest_.empty()) header.data = dataDigest_;
  stageText_.str({});
  stage_.resume(stageText_, header, old, frame_ - 1, scripted_, shipScore());
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
  recordFrame();
  return Next::RunFrame;
}

void Session::afterFrame() {
  followScreen();
  whole_.afterFrame(events_);
  stage_.afterFrame(events_);
  events_.clear();
  followStages();
  ++frame_;
  keysApplied_ = false;
}

// A stage's run begins after the menu frame whose start row started it, and ends with the
// frame that leaves the stage.
void Session::followStages() {
  if (keeper_ == nullptr) return;
  keeper_->poll();
  if (stage_.active() && !inStage()) endStage();
  if (!stage_.active() && inStage() && frameCount == 0) {
    Replay header = headerNow(randomState());
    header.start = ReplayStart{World.stageChoice(), World.shipChoice(), World.upLatch(),
                               World.downLatch(), pauseCount};
    stageText_.str({});
    stage_.begin(stageText_, header);
  }
}

void Session::endStage() {
  stage_.end(false, {}, {});
  keeper_->keep(stage_, stageText_.str());
  stageText_.str({});
}

bool Session::whileInactive() {
  host::waitMessage();
  return true;
}

void Session::messageTaken(const host::Message& message) {
  if (message.id == host::kWmKeyDown) keyDowns_.push_back(static_cast<int>(message.wParam));
}

void Session::recordFrame() {
  if (!whole_.active() && !stage_.active()) {
    keyDowns_.clear();
    return;
  }
  const HeldKeys now = keysHeldNow();
  whole_.beforeFrame(now, keyDowns_);
  stage_.beforeFrame(now, keyDowns_);
  keyDowns_.clear();
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
  if (stage_.active()) endStage();
  whole_.end(true, keysHeldNow(), keyDowns_);
}

}  // namespace vane
