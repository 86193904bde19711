// SPDX-License-Identifier: GPL-3.0-or-later
// Effect voices and the music voice on the headless device: plays, failures, reclaiming, events.
#include "audio_fixture.h"

namespace vane::testing {
namespace {

using Op = host::SoundOp;
using Voices = AudioTest;

std::vector<SoundVoice*> listed(const VoiceNode& list) {
  std::vector<SoundVoice*> voices;
  const VoiceNode* before = &list;
  for (const VoiceNode* node = list.next; node != nullptr; node = node->next) {
    EXPECT_EQ(node->prev, before);
    voices.push_back(node->voice);
    before = node;
  }
  return voices;
}

TEST_F(Voices, PlayClipFillsItsOwnBufferAndPlaysItOnce) {
  loadBank(effectsBank, {clipOfMillis(5, 0x5A)});
  const SoundClip* clip = clipAt(effectsBank, 1);
  SoundVoice* voice = playClip(clip);
  ASSERT_NE(voice, nullptr);
  const auto buffer = host::bufferState(voice->buffer);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer->samples, clip->samples);  // shared, not copied
  EXPECT_EQ(buffer->bytes, clip->length);
  EXPECT_EQ(buffer->samples->format.samplesPerSec, 22050u);
  EXPECT_TRUE(buffer->playing);
  EXPECT_FALSE(buffer->looping);
  EXPECT_EQ(opKinds(), (std::vector<Op::Kind>{Op::Create, Op::Play}));
  host::releaseBuffer(voice->buffer);
  delete voice;
}

TEST_F(Voices, NothingToPlayGivesNoVoiceAndNoMessage) {
  SoundClip empty;
  EXPECT_EQ(playClip(nullptr), nullptr);
  EXPECT_EQ(playClip(&empty), nullptr);
  playEffect(3);
  EXPECT_EQ(playingVoices.next, nullptr);
  EXPECT_TRUE(backend.dialogs.empty());
  EXPECT_TRUE(host::soundOps().empty());
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, SoundEvent::Effect);
  EXPECT_EQ(events[0].clip, 3);
}

TEST_F(Voices, EachFailingStepShowsItsMessageAndGivesNoVoice) {
  loadBank(effectsBank, {clipOfMillis(5)});
  struct Case {
    bool host::Faults::*knob;
    const char* message;
  };
  for (const Case c : {Case{&host::Faults::createBuffer, "Fail to Create Sound Buffer"},
                       Case{&host::Faults::lockBuffer, "Fail to Lock Buffer"},
                       Case{&host::Faults::unlockBuffer, "Fail to Unlock Buffer"}}) {
    backend.dialogs.clear();
    host::faults().*c.knob = true;
    playEffect(1);
    host::faults().*c.knob = false;
    EXPECT_EQ(playingVoices.next, nullptr) << c.message;
    ASSERT_EQ(backend.dialogs.size(), 1u) << c.message;
    EXPECT_EQ(backend.dialogs[0].text, c.message);
    EXPECT_EQ(backend.dialogs[0].title, "ERROR");
    EXPECT_EQ(backend.dialogs[0].icon, host::Icon::Error);
  }
  // The two buffers that were made but could not be filled were given back, never played.
  EXPECT_EQ(opKinds(), (std::vector<Op::Kind>{Op::Create, Op::Release, Op::Create, Op::Release}));
}

TEST_F(Voices, TwoPlaysOfOneClipInAFrameGiveTwoTrackedVoices) {
  loadBank(effectsBank, {clipOfMillis(50), clipOfMillis(50)});
  playEffect(2);
  playEffect(2);
  const std::vector<SoundVoice*> voices = listed(playingVoices);
  ASSERT_EQ(voices.size(), 2u);
  EXPECT_NE(voices[0]->buffer, voices[1]->buffer);
  EXPECT_GT(voices[0]->buffer, voices[1]->buffer) << "the newest voice is first";
  EXPECT_EQ(host::status(voices[0]->buffer), host::kStatusPlaying);
  EXPECT_EQ(host::status(voices[1]->buffer), host::kStatusPlaying);
  EXPECT_EQ(events.size(), 2u);
}

TEST_F(Voices, ReclaimReleasesFinishedVoicesOnly) {
  loadBank(effectsBank, {clipOfMillis(100), clipOfMillis(300)});
  playEffect(1);
  playEffect(2);
  playEffect(1);
  const std::vector<SoundVoice*> started = listed(playingVoices);
  const host::BufferId longBuffer = started[1]->buffer;

  backend.advanceNanos(millis(99));
  reclaimVoices(playingVoices);
  EXPECT_EQ(listed(playingVoices).size(), 3u);

  backend.advanceNanos(millis(2));
  reclaimVoices(playingVoices);
  const std::vector<SoundVoice*> left = listed(playingVoices);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0]->buffer, longBuffer);
  EXPECT_EQ(host::bufferState(1).has_value(), false);
  EXPECT_EQ(host::bufferState(3).has_value(), false);
  EXPECT_EQ(host::bufferState(longBuffer).has_value(), true);

  backend.advanceNanos(millis(300));
  reclaimVoices(playingVoices);
  EXPECT_EQ(playingVoices.next, nullptr);
  EXPECT_FALSE(host::bufferState(longBuffer));
}

