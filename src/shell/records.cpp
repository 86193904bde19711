// SPDX-License-Identifier: GPL-3.0-or-later
// Reading, ranking and writing the records table.
#include "shell/records.h"

#include <algorithm>
#include <sstream>

#include "files/data_file.h"

namespace vane {

namespace {

// The largest records file read: twenty tables of ten short lines fit many times over.
constexpr size_t kMaxRecordsBytes = size_t{1} << 20;

bool better(const RecordEntry& a, const RecordEntry& b) {
  if (a.score != b.score) return a.score > b.score;
  return a.date < b.date;
}

bool parseLine(const std::string& line, RecordEntry& e) {
  std::istringstream in(line);
  std::string stage, ship, score, frames, date, replay, rest;
  if (!(in >> stage >> e.stage >> ship >> e.ship >> score >> e.score >> frames >> e.frames >>
        date >> e.date >> replay >> e.replay) ||
      (in >> rest)) {
    return false;
  }
  const bool named = stage == "stage" && ship == "ship" && score == "score" && frames == "frames" &&
                     date == "date" && replay == "replay";
  // A replay's name never leads out of the folder.
  const bool plain =
      e.replay.find_first_of("/\\") == std::string::npos && e.replay != ".." && e.replay != ".";
  return named && plain && (e.stage == 1 || e.stage == 2) && (e.ship == 1 || e.ship == 2);
}

}  // namespace

Records Records::parse(const std::string& text) {
  Records r;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    RecordEntry e;
    if (parseLine(line, e)) r.entries_.push_back(e);
  }
  return r;
}

Records Records::read(const std::filesystem::path& path) {
  std::vector<uint8_t> bytes;
  const std::string name = path.string();
  const files::DataFileRead read = files::readDataFile(name.c_str(), kMaxRecordsBytes, bytes);
  if (read.failure != files::ReadFailure::None) return {};
  return parse(std::string(bytes.begin(), bytes.end()));
}

std::string Records::text() const {
  std::string out;
  for (int stage = 1; stage <= 2; ++stage) {
    for (int ship = 1; ship <= 2; ++ship) {
      for (const RecordEntry& e : table(stage, ship)) {
        out += "stage " + std::to_string(e.stage) + " ship " + std::to_string(e.ship) + " score " +
               std::to_string(e.score) + " frames " + std::to_string(e.frames) + " date " + e.date +
               " replay " + e.replay + "\n";
      }
    }
  }
  return out;
}

std::vector<RecordEntry> Records::table(int stage, int ship) const {
  std::vector<RecordEntry> t;
  for (const RecordEntry& e : entries_) {
    if (e.stage == stage && e.ship == ship) t.push_back(e);
  }
  std::stable_sort(t.begin(), t.end(), better);
  if (t.size() > kRecordsPerTable) t.resize(kRecordsPerTable);
  return t;
}

bool Records::wouldEnter(int stage, int ship, int64_t score) const {
  const std::vector<RecordEntry> t = table(stage, ship);
  return score >= 0 && (t.size() < kRecordsPerTable || score > t.back().score);
}

bool Records::enter(const RecordEntry& entry) {
  if (!wouldEnter(entry.stage, entry.ship, entry.score)) return false;
  entries_.push_back(entry);
  std::vector<RecordEntry> kept;
  for (int stage = 1; stage <= 2; ++stage) {
    for (int ship = 1; ship <= 2; ++ship) {
      const std::vector<RecordEntry> t = table(stage, ship);
      kept.insert(kept.end(), t.begin(), t.end());
    }
  }
  entries_ = kept;
  return true;
}

std::vector<std::string> Records::replays() const {
  std::vector<std::string> names;
  for (const RecordEntry& e : entries_) names.push_back(e.replay);
  return names;
}

}  // namespace vane
