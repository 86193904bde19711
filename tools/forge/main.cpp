// SPDX-License-Identifier: GPL-3.0-or-later
// vane-forge: draws the sprite files, composes the sound banks and writes them into a folder.
#include <cstdio>
#include <string>

#include "art.h"
#include "icons.h"
#include "platform/last_resort.h"
#include "preview.h"

namespace {

constexpr const char* kUsage =
    "usage: vane-forge [--art ART] DIR   the nine data files into DIR; the frames and clips that\n"
    "                                    ART holds as NAME.png or NAME.wav replace the forged "
    "ones\n"
    "       vane-forge --preview DIR     contact sheets and mock screens for review\n"
    "       vane-forge --catalogue DIR   DIR/art.md and a labelled contact sheet of every file\n"
    "       vane-forge --icons DIR       the program's icon as DIR/NxN/apps/vane.png, 16 to 256\n";

int runTool(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 3 && first == "--preview") return vane::forge::writePreviews(argv[2]) ? 0 : 1;
  if (argc == 3 && first == "--catalogue") return vane::forge::writeCatalogue(argv[2]) ? 0 : 1;
  if (argc == 3 && first == "--icons") return vane::forge::writeIcons(argv[2]) ? 0 : 1;
  if (argc == 4 && first == "--art") return vane::forge::writeDataFiles(argv[3], argv[2]) ? 0 : 1;
  if (argc == 2 && !first.empty() && first[0] != '-') {
    return vane::forge::writeDataFiles(argv[1], "") ? 0 : 1;
  }
  std::fputs(kUsage, stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  return vane::platform::runMain("vane-forge", 1, [&] { return runTool(argc, argv); });
}
