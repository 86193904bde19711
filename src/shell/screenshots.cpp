// SPDX-License-Identifier: GPL-3.0-or-later
// The screenshot's folder and name, and the PNG written from the back buffer.
#include "shell/screenshots.h"

#include <cstdio>
#include <system_error>

#include "files/file_writer.h"
#include "host/host.h"
#include "platform/png/png_encode.h"
#include "shell/system_paths.h"

namespace vane {

namespace fs = std::filesystem;

fs::path screenshotFolder(const std::string& chosen) {
  if (!chosen.empty()) return chosen;
  const fs::path pictures = userPicturesFolder();
  return pictures.empty() ? fs::path("vane") : pictures / "vane";
}

std::string screenshotName(std::time_t when, long long frame) {
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &when);
#else
  localtime_r(&when, &local);
#endif
  char name[64];
  std::snprintf(name, sizeof name, "vane-%04d%02d%02d-%02d%02d%02d-%06lld.png",
                local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, frame);
  return name;
}

fs::path saveScreenshot(const fs::path& folder, long long frame, std::string& error) {
  const uint16_t* pixels = host::backBufferPixels();
  if (pixels == nullptr) {
    error = "no picture yet";
    return {};
  }
  std::string bytes;
  if (!platform::encodePicturePng(pixels, host::kWidth, host::kHeight, host::backBufferIs565(),
                                  bytes)) {
    error = "cannot encode the picture";
    return {};
  }
  std::error_code failed;
  fs::create_directories(folder, failed);
  if (failed) {
    error = folder.string() + ": " + failed.message();
    return {};
  }
  const fs::path path = folder / screenshotName(std::time(nullptr), frame);
  if (!files::writeWholeFile(path.string(), bytes, error)) return {};
  return path;
}

}  // namespace vane
