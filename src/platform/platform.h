// SPDX-License-Identifier: GPL-3.0-or-later
// The machine services the game asks for: window messages, keys, clocks, dialogs, display, sound.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string_view>
#include <vector>

namespace vane::platform {

// Window messages, numbered as the game's window procedure expects them.
enum MessageId : uint32_t {
  kWmCreate = 0x0001,
  kWmDestroy = 0x0002,
  kWmClose = 0x0010,
  kWmQuit = 0x0012,
  kWmActivateApp = 0x001C,
  kWmSetCursor = 0x0020,
  kWmKeyDown = 0x0100,
};

struct Message {
  uint32_t id = 0;
  uint32_t wParam = 0;
  int32_t lParam = 0;
};

// The game's window procedure: returns the message result. For "default processing" it
// calls defWindowProc itself and returns that result.
using WindowProc = int32_t (*)(const Message&);

// Virtual-key codes the game reads.
enum VirtualKey : int {
  kVkReturn = 13,
  kVkShift = 16,
  kVkEscape = 27,
  kVkSpace = 32,
  kVkLeft = 37,
  kVkUp = 38,
  kVkRight = 39,
  kVkDown = 40,
  kVkC = 67,
  kVkT = 84,
  kVkZ = 90,
  kVkNumpad2 = 98,
  kVkNumpad4 = 100,
  kVkNumpad6 = 102,
  kVkNumpad8 = 104,
};

enum class Icon { None, Error };

// The locked back buffer: valid until the next unlock. Pitch is in bytes.
struct LockedSurface {
  uint16_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;
};

// Text output on the back buffer, between unlock and flip.
class TextContext {
 public:
  virtual ~TextContext() = default;
  // Colour as 0x00BBGGRR.
  virtual void setTextColor(uint32_t colorRef) = 0;
  virtual void setTransparentBackground() = 0;
  // Writes one line with (x, y) as the top-left of the line.
  virtual void textOut(int x, int y, std::string_view text) = 0;
};

// The 18-byte wave format of a PCM clip, field for field.
struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  uint16_t extraSize = 0;
};

// A sound buffer of the device; 0 is no buffer.
using BufferId = uint32_t;
constexpr uint32_t kStatusPlaying = 1;
constexpr uint32_t kStatusLooping = 4;
// Which of the player's two volumes a buffer follows.
enum class SoundGroup : uint8_t { Effects, Music };

// The platform the game runs on. The message queue, the 640x480 16-bit back buffer with its
// lock, fill and flip, and the text drawn into it are written here once; each back end supplies
// only its primitives: the window, events, keys, clocks, dialogs, showing a finished picture and
// sound output.
class Backend {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  Backend();
  virtual ~Backend();
  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;

  // --- window ---
  // Makes `proc` the procedure that receives the window's messages.
  bool registerWindowClass(WindowProc proc);
  // Creates and shows the window; WM_CREATE reaches the procedure before this returns, and an
  // activation waits in the queue, as a desktop does with a new full-screen window.
  bool createWindow();
  // Destroys the window and its display; WM_DESTROY reaches the procedure before this returns.
  void destroyWindow();
  bool windowExists() const { return windowAlive_; }

  // --- messages, first in first out ---
  // Looks at the next message without removing it (false when the queue is empty).
  bool peekMessage(Message& out);
  // Removes and returns the next message, waiting for one if the queue is empty.
  Message getMessage();
  // Blocks until a message is waiting. When the back end can deliver no more events, a close
  // is queued, so the program ends as if its window had been closed.
  void waitMessage();
  void postMessage(const Message& message);

  // --- keyboard ---
  // The asynchronous state: is the key down at this moment?
  virtual bool keyHeld(int virtualKey) = 0;
  // The thread's 256-entry keyboard state (separate from the asynchronous state).
  virtual void getKeyboardState(uint8_t state[256]) = 0;
  virtual void setKeyboardState(const uint8_t state[256]) = 0;

  // --- clocks ---
  virtual uint64_t monotonicNanos() = 0;  // never goes back
  virtual void sleepNanos(uint64_t nanos) = 0;
  // Milliseconds on the same clock, wrapping at 2^32.
  uint32_t tickCount();

