// SPDX-License-Identifier: GPL-3.0-or-later
// vane-spr: turns a sprite file into numbered PNG pictures with an index, and back.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "files/last_resort.h"
#include "shell/option_table.h"
#include "tools/spr/spr_files.h"

namespace {

constexpr const char* kUsage =
    "usage: vane-spr unpack FILE DIR   writes DIR/frame-001.png ... and DIR/index.txt\n"
    "       vane-spr pack DIR FILE     writes FILE from what unpack wrote (or an edit of it)\n";

constexpr std::array<vane::OptionSpec, 1> kOptions{{{0, "help", "", "show this text and leave"}}};

int runTool(int argc, char** argv) {
  const vane::ParsedArguments parsed =
      vane::parseArguments(kOptions, vane::programArguments(argc, argv));
  if (const auto status = vane::helpOrFault("vane-spr", kUsage, kOptions, parsed)) return *status;
  const std::vector<std::string>& words = parsed.operands;
  std::string error;
  std::string notes;
  if (words.size() == 3 && words[0] == "unpack") {
    error = vane::tools::unpackSpriteFile(words[1], words[2]);
  } else if (words.size() == 3 && words[0] == "pack") {
    error = vane::tools::packSpriteFile(words[1], words[2], notes);
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
  return vane::files::runMain("vane-spr", 1, [&] { return runTool(argc, argv); });
}
