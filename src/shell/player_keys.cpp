// SPDX-License-Identifier: GPL-3.0-or-later
// The key filter of the program's own keys, and the overlay's opening and closing.
#include "shell/player_keys.h"

#include <cstdio>

#include "shell/controls.h"
#include "shell/screenshots.h"

namespace vane {

using platform::Event;
using platform::PadControl;

namespace {

constexpr int kF1 = 112;

struct PlayerKeys {
  const ProgramOptions* options = nullptr;
  OptionsOverlay* overlay = nullptr;
  FrameCounter framesRun = nullptr;
};
PlayerKeys keys;

void takeScreenshot() {
  std::string error;
  const auto path =
      saveScreenshot(screenshotFolder(keys.options->screenshotDir), keys.framesRun(), error);
  if (path.empty()) {
    std::fprintf(stderr, "vane: screenshot not saved: %s\n", error.c_str());
    host::showNote("Screenshot not saved: " + error);
    return;
  }
  const std::string shown = "Saved " + path.string();
  host::showNote(host::textWidth(shown) < host::kWidth - 32 ? shown
                                                            : "Saved " + path.filename().string());
}

void openOverlay() {
  keys.overlay->open();
  host::standGame(true);
  host::setMenuLayer(keys.overlay);
  host::presentLayers();
}

void closeOverlay() {
  host::setMenuLayer(nullptr);
  host::standGame(false);
  host::presentLayers();
  // Ends the main loop's wait, so the frames go on.
  host::postMessage(host::Message{host::kWmNull, 0, 0});
}

bool isScreenshot(const Event& event) {
  if (event.fromPad) {
    return padFor(keys.options->pad, Action::Screenshot) == static_cast<PadControl>(event.control);
  }
  const uint8_t key = keyFor(keys.options->keys, Action::Screenshot);
  return key != 0 && event.virtualKey == key;
}

bool filterKey(const Event& event) {
  if (keys.overlay != nullptr && keys.overlay->isOpen()) {
    keys.overlay->take(event);
    if (keys.overlay->isOpen()) {
      host::presentLayers();
    } else {
      closeOverlay();
    }
    return true;
  }
  if (event.kind != Event::Kind::KeyDown) return false;
  const bool options = event.fromPad ? static_cast<PadControl>(event.control) == PadControl::Back
                                     : event.virtualKey == kF1;
  if (options && keys.overlay != nullptr) {
    if (!event.repeat) openOverlay();
    return true;
  }
  if (isScreenshot(event)) {
    if (!event.repeat) takeScreenshot();
    return true;
  }
  return false;
}

}  // namespace

void installPlayerKeys(const ProgramOptions* options, OptionsOverlay* overlay,
                       FrameCounter framesRun) {
  keys = PlayerKeys{options, overlay, framesRun};
  host::setKeyFilter(filterKey);
}

void removePlayerKeys() {
  host::setKeyFilter(nullptr);
  host::setMenuLayer(nullptr);
  keys = PlayerKeys{};
}

bool optionsOpen() {
  return keys.overlay != nullptr && keys.overlay->isOpen();
}

}  // namespace vane
