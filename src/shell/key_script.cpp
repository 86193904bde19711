// SPDX-License-Identifier: GPL-3.0-or-later
// Key scripts: parsing, writing a live run's lines, and the keys a script holds in each frame.
#include "shell/key_script.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "files/data_file.h"
#include "files/last_resort.h"
#include "host/host.h"

namespace vane {

namespace {

struct KeyName {
  const char* name;
  int code;
};

constexpr std::array<KeyName, 15> kKeyNames{{
    {"LEFT", host::kVkLeft},
    {"RIGHT", host::kVkRight},
    {"UP", host::kVkUp},
    {"DOWN", host::kVkDown},
    {"NUMPAD2", host::kVkNumpad2},
    {"NUMPAD4", host::kVkNumpad4},
    {"NUMPAD6", host::kVkNumpad6},
    {"NUMPAD8", host::kVkNumpad8},
    {"SHIFT", host::kVkShift},
    {"Z", host::kVkZ},
    {"T", host::kVkT},
    {"C", host::kVkC},
    {"SPACE", host::kVkSpace},
    {"RETURN", host::kVkReturn},
    {"ESCAPE", host::kVkEscape},
}};

// A decimal number of the whole word, or -1 when it is not one or does not fit.
long long wholeNumber(const std::string& word) {
  if (word.empty() || word.find('\0') != std::string::npos) return -1;
  errno = 0;
  char* end = nullptr;
  const long long v = std::strtoll(word.c_str(), &end, 10);
  if (errno == ERANGE || end != word.c_str() + word.size()) return -1;
  return v;
}

int keyCode(const std::string& word) {
  for (const KeyName& k : kKeyNames) {
    if (word == k.name) return k.code;
  }
  const long long v = wholeNumber(word);
  if (v < 1 || v > 255) return -1;
  return static_cast<int>(v);
}

std::optional<KeyToken> tokenFor(const std::string& word) {
  const char mark = word.empty() ? '\0' : word[0];
  const bool marked = mark == '+' || mark == '=';
  const int code = keyCode(marked ? word.substr(1) : word);
  if (code < 0) return std::nullopt;
  return KeyToken{code, mark == '+', mark == '='};
}

// "# seed N" on the first line; anything else there is an ordinary comment.
std::optional<uint32_t> seedFrom(const std::string& line) {
  std::istringstream words(line);
  std::string hash;
  std::string seed;
  long long n = -1;
  std::string rest;
  if (!(words >> hash >> seed >> n) || hash != "#" || seed != "seed" || (words >> rest)) {
    return std::nullopt;
  }
  if (n < 0 || n > 0xFFFFFFFFll) return std::nullopt;
  return static_cast<uint32_t>(n);
}

}  // namespace

std::string keyName(int virtualKey) {
  for (const KeyName& k : kKeyNames) {
    if (virtualKey == k.code) return k.name;
  }
  return std::to_string(virtualKey);
}

std::string seedLine(uint32_t seed) {
  return "# seed " + std::to_string(seed);
}

KeyScript parseKeyScript(const std::string& text, std::string& error,
                         std::optional<uint32_t>* seed) {
  KeyScript script;
  std::istringstream in(text);
  std::string line;
  long long last = 0;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (line.find('\0') != std::string::npos) {
      error = "input line " + std::to_string(lineNo) + ": holds a NUL byte";
      return {};
    }
    if (lineNo == 1 && seed != nullptr) *seed = seedFrom(line);
    line = line.substr(0, line.find('#'));
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    const long long f = wholeNumber(word);
    if (f < 1 || f <= last) {
      error = "input line " + std::to_string(lineNo) + ": frame numbers start at 1 and rise";
      return {};
    }
    last = f;
    std::vector<KeyToken> keys;
    while (words >> word) {
      if (keys.size() == kMaxKeysPerLine) {
        error = "input line " + std::to_string(lineNo) + ": too many keys (at most " +
                std::to_string(kMaxKeysPerLine) + ")";
        return {};
      }
      const auto token = tokenFor(word);
      if (!token) {
        error = "input line " + std::to_string(lineNo) + ": unknown key " + files::shownText(word);
        return {};
      }
      keys.push_back(*token);
    }
    script[f] = keys;
  }
  return script;
}

KeyScript readKeyScript(const std::string& path, std::string& error,
                        std::optional<uint32_t>* seed) {
  const files::LoadingNote note(path);
  std::vector<uint8_t> bytes;
  const files::DataFileRead read = files::readDataFile(path.c_str(), kMaxScriptBytes, bytes);
  if (read.failure != files::ReadFailure::None) {
    error = files::refusalText(path.c_str(), read);
    return {};
  }
  return parseKeyScript(std::string(bytes.begin(), bytes.end()), error, seed);
}

FrameInput inputForFrame(const KeyScript& script, long long frame, const HeldKeys& before) {
  FrameInput input;
  auto line = script.upper_bound(frame);
  if (line == script.begin()) return input;
  --line;
  input.scripted = true;
  const bool lineStarts = line->first == frame;
  for (const KeyToken& t : line->second) {
    const auto k = static_cast<size_t>(t.key);
    if (t.messageOnly) {
      if (lineStarts) input.keyDowns.push_back(t.key);
      continue;
    }
    if (!t.withoutMessage && !before[k] && !input.held[k]) input.keyDowns.push_back(t.key);
    input.held[k] = true;
  }
  return input;
}

std::string lineForFrame(long long frame, const HeldKeys& before, const HeldKeys& now,
                         const std::vector<int>& keyDowns) {
  std::string tokens;
  HeldKeys named{};
  bool needed = now != before;
  for (int k : keyDowns) {
    const auto i = static_cast<size_t>(k);
    const bool pressedNow = now[i] && !before[i] && !named[i];
    if (pressedNow) named[i] = true;
    needed = needed || !pressedNow;
    // Appended piece by piece: GCC 12 warns falsely (-Wrestrict) of "literal" + std::string
    // at -O3.
    tokens += pressedNow ? " " : " +";
    tokens += keyName(k);
  }
  for (size_t k = 1; k < now.size(); ++k) {
    if (now[k] && !named[k]) {
      tokens += before[k] ? " " : " =";
      tokens += keyName(static_cast<int>(k));
    }
  }
  if (!needed) return {};
  return std::to_string(frame) + tokens;
}

}  // namespace vane
