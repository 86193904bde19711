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
  host::messageBox(text, "ERROR", host::Icon::Error);
}

// Gives up on a buffer that could not be filled, so that it does not linger on the device.
SoundVoice* abandon(host::BufferId buffer, std::string_view message) {
  showError(message);
  host::releaseBuffer(buffer);
  return nullptr;
}

void replaceMusicVoice(SoundVoice* voice) {
  if (musicVoice != nullptr && musicVoice->buffer != 0) {
    host::releaseBuffer(musicVoice->buffer);
  }
  delete musicVoice;
  musicVoice = voice;
}

void startMusic(int n, bool looped) {
  emit(SoundEvent{SoundEvent::Music, n, looped ? 1 : 0});
  SoundVoice* voice = playClip(clipAt(musicBank, n), host::SoundGroup::Music);
  replaceMusicVoice(voice);
  if (voice == nullptr || !looped) return;
  host::stop(voice->buffer);
  host::play(voice->buffer, true);
}

void unlinkVoice(VoiceNode* node) {
  node->prev->next = node->next;
  if (node->next != nullptr) node->next->prev = node->prev;
}

}  // namespace

SoundVoice* playClip(const SoundClip* clip, host::SoundGroup group) {
  if (clip == nullptr || clip->length == 0 || !clip->playable) return nullptr;
  // Shared by the buffer, never copied.
  const platform::HeldSamples samples = clipSamples(*clip);
  if (samples == nullptr) return nullptr;
  const host::BufferId buffer = host::createBuffer(samples, clip->length);
  if (buffer == 0) {
    showError("Fail to Create Sound Buffer");
    return nullptr;
  }
  if (group != host::SoundGroup::Effects) host::setSoundGroup(buffer, group);
  uint32_t lockedBytes = 0;
  // The buffer holds the clip's samples already: there is nothing to copy into it.
  if (host::lockBuffer(buffer, lockedBytes) == nullptr)
    return abandon(buffer, "Fail to Lock Buffer");
  if (!host::unlockBuffer(buffer)) return abandon(buffer, "Fail to Unlock Buffer");
  host::play(buffer, false);
  return new SoundVoice{buffer};
}

int trackVoice(VoiceNode& list, SoundVoice* voice) {
  auto* node = new VoiceNode{voice, &list, list.next};
  if (list.next != nullptr) list.next->prev = node;
  list.next = node;
  return 1;
}

int reclaimVoices(VoiceNode& list) {
  VoiceNode* node = list.next;
  while (node != nullptr) {
    VoiceNode* next = node->next;
    if (host::status(node->voice->buffer) != host::kStatusPlaying) {
      unlinkVoice(node);
      if (node->voice->buffer != 0) host::releaseBuffer(node->voice->buffer);
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
  host::releaseBuffer(musicVoice->buffer);
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
