// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the seven sprite files and the two sound banks into one folder.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "art.h"
#include "files/last_resort.h"
#include "overrides.h"
#include "sound/sound_forge.h"
#include "sound/synth.h"
#include "tools/common/formats.h"

namespace vane::forge {

namespace {

bool writeOne(const std::string& dir, const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = (std::filesystem::path(dir) / name).string();
  const std::string error = tools::writeFile(path, bytes);
  if (error.empty()) return true;
  std::fprintf(stderr, "vane-forge: %s\n", error.c_str());
  return false;
}

std::vector<SpriteFrame> framesOf(ForgedSheet forged) {
  std::vector<SpriteFrame> frames;
  for (ForgedFrame& f : forged) frames.push_back(std::move(f.frame));
  return frames;
}

}  // namespace

ForgedSheet makeSheet(Sheet sheet) {
  switch (sheet) {
    case Sheet::Player:
      return makePlayerSheet();
    case Sheet::Enemy:
      return makeEnemySheet();
    case Sheet::Eb:
      return makeBulletSheet();
    case Sheet::Back:
      return makePanelSheet();
    case Sheet::Stage:
      return makeStageSheet();
    case Sheet::X:
      return makeExplosionSheet();
    case Sheet::Etc:
      return makeEtcSheet();
  }
  return {};
}

std::string catalogueMismatch(const frames::SheetInfo& sheet, const ForgedSheet& forged) {
  const std::string file = sheet.fileName;
  for (size_t i = 0; i < forged.size() && i < sheet.frames.size(); ++i) {
    const frames::FrameInfo& entry = sheet.frames[i];
    const ForgedFrame& f = forged[i];
    const std::string where = file + " frame " + std::to_string(i + 1) + " (" + entry.name + ")";
    if (f.number != entry.number) {
      return where + ": the forge drew frame " + std::to_string(f.number) + " in its place";
    }
    if (f.frame.width != entry.width || f.frame.height != entry.height) {
      return where + ": drawn " + std::to_string(f.frame.width) + "x" +
             std::to_string(f.frame.height) + ", catalogued " + std::to_string(entry.width) + "x" +
             std::to_string(entry.height);
    }
    if (f.frame.hotX != entry.hotX || f.frame.hotY != entry.hotY) {
      return where + ": hot spot drawn at " + std::to_string(f.frame.hotX) + "," +
             std::to_string(f.frame.hotY) + ", catalogued at " + std::to_string(entry.hotX) + "," +
             std::to_string(entry.hotY);
    }
  }
  if (forged.size() != sheet.frames.size()) {
    return file + ": the forge drew " + std::to_string(forged.size()) +
           " frames, the catalogue has " + std::to_string(sheet.frames.size());
  }
  return {};
}

bool writeDataFiles(const std::string& dir, const std::string& artDir) {
  try {
    std::filesystem::create_directories(dir);
    std::vector<std::string> used;
    std::string notes;
    for (const frames::SheetInfo& sheet : frames::kSheets) {
      ForgedSheet forged = makeSheet(sheet.sheet);
      if (const std::string mismatch = catalogueMismatch(sheet, forged); !mismatch.empty()) {
        std::fprintf(stderr, "vane-forge: %s\n", mismatch.c_str());
        return false;
      }
      if (!artDir.empty()) overrideFrames(artDir, sheet, forged, used);
      if (!writeOne(dir, sheet.fileName, tools::spriteFileBytes(framesOf(std::move(forged))))) {
        return false;
      }
    }
    std::vector<tools::Clip> effects = makeEffects();
    std::vector<tools::Clip> music = makeMusic();
    if (!artDir.empty()) {
      overrideClips(artDir, "effect", kEffectNames, kSampleRate, effects, used, notes);
      overrideClips(artDir, "music", kMusicNames, kSampleRate, music, used, notes);
      rejectUnknownFiles(artDir, used);
      for (const std::string& file : used)
        std::fprintf(stderr, "vane-forge: using %s\n", file.c_str());
    }
    for (size_t at = 0; at < notes.size();) {
      const size_t end = notes.find('\n', at);
      std::fprintf(stderr, "vane-forge: %s\n", notes.substr(at, end - at).c_str());
      at = end + 1;
    }
    return writeOne(dir, "1.snd", tools::soundBankBytes(effects)) &&
           writeOne(dir, "music.snd", tools::soundBankBytes(music));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vane-forge: %s\n", files::failureText(e).c_str());
    return false;
  }
}

}  // namespace vane::forge
