// SPDX-License-Identifier: GPL-3.0-or-later
// The frame catalogue against what the forge draws and writes, and an artist's replacement files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "art.h"
#include "gfx/frames.h"
#include "gfx/sprite.h"
#include "overrides.h"
#include "sound/sound_forge.h"
#include "tools/common/formats.h"
#include "tools/spr/spr_png.h"

namespace vane::forge {
namespace {

namespace fs = std::filesystem;

TEST(FrameCatalogue, TheForgeDrawsAndTheBuildShipsEveryFrameAsCatalogued) {
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    SCOPED_TRACE(sheet.fileName);
    EXPECT_EQ(catalogueMismatch(sheet, makeSheet(sheet.sheet)), "");
    // The file the build wrote, read by the game's own loader.
    SpriteSheet loaded;
    const auto bytes = tools::readFile((fs::path(VANE_DATA_DIR) / sheet.fileName).string());
    ASSERT_EQ(loadSpriteSheetFromBytes(loaded, bytes, sheet.fileName, 0), 1);
    ASSERT_EQ(frameCountOf(loaded), static_cast<int>(sheet.frames.size()));
    for (const frames::FrameInfo& entry : sheet.frames) {
      const SpriteFrame* f = frameAt(loaded, entry.number);
      EXPECT_EQ(f->width, entry.width) << entry.name;
      EXPECT_EQ(f->height, entry.height) << entry.name;
      EXPECT_EQ(f->hotX, entry.hotX) << entry.name;
      EXPECT_EQ(f->hotY, entry.hotY) << entry.name;
    }
  }
}

TEST(FrameCatalogue, AForgeThatStrayedFromItIsNamedByFileAndFrame) {
  const frames::SheetInfo& player = frames::sheetInfo(Sheet::Player);
  const ForgedSheet good = makeSheet(Sheet::Player);
  struct Case {
    const char* what;
    ForgedSheet forged;
    const char* message;
  };
  ForgedSheet inserted = good;
  inserted.insert(inserted.begin() + 1, good[5]);
  ForgedSheet shorter(good.begin(), good.end() - 1);
  ForgedSheet resized = good;
  resized[6].frame = good[7].frame;
  ForgedSheet moved = good;
  moved[2].frame.hotY += 1;
  const Case cases[] = {
      {"a frame inserted", inserted,
       "player.spr frame 2 (ship1-left): the forge drew frame 6 in its place"},
      {"the last frame left out", shorter,
       "player.spr: the forge drew 20 frames, the catalogue has 21"},
      {"a frame of another size", resized, "player.spr frame 7 (orb): drawn 10x10, catalogued 6x6"},
      {"a hot spot moved", moved,
       "player.spr frame 3 (ship1-level): hot spot drawn at 22,23, catalogued at 22,22"},
  };
  for (const Case& c : cases) EXPECT_EQ(catalogueMismatch(player, c.forged), c.message) << c.what;
}

// A scratch art folder and data folder, removed afterwards.
class ArtFolder : public ::testing::Test {
 protected:
  const fs::path base = fs::temp_directory_path() / ("vane-art-" + std::to_string(::getpid()));
  const fs::path art = base / "art";
  const fs::path data = base / "data";
  void SetUp() override { fs::create_directories(art); }
  void TearDown() override { fs::remove_all(base); }

