// SPDX-License-Identifier: GPL-3.0-or-later
// One headless run of the game: the key script, the loop observer, the trace and the screenshots.
#include "tools/sim/sim_run.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "audio/sound.h"
#include "files/file_writer.h"
#include "host/host.h"
#include "platform/headless/headless.h"
#include "screens/screens.h"
#include "shell/data_fingerprint.h"
#include "shell/frame_fields.h"
#include "shell/game.h"
#include "shell/replay_file.h"
#include "shell/resimulation.h"
#include "tools/common/private_folder.h"
#include "tools/sim/png_out.h"
#include "tools/snd/wav.h"

namespace vane::sim {

std::string traceLine(long long f, const std::vector<SoundEvent>& events, uint64_t hash,
                      uint64_t audio) {
  return gameFieldsText(f, events) + ",\"h\":\"" + hexDigest(hash) + "\",\"a\":\"" +
         hexDigest(audio) + "\"}\n";
}

namespace {

std::string traceFailure(const Options& options) {
  if (options.tracePath.empty()) return "the trace: cannot write";
  return (options.tracePath == "-" ? "the trace to stdout" : options.tracePath) + ": cannot write";
}

// Drives the main loop: holds the script's keys before each frame, traces after it.
class Driver : public LoopObserver {
 public:
  Driver(const Options& options, const KeyScript& script, platform::HeadlessBackend& backend,
         std::ostream* trace)
      : options_(options), script_(script), backend_(backend), trace_(trace) {}

  std::vector<SoundEvent> events;

  // What could not be written (the trace or a picture) and why; the run stops at the first
  // failure.
  std::string writeFailure;

  Next beforeFrame() override {
    if (!writeFailure.empty()) return Next::Stop;
    if (options_.frames >= 0 && frame_ > options_.frames) return Next::Stop;
    if (keysApplied_) return Next::RunFrame;
    keysApplied_ = true;
    return applyKeys() ? Next::HandleMessages : Next::RunFrame;
  }

  void afterFrame() override {
    if (trace_ != nullptr) {
      *trace_ << traceLine(frame_, events, backend_.screenHash(), backend_.takeMixHash());
      if (!*trace_) writeFailure = traceFailure(options_);
    }
    events.clear();
    if (!options_.pngDir.empty() && frame_ % options_.pngEvery == 0) writePng();
    if (options_.afterFrame) options_.afterFrame(frame_);
    ++frame_;
    keysApplied_ = false;
  }

  bool whileInactive() override { return false; }

 private:
  // Sets the held keys of this frame; posts the script's key-down messages before it.
  bool applyKeys() {
    HeldKeys before{};
    for (int k = 0; k < 256; ++k) before[static_cast<size_t>(k)] = host::keyHeld(k);
    const FrameInput input = inputForFrame(script_, frame_, before);
    if (!input.scripted) return false;
    for (int k = 0; k < 256; ++k) {
      const auto i = static_cast<size_t>(k);
      if (input.held[i] == before[i]) continue;
      if (input.held[i]) {
        host::scriptKeyHold(k);
      } else {
        host::scriptKeyUp(k);
      }
    }
    for (int k : input.keyDowns) {
      host::postMessage(host::Message{host::kWmKeyDown, static_cast<uint32_t>(k), 0});
    }
    return !input.keyDowns.empty();
  }

  void writePng() {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%06lld.png", frame_);
    const std::string path = (std::filesystem::path(options_.pngDir) / name).string();
    const std::string failure =
        writeScreenPng(path, backend_.screen(), platform::HeadlessBackend::kWidth,
                       platform::HeadlessBackend::kHeight, options_.use565);
    if (writeFailure.empty()) writeFailure = failure;
  }

  const Options& options_;
  const KeyScript& script_;
  platform::HeadlessBackend& backend_;
  std::ostream* trace_;
  long long frame_ = 1;
  bool keysApplied_ = false;
};

// Loaders read from the working directory. A data folder that cannot be entered reads as empty:
// the run then works in a fresh folder of its own (mode 0700, removed afterwards), so nobody
// can plant data files where it looks. Where no such folder can be made, the run does not start.
class DataDir {
 public:
  explicit DataDir(const std::string& dir) {
    std::error_code failed;
    std::filesystem::current_path(dir, failed);
    if (!failed) return;
    empty_ = tools::makePrivateFolder("vane-sim-", failed);
    if (!failed) std::filesystem::current_path(empty_, failed);
    if (failed) {
      std::fprintf(stderr, "vane-sim: cannot make an empty data folder: %s\n",
                   failed.message().c_str());
      ready_ = false;
    }
  }
  bool ready() const { return ready_; }
  ~DataDir() {
    std::error_code ignored;
    if (!empty_.empty()) std::filesystem::remove(empty_, ignored);
  }
  DataDir(const DataDir&) = delete;
  DataDir& operator=(const DataDir&) = delete;

