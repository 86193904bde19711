// SPDX-License-Identifier: GPL-3.0-or-later
// Digests of the sprite files and the glyph table, and their comparison with the recorded ones.
#include "fingerprint.h"

#include <fstream>
#include <map>
#include <sstream>

#include "shell/data_fingerprint.h"

namespace vane::testing {
namespace {

constexpr const char* kFingerprintFile = VANE_GOLDEN_DIR "/fingerprint";

std::map<std::string, std::string> entries(const std::string& fingerprint) {
  std::map<std::string, std::string> out;
  std::istringstream in(fingerprint);
  for (std::string name, digest; in >> name >> digest;) out[name] = digest;
  return out;
}

}  // namespace

std::string currentFingerprint() {
  return dataFingerprint(VANE_DATA_DIR);
}

std::string recordedFingerprint() {
  std::ifstream in(kFingerprintFile, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

void recordFingerprint(const std::string& fingerprint) {
  std::ofstream(kFingerprintFile, std::ios::binary) << fingerprint;
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
  return "the pictures are drawn from other files than the recording: " + reason;
}

}  // namespace vane::testing
