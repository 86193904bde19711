// SPDX-License-Identifier: GPL-3.0-or-later
// vane-banks: composes the two sound banks alone, as the forge does, for a build that ships their
// score rather than their samples (the browser's page composes them as it loads).
#include <cstdio>
#include <string>

#include "files/last_resort.h"
#include "tools/common/formats.h"
#include "tools/forge/sound/sound_forge.h"

namespace {

using namespace vane;

int composeInto(const std::string& dir) {
  for (const auto& [name, clips] :
       {std::pair{"1.snd", forge::makeEffects()}, std::pair{"music.snd", forge::makeMusic()}}) {
    const std::string error = tools::writeFile(dir + "/" + name, tools::soundBankBytes(clips));
    if (!error.empty()) {
      std::fprintf(stderr, "vane-banks: %s\n", error.c_str());
      return 1;
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: vane-banks DIR (writes DIR/1.snd and DIR/music.snd)\n", stderr);
    return 2;
  }
  return files::runMain("vane-banks", 1, [&] { return composeInto(argv[1]); });
}
