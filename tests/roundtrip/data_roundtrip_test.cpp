// SPDX-License-Identifier: GPL-3.0-or-later
// Every data file the build forges comes back byte for byte through its unpack and pack tool.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/common/formats.h"

namespace {

namespace fs = std::filesystem;

struct DataFile {
  const char* name;
  const char* tool;
};

constexpr DataFile kDataFiles[] = {
    {"player.spr", VANE_SPR},  {"enemy.spr", VANE_SPR}, {"eb.spr", VANE_SPR},
    {"back001.spr", VANE_SPR}, {"stage.spr", VANE_SPR}, {"x.spr", VANE_SPR},
    {"etc.spr", VANE_SPR},     {"1.snd", VANE_SND},     {"music.snd", VANE_SND},
};

// Each path quoted for the shell std::system hands the line to: sh's single quotes, or cmd.exe's
// double quotes, with one more pair around the whole line, which cmd takes off.
int runTool(const std::string& tool, const std::string& verb, const std::string& from,
            const std::string& to) {
#ifdef _WIN32
  const std::string q = "\"", open = "\"", close = "\"";
#else
  const std::string q = "'", open, close;
#endif
  const std::string command =
      open + q + tool + q + " " + verb + " " + q + from + q + " " + q + to + q + close;
  return std::system(command.c_str());
}

class DataRoundTrip : public ::testing::TestWithParam<DataFile> {};

TEST_P(DataRoundTrip, UnpackThenPackGivesTheSameBytes) {
  const DataFile& file = GetParam();
  const fs::path original = fs::path(VANE_DATA_DIR) / file.name;
  const fs::path scratch = fs::temp_directory_path() / ("vane-roundtrip-" + std::string(file.name) +
                                                        "-" + std::to_string(::getpid()));
  fs::remove_all(scratch);
  const fs::path unpacked = scratch / "unpacked";
  const fs::path packed = scratch / file.name;
  ASSERT_EQ(runTool(file.tool, "unpack", original.string(), unpacked.string()), 0);
  ASSERT_EQ(runTool(file.tool, "pack", unpacked.string(), packed.string()), 0);
  const auto before = vane::tools::readFile(original.string());
  const auto after = vane::tools::readFile(packed.string());
  EXPECT_GT(before.size(), 5u);
  EXPECT_TRUE(before == after) << file.name << " changed in the round trip";
  fs::remove_all(scratch);
}

INSTANTIATE_TEST_SUITE_P(Forged, DataRoundTrip, ::testing::ValuesIn(kDataFiles),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& c : n) c = c == '.' ? '_' : c;
                           return n;
                         });

}  // namespace
