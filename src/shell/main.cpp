// SPDX-License-Identifier: GPL-3.0-or-later
// The vane program: options, the data folder, the game on the desktop back end, its exit status.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/random.h"
#include "files/file_writer.h"
#include "files/last_resort.h"
#include "host/host.h"
#include "platform/desktop.h"
#include "shell/data_fingerprint.h"
#include "shell/data_folder.h"
#include "shell/exit_status.h"
#include "shell/frame_pacer.h"
#include "shell/game.h"
#include "shell/option_table.h"
#include "shell/options_overlay.h"
#include "shell/player_keys.h"
#include "shell/replay_file.h"
#include "shell/replay_player.h"
#include "shell/resimulation.h"
#include "shell/run_keeper.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/system_paths.h"

namespace {

using namespace vane;

// Everything the player chose: the config file, then the command line over it. `saveBack` says
// whether the config may be written back: not when it is there but could not be read.
ProgramOptions chooseOptions(const CommandLine& line, bool& saveBack) {
  ProgramOptions options;
  const auto path = configPath();
  saveBack = !path.empty() && loadConfigFile(path, options, std::cerr);
  applyCommandLine(line, options);
  return options;
}

// Why the run cannot be recorded where asked, found before anything starts: a file that is not a
// regular one, is read-only, or is the run being replayed. Takes the path as an absolute one,
// since the data folder becomes the working directory.
std::string recordingRefusal(ProgramOptions& options) {
  std::error_code failure;
  const auto path = std::filesystem::absolute(options.recordPath, failure);
  if (failure) return options.recordPath + ": " + failure.message();
  options.recordPath = path.string();
  if (!options.replayPath.empty() &&
      std::filesystem::equivalent(options.replayPath, options.recordPath, failure)) {
    return options.recordPath + ": is the run being replayed; record into another file";
  }
  return files::writeRefusal(options.recordPath);
}

// The recording goes into a temporary file that replaces FILE only once the run has ended.
bool startRecording(const std::string& path, files::FileWriterStream& file) {
  if (file.open(path)) return true;
  std::fprintf(stderr, "vane: %s; this run is not recorded\n", file.error().c_str());
  return false;
}

bool endRecording(files::FileWriterStream& file) {
  if (file.commit()) return true;
  std::fprintf(stderr, "vane: %s; the recording is lost\n", file.error().c_str());
  return false;
}

// Makes the data folder the working directory. A folder the player named is the only one used,
// read by its own path (it need not exist); the other folders are searched only without one. With
// none found start-up goes on where it is, so the game's own message names what it missed.
DataSource enterDataFolder(const std::string& dataFlag) {
  DataSource source;
  std::error_code failed;
  if (const auto named = playersDataFolder(dataFlag); !named.empty()) {
    source.named = std::filesystem::absolute(named, failed);
    if (failed) source.named = named;
    source.strict = true;
    // Entered, the files are read by their names, as the game's messages name them.
    std::filesystem::current_path(source.named, failed);
    if (failed) source.folder = source.named;
    return source;
  }
  std::string report;
  const auto folder = findDataFolder(dataFolderCandidates(), report);
  if (!folder) {
    std::fputs(report.c_str(), stderr);
    return source;
  }
  std::filesystem::current_path(*folder, failed);
  if (failed)
    std::fprintf(stderr, "vane: %s: %s\n", folder->string().c_str(), failed.message().c_str());
  return source;
}

// Names the folder and the file the player's data folder failed on.
void reportRefusedData(const DataSource& source) {
  if (!source.strict || source.failedFile.empty()) return;
  std::error_code ignored;
  const bool there = std::filesystem::exists(source.named / source.failedFile, ignored);
  std::fprintf(stderr, "vane: the data folder %s %s %s; no other folder is searched\n",
               source.named.string().c_str(), there ? "holds a broken" : "has no",
               source.failedFile.c_str());
}

// What the options overlay changes, in effect at once.
void applyOptions(const ProgramOptions& options, Session& session,
                  platform::DesktopBackend& backend) {
  host::setKeyMap(keyMapFor(options.keys));
  host::setFrameGraph(options.frameGraph);
  session.setPadRoles(options.pad);
  setGameSpeed(options.gameSpeed);
  host::setSoundSettings(options.sound);
  backend.setWindowMode(options.display.windowMode);
}

Session* playing = nullptr;

long long framesPlayed() {
  return playing != nullptr ? playing->framesRun() : 0;
}

// Runs the game, and writes the window mode and size the player ended with back to the config
// when `saveBack` allows: while the sound output drains, before the back end is gone.
int play(ProgramOptions& options, const std::optional<Replay>& replay, bool saveBack,
         DataSource& data) {
  const auto backend = platform::makeDesktopBackend(options.display);
  if (!backend) return kExitNoDisplay;
  platform::setBackend(backend.get());
  host::setSoundSettings(options.sound);
  host::setPauseBadge(options.pauseBadge);
  setGameSpeed(options.gameSpeed);
  host::setKeyMap(keyMapFor(options.keys));
  host::setFrameGraph(options.frameGraph);
  if (options.display.verbose) {
    std::fprintf(stderr, "vane: game speed: %d%% (a stage frame lasts %.1f ms)\n",
                 options.gameSpeed, static_cast<double>(stageFrameNanos(options.gameSpeed)) / 1e6);
  }
  Session session(options.pad);
  // A replay is watched with its controls, unless it is recorded again as it plays.
  const bool watched = replay && options.recordPath.empty();
  if (replay && !watched) session.replay(replay->keys);
  playing = &session;
  OptionsOverlay overlay(
      options, [&](const ProgramOptions& o) { applyOptions(o, session, *backend); },
      [saveBack](const ProgramOptions& before, const ProgramOptions& after) {
        if (saveBack) saveSettings(configPath(), changedSettings(before, after), std::cerr);
      });
  installPlayerKeys(&options, &overlay, framesPlayed);
  // Runs played by the player are kept; a replay watched is kept already.
  std::error_code noFolder;
  RunKeeper keeper(replaysFolder(), programFile(), std::filesystem::current_path(noFolder));
  if (!replay) session.keepStages(keeper);
  ExitStatus failure = kExitOk;
  if (!startUp(replay ? replay->seed : std::nullopt, &failure, &data)) {
    removePlayerKeys();
    reportRefusedData(data);
    platform::setBackend(nullptr);
    return failure;
  }
  if (replay) startReplayAt(replay->start);
  std::unique_ptr<ReplayPlayer> player;
  if (watched) player = std::make_unique<ReplayPlayer>(*replay, options.pad, keeper);
  files::FileWriterStream recording;
  const bool recorded = !options.recordPath.empty();
  // Start-up ends by seeding the generator, so its state now is the run's seed.
  bool kept = recorded && startRecording(options.recordPath, recording);
  session.setDataDigest(dataDigest("."));
  if (kept) session.record(recording, randomState());
  int status = runMainLoop(player ? static_cast<LoopObserver*>(player.get()) : &session);
  if (player) player->finish();
  player.reset();
  removePlayerKeys();
  playing = nullptr;
  session.finish();
  keeper.finish();
  if (kept) kept = endRecording(recording);
  if (recorded && !kept && status == kExitOk) status = kExitNotRecorded;
  platform::setBackend(nullptr);
  if (saveBack && (status == kExitOk || status == kExitNotRecorded)) {
    platform::DisplayOptions ended = options.display;
    const platform::WindowState window = backend->windowState();
    ended.windowMode = window.mode;
    if (window.width > 0 && window.height > 0) {
      ended.windowWidth = window.width;
      ended.windowHeight = window.height;
    }
    saveWindowChoice(configPath(), ended, std::cerr);
  }
  return status;
}

// --verify FILE: what vane-sim --verify does, for the game's own proof of a record.
int verifyFromCommandLine(const CommandLine& line) {
  std::string error;
  std::error_code failed;
  const auto path = std::filesystem::absolute(line.verifyPath, failed);
  const Replay replay = readReplay(path.string(), error);
  if (error.empty() && !unverifiableReason(replay).empty())
    error = line.verifyPath + ": " + unverifiableReason(replay);
  if (!error.empty()) {
    std::fprintf(stderr, "vane: %s\n", error.c_str());
    return kExitBadCommandLine;
  }
  enterDataFolder(line.dataDir);
  const ReplayVerdict verdict = verifyReplay(replay, dataDigest("."));
  std::printf("%s\n", verdict.line.c_str());
  return verdict.status;
}

int playFromCommandLine(int argc, char** argv) {
  std::string error;
  const CommandLine line = parseCommandLine(programArguments(argc, argv), error);
  if (!error.empty()) {
    std::fprintf(stderr, "vane: %s\n%s", error.c_str(), usageText());
    return kExitBadCommandLine;
  }
  if (line.action == CommandLine::Action::Help) {
    std::fputs(helpText().c_str(), stdout);
    return kExitOk;
  }
  if (line.action == CommandLine::Action::Version) {
    std::printf("vane %s\n", VANE_VERSION);
    return kExitOk;
  }
  if (line.action == CommandLine::Action::Verify) return verifyFromCommandLine(line);
  bool saveBack = false;
  ProgramOptions options = chooseOptions(line, saveBack);
  if (!options.recordPath.empty()) error = recordingRefusal(options);
  if (!error.empty()) {
    std::fprintf(stderr, "vane: %s\n", error.c_str());
    return kExitBadCommandLine;
  }
  std::optional<Replay> replay;
  if (!options.replayPath.empty()) {
    replay = readReplay(options.replayPath, error);
    if (error.empty() && !replay->seed)
      error = options.replayPath + " has no '# seed N' first line";
    if (!error.empty()) {
      std::fprintf(stderr, "vane: %s\n", error.c_str());
      return kExitBadCommandLine;
    }
  }
  DataSource data = enterDataFolder(options.dataDir);
  return play(options, replay, saveBack, data);
}

}  // namespace

int main(int argc, char** argv) {
  platform::prepareDesktopProgram();
  return files::runMain("vane", kExitSystemFailure,
                        [&] { return playFromCommandLine(argc, argv); });
}
