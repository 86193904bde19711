// SPDX-License-Identifier: GPL-3.0-or-later
// vane-banks: composes the two sound banks alone, as the forge does, for a build that ships their
// score rather than their samples (the browser's page composes them as it loads). Either whole,
// or in two halves of about the same work for two processors: the effects and the first piece,
// then the other three pieces, each half's music a bank of its own pieces.
#include <cstdio>
#include <cstring>
#include <string>

#include "files/last_resort.h"
#include "tools/common/formats.h"
#include "tools/forge/sound/sound_forge.h"

namespace {

using namespace vane;

// The first half's pieces end here (the first stage's theme, as long as the other three).
constexpr size_t kFirstHalfPieces = 1;

bool writeBank(const std::string& path, const std::vector<tools::Clip>& clips) {
  const std::string error = tools::writeFile(path, tools::soundBankBytes(clips));
  if (error.empty()) return true;
  std::fprintf(stderr, "vane-banks: %s\n", error.c_str());
  return false;
}

// half 0: both banks whole; 1: 1.snd and the first half's music; 2: the second half's music.
int composeInto(const std::string& dir, int half) {
  const bool effects = half != 2;
  const size_t first = half == 2 ? kFirstHalfPieces : 0;
  const size_t end = half == 1 ? kFirstHalfPieces : SIZE_MAX;
  if (effects && !writeBank(dir + "/1.snd", forge::makeEffects())) return 1;
  return writeBank(dir + "/music.snd", forge::makeMusic(first, end)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const bool halved = argc == 4 && std::strcmp(argv[2], "--half") == 0 &&
                      (std::strcmp(argv[3], "1") == 0 || std::strcmp(argv[3], "2") == 0);
  if (argc != 2 && !halved) {
    std::fputs("usage: vane-banks DIR [--half 1|2] (writes DIR/1.snd and DIR/music.snd)\n", stderr);
    return 2;
  }
  const int half = halved ? argv[3][0] - '0' : 0;
  return files::runMain("vane-banks", 1, [&] { return composeInto(argv[1], half); });
}
