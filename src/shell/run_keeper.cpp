// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping runs: the replay written atomically, old ones pruned, records entered once proven.
#include "shell/run_keeper.h"

#include <algorithm>
#include <cstdio>

#include "files/file_writer.h"
#include "shell/system_paths.h"

namespace vane {

namespace fs = std::filesystem;

namespace {

constexpr const char* kReplayExtension = ".keys";

// "2026-12-09T14:55:42Z" as "20261209-145542": names that sort as the runs were played.
std::string compactDate(const std::string& date) {
  std::string digits;
  for (const char c : date) {
    if (c >= '0' && c <= '9') digits += c;
  }
  if (digits.size() < 14) digits.resize(14, '0');
  return digits.substr(0, 8) + "-" + digits.substr(8, 6);
}

}  // namespace

fs::path replaysFolder() {
  const fs::path data = userDataFolder();
  return data.empty() ? data : data / "vane" / "replays";
}

fs::path recordsFile() {
  const fs::path folder = replaysFolder();
  return folder.empty() ? folder : folder / "records.txt";
}

RunKeeper::RunKeeper(fs::path folder, fs::path verifier, fs::path dataFolder)
    : folder_(std::move(folder)),
      verifier_(std::move(verifier)),
      dataFolder_(std::move(dataFolder)) {}

RunKeeper::~RunKeeper() {
  finish();
}

// The player hears of a folder or disk that fails once, and plays on.
void RunKeeper::warn(const std::string& problem) {
  if (warned_) return;
  warned_ = true;
  std::fprintf(stderr, "vane: %s; this session's runs are not kept\n", problem.c_str());
}

bool RunKeeper::ensureFolder() {
  if (folder_.empty()) {
    warn("no folder for the player's data ($XDG_DATA_HOME or $HOME)");
    return false;
  }
  std::error_code failed;
  fs::create_directories(folder_, failed);
  if (failed) warn(folder_.string() + ": " + failed.message());
  return !failed;
}

std::string RunKeeper::freshName(const ReplayRecorder& run) const {
  const ReplayStart& start = run.header().start;
  const std::string stem = compactDate(run.header().date) + "-stage" + std::to_string(start.stage) +
                           "-ship" + std::to_string(start.ship);
  std::string name = stem + kReplayExtension;
  std::error_code ignored;
  for (int n = 2; fs::exists(folder_ / name, ignored); ++n) {
    name = stem + "-" + std::to_string(n) + kReplayExtension;
  }
  return name;
}

void RunKeeper::keep(const ReplayRecorder& run, const std::string& text) {
  if (warned_ || !ensureFolder()) return;
  const std::string name = freshName(run);
  std::string error;
  if (!files::writeWholeFile((folder_ / name).string(), text, error)) {
    warn(error);
    return;
  }
  const ReplayStart& start = run.header().start;
  const RecordEntry entry{start.stage,  start.ship,        run.score(),
                          run.frames(), run.header().date, name};
  if (Records::read(folder_ / "records.txt").wouldEnter(entry.stage, entry.ship, entry.score)) {
    prove(entry);
  }
  prune();
}

// The run is re-simulated by another process, so the game plays on meanwhile.
void RunKeeper::prove(const RecordEntry& entry) {
  auto child = std::make_unique<ChildProcess>();
  const std::vector<std::string> arguments{"--verify", (folder_ / entry.replay).string(), "--data",
                                           dataFolder_.string()};
  if (verifier_.empty() || !child->start(verifier_, arguments)) {
    std::fprintf(stderr, "vane: %s cannot be re-simulated, so its score is no record\n",
                 entry.replay.c_str());
    return;
  }
  proofs_.push_back(Proof{std::move(child), entry});
}

void RunKeeper::poll() {
  for (auto it = proofs_.begin(); it != proofs_.end();) {
    const auto status = it->child->poll();
    if (!status) {
      ++it;
      continue;
    }
    if (*status == 0) enter(it->entry);
    it = proofs_.erase(it);
  }
}

void RunKeeper::finish() {
  for (Proof& proof : proofs_) {
    if (proof.child->wait() == 0) enter(proof.entry);
  }
  proofs_.clear();
}

void RunKeeper::enter(const RecordEntry& entry) {
  const fs::path path = folder_ / "records.txt";
  Records records = Records::read(path);
  if (!records.enter(entry)) return;
  std::string error;
  if (!files::writeWholeFile(path.string(), records.text(), error)) warn(error);
}

// The oldest replays go first; a record's replay stays as long as the record.
void RunKeeper::prune() {
  const std::vector<std::string> kept = Records::read(folder_ / "records.txt").replays();
  std::vector<std::string> names;
  std::error_code failed;
  for (const auto& entry : fs::directory_iterator(folder_, failed)) {
    const std::string name = entry.path().filename().string();
    const bool replay = entry.path().extension() == kReplayExtension && name[0] != '.';
    if (replay && std::find(kept.begin(), kept.end(), name) == kept.end()) names.push_back(name);
  }
  if (failed || names.size() <= kReplaysKept) return;
  std::sort(names.begin(), names.end());
  for (size_t i = 0; i + kReplaysKept < names.size(); ++i) fs::remove(folder_ / names[i], failed);
}

}  // namespace vane