  // --- dialogs ---
  virtual void messageBox(std::string_view text, std::string_view title, Icon icon) = 0;

  // --- display: 640x480, 16 bits a pixel, one back buffer ---
  bool createDisplay();
  // Green channel mask of the pixel layout; false when it cannot be read.
  bool readGreenMask(uint32_t& greenMask);
  bool fill(uint16_t colour);
  bool describeBackBuffer();
  bool lock(LockedSurface& out);
  bool unlock();
  // Text drawn straight into the back buffer; valid until the display is released.
  TextContext* getTextContext();
  // Shows the back buffer. The back buffer keeps its picture, and a frame that is not flipped
  // leaves the screen as it was.
  bool flip();
  void releaseDisplay();
  // Changes whenever the back buffer may be written: a fill, a lock, the text context handed
  // out, a new display. Stamps are unique in the process, so one taken from another back end
  // never matches. Equal stamps mean the back buffer holds the same picture.
  uint64_t backBufferStamp() const { return backStamp_; }

  // --- sound ---
  virtual bool createSoundDevice() = 0;
  // The rate the clips share, if they do: the device then runs at it and resamples nothing. It
  // is opened anew at that rate while no buffer has been started yet.
  virtual void preferSoundRate(uint32_t samplesPerSec) = 0;
  // 0 when the device cannot play the format (see sound_format.h) or the size.
  virtual BufferId createBuffer(const WaveFormat& format, uint32_t bytes) = 0;
  // A buffer follows the effects' volume unless set to the music's.
  virtual void setSoundGroup(BufferId buffer, SoundGroup group) = 0;
  // The whole buffer for writing; nullptr on failure.
  virtual uint8_t* lockBuffer(BufferId buffer, uint32_t& bytes) = 0;
  virtual bool unlockBuffer(BufferId buffer) = 0;
  virtual bool play(BufferId buffer, bool looping) = 0;
  virtual bool stop(BufferId buffer) = 0;
  virtual uint32_t status(BufferId buffer) = 0;
  virtual void releaseBuffer(BufferId buffer) = 0;
  virtual void releaseSoundDevice() = 0;

 protected:
  // Steps a platform may refuse. A desktop window keeps its software buffer, so only a back end
  // standing in for a platform that takes surfaces away refuses them; the game has a failure
  // path for each.
  enum class Step { RegisterClass, ReadPixelFormat, Describe, Lock, Unlock };
  virtual bool refuses(Step) const { return false; }

  // --- what each back end supplies ---
  virtual bool openWindow() = 0;
  virtual void closeWindow() = 0;
  // Turns the events that have arrived into messages and key states.
  virtual void pollEvents() = 0;
  // Blocks until an event arrives and takes it in; false when none ever will.
  virtual bool waitForEvents() = 0;
  // Opens the screen; sets whether it shows 5-6-5 pixels (else 5-5-5).
  virtual bool openDisplay(bool& is565) = 0;
  // Shows a whole picture: kWidth x kHeight words, row after row.
  virtual bool present(const uint16_t* pixels) = 0;
  // Shows the picture presented last once more: the back buffer has not been written since.
  virtual bool presentAgain() { return present(back_.data()); }
  virtual void closeDisplay() = 0;

  const std::vector<uint16_t>& backPixels() const { return back_; }

 private:
  bool windowAlive_ = false;
  bool displayReady_ = false;
  bool is565_ = true;
  std::deque<Message> queue_;
  std::vector<uint16_t> back_;
  uint64_t backStamp_ = 0;
  uint64_t presentedStamp_ = 0;  // the back buffer's stamp when last presented
  std::unique_ptr<TextContext> text_;

  void stampBackBuffer();
};

// The back end in use; set once by the program (or a test) before anything else.
Backend& backend();
void setBackend(Backend* backend);

// Registered window procedure, called for each dispatched message.
void setWindowProc(WindowProc proc);
int32_t dispatchMessage(const Message& message);
// What the system does with a message the game leaves to it: a close destroys the window.
int32_t defWindowProc(const Message& message);
// Posts the quit message that ends the main loop.
void postQuitMessage(int exitCode);

}  // namespace vane::platform
