// SPDX-License-Identifier: GPL-3.0-or-later
// Re-simulating a replay headless: the keys played as a replay plays them, the checks compared.
#include "shell/resimulation.h"

#include <vector>

#include "audio/sound.h"
#include "core/state.h"
#include "flow/flow.h"
#include "platform/headless/headless.h"
#include "shell/frame_fields.h"
#include "shell/game.h"
#include "shell/session.h"
#include "world/actor.h"

namespace vane {

namespace {

// Plays the replay's keys through a session and compares each check line after its frame.
class ReplayCheck : public LoopObserver {
 public:
  ReplayCheck(const Replay& replay, ResimulatedRun& run,
              const std::function<void(long long)>& afterFrame)
      : session_(PadRoles{}), replay_(replay), run_(run), afterFrame_(afterFrame) {
    session_.replay(replay.keys);
  }

  std::vector<SoundEvent> events;

  Next beforeFrame() override {
    if (run_.frames >= replay_.frames || run_.mismatch != 0) return Next::Stop;
    return session_.beforeFrame();
  }

  void afterFrame() override {
    session_.afterFrame();
    const long long f = ++run_.frames;
    if (shipScore() >= 0) run_.score = shipScore();
    const auto check = replay_.checks.find(f);
    if (check != replay_.checks.end() && check->second != frameDigest(f, events)) {
      run_.mismatch = f;
    }
    events.clear();
    if (afterFrame_) afterFrame_(f);
  }

  bool whileInactive() override { return false; }
  void messageTaken(const host::Message& message) override { session_.messageTaken(message); }

 private:
  Session session_;
  const Replay& replay_;
  ResimulatedRun& run_;
  const std::function<void(long long)>& afterFrame_;
};

}  // namespace

void startReplayAt(const ReplayStart& start) {
  if (start.stage == 0) return;
  startStageFromMenu(start.stage, start.ship);
  World.upLatch() = start.upLatch;
  World.downLatch() = start.downLatch;
  pauseCount = start.pauseWord;
}

ResimulatedRun resimulate(const Replay& replay,
                          const std::function<void(long long frame)>& afterFrame) {
  ResimulatedRun run;
  platform::HeadlessBackend backend;
  backend.keepRecords = false;
  platform::setBackend(&backend);
  resetGame();
  ReplayCheck check(replay, run, afterFrame);
  setSoundEventHook([&check](const SoundEvent& e) { check.events.push_back(e); });
  if (startUp(replay.seed.value_or(0))) {
    run.started = true;
    startReplayAt(replay.start);
    runMainLoop(&check);
  }
  setSoundEventHook(nullptr);
  resetGame();
  platform::setBackend(nullptr);
  return run;
}

ReplayVerdict verifyReplay(const Replay& replay, const std::string& dataNow) {
  const ResimulatedRun run = resimulate(replay);
  std::string line =
      "frames " + std::to_string(run.frames) + " score " + std::to_string(run.score) + " ";
  std::string mismatch;
  if (!run.started) {
    mismatch = "the data files could not be loaded";
  } else if (run.mismatch != 0) {
    mismatch = "frame " + std::to_string(run.mismatch);
  } else if (run.frames != replay.frames) {
    mismatch = "the run ends after frame " + std::to_string(run.frames) + ", the replay's after " +
               std::to_string(replay.frames);
  } else if (run.score != replay.score) {
    mismatch = "the score, the replay's is " + std::to_string(replay.score);
  }
  if (mismatch.empty()) return {0, line + "first mismatch: none"};
  line += "first mismatch: " + mismatch;
  if (!replay.data.empty() && replay.data != dataNow) line += " (made with other data)";
  return {1, line};
}

}  // namespace vane
