// Writing the seven sprite files and the two sound banks into one folder.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "art.h"
#include "sound/sound_forge.h"
#include "tools/common/formats.h"

namespace vane::forge {

namespace {

bool writeOne(const std::string& dir, const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = (std::filesystem::path(dir) / name).string();
  if (tools::writeFile(path, bytes)) return true;
  std::fprintf(stderr, "vane-forge: cannot write %s\n", path.c_str());
  return false;
}

}  // namespace

bool writeDataFiles(const std::string& dir) {
  try {
    std::filesystem::create_directories(dir);
    for (const SheetMaker& sheet : kSheets) {
      if (!writeOne(dir, sheet.fileName, tools::spriteFileBytes(sheet.make()))) return false;
    }
    return writeOne(dir, "1.snd", tools::soundBankBytes(makeEffects())) &&
           writeOne(dir, "music.snd", tools::soundBankBytes(makeMusic()));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vane-forge: %s\n", e.what());
    return false;
  }
}

}  // namespace vane::forge
