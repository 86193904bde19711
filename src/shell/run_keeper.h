// SPDX-License-Identifier: GPL-3.0-or-later
// Every stage played kept as a replay, the last fifty and each record's; records proven first.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shell/child_process.h"
#include "shell/records.h"
#include "shell/session.h"

namespace vane {

// The folder of the kept replays and records.txt: vane/replays in the user's data folder.
std::filesystem::path replaysFolder();
std::filesystem::path recordsFile();

// The most replays kept that no record names.
constexpr size_t kReplaysKept = 50;

class RunKeeper : public StageKeeper {
 public:
  // `verifier` is the program that re-simulates a replay (`--verify FILE --data DIR`), with the
  // data of `dataFolder`.
  RunKeeper(std::filesystem::path folder, std::filesystem::path verifier,
            std::filesystem::path dataFolder);
  ~RunKeeper() override;
  RunKeeper(const RunKeeper&) = delete;
  RunKeeper& operator=(const RunKeeper&) = delete;

  // Writes the replay (a temporary file renamed over it), then starts proving a score that
  // would be a record.
  void keep(const ReplayRecorder& run, const std::string& text) override;
  // Enters the records of the runs whose re-simulation has ended and agreed.
  void poll() override;
  // Waits for the proofs still running and enters their records.
  void finish();

 private:
  struct Proof {
    std::unique_ptr<ChildProcess> child;
    RecordEntry entry;
  };
  bool ensureFolder();
  std::string freshName(const ReplayRecorder& run) const;
  void prove(const RecordEntry& entry);
  void enter(const RecordEntry& entry);
  void prune();
  void warn(const std::string& problem);

  std::filesystem::path folder_;
  std::filesystem::path verifier_;
  std::filesystem::path dataFolder_;
  std::vector<Proof> proofs_;
  bool warned_ = false;
};

}  // namespace vane
