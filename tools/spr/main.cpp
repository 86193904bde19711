// SPDX-License-Identifier: GPL-3.0-or-later
// vane-spr: turns a sprite file into numbered PNG pictures with an index, and back.
#include <cstdio>
#include <string>

#include "platform/last_resort.h"
#include "tools/spr/spr_files.h"

namespace {

constexpr const char* kUsage =
    "usage: vane-spr unpack FILE DIR   writes DIR/frame-001.png ... and DIR/index.txt\n"
    "       vane-spr pack DIR FILE     writes FILE from what unpack wrote (or an edit of it)\n";

int runTool(int argc, char** argv) {
  if (argc != 4) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  std::string error;
  std::string notes;
  if (command == "unpack") {
    error = vane::tools::unpackSpriteFile(argv[2], argv[3]);
  } else if (command == "pack") {
    error = vane::tools::packSpriteFile(argv[2], argv[3], notes);
  } else {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::fputs(notes.c_str(), stderr);
  if (!error.empty()) {
    std::fprintf(stderr, "vane-spr: %s\n", error.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  return vane::platform::runMain("vane-spr", 1, [&] { return runTool(argc, argv); });
}
