// SPDX-License-Identifier: GPL-3.0-or-later
// The screens' test fixture: headless display, single-pixel coded sheets, recorded sound.
#include "screens_fixture.h"

#include "core/devices.h"
#include "core/random.h"
#include "core/state.h"
#include "screens/screens.h"

namespace vane::testing {

namespace {

constexpr int kFramesPerSheet = 60;
constexpr std::array kAllSheets{Sheet::Player, Sheet::Enemy, Sheet::Eb, Sheet::Back,
                                Sheet::Stage,  Sheet::X,     Sheet::Etc};

SpriteFrame singlePixel(uint16_t colour) {
  SpriteFrame frame;
  frame.width = 1;
  frame.height = 1;
  frame.data = {1, 1, colour};
  frame.dataSize = 6;
  return frame;
}

// A short silent clip.
SoundClip silentClip() {
  SoundClip clip;
  clip.format = platform::WaveFormat{1, 1, 22050, 22050, 1, 8, 0};
  clip.samples = platform::holdSamples(clip.format, {128, 128, 128, 128});
  clip.data = clip.samples->bytes.data();
  clip.length = 4;
  return clip;
}

int decode(Sheet sheet, uint16_t pixel) {
  if (pixel == 0 || (pixel >> 11) != static_cast<int>(sheet) + 1) return 0;
  return pixel & 0x3F;
}

}  // namespace

uint16_t codedColour(Sheet sheet, int n) {
  return static_cast<uint16_t>(((static_cast<int>(sheet) + 1) << 11) | n);
}

uint16_t blendedOverBlack(uint16_t colour, int level) {
  const int r = ((colour >> 11) * (32 - level)) >> 5;
  const int g = (((colour >> 6) & 31) * (32 - level)) >> 5;
  const int b = ((colour & 31) * (32 - level)) >> 5;
  return static_cast<uint16_t>((r << 11) | (g << 6) | b);
}

bool RecordingText::wrote(std::string_view text) const {
  for (const Line& line : lines) {
    if (line.text == text) return true;
  }
  return false;
}

void ScreensTest::SetUp() {
  platform::setBackend(&backend);
  host::createDisplay();
  host::createSoundDevice();
  resetWorld();
  resetCounters();
  resetSheets();
  resetAudio();
  seedRandom(1);
  use565 = 1;
  for (Sheet sheet : kAllSheets) {
    auto& target = const_cast<SpriteSheet&>(sheetOf(sheet));
    for (int n = 1; n <= kFramesPerSheet; ++n) {
      insertFrame(target, singlePixel(codedColour(sheet, n)), n - 1);
    }
  }
  for (int n = 0; n < 7; ++n) insertClip(effectsBank, silentClip(), n);
  for (int n = 0; n < 4; ++n) insertClip(musicBank, silentClip(), n);
  setSoundEventHook([this](const SoundEvent& event) { sounds.push_back(event); });
}

void ScreensTest::TearDown() {
  setSoundEventHook(nullptr);
  resetWorld();
  resetSheets();
  resetAudio();
  resetCounters();
}

uint16_t ScreensTest::screenPixel(int x, int y) const {
  return backend.screen()[static_cast<size_t>(y * platform::HeadlessBackend::kWidth + x)];
}

int ScreensTest::frameOnScreen(Sheet sheet, int x, int y) const {
  return decode(sheet, screenPixel(x, y));
}

int ScreensTest::frameInBackBuffer(Sheet sheet, int x, int y) const {
  host::LockedSurface surface;
  if (!host::lock(surface)) return 0;
  return decode(sheet, surface.pixels[static_cast<size_t>(y * host::kWidth + x)]);
}

Actor& ScreensTest::spawn(int32_t type, int32_t x, int32_t y) {
  World.spawnActor(1, type, x, y, 0, 0);
  return *World.next[listOfType(type)];
}

std::vector<SoundEvent> ScreensTest::effects() const {
  std::vector<SoundEvent> out;
  for (const SoundEvent& event : sounds) {
    if (event.kind == SoundEvent::Effect) out.push_back(event);
  }
  return out;
}

}  // namespace vane::testing
