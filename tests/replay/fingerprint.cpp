// SPDX-License-Identifier: GPL-3.0-or-later
// Digests of the sprite files and the font, and their comparison with the recorded ones.
#include "fingerprint.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "gfx/frames.h"
#include "platform/text.h"

namespace vane::testing {
namespace {

constexpr const char* kFingerprintFile = VANE_GOLDEN_DIR "/fingerprint";

std::string fileDigest(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "missing";
  uint64_t h = 0xcbf29ce484222325ull;
  for (auto it = std::istreambuf_iterator<char>(in); it != std::istreambuf_iterator<char>(); ++it) {
    h ^= static_cast<unsigned char>(*it);
    h *= 0x100000001b3ull;
  }
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(h));
  return hex;
}

std::map<std::string, std::string> entries(const std::string& fingerprint) {
  std::map<std::string, std::string> out;
  std::istringstream in(fingerprint);
  for (std::string name, digest; in >> name >> digest;) out[name] = digest;
  return out;
}

}  // namespace

std::string currentFingerprint() {
  std::string out;
  for (const frames::SheetInfo& sheet : frames::kSheets) {
    const std::string name = sheet.fileName;
    out += name + " " + fileDigest(std::string(VANE_DATA_DIR) + "/" + name) + "\n";
  }
  out += "font " + fileDigest(platform::findFontFile()) + "\n";
  return out;
}

std::string recordedFingerprint() {
  std::ifstream in(kFingerprintFile);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void recordFingerprint(const std::string& fingerprint) {
  std::ofstream(kFingerprintFile) << fingerprint;
}

std::string pictureSourcesDiffer() {
  const auto recorded = entries(recordedFingerprint());
  if (recorded.empty()) return "no recorded fingerprint in " + std::string(kFingerprintFile);
  std::string reason;
  for (const auto& [name, digest] : entries(currentFingerprint())) {
    const auto it = recorded.find(name);
    const std::string was = it == recorded.end() ? "nothing" : it->second;
    if (was == digest) continue;
    reason += (reason.empty() ? "" : ", ") + name + " is " + digest + " (recorded " + was + ")";
  }
  if (reason.empty()) return {};
  return "the pictures are drawn from other files than the recording: " + reason + " (font " +
         platform::findFontFile() + ")";
}

}  // namespace vane::testing
