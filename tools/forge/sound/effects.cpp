// SPDX-License-Identifier: GPL-3.0-or-later
// The seven effects of "1.snd", each a table of layered voices.
#include <algorithm>
#include <cmath>
#include <span>

#include "tools/forge/sound/sound_forge.h"
#include "tools/forge/sound/synth.h"

namespace vane::forge {

namespace {

// One voice of an effect: when it starts, its pitch (for noise, how often it changes value)
// and how long its gate is held, in seconds.
struct Layer {
  float start;
  float hz;
  float gate;
  Voice voice;
};

// `peak` (of full scale) sets the effects' loudness against one another and leaves the mix its
// headroom: the game starts an effect on a voice of its own each time, so effects that come in
// bunches (a special attack's kills blowing up in one frame, energy balls collected together, the
// volleys of a burst) add up sample for sample, and the music plays under them all. `drive`
// packs the loud body of the short, noisy effects closer to their peak, so they still cut through
// at the lower peak their bunching calls for.
struct Effect {
  std::span<const Layer> layers;
  float peak;
  float drive = kGentleDrive;
};

// 1: the ship explodes. A coarse roar whose grain slows as its filter closes, a rumble falling
// under it, and a second burst as the wreck breaks up.
constexpr Voice kBlast{.wave = Wave::Noise,
                       .env = {0.002f, 0.9f, 0.0f, 0.25f},
                       .glideFrom = 8.0f,
                       .glideTime = 0.25f,
                       .filter = Filter::LowPass,
                       .cutoff = 150.0f,
                       .cutoffEnv = 7000.0f,
                       .resonance = 0.8f};
constexpr Voice kRumble{.wave = Wave::Sine,
                        .env = {0.004f, 0.8f, 0.0f, 0.2f},
                        .gain = 0.9f,
                        .glideFrom = 3.0f,
                        .glideTime = 0.15f};
constexpr Voice kBreakUp{.wave = Wave::Noise,
                         .env = {0.002f, 0.5f, 0.0f, 0.2f},
                         .gain = 0.6f,
                         .glideFrom = 4.0f,
                         .glideTime = 0.2f,
                         .filter = Filter::LowPass,
                         .cutoff = 100.0f,
                         .cutoffEnv = 3000.0f};
constexpr Layer kShipExplodes[] = {
    {0.0f, 1200.0f, 0.75f, kBlast},
    {0.0f, 38.0f, 0.8f, kRumble},
    {0.18f, 700.0f, 0.5f, kBreakUp},
};

// 2: the ship's shot. A narrow pulse dropping fast and softened, short enough for every volley.
constexpr Voice kBlip{.wave = Wave::Square,
                      .env = {0.001f, 0.045f, 0.0f, 0.015f},
                      .pulseWidth = 0.25f,
                      .glideFrom = 1.9f,
                      .glideTime = 0.018f,
                      .filter = Filter::LowPass,
                      .cutoff = 2500.0f,
                      .cutoffEnv = 3500.0f};
constexpr Layer kShot[] = {
    {0.0f, 1400.0f, 0.055f, kBlip},
};

// 3: an energy ball collected. A chime climbing E6, B6, E7.
constexpr Voice kChime{.wave = Wave::Triangle,
                       .env = {0.002f, 0.09f, 0.0f, 0.04f},
                       .glideFrom = 0.85f,
                       .glideTime = 0.008f};
constexpr Layer kEnergyBall[] = {
    {0.0f, 1318.5f, 0.05f, kChime},
    {0.04f, 1975.5f, 0.05f, kChime},
    {0.08f, 2637.0f, 0.05f, kChime},
};

// 4: an enemy explodes. A short noise pop with a thump in it.
constexpr Voice kPop{.wave = Wave::Noise,
                     .env = {0.001f, 0.3f, 0.0f, 0.15f},
                     .glideFrom = 3.0f,
                     .glideTime = 0.08f,
                     .filter = Filter::LowPass,
                     .cutoff = 200.0f,
                     .cutoffEnv = 6000.0f};
constexpr Voice kThump{.wave = Wave::Sine,
                       .env = {0.002f, 0.18f, 0.0f, 0.1f},
                       .gain = 0.9f,
                       .glideFrom = 2.5f,
                       .glideTime = 0.04f};
constexpr Layer kEnemyExplodes[] = {
    {0.0f, 2500.0f, 0.3f, kPop},
    {0.0f, 90.0f, 0.2f, kThump},
};

// 5: ship 1's special attack. A pair of saws roaring up three octaves through a resonant
// filter, a rush of air swelling behind them and a boom as it goes off.
constexpr Voice kRoar{.wave = Wave::Saw,
                      .env = {0.03f, 1.2f, 0.5f, 0.3f},
                      .glideFrom = 0.125f,
                      .glideTime = 0.35f,
                      .vibratoDepth = 0.3f,
                      .vibratoRate = 9.0f,
                      .detune = 18.0f,
                      .filter = Filter::LowPass,
                      .cutoff = 300.0f,
                      .cutoffEnv = 5000.0f,
                      .resonance = 2.5f};
constexpr Voice kRush{.wave = Wave::Noise,
                      .env = {0.25f, 0.6f, 0.0f, 0.3f},
                      .gain = 0.5f,
                      .filter = Filter::HighPass,
                      .cutoff = 2000.0f};
constexpr Voice kBoom{
    .wave = Wave::Sine, .env = {0.005f, 0.6f, 0.0f, 0.3f}, .glideFrom = 2.0f, .glideTime = 0.1f};
constexpr Layer kSpecialOne[] = {
    {0.0f, 880.0f, 1.0f, kRoar},
    {0.0f, 22050.0f, 1.0f, kRush},
    {0.0f, 55.0f, 0.6f, kBoom},
};

// 6: ship 2's special attack. A zap, then a wide pulse diving four octaves with a fast wobble
// over crackling noise: it falls where ship 1's rises.
constexpr Voice kZap{.wave = Wave::Square,
                     .env = {0.001f, 0.1f, 0.0f, 0.05f},
                     .gain = 0.6f,
                     .pulseWidth = 0.125f,
                     .glideFrom = 0.5f,
                     .glideTime = 0.03f};
constexpr Voice kDive{.wave = Wave::Square,
                      .env = {0.01f, 1.0f, 0.6f, 0.25f},
                      .pulseWidth = 0.5f,
                      .pwmDepth = 0.25f,
                      .pwmRate = 5.0f,
                      .glideFrom = 16.0f,
                      .glideTime = 0.45f,
                      .vibratoDepth = 1.5f,
                      .vibratoRate = 16.0f,
                      .detune = -25.0f,
                      .filter = Filter::LowPass,
                      .cutoff = 600.0f,
                      .cutoffEnv = 4000.0f,
                      .resonance = 1.5f};
constexpr Voice kCrackle{.wave = Wave::Noise,
                         .env = {0.1f, 0.8f, 0.2f, 0.25f},
                         .gain = 0.35f,
                         .glideFrom = 2.0f,
                         .glideTime = 0.4f,
                         .filter = Filter::LowPass,
                         .cutoff = 500.0f,
                         .cutoffEnv = 3000.0f};
constexpr Layer kSpecialTwo[] = {
    {0.0f, 2200.0f, 0.12f, kZap},
    {0.0f, 110.0f, 1.05f, kDive},
    {0.05f, 4000.0f, 1.0f, kCrackle},
};

// 7: a weapon item collected. A C major arpeggio running up two octaves to a held top note.
constexpr Voice kPowerUp{
    .wave = Wave::Square, .env = {0.002f, 0.08f, 0.3f, 0.05f}, .pulseWidth = 0.25f};
constexpr Voice kPowerUpTop{.wave = Wave::Square,
                            .env = {0.002f, 0.1f, 0.5f, 0.06f},
                            .pulseWidth = 0.25f,
                            .vibratoDepth = 0.25f,
                            .vibratoRate = 12.0f};
constexpr Layer kWeaponItem[] = {
    {0.0f, 523.25f, 0.05f, kPowerUp},     {0.055f, 659.26f, 0.05f, kPowerUp},
    {0.11f, 783.99f, 0.05f, kPowerUp},    {0.165f, 1046.5f, 0.05f, kPowerUp},
    {0.22f, 1318.5f, 0.05f, kPowerUp},    {0.275f, 1568.0f, 0.05f, kPowerUp},
    {0.33f, 2093.0f, 0.12f, kPowerUpTop},
};

constexpr Effect kEffects[] = {
    {kShipExplodes, 0.45f, 2.0f},  {kShot, 0.2f, 1.6f},       {kEnergyBall, 0.15f},
    {kEnemyExplodes, 0.24f, 2.5f}, {kSpecialOne, 0.3f, 1.8f}, {kSpecialTwo, 0.3f, 1.8f},
    {kWeaponItem, 0.3f},
};

Signal renderEffect(const Effect& effect, NoiseSource& noise) {
  float seconds = 0.0f;
  for (const Layer& layer : effect.layers) {
    seconds = std::max(seconds, layer.start + soundingSeconds(layer.voice, layer.gate));
  }
  Signal signal(static_cast<std::size_t>(std::ceil(seconds * kSampleRate)), 0.0f);
  for (const Layer& layer : effect.layers) {
    renderNote(signal, std::lround(layer.start * kSampleRate), layer.hz, layer.gate, 1.0f,
               layer.voice, noise, false);
  }
  return signal;
}

}  // namespace

std::vector<tools::Clip> makeEffects() {
  NoiseSource noise(0xB1A57u);
  std::vector<tools::Clip> clips;
  for (const Effect& effect : kEffects) {
    clips.push_back(monoClip(renderEffect(effect, noise), effect.peak, effect.drive));
  }
  return clips;
}

}  // namespace vane::forge
