// SPDX-License-Identifier: GPL-3.0-or-later
// vane-forge: draws the sprite files, composes the sound banks and writes them into a folder.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "art.h"
#include "files/last_resort.h"
#include "icons.h"
#include "preview.h"
#include "shell/option_table.h"

namespace {

using vane::OptionSpec;

constexpr const char* kUsage =
    "usage: vane-forge [--art ART] DIR   the nine data files into DIR; the frames and clips that\n"
    "                                    ART holds as NAME.png or NAME.wav replace the forged "
    "ones\n"
    "       vane-forge --preview DIR     contact sheets and mock screens for review\n"
    "       vane-forge --catalogue DIR   DIR/art.md and a labelled contact sheet of every file\n"
    "       vane-forge --icons DIR       the program's icon as DIR/NxN/apps/vane.png, 16 to 256\n"
    "       vane-forge --ico FILE        the program's icon as a Windows icon file\n";

enum ForgeOption { kArt, kPreview, kCatalogue, kIcons, kIco, kHelp };

constexpr std::array<OptionSpec, 6> kOptions{{
    {kArt, "art", "ART", "pictures and clips in ART replace the forged ones"},
    {kPreview, "preview", "DIR", "write contact sheets and mock screens into DIR"},
    {kCatalogue, "catalogue", "DIR", "write DIR/art.md and labelled contact sheets"},
    {kIcons, "icons", "DIR", "write the icon as DIR/NxN/apps/vane.png"},
    {kIco, "ico", "FILE", "write the icon as a Windows icon file"},
    {kHelp, "help", "", "show this text and leave"},
}};

int badCommandLine() {
  std::fputs(kUsage, stderr);
  return 2;
}

// Runs the one thing the command line asks for: a folder of pictures for people to look at, or
// the data files, with the art of at most one --art.
int forge(const vane::ParsedArguments& parsed) {
  if (parsed.options.size() == 1 && parsed.operands.empty()) {
    const std::string& dir = parsed.options.front().value;
    switch (parsed.options.front().spec->id) {
      case kPreview:
        return vane::forge::writePreviews(dir) ? 0 : 1;
      case kCatalogue:
        return vane::forge::writeCatalogue(dir) ? 0 : 1;
      case kIcons:
        return vane::forge::writeIcons(dir) ? 0 : 1;
      case kIco:
        return vane::forge::writeIconFile(dir) ? 0 : 1;
      default:
        break;
    }
  }
  const bool artAlone = parsed.options.empty() ||
                        (parsed.options.size() == 1 && parsed.options.front().spec->id == kArt);
  if (parsed.operands.size() != 1 || !artAlone) return badCommandLine();
  const std::string art = parsed.options.empty() ? "" : parsed.options.front().value;
  return vane::forge::writeDataFiles(parsed.operands.front(), art) ? 0 : 1;
}

int runTool(int argc, char** argv) {
  const vane::ParsedArguments parsed =
      vane::parseArguments(kOptions, vane::programArguments(argc, argv));
  if (const auto status = vane::helpOrFault("vane-forge", kUsage, kOptions, parsed)) return *status;
  return forge(parsed);
}

}  // namespace

int main(int argc, char** argv) {
  return vane::files::runMain("vane-forge", 1, [&] { return runTool(argc, argv); });
}
