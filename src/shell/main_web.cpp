// SPDX-License-Identifier: GPL-3.0-or-later
// The vane program in a page: options, the game on the browser's back end, its main loop as the
// page's animation-frame callback, and what the page asks of the run (its state, its recording).
#include <emscripten.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>

#include "core/random.h"
#include "core/state.h"
#include "files/last_resort.h"
#include "host/host.h"
#include "platform/web/web_backend.h"
#include "shell/exit_status.h"
#include "shell/game.h"
#include "shell/option_table.h"
#include "shell/session.h"
#include "shell/settings.h"

namespace {

using namespace vane;

// Where the page puts the data files it fetched and the banks it composed.
constexpr const char* kDataFolder = "/data";
// A frame's messages are few; more than this in one animation frame are left for the next.
constexpr int kMaxStepsPerAnimationFrame = 1000;

// The player's session, never blocking while the page is hidden: the next animation frame looks
// again. Counts the frames run, which are the trace's frame numbers.
class PageSession : public Session {
 public:
  using Session::Session;
  bool whileInactive() override { return true; }
  void afterFrame() override {
    Session::afterFrame();
    ++framesRun;
  }
  long long framesRun = 0;
};

struct Run {
  std::unique_ptr<platform::WebBackend> backend;
  std::unique_ptr<PageSession> session;
  std::optional<KeyScript> replay;
  std::ostringstream recording;
  std::string answer;     // the last string handed to the page
  double busyMillis = 0;  // the page's time in the game's steps, its own drawing included
  bool ended = false;
};
Run run;

EM_JS(void, tellPageEnded, (int status), { Module.page.ended(status); });

void endRun(int status) {
  run.ended = true;
  run.session->finish();
  emscripten_cancel_main_loop();
  tellPageEnded(status);
}

void runSteps() {
  for (int i = 0; i < kMaxStepsPerAnimationFrame; ++i) {
    const LoopStep step = runMainLoopOnce(run.session.get());
    if (step.kind == LoopStep::Ended) {
      endRun(step.exitCode);
      return;
    }
    if (step.kind != LoopStep::Message) return;
  }
}

void onAnimationFrame() {
  if (run.ended || !run.backend->frameDue()) return;
  const double started = emscripten_get_now();
  runSteps();
  run.busyMillis += emscripten_get_now() - started;
}

int startInPage(int argc, char** argv) {
  std::string error;
  const CommandLine line = parseCommandLine(programArguments(argc, argv), error);
  if (!error.empty()) {
    std::fprintf(stderr, "vane: %s\n", error.c_str());
    return kExitBadCommandLine;
  }
  ProgramOptions options;
  if (const auto path = configPath(); !path.empty()) loadConfigFile(path, options, std::cerr);
  applyCommandLine(line, options);
  std::optional<uint32_t> replaySeed;
  if (!options.replayPath.empty()) {
    run.replay = readKeyScript(options.replayPath, error, &replaySeed);
    if (error.empty() && !replaySeed) error = options.replayPath + " has no '# seed N' first line";
    if (!error.empty()) {
      std::fprintf(stderr, "vane: %s\n", error.c_str());
      return kExitBadCommandLine;
    }
  }
  std::filesystem::current_path(kDataFolder);
  run.backend = std::make_unique<platform::WebBackend>();
  platform::setBackend(run.backend.get());
  host::setSoundSettings(options.sound);
  host::setPauseBadge(options.pauseBadge);
  run.session = std::make_unique<PageSession>(options.pad);
  if (run.replay) run.session->replay(*run.replay);
  ExitStatus failure = kExitOk;
  if (!startUp(run.replay ? replaySeed : std::nullopt, &failure)) return failure;
  // Start-up ends by seeding the generator, so its state now is the run's seed.
  run.session->record(run.recording, randomState());
  emscripten_set_main_loop(onAnimationFrame, 0, false);
  return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
  return files::runMain("vane", kExitSystemFailure, [&] { return startInPage(argc, argv); });
}

// What the page (and its tests) ask of the run.
extern "C" {

// {"gameState":G,"frame":F,"frameCount":FC,"pictureHash":"...","ended":E,"busyMillis":B}: the
// trace's gs, f, fc and h of the last frame run, whether the run has ended, and the time the game
// has taken so far.
EMSCRIPTEN_KEEPALIVE const char* vane_state() {
  if (!run.backend) return "null";
  char text[200];
  std::snprintf(text, sizeof text,
                "{\"gameState\":%" PRId32 ",\"frame\":%lld,\"frameCount\":%" PRIu32
                ",\"pictureHash\":\"%016" PRIx64 "\",\"ended\":%s,\"busyMillis\":%.3f}",
                gameState, run.session->framesRun, frameCount, run.backend->screenHash(),
                run.ended ? "true" : "false", run.busyMillis);
  run.answer = text;
  return run.answer.c_str();
}

// The run's key script as `vane --record` writes it, up to the last frame run.
EMSCRIPTEN_KEEPALIVE const char* vane_recording() {
  run.answer = run.recording.str();
  return run.answer.c_str();
}

}  // extern "C"
