// SPDX-License-Identifier: GPL-3.0-or-later
// Golden traces kept small, and the first frame and field where a run parts from one.
#include "trace_diff.h"

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <utility>
#include <vector>

namespace vane::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

// Splits a trace line into its top-level "key":value pairs, in order.
std::vector<std::pair<std::string, std::string>> fields(const std::string& line) {
  std::vector<std::pair<std::string, std::string>> out;
  size_t i = 1;  // past '{'
  while (i < line.size() && line[i] == '"') {
    const size_t keyEnd = line.find('"', i + 1);
    if (keyEnd == std::string::npos) break;
    std::string key = line.substr(i + 1, keyEnd - i - 1);
    size_t j = keyEnd + 2;  // past '":'
    const size_t start = j;
    int depth = 0;
    bool inString = false;
    for (; j < line.size(); ++j) {
      const char c = line[j];
      if (c == '"') inString = !inString;
      if (inString) continue;
      if (c == '[' || c == '{') ++depth;
      if (c == ']' || c == '}') {
        if (depth == 0) break;
        --depth;
      }
      if (c == ',' && depth == 0) break;
    }
    out.emplace_back(std::move(key), line.substr(start, j - start));
    i = j + 1;
  }
  return out;
}

std::string shorten(const std::string& s) {
  return s.size() > 160 ? s.substr(0, 160) + "..." : s;
}

constexpr size_t kLiteralLimit = 24;

std::string digestValue(const std::string& value) {
  if (value.size() <= kLiteralLimit) return value;
  uint64_t h = 0xcbf29ce484222325ull;
  for (unsigned char c : value) {
    h ^= c;
    h *= 0x100000001b3ull;
  }
  char hex[20];
  std::snprintf(hex, sizeof hex, "~%016llx", static_cast<unsigned long long>(h));
  return hex;
}

// The picture hash and the mix hash come last: they follow the data files, not the game's state.
bool followsTheData(const std::string& key) {
  return key == "h" || key == "a";
}

std::string digestLine(const std::string& line, Compare compare = Compare::AllFields) {
  std::string out;
  for (const auto& [key, value] : fields(line)) {
    if (compare == Compare::GameFields && followsTheData(key)) continue;
    if (!out.empty()) out += ' ';
    out += key + "=" + digestValue(value);
  }
  return out;
}

// A golden digest line without its picture and mix hashes (the last fields).
std::string withoutPicture(const std::string& digestLine) {
  const size_t h = digestLine.rfind(" h=");
  return h == std::string::npos ? digestLine : digestLine.substr(0, h);
}

}  // namespace

std::string digestTrace(const std::string& trace) {
  std::string out;
  for (const std::string& line : lines(trace)) out += digestLine(line) + "\n";
  return out;
}

std::string firstDesync(const std::string& golden, const std::string& actualTrace,
                        Compare compare) {
  const auto want = lines(golden);
  const auto got = lines(actualTrace);
  for (size_t n = 0; n < want.size() && n < got.size(); ++n) {
    const std::string wanted = compare == Compare::GameFields ? withoutPicture(want[n]) : want[n];
    if (wanted == digestLine(got[n], compare)) continue;
    std::istringstream expectedFields(wanted);
    auto actual = fields(got[n]);
    while (compare == Compare::GameFields && !actual.empty() &&
           followsTheData(actual.back().first)) {
      actual.pop_back();
    }
    std::string item;
    for (size_t k = 0; expectedFields >> item && k < actual.size(); ++k) {
      const std::string mine = actual[k].first + "=" + digestValue(actual[k].second);
      if (item != mine) {
        return "frame " + std::to_string(n + 1) + ", field " + actual[k].first + ": expected " +
               item.substr(item.find('=') + 1) + " got " + shorten(actual[k].second);
      }
    }
    return "frame " + std::to_string(n + 1) + ": fields differ";
  }
  if (want.size() != got.size()) {
    return "expected " + std::to_string(want.size()) + " frames, got " + std::to_string(got.size());
  }
  return {};
}

}  // namespace vane::testing
