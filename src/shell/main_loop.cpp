// SPDX-License-Identifier: GPL-3.0-or-later
// The main loop, one frame by game state, the pause word and the paced stage frame.
#include <array>

#include "core/devices.h"
#include "core/state.h"
#include "flow/flow.h"
#include "gfx/frames.h"
#include "host/host.h"
#include "screens/screens.h"
#include "shell/frame_pacer.h"
#include "shell/game.h"
#include "stages/stages.h"
#include "world/actor.h"

namespace vane {

namespace {

SleepAccuracy sleepAccuracy;

// Space toggles the pause once per press: the hundreds digit remembers that it is still held.
void updatePauseWord() {
  if (!keyHeld(host::kVkSpace) && pauseCount >= 100) pauseCount -= 100;
  if (keyHeld(host::kVkSpace) && pauseCount < 100) pauseCount = pauseCount == 0 ? 101 : 100;
}

void runStageFrame(void (*timeline)(), bool decorations) {
  frameStartTick = host::tickCount();
  const uint64_t startNanos = host::monotonicNanos();
  if (decorations) spawnDecoration();
  updatePauseWord();
  const bool running = notPaused();
  host::showPaused(!running);
  if (running) {
    updateWorld();
    ++frameCount;
  }
  drawStageFrame();
  if (running) timeline();
  waitForFrameEnd(sleepAccuracy, startNanos, frameStartTick);
}

void bootFrame() {
  showFirstTitle();
}
void titleAFrame() {
  drawTitleScreen(frames::number(frames::Etc::TitleA));
}
void titleBFrame() {
  drawTitleScreen(frames::number(frames::Etc::TitleB));
}
void menuFrame() {
  runMenuFrame();
}
void stage1Frame() {
  runStageFrame(runStage1Timeline, false);
}
void stage2Frame() {
  runStageFrame(runStage2Timeline, true);
}
void quitFrame() {
  host::postMessage(host::Message{host::kWmClose, 0, 0});
}

constexpr std::array<void (*)(), 7> kFrameByState{
    bootFrame, titleAFrame, titleBFrame, menuFrame, stage1Frame, stage2Frame, quitFrame,
};

}  // namespace

void runFrame() {
  if (gameState < 0 || gameState >= static_cast<int32_t>(kFrameByState.size())) return;
  // Only a stage can be paused; its frame says so itself.
  host::showPaused(false);
  kFrameByState[static_cast<size_t>(gameState)]();
}

LoopStep runMainLoopOnce(LoopObserver* observer) {
  host::Message message;
  if (host::peekMessage(message)) {
    message = host::getMessage();
    if (observer != nullptr) observer->messageTaken(message);
    if (message.id == host::kWmQuit) return {LoopStep::Ended, static_cast<int>(message.wParam)};
    host::dispatchMessage(message);
    return {LoopStep::Message};
  }
  if (appActive != 0) {
    if (observer != nullptr) {
      const LoopObserver::Next next = observer->beforeFrame();
      if (next == LoopObserver::Next::Stop) return {LoopStep::Ended, 0};
      if (next == LoopObserver::Next::HandleMessages) return {LoopStep::Message};
    }
    runFrame();
    if (observer != nullptr) observer->afterFrame();
    return {LoopStep::Frame};
  }
  if (observer != nullptr) {
    if (!observer->whileInactive()) return {LoopStep::Ended, 0};
  } else {
    host::waitMessage();
  }
  return {LoopStep::Inactive};
}

int runMainLoop(LoopObserver* observer) {
  for (;;) {
    const LoopStep step = runMainLoopOnce(observer);
    if (step.kind == LoopStep::Ended) return step.exitCode;
  }
}

}  // namespace vane
