// SPDX-License-Identifier: GPL-3.0-or-later
// The replay player: every frame simulated, only those the display's pace allows presented.
#include "shell/replay_player.h"

#include <algorithm>
#include <cstdio>

#include "core/random.h"
#include "core/state.h"
#include "host/host.h"
#include "shell/frame_fields.h"
#include "shell/frame_pacer.h"
#include "shell/resimulation.h"
#include "world/actor.h"

namespace vane {

namespace {

constexpr uint64_t kFrameNanos = 25'000'000;
constexpr long long kSeekFrames = 400;  // ten seconds
constexpr int kFramesPerSecond = 40;
constexpr uint64_t kIdleNanos = 5'000'000;
constexpr int kBarTop = 464;

std::string clock(long long frames) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%04.1f", frames / (60 * kFramesPerSecond),
                static_cast<double>(frames % (60 * kFramesPerSecond)) / kFramesPerSecond);
  return text;
}

std::string speedName(int quarters) {
  return quarters < 4 ? "x1/" + std::to_string(4 / quarters) : "x" + std::to_string(quarters / 4);
}

uint16_t grey(int level, bool is565) {
  const int r = level >> 3;
  const int g = is565 ? level >> 2 : level >> 3;
  return static_cast<uint16_t>(is565 ? (r << 11) | (g << 5) | r : (r << 10) | (g << 5) | r);
}

}  // namespace

ReplayPlayer::ReplayPlayer(const Replay& replay, const PadRoles& roles, StageKeeper& keeper)
    : replay_(replay), roles_(roles), keeper_(keeper) {
  session_ = std::make_unique<Session>(roles_);
  session_->replay(replay_.keys);
  setStageFramePacing(false);
  host::setPictureOverlay(&ReplayPlayer::overlay, this);
  host::listenToTakenKeys(&ReplayPlayer::heard, this);
  // The frame's sound events are in its check line's digest.
  setSoundEventHook([this](const SoundEvent& e) { events_.push_back(e); });
}

ReplayPlayer::~ReplayPlayer() {
  setStageFramePacing(true);
  host::setPictureOverlay(nullptr, nullptr);
  host::listenToTakenKeys(nullptr, nullptr);
  host::setPresenting(true);
  if (!takenOver_) setSoundEventHook(nullptr);
}

long long ReplayPlayer::lastFrame() const {
  if (replay_.ended) return replay_.frames;
  return replay_.keys.empty() ? 0 : replay_.keys.rbegin()->first;
}

void ReplayPlayer::heard(void* user, int virtualKey, bool /*repeat*/) {
  static_cast<ReplayPlayer*>(user)->control(virtualKey);
}

void ReplayPlayer::control(int virtualKey) {
  if (takenOver_) return;
  const size_t fastest = std::size(kReplaySpeeds) - 1;
  switch (virtualKey) {
    case host::kVkSpace:
      paused_ = !paused_;
      break;
    case host::kVkRight:
      paused_ = true;
      stepOne_ = true;
      break;
    case host::kVkLeft:
      paused_ = true;
      seekTo(frame_ - 1);
      break;
    case host::kVkUp:
      speed_ = std::min(speed_ + 1, fastest);
      break;
    case host::kVkDown:
      speed_ = speed_ == 0 ? 0 : speed_ - 1;
      break;
    case host::kVkPrior:
      seekTo(frame_ - kSeekFrames);
      break;
    case host::kVkNext:
      seekTo(frame_ + kSeekFrames);
      break;
    case host::kVkHome:
      seekTo(1);
      break;
    case host::kVkEnd:
      seekTo(lastFrame());
      break;
    case host::kVkT:
      takeOver();
      break;
    default:
      break;
  }
  host::presentAgain();
}

// Back to the state right after start-up: the world, the counters and the generator as the
// replay's start has them, the script's keys let go, a fresh session at its frame 1.
void ReplayPlayer::restart() {
  for (int k = 1; k < 256; ++k) host::scriptKeyUp(k);
  resetWorld();
  const int32_t active = appActive;
  resetCounters();
  appActive = active;
  seedRandom(replay_.seed.value_or(0));
  startReplayAt(replay_.start);
  session_ = std::make_unique<Session>(roles_);
  session_->replay(replay_.keys);
  events_.clear();
  frame_ = 0;
  frameDecided_ = false;
}

void ReplayPlayer::seekTo(long long frame) {
  if (!desync_.empty()) return;
  const long long last = lastFrame() > 0 ? lastFrame() : frame;
  frame = std::clamp(frame, 1ll, std::max(last, 1ll));
  if (frame <= frame_) restart();
  target_ = frame;
}

