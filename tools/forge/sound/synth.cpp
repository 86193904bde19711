// SPDX-License-Identifier: GPL-3.0-or-later
// The synthesiser: oscillators, envelopes, the state-variable filter, note rendering, mastering.
#include "tools/forge/sound/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vane::forge {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Level of the attack and decay stages while the gate is held.
double heldLevel(const Adsr& env, double t) {
  if (t < env.attack) return t / env.attack;
  const double u = (t - env.attack) / env.decay;
  return env.sustain + (1.0 - env.sustain) * std::exp(-5.0 * u);
}

double envelopeLevel(const Adsr& env, double t, double gate) {
  if (t < gate) return heldLevel(env, t);
  const double u = (t - gate) / env.release;
  if (u >= 1.0) return 0.0;
  return heldLevel(env, gate) * std::exp(-4.0 * u) * (1.0 - u);
}

// Smooths the step of a sawtooth or pulse edge over one sample to keep the aliasing down.
double polyBlep(double phase, double dt) {
  if (phase < dt) {
    const double x = phase / dt;
    return x + x - x * x - 1.0;
  }
  if (phase > 1.0 - dt) {
    const double x = (phase - 1.0) / dt;
    return x * x + x + x + 1.0;
  }
  return 0.0;
}

// One oscillator: a phase running from 0 to 1 once a cycle.
struct Oscillator {
  double phase = 0.0;
  double held = 0.0;  // the noise wave's current value

  double next(const Voice& voice, double dt, double t, NoiseSource& noise) {
    double value = 0.0;
    switch (voice.wave) {
      case Wave::Square: {
        double width = voice.pulseWidth + voice.pwmDepth * std::sin(kTwoPi * voice.pwmRate * t);
        width = std::clamp(width, 0.05, 0.95);
        value = (phase < width ? 1.0 : -1.0) + polyBlep(phase, dt) -
                polyBlep(std::fmod(phase + 1.0 - width, 1.0), dt);
        value -= 2.0 * width - 1.0;  // the pulse's own offset, so narrow pulses stay centred
        break;
      }
      case Wave::Saw:
        value = 2.0 * phase - 1.0 - polyBlep(phase, dt);
        break;
      case Wave::Triangle:
        value = phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
        break;
      case Wave::Sine:
        value = std::sin(kTwoPi * phase);
        break;
      case Wave::Noise:
        value = held;
        break;
    }
    phase += dt;
    if (phase >= 1.0) {
      phase -= std::floor(phase);
      if (voice.wave == Wave::Noise) held = noise.next();
    }
    return value;
  }
};

// Topology-preserving state-variable filter: stable at any cutoff, sweepable every sample.
class StateVariableFilter {
 public:
  double next(double x, double cutoff, double q, Filter mode) {
    if (cutoff != cutoff_) setCutoff(cutoff, q);
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return mode == Filter::LowPass ? v2 : x - k_ * v1 - v2;
  }

 private:
  void setCutoff(double cutoff, double q) {
    cutoff_ = cutoff;
    const double g =
        std::tan(std::numbers::pi * std::clamp(cutoff, 20.0, 0.45 * kSampleRate) / kSampleRate);
    k_ = 1.0 / q;
    a1_ = 1.0 / (1.0 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
  }

  double cutoff_ = -1.0;
  double k_ = 0.0, a1_ = 0.0, a2_ = 0.0, a3_ = 0.0;
  double ic1_ = 0.0, ic2_ = 0.0;
};

// The pitch multiple of the glide and the vibrato at time t.
double pitchFactor(const Voice& voice, double t) {
  double factor = 1.0;
  if (voice.glideTime > 0.0f) factor *= std::pow(voice.glideFrom, std::exp(-t / voice.glideTime));
  if (voice.vibratoDepth > 0.0f && t > voice.vibratoDelay) {
    const double swing = std::sin(kTwoPi * voice.vibratoRate * (t - voice.vibratoDelay));
    factor *= std::exp2(voice.vibratoDepth * swing / 12.0);
  }
  return factor;
}

double softLimit(double x) {
  constexpr double kKnee = 0.6;
  const double a = std::fabs(x);
  if (a <= kKnee) return x;
  const double limited = kKnee + (1.0 - kKnee) * std::tanh((a - kKnee) / (1.0 - kKnee));
  return std::copysign(limited, x);
}

}  // namespace

float NoiseSource::next() {
  state_ = state_ * 1664525u + 1013904223u;
  return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
}

float soundingSeconds(const Voice& voice, float gateSeconds) {
  return gateSeconds + voice.env.release;
}

float noteHz(int note) {
  return 440.0f * std::exp2(static_cast<float>(note - 69) / 12.0f);
}

void renderNote(Signal& out, long start, float hz, float gateSeconds, float velocity,
                const Voice& voice, NoiseSource& noise, bool wrap) {
  const long size = static_cast<long>(out.size());
  const long count = std::lround(std::ceil(soundingSeconds(voice, gateSeconds) * kSampleRate));
  const double detuneRatio = std::exp2(voice.detune / 1200.0);
  Oscillator main, second;
  second.phase = 0.31;  // off the first oscillator's phase so the pair beats from the start
  StateVariableFilter filter;
  for (long i = 0; i < count; ++i) {
    long at = start + i;
    if (wrap) {
      at %= size;
    } else if (at >= size) {
      break;
    }
    const double t = static_cast<double>(i) / kSampleRate;
    const double level = envelopeLevel(voice.env, t, gateSeconds);
    const double dt = hz * pitchFactor(voice, t) / kSampleRate;
    double x = main.next(voice, dt, t, noise);
    if (voice.detune != 0.0f) x = 0.5 * (x + second.next(voice, dt * detuneRatio, t, noise));
    if (voice.noise > 0.0f) {
      const double fade = voice.noiseDecay > 0.0f ? std::exp(-t / voice.noiseDecay) : 1.0;
      x += voice.noise * fade * noise.next();
    }
    if (voice.filter != Filter::None) {
      x = filter.next(x, voice.cutoff + voice.cutoffEnv * level, voice.resonance, voice.filter);
    }
    out[at] += static_cast<float>(x * level * voice.gain * velocity);
  }
}

std::vector<uint8_t> masterPcm16(const Signal& signal, float peak, float drive) {
  double loudest = 0.0;
  for (float x : signal) loudest = std::max(loudest, static_cast<double>(std::fabs(x)));
  const double scale = loudest > 0.0 ? drive / loudest : 0.0;
  const double outScale = peak / softLimit(drive) * 32767.0;
  std::vector<uint8_t> bytes;
  bytes.reserve(signal.size() * 2);
  for (float x : signal) {
    const long v = std::clamp(std::lround(softLimit(x * scale) * outScale), -32767L, 32767L);
    const auto word = static_cast<uint16_t>(static_cast<int16_t>(v));
    bytes.push_back(static_cast<uint8_t>(word & 0xFF));
    bytes.push_back(static_cast<uint8_t>(word >> 8));
  }
  return bytes;
}

tools::Clip monoClip(const Signal& signal, float peak, float drive) {
  return tools::Clip{tools::pcm16Format(kSampleRate, 1), masterPcm16(signal, peak, drive)};
}

}  // namespace vane::forge
