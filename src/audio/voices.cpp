// SPDX-License-Identifier: GPL-3.0-or-later
// Playing clips on fresh device buffers: effect voices, their reclaiming, and the music voice.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>

#include "audio/sound.h"

namespace vane {

SoundBank effectsBank, musicBank;
VoiceNode playingVoices;
SoundVoice* musicVoice = nullptr;

namespace {

std::function<void(const SoundEvent&)> soundEventHook;

void emit(const SoundEvent& event) {
  if (soundEventHook) soundEventHook(event);
}

void showError(std::string_view text) {
  platform::backend().messageBox(text, "ERROR", platform::Icon::Error);
}

// Gives up on a buffer that could not be filled, so that it does not linger on the device.
SoundVoice* abandon(platform::BufferId buffer, std::string_view message) {
  showError(message);
  platform::backend().releaseBuffer(buffer);
  return nullptr;
}

void replaceMusicVoice(SoundVoice* voice) {
  if (musicVoice != nullptr && musicVoice->buffer != 0) {
    platform::backend().releaseBuffer(musicVoice->buffer);
  }
  delete musicVoice;
  musicVoice = voice;
}

void startMusic(int n, bool looped) {
  emit(SoundEvent{SoundEvent::Music, n, looped ? 1 : 0});
  SoundVoice* voice = playClip(clipAt(musicBank, n), platform::SoundGroup::Music);
  replaceMusicVoice(voice);
  if (voice == nullptr || !looped) return;
  auto& device = platform::backend();
  device.stop(voice->buffer);
  device.play(voice->buffer, true);
}

void unlinkVoice(VoiceNode* node) {
  node->prev->next = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
}

}  // namespace

SoundVoice* playClip(const SoundClip* clip, platform::SoundGroup group) {
  if (clip == nullptr || clip->length == 0 || !clip->playable) return nullptr;
  // Held until the buffer has its bytes, which it then shares.
  const platform::HeldSamples samples = clipSamples(*clip);
  if (samples == nullptr) return nullptr;
  auto& device = platform::backend();
  const platform::BufferId buffer = device.createBuffer(clip->format, clip->length);
  if (buffer == 0) {
    showError("Fail to Create Sound Buffer");
    return nullptr;
  }
  if (group != platform::SoundGroup::Effects) device.setSoundGroup(buffer, group);
  uint32_t lockedBytes = 0;
  uint8_t* region = device.lockBuffer(buffer, lockedBytes);
  if (region == nullptr) return abandon(buffer, "Fail to Lock Buffer");
  std::memcpy(region, samples->bytes.data(), std::min(lockedBytes, clip->length));
  if (!device.unlockBuffer(buffer)) return abandon(buffer, "Fail to Unlock Buffer");
  device.play(buffer, false);
  return new SoundVoice{buffer};
}

int trackVoice(VoiceNode& list, SoundVoice* voice) {
  auto* node = new VoiceNode{voice, &list, list.next};
  if (list.next != nullptr) list.next->prev = node;
  list.next = node;
  return 1;
}

int reclaimVoices(VoiceNode& list) {
  auto& device = platform::backend();
  VoiceNode* node = list.next;
  while (node != nullptr) {
    VoiceNode* next = node->next;
    if (device.status(node->voice->buffer) != platform::kStatusPlaying) {
      unlinkVoice(node);
      if (node->voice->buffer != 0) device.releaseBuffer(node->voice->buffer);
      delete node->voice;
      delete node;
    }
    node = next;
  }
  return 1;
}

void playEffect(int n) {
  emit(SoundEvent{SoundEvent::Effect, n, 0});
  if (SoundVoice* voice = playClip(clipAt(effectsBank, n))) trackVoice(playingVoices, voice);
}

void startMusicLooped(int n) {
  startMusic(n, true);
}

void startMusicOnce(int n) {
  startMusic(n, false);
}

void releaseMusic() {
  if (musicVoice == nullptr || musicVoice->buffer == 0) return;
  platform::backend().releaseBuffer(musicVoice->buffer);
  musicVoice->buffer = 0;
  emit(SoundEvent{SoundEvent::Release, 0, 0});
}

void setSoundEventHook(std::function<void(const SoundEvent&)> hook) {
  soundEventHook = std::move(hook);
}

void resetAudio() {
  effectsBank.clear();
  musicBank.clear();
  VoiceNode* node = playingVoices.next;
  while (node != nullptr) {
    VoiceNode* next = node->next;
    delete node->voice;
    delete node;
    node = next;
  }
  playingVoices.next = nullptr;
  delete musicVoice;
  musicVoice = nullptr;
}

}  // namespace vane
