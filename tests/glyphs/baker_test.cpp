// SPDX-License-Identifier: GPL-3.0-or-later
// vane-glyphs run as the build runs it, on the system's fonts and on folders of chosen fonts.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vane::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSystemFonts = "/usr/share/fonts/truetype/dejavu";

struct Case {
  const char* name;
  bool systemFonts;                // else fontconfig knows only the fonts below
  std::vector<const char*> fonts;  // copied from kSystemFonts
  int status;
  const char* says;  // in the table's heading, or on stderr when the bake fails
};

const Case kCases[] = {
    {"system", true, {}, 0, "The glyph table of DejaVu Sans Book at 13 px"},
    {"other_sans", false, {"DejaVuSansMono.ttf"}, 0, "The glyph table of DejaVu Sans Mono Book"},
    {"preferred", false, {"DejaVuSansMono.ttf", "DejaVuSans.ttf"}, 0, "of DejaVu Sans Book"},
    {"none", false, {}, 1, "vane-glyphs: no font found"},
};

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class Baker : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vane-glyphs-" + std::string(GetParam().name) + "-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "fonts");
    for (const char* font : GetParam().fonts) {
      fs::copy_file(fs::path(kSystemFonts) / font, dir_ / "fonts" / font);
    }
    std::ofstream(dir_ / "fonts.conf")
        << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << (dir_ / "fonts").string()
        << "</dir><cachedir>" << (dir_ / "cache").string() << "</cachedir></fontconfig>\n";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // The exit status of one bake into `table`.
  int bake(const fs::path& table) const {
    const std::string fonts =
        GetParam().systemFonts ? "" : "FONTCONFIG_FILE=" + (dir_ / "fonts.conf").string() + " ";
    const std::string command =
        fonts + VANE_GLYPHS + " " + table.string() + " 2>" + (dir_ / "stderr").string();
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  fs::path dir_;
};

TEST_P(Baker, TakesDejaVuSansElseAnySansAndBakesTheSameTableEveryRun) {
  const Case& c = GetParam();
  ASSERT_EQ(bake(dir_ / "first.cpp"), c.status);
  if (c.status != 0) {
    EXPECT_NE(slurp(dir_ / "stderr").find(c.says), std::string::npos) << slurp(dir_ / "stderr");
    EXPECT_FALSE(fs::exists(dir_ / "first.cpp"));
    return;
  }
  const std::string table = slurp(dir_ / "first.cpp");
  EXPECT_NE(table.substr(0, table.find("#include")).find(c.says), std::string::npos) << table;
  ASSERT_EQ(bake(dir_ / "second.cpp"), 0);
  EXPECT_EQ(slurp(dir_ / "second.cpp"), table);
}

INSTANTIATE_TEST_SUITE_P(Fonts, Baker, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vane::testing