// From the current frame on the player plays: the game hears the keyboard, and the run goes
// on being recorded as a new replay.
void ReplayPlayer::takeOver() {
  if (replay_.format != 2 || replay_.start.stage == 0 || gameState < Stage1 || gameState > Stage2) {
    return;
  }
  takenOver_ = true;
  paused_ = false;
  target_ = 0;
  host::setPictureOverlay(nullptr, nullptr);
  setStageFramePacing(true);
  host::setPresenting(true);
  session_->takeOver(replay_, keeper_);
}

LoopObserver::Next ReplayPlayer::waitForDue() {
  const uint64_t now = host::monotonicNanos();
  if (now >= due_) return Next::RunFrame;
  host::sleepNanos(std::min(due_ - now, kIdleNanos));
  return Next::HandleMessages;
}

LoopObserver::Next ReplayPlayer::beforeFrame() {
  if (takenOver_) return session_->beforeFrame();
  if (!frameDecided_) {
    const bool seeking = target_ > frame_;
    const bool atEnd = replay_.ended && frame_ >= lastFrame();
    if (!seeking && (atEnd || !desync_.empty() || (paused_ && !stepOne_))) {
      host::sleepNanos(kIdleNanos);
      return Next::HandleMessages;
    }
    if (!seeking && !stepOne_ && waitForDue() == Next::HandleMessages) return Next::HandleMessages;
    const int quarters = kReplaySpeeds[speed_];
    if (seeking) {
      present_ = frame_ + 1 == target_;
    } else {
      present_ = quarters <= 4 || ++periodFrames_ >= quarters / 4;
    }
    host::setPresenting(present_);
    frameDecided_ = true;
  }
  return session_->beforeFrame();
}

void ReplayPlayer::afterFrame() {
  session_->afterFrame();
  if (takenOver_) return;
  frameDecided_ = false;
  stepOne_ = false;
  ++frame_;
  const auto check = replay_.checks.find(frame_);
  const bool differs =
      check != replay_.checks.end() && check->second != frameDigest(frame_, events_);
  events_.clear();
  if (differs) {
    desync_ = "replay desyncs at frame " + std::to_string(frame_) +
              ": made with other data or another version";
    std::fprintf(stderr, "vane: %s\n", desync_.c_str());
    host::setPresenting(true);
    host::presentAgain();
  }
  if (target_ != 0 && frame_ >= target_) target_ = 0;
  if (!present_) return;
  periodFrames_ = 0;
  const int quarters = kReplaySpeeds[speed_];
  const uint64_t period =
      quarters < 4 ? kFrameNanos * 4 / static_cast<uint64_t>(quarters) : kFrameNanos;
  const uint64_t now = host::monotonicNanos();
  // A late frame starts the next period from now rather than hurrying to catch up.
  due_ = due_ + period < now ? now + period : due_ + period;
}

bool ReplayPlayer::whileInactive() {
  return session_->whileInactive();
}

void ReplayPlayer::messageTaken(const host::Message& message) {
  session_->messageTaken(message);
}

void ReplayPlayer::finish() {
  session_->finish();
}

std::string ReplayPlayer::barText() const {
  if (!desync_.empty()) return desync_;
  const long long last = lastFrame();
  // Drawn while a frame flips, the picture is that frame's.
  const long long shown = frameDecided_ ? frame_ + 1 : frame_;
  std::string text = "frame " + std::to_string(shown) + "/" + std::to_string(last) + "  " +
                     clock(shown) + "/" + clock(last) + "  " + speedName(kReplaySpeeds[speed_]);
  if (paused_) text += "  paused";
  if (replay_.ended && shown >= last) text += "  end";
  return text;
}

void ReplayPlayer::overlay(void* user, uint16_t* picture, bool is565) {
  const auto* player = static_cast<const ReplayPlayer*>(user);
  if (player->barShown_) player->drawBar(picture, is565);
}

// A dark strip along the foot of the picture, the part played filled in, the text over it.
void ReplayPlayer::drawBar(uint16_t* picture, bool is565) const {
  const long long last = std::max(lastFrame(), 1ll);
  const long long shown = frameDecided_ ? frame_ + 1 : frame_;
  const int filled = static_cast<int>(std::min(shown, last) * host::kWidth / last);
  for (int y = kBarTop; y < host::kHeight; ++y) {
    uint16_t* row = picture + static_cast<ptrdiff_t>(y) * host::kWidth;
    std::fill(row, row + filled, grey(96, is565));
    std::fill(row + filled, row + host::kWidth, grey(24, is565));
  }
  const auto text =
      host::makeTextContext(picture, host::kWidth, host::kHeight, host::kWidth * 2, is565);
  text->setTransparentBackground();
  text->setTextColor(0x00FFFFFF);
  text->textOut(8, kBarTop, barText());
}

}  // namespace vane