  // Forges into `data`; the forge's messages land in `messages`.
  bool forge() {
    testing::internal::CaptureStderr();
    const bool ok = writeDataFiles(data.string(), art.string());
    messages = testing::internal::GetCapturedStderr();
    return ok;
  }
  void writePicture(const std::string& name, int width, int height, uint32_t rgba) {
    tools::RgbaImage image{width, height, {}};
    for (int i = 0; i < width * height; ++i) {
      for (int shift : {24, 16, 8, 0}) image.rgba.push_back(static_cast<uint8_t>(rgba >> shift));
    }
    ASSERT_EQ(tools::writePng((art / name).string(), image), "");
  }
  // 16-bit PCM; `samples` holds the channels interleaved.
  void writeWave(const std::string& name, uint32_t rate, uint16_t channels,
                 const std::vector<int16_t>& samples) {
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> w;
    auto text = [&](const char* s) {
      for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(s[i]));
    };
    auto le = [&](uint32_t v, int n) {
      for (int i = 0; i < n; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    text("RIFF"), le(36 + bytes, 4), text("WAVE"), text("fmt "), le(16, 4), le(1, 2);
    le(channels, 2), le(rate, 4), le(rate * channels * 2, 4), le(channels * 2u, 2), le(16, 2);
    text("data"), le(bytes, 4);
    for (int16_t v : samples) le(static_cast<uint16_t>(v), 2);
    ASSERT_EQ(tools::writeFile((art / name).string(), w), "");
  }
  std::string messages;
};

TEST_F(ArtFolder, AHandDrawnFrameAndARecordedClipTakeTheForgedOnesPlaces) {
  // Opaque red with a touch of green at a level as paint programs scale it (25, not 24).
  writePicture("player-ship1-level.png", 44, 44, 0xFF1900FF);
  std::vector<int16_t> square(4410 * 2);
  for (size_t i = 0; i < square.size(); ++i) square[i] = i % 2 ? 0x4000 : -0x4000;
  writeWave("effect-shot.wav", 44100, 2, square);
  ASSERT_TRUE(forge()) << messages;
  EXPECT_NE(messages.find("effect-shot.wav: stereo mixed down to mono"), std::string::npos);
  EXPECT_NE(messages.find("effect-shot.wav: resampled from 44100 Hz to 22050 Hz"),
            std::string::npos);

  std::vector<SpriteFrame> player;
  ASSERT_EQ(decodeSpriteFile(tools::readFile((data / "player.spr").string()), player),
            SpriteFileCheck::Good);
  const tools::Picture level = tools::decodeFrame(player[2]);
  EXPECT_EQ(level.hotX, 22);
  EXPECT_EQ(level.pixels[0], 0x7C60);
  EXPECT_EQ(level.pixels[44 * 44 - 1], 0x7C60);
  // Its neighbours are still the forged ones.
  const ForgedSheet forged = makeSheet(Sheet::Player);
  EXPECT_EQ(player[1].data, forged[1].frame.data);

  const auto bank = tools::readFile((data / "1.snd").string());
  const auto forgedBank = tools::soundBankBytes(makeEffects());
  EXPECT_NE(bank, forgedBank);
}

// A recording at 44.1 kHz comes to the banks' 22,050 Hz without aliases: while a sine sweep runs
// from 20 Hz to 20 kHz, every 20 ms of the clip after the sweep passes 11.05 kHz (what would fold
// back below 11 kHz) stays 60 dB below the sweep's level between 100 Hz and 10 kHz.
TEST_F(ArtFolder, ARecordedClipIsResampledWithoutAliases) {
  constexpr double kFrom = 44100, kTo = 22050, kLow = 20, kHigh = 20000, kSeconds = 8;
  const auto frequencyAt = [&](double t) { return kLow + (kHigh - kLow) * t / kSeconds; };
  std::vector<int16_t> sweep(static_cast<size_t>(kFrom * kSeconds));
  for (size_t i = 0; i < sweep.size(); ++i) {
    const double t = static_cast<double>(i) / kFrom;
    const double phase = 2 * M_PI * (kLow * t + (kHigh - kLow) * t * t / (2 * kSeconds));
    // Faded in and out over 50 ms, so that its ends add no clicks of their own.
    const double fade = std::min({1.0, t / 0.05, (kSeconds - t) / 0.05});
    sweep[i] = static_cast<int16_t>(std::lround(16384 * fade * std::sin(phase)));
  }
  writeWave("effect-shot.wav", static_cast<uint32_t>(kFrom), 1, sweep);
  std::string notes;
  const tools::Clip clip =
      clipFromWav((art / "effect-shot.wav").string(), static_cast<uint32_t>(kTo), notes);
  ASSERT_EQ(clip.data.size() / 2, sweep.size() / 2);

  constexpr size_t kWindow = 441;  // 20 ms at 22,050 Hz
  double sweepPower = 0, sweepCount = 0, loudestAlias = 0;
  for (size_t start = 0; start + kWindow <= clip.data.size() / 2; start += kWindow) {
    double power = 0;
    for (size_t i = start; i < start + kWindow; ++i) {
      const auto v = static_cast<int16_t>(clip.data[2 * i] | clip.data[2 * i + 1] << 8);
      power += static_cast<double>(v) * v / kWindow;
    }
    const double first = frequencyAt(static_cast<double>(start) / kTo);
    const double last = frequencyAt(static_cast<double>(start + kWindow) / kTo);
    if (first >= 100 && last <= 10000) {
      sweepPower += power;
      ++sweepCount;
    }
    if (first >= 11050) loudestAlias = std::max(loudestAlias, power);
  }
  const double aliasDb = 10 * std::log10(loudestAlias / (sweepPower / sweepCount));
  EXPECT_LT(aliasDb, -60);
}

TEST_F(ArtFolder, AFileTheGameCannotUseStopsTheForgeWithOneLineNamingIt) {
  struct Case {
    const char* file;
    int width, height;
    uint32_t rgba;
    const char* message;
  };
  const Case cases[] = {
      {"player-ship1-level.png", 40, 44, 0xFF0000FF,
       "player-ship1-level.png: is 40x44 but frame ship1-level is 44x44"},
      {"etc-digit-0.png", 14, 16, 0x123456FF,
       "etc-digit-0.png: pixel (0, 0) is #123456, not a 5-5-5 colour"},
      {"x-spark-1.png", 16, 16, 0xFFFFFF80, "x-spark-1.png: pixel (0, 0) has alpha 128"},
      {"player-ship3-level.png", 44, 44, 0xFF0000FF,
       "player-ship3-level.png: no frame or clip has this name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    fs::remove_all(art);
    fs::create_directories(art);
    writePicture(c.file, c.width, c.height, c.rgba);
    EXPECT_FALSE(forge());
    EXPECT_NE(messages.find(c.message), std::string::npos) << messages;
    EXPECT_EQ(std::count(messages.begin(), messages.end(), '\n'), 1) << messages;
  }
}

}  // namespace
}  // namespace vane::forge
