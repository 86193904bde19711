// Sound banks of PCM clips, effect voices, and the music voice.
#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "platform/platform.h"

namespace vane {

struct SoundClip {
  platform::WaveFormat format;
  uint32_t length = 0;            // bytes of sound data held
  const uint8_t* data = nullptr;  // owned by the bank's node
};

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

int loadSoundBank(SoundBank& bank, const char* name);
int loadSoundBankFromBytes(SoundBank& bank, std::span<const uint8_t> bytes);
int insertClip(SoundBank& bank, const SoundClip& clip, int n);
// Clip n (from 1); nullptr for 0 or beyond the bank.
const SoundClip* clipAt(const SoundBank& bank, int n);

// A handle owning one platform buffer; buffer 0 once released.
struct SoundVoice {
  platform::BufferId buffer = 0;
};

struct VoiceNode {
  SoundVoice* voice = nullptr;
  VoiceNode* prev = nullptr;
  VoiceNode* next = nullptr;
};

// Returns a new voice already playing once, or nullptr (after the failure's message box).
SoundVoice* playClip(const SoundClip* clip);
int trackVoice(VoiceNode& list, SoundVoice* voice);
int reclaimVoices(VoiceNode& list);

extern SoundBank effectsBank, musicBank;
extern VoiceNode playingVoices;
extern SoundVoice* musicVoice;

// Effect n of effectsBank, tracked in playingVoices.
void playEffect(int n);
// musicVoice = clip n of musicBank, restarted looping (or left playing once).
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

void resetAudio();

}  // namespace vane
