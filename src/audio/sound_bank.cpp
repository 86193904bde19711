// SPDX-License-Identifier: GPL-3.0-or-later
// Sound bank files: decoding the clips and holding them in a linked list by number.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "platform/data_file.h"
#include "platform/sound_format.h"

namespace vane {

namespace {

constexpr size_t kFileHeaderBytes = 5;
constexpr size_t kClipCountOffset = 4;
constexpr size_t kFormatBytes = 18;
constexpr size_t kClipHeaderBytes = kFormatBytes + 4;

uint16_t read16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t read32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

platform::WaveFormat readFormat(const uint8_t* p) {
  platform::WaveFormat f;
  f.formatTag = read16(p);
  f.channels = read16(p + 2);
  f.samplesPerSec = read32(p + 4);
  f.avgBytesPerSec = read32(p + 8);
  f.blockAlign = read16(p + 12);
  f.bitsPerSample = read16(p + 14);
  f.extraSize = read16(p + 16);
  return f;
}

// Told once, at load: a refused clip then plays nothing, quietly, whenever the game asks for it.
void reportRefusedClips(const SoundBank& bank, int before, const char* name) {
  int n = 0;
  for (const SoundNode* node = bank.head.next; node != nullptr; node = node->next) {
    if (++n <= before || node->clip->playable) continue;
    const std::string reason = platform::clipRefusal(node->clip->format, node->clip->length);
    std::fprintf(stderr, "vane: %s, clip %d: %s; it will not be played\n", name, n - before,
                 reason.c_str());
  }
}

}  // namespace

SoundBank::~SoundBank() {
  clear();
}

void SoundBank::clear() {
  SoundNode* node = head.next;
  while (node != nullptr) {
    SoundNode* next = node->next;
    delete[] node->clip->data;
    delete node->clip;
    delete node;
    node = next;
  }
  head.next = nullptr;
}

int loadSoundBank(SoundBank& bank, const char* name) {
  std::vector<uint8_t> bytes;
  const platform::DataFileRead read = platform::readDataFile(name, kMaxSoundBankBytes, bytes);
  if (read.failure == platform::ReadFailure::CannotOpen) {
    platform::backend().messageBox("File Not Found", "ERROR", platform::Icon::Error);
    return 0;
  }
  if (read.failure != platform::ReadFailure::None) {
    platform::backend().messageBox(platform::refusalText(name, read), "ERROR",
                                   platform::Icon::Error);
    return 0;
  }
  const int before = clipCount(bank);
  loadSoundBankFromBytes(bank, bytes);
  reportRefusedClips(bank, before, name);
  return 1;
}

int loadSoundBankFromBytes(SoundBank& bank, std::span<const uint8_t> bytes) {
  if (bytes.size() < kFileHeaderBytes) return 1;
  const int count = bytes[kClipCountOffset];
  const int before = clipCount(bank);
  size_t at = kFileHeaderBytes;
  for (int i = 0; i < count; ++i) {
    if (bytes.size() - at < kClipHeaderBytes) break;
    SoundClip clip;
    clip.format = readFormat(&bytes[at]);
    const uint32_t announced = read32(&bytes[at + kFormatBytes]);
    at += kClipHeaderBytes;
    clip.length = static_cast<uint32_t>(std::min<size_t>(announced, bytes.size() - at));
    if (clip.length > 0) {
      auto* data = new uint8_t[clip.length];
      std::copy_n(&bytes[at], clip.length, data);
      clip.data = data;
    }
    clip.playable = platform::clipRefusal(clip.format, clip.length).empty();
    at += clip.length;
    insertClip(bank, clip, before + i);
  }
  return 1;
}

int insertClip(SoundBank& bank, const SoundClip& clip, int n) {
  SoundNode* after = &bank.head;
  for (int i = 0; i < n && after->next != nullptr; ++i) after = after->next;
  auto* node = new SoundNode;
  node->clip = new SoundClip(clip);
  node->next = after->next;
  after->next = node;
  return 1;
}

int clipCount(const SoundBank& bank) {
  int count = 0;
  for (const SoundNode* node = bank.head.next; node != nullptr; node = node->next) ++count;
  return count;
}

const SoundClip* clipAt(const SoundBank& bank, int n) {
  if (n <= 0) return nullptr;
  const SoundNode* node = bank.head.next;
  for (int i = 1; i < n && node != nullptr; ++i) node = node->next;
  return node != nullptr ? node->clip : nullptr;
}

uint32_t sharedSoundRate(const SoundBank& a, const SoundBank& b) {
  uint32_t rate = 0;
  for (const SoundBank* bank : {&a, &b}) {
    for (const SoundNode* node = bank->head.next; node != nullptr; node = node->next) {
      if (!node->clip->playable) continue;
      if (rate != 0 && node->clip->format.samplesPerSec != rate) return 0;
      rate = node->clip->format.samplesPerSec;
    }
  }
  return rate;
}

void tuneSoundDevice() {
  if (const uint32_t rate = sharedSoundRate(effectsBank, musicBank)) {
    platform::backend().preferSoundRate(rate);
  }
}

}  // namespace vane
