// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a run as it is played: a line whenever the keys change, a check line every 250 frames.
#include "shell/replay_recorder.h"

#include <algorithm>

#include "host/keyboard.h"
#include "shell/frame_fields.h"

namespace vane {

// Each line is handed on at once, so a recording cut off by a crash keeps what came before.
void ReplayRecorder::put(const std::string& text) {
  *out_ << text << std::flush;
}

void ReplayRecorder::begin(std::ostream& out, const Replay& header) {
  out_ = &out;
  header_ = header;
  frame_ = 1;
  before_ = HeldKeys{};
  score_ = -1;
  put(replayHeader(header));
}

namespace {

std::string scriptLine(long long frame, const std::vector<KeyToken>& tokens) {
  std::string line = std::to_string(frame);
  for (const KeyToken& t : tokens) {
    line += t.messageOnly ? " +" : t.withoutMessage ? " =" : " ";
    line += keyName(t.key);
  }
  return line + "\n";
}

}  // namespace

void ReplayRecorder::resume(std::ostream& out, const Replay& header, const Replay& old,
                            long long frames, const HeldKeys& held, int64_t score) {
  begin(out, header);
  auto check = old.checks.begin();
  for (const auto& [frame, tokens] : old.keys) {
    if (frame > frames) break;
    for (; check != old.checks.end() && check->first < frame; ++check) {
      put(checkLine(check->first, check->second));
    }
    put(scriptLine(frame, tokens));
  }
  for (; check != old.checks.end() && check->first <= frames; ++check) {
    put(checkLine(check->first, check->second));
  }
  frame_ = frames + 1;
  before_ = held;
  score_ = score;
}

void ReplayRecorder::beforeFrame(const HeldKeys& now, const std::vector<int>& keyDowns) {
  if (out_ == nullptr) return;
  const std::string line = lineForFrame(frame_, before_, now, keyDowns);
  if (!line.empty()) put(line + "\n");
  before_ = now;
}

void ReplayRecorder::afterFrame(const std::vector<SoundEvent>& events) {
  if (out_ == nullptr) return;
  if (shipScore() >= 0) score_ = shipScore();
  if (frame_ % kCheckEvery == 0) put(checkLine(frame_, frameDigest(frame_, events)));
  ++frame_;
}

void ReplayRecorder::end(bool escapeLine, HeldKeys now, std::vector<int> keyDowns) {
  if (out_ == nullptr) return;
  put(endLine(frames(), score_));
  if (escapeLine) {
    // However the run ended (Escape, the window closed, the menu's quit), Escape ends it there.
    if (std::find(keyDowns.begin(), keyDowns.end(), host::kVkEscape) == keyDowns.end()) {
      keyDowns.push_back(host::kVkEscape);
      now[host::kVkEscape] = true;
    }
    put(lineForFrame(frame_, before_, now, keyDowns) + "  # the run ended here\n");
  }
  out_ = nullptr;
}

}  // namespace vane
