// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing version-2 replays: the header's lines, check lines and the end line.
#include "shell/replay_file.h"

#include <ctime>
#include <sstream>
#include <vector>

#include "files/data_file.h"
#include "files/last_resort.h"
#include "shell/frame_fields.h"

namespace vane {

namespace {

constexpr const char* kFormatLine = "# vane replay 2";

std::vector<std::string> wordsOf(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

std::optional<long long> numberIn(const std::string& word, long long low, long long high) {
  if (word.empty() || word.size() > 19) return std::nullopt;
  size_t at = word[0] == '-' ? 1 : 0;
  if (at == word.size()) return std::nullopt;
  for (size_t i = at; i < word.size(); ++i) {
    if (word[i] < '0' || word[i] > '9') return std::nullopt;
  }
  const long long v = std::stoll(word);
  if (v < low || v > high) return std::nullopt;
  return v;
}

std::optional<uint64_t> digestIn(const std::string& word) {
  if (word.size() != 16) return std::nullopt;
  uint64_t v = 0;
  for (const char c : word) {
    const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<uint64_t>(d);
  }
  return v;
}

// "boot", or "stage S ship K" with "up U", "down D" and "pause P" after it where they are not 0.
bool takeStart(const std::vector<std::string>& w, ReplayStart& start) {
  if (w.size() == 3 && w[2] == "boot") return true;
  if (w.size() < 6 || w.size() % 2 != 0 || w[2] != "stage" || w[4] != "ship") return false;
  const auto stage = numberIn(w[3], 1, 2);
  const auto ship = numberIn(w[5], 1, 2);
  if (!stage || !ship) return false;
  start.stage = static_cast<int>(*stage);
  start.ship = static_cast<int>(*ship);
  for (size_t i = 6; i + 1 < w.size(); i += 2) {
    const auto v = numberIn(w[i + 1], -2147483647, 2147483647);
    int32_t* field = w[i] == "up"      ? &start.upLatch
                     : w[i] == "down"  ? &start.downLatch
                     : w[i] == "pause" ? &start.pauseWord
                                       : nullptr;
    if (!v || field == nullptr) return false;
    *field = static_cast<int32_t>(*v);
  }
  return true;
}

struct HeaderSeen {
  bool start = false;
  bool data = false;
  bool end = false;
};

// One comment line of a version-2 file; false with `error` set for a broken one it owns.
bool takeComment(const std::string& line, int lineNo, Replay& r, HeaderSeen& seen,
                 std::string& error) {
  const std::vector<std::string> w = wordsOf(line);
  if (w.size() < 2 || w[0] != "#") return true;
  const std::string where = "replay line " + std::to_string(lineNo) + ": ";
  if (w[1] == "check") {
    const auto f = w.size() == 4 ? numberIn(w[2], 1, 1ll << 40) : std::nullopt;
    const auto d = w.size() == 4 ? digestIn(w[3]) : std::nullopt;
    if (!f || !d || (!r.checks.empty() && *f <= r.checks.rbegin()->first)) {
      error = where + "a check line is '# check FRAME DIGEST', frames rising";
      return false;
    }
    r.checks[*f] = *d;
  } else if (w[1] == "end") {
    const auto f = w.size() == 5 ? numberIn(w[2], 0, 1ll << 40) : std::nullopt;
    const auto s = w.size() == 5 && w[3] == "score" ? numberIn(w[4], -1, 1ll << 40) : std::nullopt;
    if (!f || !s || seen.end) {
      error = where + "the end line is '# end FRAMES score SCORE', once";
      return false;
    }
    r.frames = *f;
    r.score = *s;
    seen.end = true;
    r.ended = true;
  } else if (w[1] == "start") {
    if (!takeStart(w, r.start)) {
      error = where + "the start is 'boot' or 'stage 1|2 ship 1|2'";
      return false;
    }
    seen.start = true;
  } else if (w[1] == "program" && w.size() == 3) {
    r.program = w[2];
  } else if (w[1] == "data" && w.size() == 3 && digestIn(w[2])) {
    r.data = w[2];
    seen.data = true;
  } else if (w[1] == "date" && w.size() == 3) {
    r.date = w[2];
  }
  return true;
}

std::string missingPart(const Replay& r, const HeaderSeen& seen) {
  if (!r.seed) return "no '# seed N' first line";
  if (!seen.start) return "no '# start' line";
  if (!seen.data) return "no '# data' line";
  for (const auto& [frame, digest] : r.checks) {
    if (seen.end && frame > r.frames) return "a check line after the run's end";
  }
  return {};
}

void readHeaderAndChecks(const std::string& text, Replay& r, std::string& error) {
  std::istringstream in(text);
  std::string line;
  HeaderSeen seen;
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line == kFormatLine) r.format = 2;
  }
  if (r.format != 2) return;
  in.clear();
  in.str(text);
  for (int lineNo = 1; std::getline(in, line); ++lineNo) {
    if (!takeComment(line, lineNo, r, seen, error)) return;
  }
  const std::string missing = missingPart(r, seen);
  if (!missing.empty()) error = "version-2 replay: " + missing;
}

}  // namespace

std::string unverifiableReason(const Replay& replay) {
  if (replay.format != 2) return "not a version-2 replay";
  if (!replay.ended) return "version-2 replay: no '# end' line: the run was cut short";
  return {};
}

Replay parseReplay(const std::string& text, std::string& error) {
  Replay r;
  r.keys = parseKeyScript(text, error, &r.seed);
  if (error.empty()) readHeaderAndChecks(text, r, error);
  return r;
}

Replay readReplay(const std::string& path, std::string& error) {
  const files::LoadingNote note(path);
  std::vector<uint8_t> bytes;
  const files::DataFileRead read = files::readDataFile(path.c_str(), kMaxScriptBytes, bytes);
  if (read.failure != files::ReadFailure::None) {
    error = files::refusalText(path.c_str(), read);
    return {};
  }
  return parseReplay(std::string(bytes.begin(), bytes.end()), error);
}

std::string replayHeader(const Replay& r) {
  std::string start = "boot";
  if (r.start.stage != 0) {
    start = "stage " + std::to_string(r.start.stage) + " ship " + std::to_string(r.start.ship);
    const std::pair<const char*, int32_t> extras[] = {
        {"up", r.start.upLatch}, {"down", r.start.downLatch}, {"pause", r.start.pauseWord}};
    for (const auto& [name, value] : extras) {
      if (value != 0) start += std::string(" ") + name + " " + std::to_string(value);
    }
  }
  return seedLine(r.seed.value_or(0)) + "\n" + kFormatLine + "\n# program " + r.program +
         "\n# start " + start + "\n# data " + r.data + "\n# date " + r.date + "\n";
}

std::string checkLine(long long frame, uint64_t digest) {
  return "# check " + std::to_string(frame) + " " + hexDigest(digest) + "\n";
}

std::string endLine(long long frames, int64_t score) {
  return "# end " + std::to_string(frames) + " score " + std::to_string(score) + "\n";
}

const char* programVersion() {
  return VANE_VERSION;
}

std::string utcDateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
#ifdef _WIN32
  gmtime_s(&utc, &now);
#else
  gmtime_r(&now, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

}  // namespace vane
