// placeholder
#include "audio/sound.h"
namespace vane {
SoundBank effectsBank, musicBank;
VoiceNode playingVoices;
SoundVoice* musicVoice = nullptr;
SoundBank::~SoundBank() { clear(); }
void SoundBank::clear() {}
int loadSoundBank(SoundBank&, const char*) { return 1; }
int loadSoundBankFromBytes(SoundBank&, std::span<const uint8_t>) { return 1; }
int insertClip(SoundBank&, const SoundClip&, int) { return 1; }
const SoundClip* clipAt(const SoundBank&, int) { return nullptr; }
SoundVoice* playClip(const SoundClip*) { return nullptr; }
int trackVoice(VoiceNode&, SoundVoice*) { return 1; }
int reclaimVoices(VoiceNode&) { return 1; }
void playEffect(int) {}
void startMusicLooped(int) {}
void startMusicOnce(int) {}
void releaseMusic() {}
void setSoundEventHook(std::function<void(const SoundEvent&)>) {}
void resetAudio() {}
}
