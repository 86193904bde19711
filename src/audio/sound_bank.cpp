// SPDX-License-Identifier: GPL-3.0-or-later
// Sound bank files: decoding the clips and holding them in a linked list by number.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "audio/sound.h"
#include "files/data_file.h"
#include "platform/mix/sound_format.h"

namespace vane {

class ClipFile {
 public:
  explicit ClipFile(int fd) : fd_(fd) {}
  ~ClipFile() { ::close(fd_); }
  ClipFile(const ClipFile&) = delete;
  ClipFile& operator=(const ClipFile&) = delete;

  // The bytes at the offset; what cannot be read any more (the file cut short, a failing disk)
  // reads as zeros, silence.
  std::vector<uint8_t> read(uint64_t offset, uint32_t length) const {
    std::vector<uint8_t> bytes(length);
    size_t got = 0;
    files::readDataBytesAt(fd_, offset, bytes.data(), bytes.size(), got);
    return bytes;
  }

 private:
  int fd_;
};

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

// A bank's bytes in memory: every clip is held.
class ByteSource {
 public:
  explicit ByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  size_t size() const { return bytes_.size(); }
  void read(size_t at, size_t count, uint8_t* out) { std::copy_n(&bytes_[at], count, out); }
  std::shared_ptr<const ClipFile> fileFor(uint32_t) const { return nullptr; }
  void skip(size_t) {}

 private:
  std::span<const uint8_t> bytes_;
};

// A bank read from its file as it is decoded, so the file is never held whole beside its clips
// (the music bank is megabytes). Reads come in order from the start, as the decoding asks them.
// Long clips are read through but stay in the file.
class FileSource {
 public:
  FileSource(std::shared_ptr<const ClipFile> file, int fd, size_t size)
      : file_(std::move(file)), fd_(fd), size_(size) {}
  size_t size() const { return size_; }
  void read(size_t, size_t count, uint8_t* out) {
    size_t got = 0;
    if (failure_.failure == files::ReadFailure::None) {
      failure_ = files::readDataBytes(fd_, out, count, got);
    }
    // A file cut short since it was measured reads as zeros; the bank is refused on a read error.
    std::fill(out + got, out + count, uint8_t{0});
  }
  std::shared_ptr<const ClipFile> fileFor(uint32_t length) const {
    return length >= kClipKeptInFileBytes ? file_ : nullptr;
  }
  // Reads past a clip kept in the file, a piece at a time, so that a failing file is refused now.
  void skip(size_t count) {
    uint8_t piece[64 << 10];
    for (size_t done = 0; done < count; done += sizeof piece) {
      read(0, std::min(sizeof piece, count - done), piece);
    }
  }
  const files::DataFileRead& failure() const { return failure_; }

 private:
  std::shared_ptr<const ClipFile> file_;
  int fd_;
  size_t size_;
  files::DataFileRead failure_;
};

template <typename Source>
void loadClips(SoundBank& bank, Source&& source) {
  if (source.size() < kFileHeaderBytes) return;
  uint8_t fileHeader[kFileHeaderBytes];
  source.read(0, kFileHeaderBytes, fileHeader);
  const int count = fileHeader[kClipCountOffset];
  const int before = clipCount(bank);
  size_t at = kFileHeaderBytes;
  for (int i = 0; i < count; ++i) {
    if (source.size() - at < kClipHeaderBytes) break;
    uint8_t header[kClipHeaderBytes];
    source.read(at, kClipHeaderBytes, header);
    SoundClip clip;
    clip.format = readFormat(header);
    const uint32_t announced = read32(&header[kFormatBytes]);
    at += kClipHeaderBytes;
    clip.length = static_cast<uint32_t>(std::min<size_t>(announced, source.size() - at));
    if (clip.length > 0 && (clip.file = source.fileFor(clip.length))) {
      clip.offset = at;
      source.skip(clip.length);
    } else if (clip.length > 0) {
      std::vector<uint8_t> bytes(clip.length);
      source.read(at, clip.length, bytes.data());
      clip.samples = platform::holdSamples(clip.format, std::move(bytes));
      clip.data = clip.samples->bytes.data();
    }
    clip.playable = platform::clipRefusal(clip.format, clip.length).empty();
    at += clip.length;
    insertClip(bank, clip, before + i);
  }
}

// Moves every clip of `from` to the end of `to`.
void appendClips(SoundBank& to, SoundBank& from) {
  SoundNode* last = &to.head;
  while (last->next != nullptr) last = last->next;
  last->next = from.head.next;
  from.head.next = nullptr;
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
    delete node->clip;
    delete node;
    node = next;
  }
  head.next = nullptr;
}

int loadSoundBank(SoundBank& bank, const char* name) {
  int fd = -1;
  size_t size = 0;
  files::DataFileRead read = files::openDataFile(name, kMaxSoundBankBytes, fd, size);
  if (read.missing) {
    host::messageBox("File Not Found", "ERROR", host::Icon::Error);
    return 0;
  }
  if (read.failure == files::ReadFailure::None) {
    // Decoded into a bank of its own, joined to `bank` only when the whole file was read. The file
    // closes when no clip kept in it is left.
    SoundBank loaded;
    FileSource source(std::make_shared<const ClipFile>(fd), fd, size);
    loadClips(loaded, source);
    read = source.failure();
    if (read.failure == files::ReadFailure::None) {
      const int before = clipCount(bank);
      appendClips(bank, loaded);
      reportRefusedClips(bank, before, name);
      return 1;
    }
  }
  host::messageBox(files::refusalText(name, read), "ERROR", host::Icon::Error);
  return 0;
}

int loadSoundBankFromBytes(SoundBank& bank, std::span<const uint8_t> bytes) {
  loadClips(bank, ByteSource(bytes));
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

platform::HeldSamples clipSamples(const SoundClip& clip) {
  if (clip.samples || !clip.file) return clip.samples;
  if (platform::HeldSamples playing = clip.lastRead.lock()) return playing;
  platform::HeldSamples read =
      platform::holdSamples(clip.format, clip.file->read(clip.offset, clip.length));
  clip.lastRead = read;
  return read;
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
    host::preferSoundRate(rate);
  }
}

}  // namespace vane
