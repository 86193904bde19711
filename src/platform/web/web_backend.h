// SPDX-License-Identifier: GPL-3.0-or-later
// The browser's back end: a canvas, the page's keys and controllers, Web Audio, the page's clock.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace vane::platform {

class WebBackend : public DesktopBackend {
 public:
  WebBackend();
  ~WebBackend() override;

  // The one back end of the page, which the page's events reach through the exported functions.
  static WebBackend* current();

  // Called by the animation-frame callback: true when the next frame may start, that is when the
  // page's clock has reached the end of the last stage frame's 25 ms. After a stall longer than
  // a frame (a hidden tab, a busy machine) the clock jumps to the present: no frames are run to
  // catch up.
  bool frameDue();

  // FNV-1a (64-bit) of the picture last presented, each word little-endian, as vane-sim's trace
  // has it.
  uint64_t screenHash() const;

  // --- what the page sends ---
  void keyDown(const std::string& code, bool repeat, bool altHeld);
  void keyUp(const std::string& code);
  void focus(bool focused);
  void exposed();
  // A controller's standard-layout buttons as bits (PadControl order) and its left stick.
  void padState(int slot, uint32_t buttons, float stickX, float stickY);
  void padGone(int slot);
  // Fills `frames` stereo frames for the page's audio output: the mix, or silence while paused.
  const int16_t* pullAudio(size_t frames);

  // --- Backend ---
  bool openWindow() override;
  void closeWindow() override {}
  bool openDisplay(bool& is565) override;
  void closeDisplay() override {}
  bool present(const uint16_t* pixels, std::span<const Block> changed) override;
  bool pollEvent(Event& out) override;
  // A page never blocks: what has not arrived yet arrives in a later animation frame.
  bool waitEvent(Event& out) override { return pollEvent(out); }
  bool openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) override;
  void pauseAudio(bool paused) override { audioPaused_ = paused; }
  void closeAudio() override;
  uint64_t now() override;
  void sleep(uint64_t nanos) override;
  void messageBox(std::string_view text, std::string_view title, Icon icon) override;
  WindowState windowState() const override { return {WindowMode::Window, kWidth, kHeight}; }

 protected:
  // A browser grants full screen only inside the page's own key or click handler, which the
  // page's button, F11 and Alt+Enter have; the game's loop runs outside any of them.
  void toggleWindowMode() override {}

 private:
  void push(const Event& event) { events_.push_back(event); }

  std::deque<Event> events_;
  std::vector<uint16_t> front_;
  std::vector<uint32_t> rgba_;
  std::vector<int> blockRects_;
  uint64_t clock_ = 0;
  AudioPull pull_ = nullptr;
  void* pullUser_ = nullptr;
  bool audioPaused_ = false;
  std::vector<int16_t> audioChunk_;
  struct Pad {
    uint32_t buttons = 0;
    uint32_t stick = 0;  // up, down, left, right as bits
  };
  std::vector<Pad> pads_;
};

// The page's own keys and controllers as physical keys.
int physicalKeyFor(const std::string& code);
int virtualKeyFor(const std::string& code);
constexpr int kFirstPadKey = 1024;

}  // namespace vane::platform
