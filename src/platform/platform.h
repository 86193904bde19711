// SPDX-License-Identifier: GPL-3.0-or-later
// The seam to a system: its events in, pictures and sound out, a clock and a dialog box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/picture/presentation.h"

namespace vane::platform {

// What happened at the system's end. Keys are the back end's physical keys, each with its own
// number below kPhysicalKeys, so that two keys giving the same virtual key (both Shift keys) are
// held apart; a controller's buttons and stick directions are physical keys too.
struct Event {
  enum class Kind : uint8_t { KeyDown, KeyUp, Focus, Close, Exposed };
  Kind kind = Kind::Close;
  int key = 0;
  // KeyDown from a keyboard: the game's virtual-key code for the key, 0 when it has none.
  int virtualKey = 0;
  // KeyDown from a controller: the control (a PadControl) whose binding says the virtual key.
  bool fromPad = false;
  uint8_t control = 0;
  bool repeat = false;
  // KeyDown: false when the system keeps the press (a key pressed while Alt is down): the key is
  // held, as the keyboard's state always shows, but no key-down message goes to the game.
  bool message = true;
  bool focused = false;  // Focus: gained or lost
};
constexpr int kPhysicalKeys = 2048;

enum class Icon { None, Error };

// Fills `frames` interleaved stereo 16-bit frames; called on the audio output's own thread.
using AudioPull = void (*)(void* user, int16_t* out, size_t frames);

// A system the game runs on. The host turns these calls into the machine the game expects.
class Backend {
 public:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  virtual ~Backend() = default;

  // The window, and its screen for kWidth x kHeight pictures of 16-bit pixels.
  virtual bool openWindow() = 0;
  virtual void closeWindow() = 0;
  // Sets whether the screen shows 5-6-5 pixels (else 5-5-5).
  virtual bool openDisplay(bool& is565) = 0;
  virtual void closeDisplay() = 0;
  // Shows `pixels`, which differ from the picture presented before only in `changed`; a block
  // covering the whole picture redraws everything, borders too. With no block the picture on the
  // screen stays, and the flip still takes its time.
  virtual bool present(const uint16_t* pixels, std::span<const Block> changed) = 0;

  // The next event, if one has arrived.
  virtual bool pollEvent(Event& out) = 0;
  // Blocks until an event arrives; false when none ever will.
  virtual bool waitEvent(Event& out) = 0;

  // Starts pulling the mix at `rate` (the output may choose another, said in `openedRate`); false
  // when there is no audio output.
  virtual bool openAudio(uint32_t rate, AudioPull pull, void* user, uint32_t& openedRate) = 0;
  // Paused, the output pulls nothing and plays silence.
  virtual void pauseAudio(bool paused) = 0;
  virtual void closeAudio() = 0;

  // Nanoseconds on a clock that never goes back, counted from the machine's start.
  virtual uint64_t now() = 0;
  virtual void sleep(uint64_t nanos) = 0;
  virtual void messageBox(std::string_view text, std::string_view title, Icon icon) = 0;
};

// The back end in use; set once by the program (or a test) before anything else.
Backend& backend();
void setBackend(Backend* backend);

}  // namespace vane::platform
