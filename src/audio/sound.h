// SPDX-License-Identifier: GPL-3.0-or-later
// Sound banks of PCM clips, effect voices, and the music voice.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "host/host.h"

namespace vane {

// A bank file kept open for its long clips, which are read from it each time they start.
class ClipFile;

struct SoundClip {
  platform::WaveFormat format;
  uint32_t length = 0;            // bytes of sound data
  const uint8_t* data = nullptr;  // the bytes of `samples`; nullptr for a clip kept in its file
  platform::HeldSamples samples;  // shared with every sound buffer that plays the clip
  // A long clip of a bank file stays there, at this offset, and is held only while it plays.
  std::shared_ptr<const ClipFile> file;
  uint64_t offset = 0;
  mutable std::weak_ptr<const platform::ClipSamples> lastRead;  // while it still plays
  bool playable = true;  // false when the sound device refuses its format or size
};

// Clips of a bank file at least this long (seconds of music) are kept in the file until played.
constexpr uint32_t kClipKeptInFileBytes = 128u << 10;

struct SoundNode {
  SoundClip* clip = nullptr;
  SoundNode* next = nullptr;
};

class SoundBank {
 public:
  SoundBank() = default;
  SoundBank(const SoundBank&) = delete;
  SoundBank& operator=(const SoundBank&) = delete;
  ~SoundBank();
  SoundNode head;
  void clear();
};

// The largest sound bank the loader reads (the biggest one the game ships is about 6.4 MB).
constexpr size_t kMaxSoundBankBytes = size_t{64} << 20;

// Appends the clips of the named file; 0 after a message box when it cannot be read: "File Not
// Found" when it cannot be opened, "<name>: <reason>" when it is not a regular file, is larger
// than kMaxSoundBankBytes or cannot be read. Each clip the sound device cannot play gets one line
// on stderr naming the file, the clip and the reason; it stays in the bank, silent, so the others
// keep their numbers. Clips of kClipKeptInFileBytes or more are read through at load all the
// same, then kept in the file, which stays open while the bank holds them.
int loadSoundBank(SoundBank& bank, const char* name);
// Appends the clips held in a bank file's bytes. Data cut short keeps the bytes that exist; a
// clip whose format or length is cut short is not added; a clip the device cannot play is marked
// so. Always 1.
int loadSoundBankFromBytes(SoundBank& bank, std::span<const uint8_t> bytes);
// Links a copy of the clip in after node n (0: first; beyond the end: last). clip.data, unless
// nullptr, points into clip.samples.
int insertClip(SoundBank& bank, const SoundClip& clip, int n);
int clipCount(const SoundBank& bank);
// Clip n (from 1); nullptr for 0 or beyond the bank.
const SoundClip* clipAt(const SoundBank& bank, int n);
// The clip's samples: those it holds or, for a clip kept in its file, those of a buffer still
// playing it, else read from the file again (what cannot be read any more sounds as silence).
// nullptr for a clip without data.
platform::HeldSamples clipSamples(const SoundClip& clip);
// The rate every playable clip of both banks shares; 0 when they have none in common.
uint32_t sharedSoundRate(const SoundBank& a, const SoundBank& b);
// Asks the sound device to run at the rate the loaded banks share, so nothing is resampled.
void tuneSoundDevice();

// A handle owning one device buffer; buffer 0 once released.
struct SoundVoice {
  host::BufferId buffer = 0;
};

struct VoiceNode {
  SoundVoice* voice = nullptr;
  VoiceNode* prev = nullptr;
  VoiceNode* next = nullptr;
};

// Returns a new voice already playing once, or nullptr (after the failure's message box). No
// clip, an empty one or one the device refused at load is nothing to play: nullptr without a
// message.
SoundVoice* playClip(const SoundClip* clip, host::SoundGroup group = host::SoundGroup::Effects);
int trackVoice(VoiceNode& list, SoundVoice* voice);
int reclaimVoices(VoiceNode& list);

extern SoundBank effectsBank, musicBank;
extern VoiceNode playingVoices;
extern SoundVoice* musicVoice;

// Effect n of effectsBank, tracked in playingVoices.
void playEffect(int n);
// musicVoice = clip n of musicBank, restarted looping (or left playing once). The old handle is
// freed; it holds no buffer in the game's steps, and one it still held would be released.
void startMusicLooped(int n);
void startMusicOnce(int n);
// Releases musicVoice's buffer, if it holds one; the handle stays.
void releaseMusic();

// What the game asked of the sound side, for traces and tests.
struct SoundEvent {
  enum Kind { Effect, Music, Release } kind;
  int clip = 0;
  int looped = 0;
};
void setSoundEventHook(std::function<void(const SoundEvent&)> hook);

// Empties both banks, the voice list and the music voice; the buffers go with the sound device.
// The event hook stays.
void resetAudio();

}  // namespace vane
