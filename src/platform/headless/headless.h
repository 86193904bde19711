// SPDX-License-Identifier: GPL-3.0-or-later
// The in-memory back end: a screen in memory, a clock that never waits, recorded sound and dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <unordered_map>
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

  // One recorded sound-buffer operation.
  struct SoundOp {
    enum Kind { Create, Play, Loop, Stop, Release } kind;
    BufferId buffer;
  };

  struct Buffer {
    WaveFormat format;
    std::vector<uint8_t> bytes;
    bool playing = false;
    bool looping = false;
    uint64_t startedNanos = 0;
    bool released = false;
    SoundGroup group = SoundGroup::Effects;
  };

  HeadlessBackend();
  ~HeadlessBackend() override;

  // --- knobs for tests and vane-sim ---
  bool use565Layout = true;
  bool failRegisterClass = false;
  bool failDisplay = false;
  bool failSoundDevice = false;
  bool failPixelFormat = false;
  bool failDescribe = false;
  bool failLock = false;
  bool failUnlock = false;
  bool failCreateBuffer = false;
  bool failLockBuffer = false;
  bool failUnlockBuffer = false;
  // Echo message boxes to stderr (on by default).
  bool echoDialogs = true;
  // Keep the record below of dialogs, sound operations and released buffers (on by default, for
  // tests). Long runs turn it off: then nothing is kept per buffer, operation or dialog beyond
  // what the run needs, and memory stays flat however long it goes.
  bool keepRecords = true;

  // Holds or releases a key for the asynchronous query.
  void setKeyHeld(int virtualKey, bool held);
  void releaseAllKeys();
  // Advances the clock.
  void advanceNanos(uint64_t nanos);

  // --- what happened ---
  std::vector<Dialog> dialogs;
  std::vector<SoundOp> soundOps;
  int flips = 0;
  bool displayReleased = false;
  bool soundReleased = false;
  uint32_t preferredSoundRate = 0;
  // The picture last flipped to the screen and the back buffer being drawn.
  const std::vector<uint16_t>& screen() const { return front_; }
  const std::vector<uint16_t>& backBuffer() const { return backPixels(); }
  // The buffer with this id; nullptr once released when records are not kept.
  const Buffer* buffer(BufferId id) const;
  // FNV-1a (64-bit) of the picture last flipped, each word little-endian.
  uint64_t screenHash() const;

  // --- Backend ---
  bool keyHeld(int virtualKey) override;
  void getKeyboardState(uint8_t state[256]) override;
  void setKeyboardState(const uint8_t state[256]) override;
  uint64_t monotonicNanos() override;
  void sleepNanos(uint64_t nanos) override;
  void messageBox(std::string_view text, std::string_view title, Icon icon) override;
  bool createSoundDevice() override;
  void preferSoundRate(uint32_t samplesPerSec) override;
  BufferId createBuffer(const WaveFormat& format, uint32_t bytes) override;
  void setSoundGroup(BufferId buffer, SoundGroup group) override;
  uint8_t* lockBuffer(BufferId buffer, uint32_t& bytes) override;
  bool unlockBuffer(BufferId buffer) override;
  bool play(BufferId buffer, bool looping) override;
  bool stop(BufferId buffer) override;
  uint32_t status(BufferId buffer) override;
  void releaseBuffer(BufferId buffer) override;
  void releaseSoundDevice() override;

  std::array<uint8_t, 256> keyboardState{};

 protected:
  bool refuses(Step step) const override;
  bool openWindow() override { return true; }
  void closeWindow() override {}
  void pollEvents() override {}
  // Nothing arrives but what the tests and scripts post.
  bool waitForEvents() override { return false; }
  bool openDisplay(bool& is565) override;
  bool present(const uint16_t* pixels) override;
  // The front picture is this one already.
  bool presentAgain() override {
    ++flips;
    return true;
  }
  void closeDisplay() override { displayReleased = true; }

 private:
  Buffer* find(BufferId id);
  void record(const SoundOp& op);
  bool soundReady_ = false;
  std::array<bool, 256> held_{};
  uint64_t nanos_ = 0;
  std::vector<uint16_t> front_;
  std::unordered_map<BufferId, std::unique_ptr<Buffer>> buffers_;
  BufferId nextBuffer_ = 1;
};

}  // namespace vane::platform
