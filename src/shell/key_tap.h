// SPDX-License-Identifier: GPL-3.0-or-later
// A back end in front of another: it notes the key-down messages the program takes, and when a run
// is replayed it answers for the keyboard itself.
#pragma once

#include <deque>
#include <vector>

#include "platform/platform.h"
#include "shell/key_script.h"

namespace vane {

class KeyTap : public platform::Backend {
 public:
  explicit KeyTap(platform::Backend& inner) : inner_(inner) {}

  // The key-down messages taken from the queue since the last call, in order.
  std::vector<int> takeKeyDowns();
  // From now on the keys held are the ones set here; key-downs from the keyboard are dropped,
  // except Escape, so the player can still leave.
  void replaceKeyboard() { replacing_ = true; }
  void setHeld(const HeldKeys& held) { held_ = held; }
  // Queues a key-down message of the replay, taken before anything else waiting.
  void sendKeyDown(int virtualKey);
  HeldKeys heldKeys();

  bool registerWindowClass(platform::WindowProc proc) override {
    return inner_.registerWindowClass(proc);
  }
  bool createWindow() override { return inner_.createWindow(); }
  void destroyWindow() override { inner_.destroyWindow(); }
  bool windowExists() const override { return inner_.windowExists(); }

  bool peekMessage(platform::Message& out) override;
  platform::Message getMessage() override;
  void waitMessage() override;
  void postMessage(const platform::Message& message) override { inner_.postMessage(message); }

  bool keyHeld(int virtualKey) override;
  void getKeyboardState(uint8_t state[256]) override { inner_.getKeyboardState(state); }
  void setKeyboardState(const uint8_t state[256]) override { inner_.setKeyboardState(state); }

  uint32_t tickCount() override { return inner_.tickCount(); }
  uint64_t monotonicNanos() override { return inner_.monotonicNanos(); }
  void sleepNanos(uint64_t nanos) override { inner_.sleepNanos(nanos); }

  void messageBox(std::string_view text, std::string_view title, platform::Icon icon) override {
    inner_.messageBox(text, title, icon);
  }

  bool createDisplay() override { return inner_.createDisplay(); }
  bool readGreenMask(uint32_t& greenMask) override { return inner_.readGreenMask(greenMask); }
  bool fill(uint16_t colour) override { return inner_.fill(colour); }
  bool describeBackBuffer() override { return inner_.describeBackBuffer(); }
  bool lock(platform::LockedSurface& out) override { return inner_.lock(out); }
  bool unlock() override { return inner_.unlock(); }
  platform::TextContext* getTextContext() override { return inner_.getTextContext(); }
  void releaseTextContext(platform::TextContext* context) override {
    inner_.releaseTextContext(context);
  }
  bool flip() override { return inner_.flip(); }
  void releaseDisplay() override { inner_.releaseDisplay(); }

  bool createSoundDevice() override { return inner_.createSoundDevice(); }
  platform::BufferId createBuffer(const platform::WaveFormat& format, uint32_t bytes) override {
    return inner_.createBuffer(format, bytes);
  }
  uint8_t* lockBuffer(platform::BufferId buffer, uint32_t& bytes) override {
    return inner_.lockBuffer(buffer, bytes);
  }
  bool unlockBuffer(platform::BufferId buffer) override { return inner_.unlockBuffer(buffer); }
  bool play(platform::BufferId buffer, bool looping) override {
    return inner_.play(buffer, looping);
  }
  bool stop(platform::BufferId buffer) override { return inner_.stop(buffer); }
  uint32_t status(platform::BufferId buffer) override { return inner_.status(buffer); }
  void releaseBuffer(platform::BufferId buffer) override { inner_.releaseBuffer(buffer); }
  void releaseSoundDevice() override { inner_.releaseSoundDevice(); }

 private:
  // While replaying, a key-down from the keyboard other than Escape.
  bool dropped(const platform::Message& message) const;

  platform::Backend& inner_;
  bool replacing_ = false;
  HeldKeys held_{};
  std::deque<platform::Message> replayed_;
  std::vector<int> keyDowns_;
};

}  // namespace vane
