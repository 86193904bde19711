// SPDX-License-Identifier: GPL-3.0-or-later
// The null back end: a screen in memory, a clock that never waits, the mix taken in by the clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vane::platform {

class HeadlessBackend : public Backend {
 public:
  struct Dialog {
    std::string text;
    std::string title;
    Icon icon;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  // --- knobs for tests and vane-sim ---
  bool use565Layout = true;
  bool failDisplay = false;
  bool failAudio = false;  // no audio output: the game plays silently
  // Echo message boxes to stderr (on by default).
  bool echoDialogs = true;
  // Keep the dialogs below (on by default, for tests); long runs turn it off.
  bool keepRecords = true;
  // Keep every mixed sample in `mixed` (off by default).
  bool keepMix = false;

  // Advances the clock.
  void advanceNanos(uint64_t nanos);
  // Posts an event, as the system would.
  void pushEvent(const Event& event);

  // --- what happened ---
  std::vector<Dialog> dialogs;
  int flips = 0;
  bool displayReleased = false;
  bool audioOpen = false;
  uint32_t audioRate = 0;
  std::vector<int16_t> mixed;
  // The picture last flipped to the screen.
  const std::vector<uint16_t>& screen() const { return front_; }
  // FNV-1a (64-bit) of the picture last flipped, each word little-endian.
  uint64_t screenHash() const;
  // FNV-1a (64-bit) of the samples mixed since the last call, each 16-bit sample little-endian,
  // interleaved left and right; the offset basis when none were.
  uint64_t takeMixHash();

  // --- Backend ---
  bool openWindow() override { return true; }
  void closeWindow() override {}
  bool openDisplay(bool& is565) override;
  void closeDisplay() override { displayReleased = true; }
  bool present(const uint16_t* pixels, std::span<const Block> changed) override;
  bool pollEvent(Event& out) override;
  // Nothing arrives but what the tests and scripts post.
  bool waitEvent(Event& out) override { return pollEvent(out); }
  bool openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) override;
  void pauseAudio(bool paused) override;
  void closeAudio() override;
  uint64_t now() override;
  void sleep(uint64_t nanos) override;
  void messageBox(std::string_view text, std::string_view title, Icon icon) override;

 private:
  // Pulls the frames the clock has moved on by since the last pull.
  void mixToNow();

  uint64_t nanos_ = 0;
  std::vector<uint16_t> front_;
  std::vector<Event> events_;
  size_t nextEvent_ = 0;
  AudioPull pull_ = nullptr;
  void* pullUser_ = nullptr;
  bool audioPaused_ = false;
  uint64_t mixedNanos_ = 0;
  uint64_t carriedNanoFrames_ = 0;
  std::vector<int16_t> chunk_;
  uint64_t mixHash_ = 0;
};

}  // namespace vane::platform