 private:
  std::filesystem::path empty_;
  bool ready_ = true;
};

// The run's mix as a 16-bit stereo WAV file at the output's rate; what went wrong, or nothing.
std::string writeMix(const std::string& path, const platform::HeadlessBackend& backend) {
  const uint32_t rate = backend.audioRate;
  const platform::WaveFormat format{1, 2, rate, rate * 4, 4, 16, 0};
  std::vector<uint8_t> data;
  data.reserve(backend.mixed.size() * 2);
  for (const int16_t s : backend.mixed) {
    data.push_back(static_cast<uint8_t>(s & 0xFF));
    data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
  }
  const std::vector<uint8_t> wav =
      tools::wavBytes(format, data.data(), static_cast<uint32_t>(data.size()));
  files::FileWriter out;
  if (!out.open(path) ||
      !out.write(std::string_view(reinterpret_cast<const char*>(wav.data()), wav.size())) ||
      !out.commit()) {
    return out.error();
  }
  return {};
}

}  // namespace

int run(const Options& options, const KeyScript& script, std::ostream* trace) {
  // A trace file replaces the one there only once the run is over and every line was written.
  files::FileWriterStream traceFile;
  if (trace == nullptr && options.tracePath == "-") trace = &std::cout;
  if (trace == nullptr && !options.tracePath.empty()) {
    if (!traceFile.open(options.tracePath)) {
      std::fprintf(stderr, "vane-sim: %s\n", traceFile.error().c_str());
      return 1;
    }
    trace = &traceFile;
  }
  if (!options.pngDir.empty()) {
    std::error_code failure;
    std::filesystem::create_directories(options.pngDir, failure);
    if (failure || !std::filesystem::is_directory(options.pngDir)) {
      std::fprintf(stderr, "vane-sim: cannot make the folder %s: %s\n", options.pngDir.c_str(),
                   failure ? failure.message().c_str() : "a file is in the way");
      return 2;
    }
  }

  // A working directory that is gone cannot be gone back to.
  std::error_code gone;
  const auto previousDir = std::filesystem::current_path(gone);
  platform::HeadlessBackend backend;
  backend.use565Layout = options.use565;
  backend.keepRecords = false;
  backend.keepMix = !options.mixPath.empty();
  platform::setBackend(&backend);
  resetGame();
  Driver driver(options, script, backend, trace);
  setSoundEventHook([&driver](const SoundEvent& e) { driver.events.push_back(e); });

  ExitStatus status = kExitOk;
  {
    const DataDir dataDir(options.dataDir);
    if (!dataDir.ready()) {
      status = kExitSystemFailure;
    } else if (startUp(options.seed, &status)) {
      startReplayAt(ReplayStart{options.stage, options.ship, options.upLatch, options.downLatch,
                                options.pauseWord});
      status = static_cast<ExitStatus>(runMainLoop(&driver));
    }
  }
  std::error_code ignored;
  if (!gone) std::filesystem::current_path(previousDir, ignored);
  setSoundEventHook(nullptr);
  resetGame();
  platform::setBackend(nullptr);
  if (trace != nullptr && !trace->flush() && driver.writeFailure.empty()) {
    driver.writeFailure = traceFailure(options);
  }
  if (trace == &traceFile && (!driver.writeFailure.empty() || !traceFile.commit()) &&
      !traceFile.error().empty()) {
    driver.writeFailure = traceFile.error();
  }
  if (driver.writeFailure.empty() && !options.mixPath.empty()) {
    driver.writeFailure = writeMix(options.mixPath, backend);
  }
  if (!driver.writeFailure.empty()) {
    std::fprintf(stderr, "vane-sim: %s\n", driver.writeFailure.c_str());
    return 1;
  }
  return status;
}

int verify(const Options& options, const std::string& path) {
  std::string error;
  const Replay replay = readReplay(path, error);
  if (error.empty() && !unverifiableReason(replay).empty())
    error = path + ": " + unverifiableReason(replay);
  if (!error.empty()) {
    std::fprintf(stderr, "vane-sim: %s\n", error.c_str());
    return 2;
  }
  std::error_code gone;
  const auto previousDir = std::filesystem::current_path(gone);
  ReplayVerdict verdict;
  {
    const DataDir dataDir(options.dataDir);
    if (!dataDir.ready()) return kExitSystemFailure;
    verdict = verifyReplay(replay, dataDigest("."));
  }
  std::error_code ignored;
  if (!gone) std::filesystem::current_path(previousDir, ignored);
  std::printf("%s\n", verdict.line.c_str());
  return verdict.status;
}

}  // namespace vane::sim