TEST_F(Voices, ReclaimTakesAnyStatusButPlainPlaying) {
  loadBank(effectsBank, {clipOfMillis(100)});
  playEffect(1);
  playEffect(1);
  // A buffer that reports looping as well as playing is not plainly playing.
  host::play(playingVoices.next->voice->buffer, true);
  reclaimVoices(playingVoices);
  const std::vector<SoundVoice*> left = listed(playingVoices);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0]->buffer, 1u);
}

TEST_F(Voices, StageMusicLoopsAndTheGameOverTunePlaysOnce) {
  loadBank(musicBank, {clipOfMillis(100), clipOfMillis(100), clipOfMillis(100), clipOfMillis(200)});
  startMusicLooped(1);
  ASSERT_NE(musicVoice, nullptr);
  const host::BufferId stageBuffer = musicVoice->buffer;
  EXPECT_EQ(opKinds(), (std::vector<Op::Kind>{Op::Create, Op::Play, Op::Stop, Op::Loop}));
  backend.advanceNanos(millis(1000));
  EXPECT_EQ(host::status(stageBuffer), host::kStatusPlaying | host::kStatusLooping);

  releaseMusic();
  startMusicOnce(4);
  EXPECT_FALSE(host::bufferState(stageBuffer));
  const host::BufferId tuneBuffer = musicVoice->buffer;
  EXPECT_EQ(host::status(tuneBuffer), host::kStatusPlaying);
  backend.advanceNanos(millis(200));
  EXPECT_EQ(host::status(tuneBuffer), 0u);

  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[0].kind, SoundEvent::Music);
  EXPECT_EQ(events[0].clip, 1);
  EXPECT_EQ(events[0].looped, 1);
  EXPECT_EQ(events[1].kind, SoundEvent::Release);
  EXPECT_EQ(events[2].kind, SoundEvent::Music);
  EXPECT_EQ(events[2].clip, 4);
  EXPECT_EQ(events[2].looped, 0);
}

TEST_F(Voices, ReleasingTheMusicTwiceReleasesOnce) {
  releaseMusic();
  EXPECT_TRUE(events.empty());
  loadBank(musicBank, {clipOfMillis(100)});
  startMusicLooped(1);
  releaseMusic();
  releaseMusic();
  ASSERT_NE(musicVoice, nullptr);
  EXPECT_EQ(musicVoice->buffer, 0u);
  size_t releases = 0;
  for (const auto& op : host::soundOps()) releases += op.kind == Op::Release;
  EXPECT_EQ(releases, 1u);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].kind, SoundEvent::Release);
}

TEST_F(Voices, MusicOfAMissingClipLeavesNoVoice) {
  loadBank(musicBank, {clipOfMillis(100)});
  startMusicLooped(1);
  releaseMusic();
  startMusicLooped(2);
  EXPECT_EQ(musicVoice, nullptr);
  releaseMusic();
  EXPECT_TRUE(backend.dialogs.empty());
  ASSERT_EQ(events.size(), 3u);
  EXPECT_EQ(events[2].kind, SoundEvent::Music);
  EXPECT_EQ(events[2].clip, 2);
}

TEST_F(Voices, ReplacingAMusicVoiceThatStillSoundsReleasesItsBuffer) {
  loadBank(musicBank, {clipOfMillis(100), clipOfMillis(100)});
  startMusicLooped(1);
  const host::BufferId first = musicVoice->buffer;
  startMusicLooped(2);
  EXPECT_FALSE(host::bufferState(first));
  EXPECT_EQ(host::status(musicVoice->buffer), host::kStatusPlaying | host::kStatusLooping);
}

TEST_F(Voices, ResetAudioEmptiesBanksVoicesAndMusic) {
  loadBank(effectsBank, {clipOfMillis(100)});
  loadBank(musicBank, {clipOfMillis(100)});
  playEffect(1);
  startMusicOnce(1);
  resetAudio();
  EXPECT_EQ(clipCount(effectsBank), 0);
  EXPECT_EQ(clipCount(musicBank), 0);
  EXPECT_EQ(playingVoices.next, nullptr);
  EXPECT_EQ(musicVoice, nullptr);
}

}  // namespace
}  // namespace vane::testing
