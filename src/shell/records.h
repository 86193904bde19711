// SPDX-License-Identifier: GPL-3.0-or-later
// The records table: the ten best proven scores of each stage and ship, kept in records.txt.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vane {

struct RecordEntry {
  int stage = 0;
  int ship = 0;
  int64_t score = 0;
  long long frames = 0;
  std::string date;    // as the replay's header has it
  std::string replay;  // the replay's file name, in the folder of records.txt
  bool operator==(const RecordEntry&) const = default;
};

// The most entries kept for one stage and ship.
constexpr size_t kRecordsPerTable = 10;

class Records {
 public:
  // Lines "stage S ship K score N frames F date D replay NAME"; a line that is not one is
  // left out.
  static Records parse(const std::string& text);
  // records.txt as it is on disk; an empty table when it is missing or cannot be read.
  static Records read(const std::filesystem::path& path);
  std::string text() const;

  // The table of one stage and ship, best first (an earlier run first among equal scores).
  std::vector<RecordEntry> table(int stage, int ship) const;
  // Whether a run of this score would enter its table.
  bool wouldEnter(int stage, int ship, int64_t score) const;
  // Enters the run when it is among the ten best of its table; true when it was.
  bool enter(const RecordEntry& entry);
  // Every replay some entry names.
  std::vector<std::string> replays() const;

 private:
  std::vector<RecordEntry> entries_;
};

}  // namespace vane
