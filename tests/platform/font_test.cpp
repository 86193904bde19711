// SPDX-License-Identifier: GPL-3.0-or-later
// The font file fontconfig finds: the preferred sans font, another font where that one is
// missing, and nothing on a system without fonts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/text.h"

namespace vane::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSystemFonts = "/usr/share/fonts/truetype/dejavu";

// A fontconfig set-up that knows only the fonts in one folder.
class FontFolder {
 public:
  FontFolder()
      : root_(fs::temp_directory_path() /
              ("vane-font-test-" +
               std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(::getpid()))) {
    fs::remove_all(root_);
    fs::create_directories(root_ / "fonts");
    std::ofstream(root_ / "fonts.conf")
        << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << (root_ / "fonts").string()
        << "</dir><cachedir>" << (root_ / "cache").string() << "</cachedir></fontconfig>\n";
    const char* previous = std::getenv("FONTCONFIG_FILE");
    if (previous != nullptr) previous_ = previous;
    setenv("FONTCONFIG_FILE", (root_ / "fonts.conf").c_str(), 1);
  }
  ~FontFolder() {
    if (previous_.empty()) {
      unsetenv("FONTCONFIG_FILE");
    } else {
      setenv("FONTCONFIG_FILE", previous_.c_str(), 1);
    }
    fs::remove_all(root_);
  }
  FontFolder(const FontFolder&) = delete;
  FontFolder& operator=(const FontFolder&) = delete;

  fs::path add(const std::string& systemFont) {
    const fs::path copy = root_ / "fonts" / systemFont;
    fs::copy_file(fs::path(kSystemFonts) / systemFont, copy);
    return copy;
  }

 private:
  fs::path root_;
  std::string previous_;
};

TEST(FindFontFile, PrefersDejaVuSansAndTakesAnotherFontWithoutIt) {
  EXPECT_EQ(fs::path(findFontFile()).filename(), "DejaVuSans.ttf");
  {
    FontFolder folder;
    const fs::path only = folder.add("DejaVuSansMono.ttf");
    EXPECT_EQ(findFontFile(), only.string());
  }
  {
    FontFolder folder;
    folder.add("DejaVuSansMono.ttf");
    const fs::path preferred = folder.add("DejaVuSans.ttf");
    EXPECT_EQ(findFontFile(), preferred.string());
  }
}

TEST(FindFontFile, IsEmptyWhereThereAreNoFonts) {
  FontFolder folder;
  EXPECT_EQ(findFontFile(), "");
}

}  // namespace
}  // namespace vane::platform
