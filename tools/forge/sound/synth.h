// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesiser: oscillators, envelopes, a filter and voices rendered into mono signals.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/common/formats.h"

namespace vane::forge {

constexpr int kSampleRate = 22050;

// Mono samples, nominally within -1..1 before mastering.
using Signal = std::vector<float>;

enum class Wave : uint8_t { Square, Saw, Triangle, Sine, Noise };
enum class Filter : uint8_t { None, LowPass, HighPass };

// Times in seconds; the decay falls exponentially toward the sustain level and the release
// reaches exactly zero at its end.
struct Adsr {
  float attack = 0.002f;
  float decay = 0.1f;
  float sustain = 1.0f;
  float release = 0.05f;
};

// Everything that shapes one sounding note; the pitch and the gate come with the note.
struct Voice {
  Wave wave = Wave::Square;
  Adsr env;
  float gain = 1.0f;
  float pulseWidth = 0.5f;    // square only
  float pwmDepth = 0.0f;      // pulse width swing, square only
  float pwmRate = 0.0f;       // Hz
  float glideFrom = 1.0f;     // the pitch starts at this multiple and slides exponentially home
  float glideTime = 0.0f;     // time constant of that slide, seconds
  float vibratoDepth = 0.0f;  // semitones
  float vibratoRate = 0.0f;   // Hz
  float vibratoDelay = 0.0f;  // seconds before the vibrato sets in
  float detune = 0.0f;        // cents of a second oscillator of the same wave; 0 for none
  float noise = 0.0f;         // white noise mixed in with its own decay
  float noiseDecay = 0.0f;    // seconds
  Filter filter = Filter::None;
  float cutoff = 0.0f;     // Hz
  float cutoffEnv = 0.0f;  // Hz added at full envelope level
  float resonance = 0.7f;  // filter Q
};

// White noise from a fixed-seed generator, so every render is the same.
class NoiseSource {
 public:
  explicit NoiseSource(uint32_t seed) : state_(seed) {}
  float next();

 private:
  uint32_t state_;
};

// The seconds a note of this gate keeps sounding, release included.
float soundingSeconds(const Voice& voice, float gateSeconds);

// Adds one note to the signal from sample `start` on. With `wrap` the signal is a loop and
// the samples that pass its end continue at its start; otherwise they are dropped.
void renderNote(Signal& out, long start, float hz, float gateSeconds, float velocity,
                const Voice& voice, NoiseSource& noise, bool wrap);

// The frequency of a note number (69 is A at 440 Hz).
float noteHz(int note);

// How far a signal's peak is driven into the soft limiter when mastering: a little by default,
// which rounds off the loudest moments instead of clipping them; more packs a sound's body closer
// to its peak, so that it holds its loudness at a lower peak.
constexpr float kGentleDrive = 1.1f;

// Turns a mixed signal into 16-bit little-endian PCM: drives its peak `drive` into a soft
// limiter and scales the result so its peak is `peak` of full scale.
std::vector<uint8_t> masterPcm16(const Signal& signal, float peak, float drive = kGentleDrive);

// A bank clip of the mastered signal: 16-bit mono at kSampleRate.
tools::Clip monoClip(const Signal& signal, float peak, float drive = kGentleDrive);

}  // namespace vane::forge
