// SPDX-License-Identifier: GPL-3.0-or-later
// The options overlay's pages, their rows, the key capture and the drawing.
#include "shell/options_overlay.h"

#include <algorithm>
#include <array>

#include "shell/controls.h"
#include "shell/frame_pacer.h"
#include "shell/records.h"
#include "shell/run_keeper.h"

namespace vane {

using platform::Event;
using platform::PadControl;

namespace {

constexpr int kLeft = 80, kTop = 48, kWide = 480, kHigh = 384;
constexpr int kLineHigh = 20;
constexpr uint32_t kInk = 0xFFFFFF, kDim = 0xA0A0A0, kChosen = 0xFFD040, kWarn = 0xFF8060;
constexpr uint32_t kPanel = 0x102040;

constexpr std::array<const char*, OptionsOverlay::kPages> kPageNames{"Display", "Sound", "Controls",
                                                                     "Game speed", "Records"};
// The Records page shows the best runs of each stage and ship: as many as the panel holds.
constexpr size_t kRecordsShown = 3;
constexpr int kF1 = 112;

// The next of `count` choices `step` away, wrapping.
int stepped(int now, int step, int count) {
  return ((now + step) % count + count) % count;
}

int speedIndex(int percent) {
  for (size_t i = 0; i < kGameSpeeds.size(); ++i) {
    if (kGameSpeeds[i] == percent) return static_cast<int>(i);
  }
  return 0;
}

// The pad's controls as the overlay reads them: the d-pad and stick move, A is Return, B and
// Back close.
int keyForPad(PadControl control) {
  switch (control) {
    case PadControl::Up:
      return host::kVkUp;
    case PadControl::Down:
      return host::kVkDown;
    case PadControl::Left:
      return host::kVkLeft;
    case PadControl::Right:
      return host::kVkRight;
    case PadControl::A:
      return host::kVkReturn;
    case PadControl::B:
    case PadControl::Back:
      return host::kVkEscape;
    case PadControl::LeftShoulder:
      return 33;  // page up
    case PadControl::RightShoulder:
      return 34;  // page down
    default:
      return 0;
  }
}

std::string keyShown(uint8_t key) {
  return std::string(keyName(key));
}

}  // namespace

OptionsOverlay::OptionsOverlay(ProgramOptions& options,
                               std::function<void(const ProgramOptions&)> apply, Save save)
    : options_(options), apply_(std::move(apply)), save_(std::move(save)) {}

void OptionsOverlay::open() {
  open_ = true;
  before_ = options_;
  capturing_ = false;
  status_.clear();
}

void OptionsOverlay::close() {
  open_ = false;
  capturing_ = false;
  if (dirty_) save_(before_, options_);
  dirty_ = false;
}

void OptionsOverlay::changed() {
  dirty_ = true;
  ProgramOptions applied = options_;
  if (muted_) applied.sound.musicVolume = applied.sound.effectVolume = 0;
  apply_(applied);
}

std::vector<OptionsOverlay::Row> OptionsOverlay::displayRows() {
  using platform::RendererChoice;
  using platform::ScaleMode;
  using platform::WindowMode;
  platform::DisplayOptions& d = options_.display;
  static constexpr std::array<const char*, 3> kRenderers{"auto", "gpu", "software"};
  return {
      {"Window", d.windowMode == WindowMode::Fullscreen ? "full screen" : "window",
       [&d](int) {
         d.windowMode =
             d.windowMode == WindowMode::Fullscreen ? WindowMode::Window : WindowMode::Fullscreen;
       }},
      {"Scaling (next start)", d.scale == ScaleMode::Fit ? "fit" : "integer",
       [&d](int) { d.scale = d.scale == ScaleMode::Fit ? ScaleMode::Integer : ScaleMode::Fit; }},
      {"Renderer (next start)", kRenderers[static_cast<size_t>(d.renderer)],
       [&d](int step) {
         d.renderer = static_cast<RendererChoice>(stepped(static_cast<int>(d.renderer), step, 3));
       }},
      {"Frame-time graph", options_.frameGraph ? "on" : "off",
       [this](int) { options_.frameGraph = !options_.frameGraph; }},
  };
}

std::vector<OptionsOverlay::Row> OptionsOverlay::soundRows() {
  platform::SoundOptions& s = options_.sound;
  const auto volume = [](int& v) {
    return [&v](int step) { v = std::clamp(v + step * 10, 0, 100); };
  };
  return {
      {"Music volume", std::to_string(s.musicVolume), volume(s.musicVolume)},
      {"Effect volume", std::to_string(s.effectVolume), volume(s.effectVolume)},
      {"Mute (this run)", muted_ ? "on" : "off", [this](int) { muted_ = !muted_; }},
  };
}

std::vector<OptionsOverlay::Row> OptionsOverlay::speedRows() {
  return {
      {"Game speed", std::to_string(options_.gameSpeed) + "%",
       [this](int step) {
         // Right and Return go slower, down the list; Left faster.
         const int at =
             stepped(speedIndex(options_.gameSpeed), step, static_cast<int>(kGameSpeeds.size()));
         options_.gameSpeed = kGameSpeeds[static_cast<size_t>(at)];
       }},
      {"A stage frame lasts",
       std::to_string(stageFrameNanos(options_.gameSpeed) / 100'000 / 10.0).substr(0, 4) + " ms",
       nullptr}};
}

// Read again each time the page is drawn: a run proven while the overlay was closed shows.
std::vector<OptionsOverlay::Row> OptionsOverlay::recordRows() {
  const Records records = Records::read(recordsFile());
  std::vector<Row> out;
  for (int stage = 1; stage <= 2; ++stage) {
    for (int ship = 1; ship <= 2; ++ship) {
      const std::vector<RecordEntry> table = records.table(stage, ship);
      const std::string name = "Stage " + std::to_string(stage) + ", ship " + std::to_string(ship);
      if (table.empty()) out.push_back({name, "no run yet", nullptr});
      for (size_t i = 0; i < std::min(table.size(), kRecordsShown); ++i) {
        const RecordEntry& entry = table[i];
        const std::filesystem::path replay = recordsFile().parent_path() / entry.replay;
        out.push_back(
            {name + "  #" + std::to_string(i + 1),
             std::to_string(entry.score) + "  " + entry.date.substr(0, 10),
             [this, replay](int) { status_ = "Watch: vane --replay " + replay.string(); }});
      }
    }
  }
  return out;
}

std::vector<OptionsOverlay::Row> OptionsOverlay::rows() {
  switch (page_) {
    case Page::Display:
      return displayRows();
    case Page::Sound:
      return soundRows();
    case Page::GameSpeed:
      return speedRows();
    case Page::Records:
      return recordRows();
    case Page::Controls:
      break;
  }
  return {};
}

int OptionsOverlay::rowCount() {
  // Controls: an action a line, then "Reset to defaults".
  return page_ == Page::Controls ? static_cast<int>(kActionCount) + 1
                                 : static_cast<int>(rows().size());
}

void OptionsOverlay::move(int rowStep) {
  row_ = stepped(row_, rowStep, rowCount() + 1);
  status_.clear();
}

void OptionsOverlay::takeControlsKey(int virtualKey) {
  const bool reset = row_ == static_cast<int>(kActionCount) + 1;
  if (virtualKey == host::kVkLeft || virtualKey == host::kVkRight) {
    column_ = 1 - column_;
  } else if (virtualKey == host::kVkReturn && reset) {
    options_.keys = KeyRoles{};
    options_.pad = PadRoles{};
    status_ = "Every action has its first key and button again";
    changed();
  } else if (virtualKey == host::kVkReturn) {
    capturing_ = true;
    status_ = column_ == 0 ? "Press the new key (Escape: keep the old one)"
                           : "Press the new button (Escape: keep the old one)";
  }
}

// The next key (or button) becomes the action's; an action that had it takes the old one.
void OptionsOverlay::capture(const Event& event) {
  const auto action = static_cast<Action>(row_ - 1);
  if (!event.fromPad && event.virtualKey == host::kVkEscape) {
    capturing_ = false;
    status_.clear();
    return;
  }
  std::optional<Action> swapped;
  if (column_ == 0 && !event.fromPad) {
    const auto key = static_cast<uint8_t>(event.virtualKey);
    if (key == 0 || keyName(key).empty()) return;  // no key the game can be played with (F1)
    swapped = bindKey(options_.keys, action, key);
    status_ = std::string(actionInfo(action).label) + ": " + keyShown(key);
    if (swapped) {
      status_ += ", taken from " + std::string(actionInfo(*swapped).label) + " (now " +
                 keyShown(keyFor(options_.keys, *swapped)) + ")";
    }
  } else if (column_ == 1 && event.fromPad) {
    const auto control = static_cast<PadControl>(event.control);
    const auto name = padRoleNamed(action, host::padControlName(control));
    if (!name) return;
    swapped = bindPad(options_.pad, action, *name);
    status_ = std::string(actionInfo(action).label) + ": " + std::string(padRoleName(*name));
    if (swapped) {
      status_ += ", taken from " + std::string(actionInfo(*swapped).label) + " (now " +
                 std::string(padRoleName(padFor(options_.pad, *swapped))) + ")";
    }
  } else {
    return;
  }
  capturing_ = false;
  changed();
}

void OptionsOverlay::take(const Event& event) {
  if (event.kind != Event::Kind::KeyDown) return;
  if (capturing_) {
    if (!event.repeat) capture(event);
    return;
  }
  const int key =
      event.fromPad ? keyForPad(static_cast<PadControl>(event.control)) : event.virtualKey;
  if (key == host::kVkEscape || key == kF1) {
    if (!event.repeat) close();
    return;
  }
  if (key == host::kVkUp || key == host::kVkDown) {
    move(key == host::kVkUp ? -1 : 1);
    return;
  }
  const bool pageKey = key == 33 || key == 34 || key == 9;
  if (pageKey || (row_ == 0 && (key == host::kVkLeft || key == host::kVkRight))) {
    const int step = key == 33 || key == host::kVkLeft ? -1 : 1;
    page_ = static_cast<Page>(stepped(static_cast<int>(page_), step, kPages));
    row_ = 0;
    column_ = 0;
    status_.clear();
    return;
  }
  if (row_ == 0) return;
  if (page_ == Page::Controls) {
    takeControlsKey(key);
    return;
  }
  std::vector<Row> all = rows();
  Row& row = all[static_cast<size_t>(row_ - 1)];
  if (!row.change) return;
  if (key == host::kVkLeft) row.change(-1);
  if (key == host::kVkRight || key == host::kVkReturn) row.change(1);
  if (page_ != Page::Records) changed();
}

void OptionsOverlay::drawControls(host::Canvas& canvas, int top) {
  canvas.text(kLeft + 24, top, "Action", kDim);
  canvas.text(kLeft + 220, top, "Key", kDim);
  canvas.text(kLeft + 340, top, "Pad", kDim);
  for (size_t a = 0; a < kActionCount; ++a) {
    const int y = top + static_cast<int>(a + 1) * 18;
    const auto action = static_cast<Action>(a);
    const bool here = row_ == static_cast<int>(a) + 1;
    canvas.text(kLeft + 24, y, actionInfo(action).label, here ? kChosen : kInk);
    const std::string key = keyShown(keyFor(options_.keys, action));
    const std::string pad(padRoleName(padFor(options_.pad, action)));
    const bool waiting = here && capturing_;
    canvas.text(kLeft + 220, y, waiting && column_ == 0 ? "..." : key,
                here && column_ == 0 ? kChosen : kInk);
    canvas.text(kLeft + 340, y, waiting && column_ == 1 ? "..." : pad,
                here && column_ == 1 ? kChosen : kInk);
  }
  const int y = top + static_cast<int>(kActionCount + 1) * 18 + 4;
  const bool here = row_ == static_cast<int>(kActionCount) + 1;
  canvas.text(kLeft + 24, y, "Reset to defaults", here ? kChosen : kInk);
}

void OptionsOverlay::drawOver(host::Canvas& canvas) {
  canvas.dimRect(0, 0, host::kWidth, host::kHeight);
  canvas.fillRect(kLeft, kTop, kWide, kHigh, kPanel);
  canvas.fillRect(kLeft, kTop + 30, kWide, 1, kDim);
  // The page line: every page's name, this one marked.
  int x = kLeft + 16;
  for (int p = 0; p < kPages; ++p) {
    const bool here = p == static_cast<int>(page_);
    const uint32_t ink = here ? (row_ == 0 ? kChosen : kInk) : kDim;
    const std::string name = here ? std::string("[") + kPageNames[static_cast<size_t>(p)] + "]"
                                  : kPageNames[static_cast<size_t>(p)];
    canvas.text(x, kTop + 6, name, ink);
    x += host::textWidth(name) + 18;
  }
  const int top = kTop + 42;
  if (page_ == Page::Controls) {
    drawControls(canvas, top);
  } else {
    const std::vector<Row> all = rows();
    for (size_t r = 0; r < all.size(); ++r) {
      const bool here = row_ == static_cast<int>(r) + 1;
      const int y = top + static_cast<int>(r) * kLineHigh;
      canvas.text(kLeft + 24, y, all[r].label, here ? kChosen : kInk);
      const bool choice = all[r].change && page_ != Page::Records;
      canvas.text(kLeft + 300, y, choice ? "< " + all[r].value + " >" : all[r].value,
                  here ? kChosen : kInk);
    }
  }
  if (!status_.empty()) canvas.text(kLeft + 16, kTop + kHigh - 44, status_, kWarn);
  canvas.text(kLeft + 16, kTop + kHigh - 22,
              "Arrows move and change, Return chooses, Tab: page, Escape closes", kDim);
}

}  // namespace vane
