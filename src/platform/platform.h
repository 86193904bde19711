// The machine services the game asks for: window messages, keys, clocks, dialogs, display, sound.
#pragma once

#include <cstdint>
#include <string_view>

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

class Backend {
 public:
  virtual ~Backend() = default;

  // --- window ---
  virtual bool registerWindowClass(WindowProc proc) = 0;
  // Creates and shows the window; WM_CREATE reaches the procedure before this returns.
  virtual bool createWindow() = 0;
  // Destroys the window; WM_DESTROY reaches the procedure before this returns.
  virtual void destroyWindow() = 0;
  virtual bool windowExists() const = 0;

  // --- messages ---
  // Looks at the next message without removing it (false when the queue is empty).
  virtual bool peekMessage(Message& out) = 0;
  // Removes and returns the next message, waiting for one if the queue is empty.
  virtual Message getMessage() = 0;
  // Blocks until a message is waiting.
  virtual void waitMessage() = 0;
  virtual void postMessage(const Message& message) = 0;

  // --- keyboard ---
  // The asynchronous state: is the key down at this moment?
  virtual bool keyHeld(int virtualKey) = 0;
  // The thread's 256-entry keyboard state (separate from the asynchronous state).
  virtual void getKeyboardState(uint8_t state[256]) = 0;
  virtual void setKeyboardState(const uint8_t state[256]) = 0;

  // --- clocks ---
  virtual uint32_t tickCount() = 0;       // milliseconds, wrapping at 2^32
  virtual uint64_t monotonicNanos() = 0;  // never goes back
  virtual void sleepNanos(uint64_t nanos) = 0;

  // --- dialogs ---
  virtual void messageBox(std::string_view text, std::string_view title, Icon icon) = 0;

  // --- display: 640x480, 16 bits a pixel, one back buffer ---
  virtual bool createDisplay() = 0;
  // Green channel mask of the pixel format; false when it cannot be read.
  virtual bool readGreenMask(uint32_t& greenMask) = 0;
  virtual bool fill(uint16_t colour) = 0;
  virtual bool describeBackBuffer() = 0;
  virtual bool lock(LockedSurface& out) = 0;
  virtual bool unlock() = 0;
  virtual TextContext* getTextContext() = 0;
  virtual void releaseTextContext(TextContext* context) = 0;
  virtual bool flip() = 0;
  virtual void releaseDisplay() = 0;

  // --- sound ---
  virtual bool createSoundDevice() = 0;
  virtual BufferId createBuffer(const WaveFormat& format, uint32_t bytes) = 0;
  // The whole buffer for writing; nullptr on failure.
  virtual uint8_t* lockBuffer(BufferId buffer, uint32_t& bytes) = 0;
  virtual bool unlockBuffer(BufferId buffer) = 0;
  virtual bool play(BufferId buffer, bool looping) = 0;
  virtual bool stop(BufferId buffer) = 0;
  virtual uint32_t status(BufferId buffer) = 0;
  virtual void releaseBuffer(BufferId buffer) = 0;
  virtual void releaseSoundDevice() = 0;
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
