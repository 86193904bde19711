// The in-memory back end: a 640x480 buffer, a clock that never waits, recorded sound and dialogs.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace vane::platform {

class TextRenderer;

class HeadlessBackend : public Backend {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

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

  // Holds or releases a key for the asynchronous query.
  void setKeyHeld(int virtualKey, bool held);
  void releaseAllKeys();
  // Advances the clock.
  void advanceNanos(uint64_t nanos);

  // --- what happened ---
  std::vector<Dialog> dialogs;
  std::vector<SoundOp> soundOps;
  std::vector<Message> posted;  // every message posted, in order
  int flips = 0;
  int fills = 0;
  bool displayReleased = false;
  bool soundReleased = false;
  // The picture last flipped to the screen and the back buffer being drawn.
  const std::vector<uint16_t>& screen() const { return front_; }
  const std::vector<uint16_t>& backBuffer() const { return back_; }
  const Buffer* buffer(BufferId id) const;
  // FNV-1a (64-bit) of the picture last flipped, each word little-endian.
  uint64_t screenHash() const;

  // --- Backend ---
  bool registerWindowClass(WindowProc proc) override;
  bool createWindow() override;
  void destroyWindow() override;
  bool windowExists() const override { return windowAlive_; }
  bool peekMessage(Message& out) override;
  Message getMessage() override;
  void waitMessage() override;
  void postMessage(const Message& message) override;
  bool keyHeld(int virtualKey) override;
  void getKeyboardState(uint8_t state[256]) override;
  void setKeyboardState(const uint8_t state[256]) override;
  uint32_t tickCount() override;
  uint64_t monotonicNanos() override;
  void sleepNanos(uint64_t nanos) override;
  void messageBox(std::string_view text, std::string_view title, Icon icon) override;
  bool createDisplay() override;
  bool readGreenMask(uint32_t& greenMask) override;
  bool fill(uint16_t colour) override;
  bool describeBackBuffer() override;
  bool lock(LockedSurface& out) override;
  bool unlock() override;
  TextContext* getTextContext() override;
  void releaseTextContext(TextContext* context) override;
  bool flip() override;
  void releaseDisplay() override;
  bool createSoundDevice() override;
  BufferId createBuffer(const WaveFormat& format, uint32_t bytes) override;
  uint8_t* lockBuffer(BufferId buffer, uint32_t& bytes) override;
  bool unlockBuffer(BufferId buffer) override;
  bool play(BufferId buffer, bool looping) override;
  bool stop(BufferId buffer) override;
  uint32_t status(BufferId buffer) override;
  void releaseBuffer(BufferId buffer) override;
  void releaseSoundDevice() override;

  std::array<uint8_t, 256> keyboardState{};

 private:
  Buffer* find(BufferId id);
  bool windowAlive_ = false;
  bool displayReady_ = false;
  bool soundReady_ = false;
  std::deque<Message> queue_;
  std::array<bool, 256> held_{};
  uint64_t nanos_ = 0;
  std::vector<uint16_t> back_;
  std::vector<uint16_t> front_;
  std::vector<std::unique_ptr<Buffer>> buffers_;
  std::unique_ptr<TextContext> text_;
};

}  // namespace vane::platform
