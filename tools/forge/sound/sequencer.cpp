// SPDX-License-Identifier: GPL-3.0-or-later
// The sequencer: walks a song's sections and renders their melody, chords, bass and drums.
#include "tools/forge/sound/sequencer.h"

#include <algorithm>
#include <cmath>

namespace vane::forge {

namespace {

// The order in which the arpeggio climbs and falls through the chord, one tone a sixteenth.
constexpr std::array<int, 8> kArpeggioOrder{0, 1, 2, 3, 4, 3, 2, 1};
constexpr float kAccent = 1.0f;
constexpr float kHit = 0.7f;
constexpr double kNoteGap = 0.02;      // seconds of air between consecutive melody and bass notes
constexpr double kArpeggioGate = 0.5;  // of a step
constexpr double kTailSeconds = 1.2;   // a tune that ends has this long to ring out and fade
constexpr double kFadeSeconds = 0.3;   // the last moments of the tail fade to nothing
constexpr double kSilenceSeconds = 0.1;
constexpr uint32_t kNoiseSeed = 0x5EED1999u;

// How far a pitch class lies from C, taken the short way (-6..5), so chords keep their register.
int nearC(int pitchClass) {
  return pitchClass > 5 ? pitchClass - 12 : pitchClass;
}

// Tone i of a chord built on the root nearest the octave's C, climbing into the next octaves.
int chordTone(const Chord& chord, int octave, int i) {
  return 12 * (octave + 1) + nearC(chord.root) +
         chord.intervals[static_cast<std::size_t>(i % chord.size)] + 12 * (i / chord.size);
}

class SongRenderer {
 public:
  explicit SongRenderer(const Song& song)
      : song_(song),
        band_(*song.band),
        stepSeconds_(static_cast<double>(song.stepSamples) / kSampleRate) {}

  void section(const Section& s, int first, Signal& mix, Signal& melody) {
    const int steps = patternSteps(s.chords);
    melodyLine(s.lead, first, band_.lead, melody);
    melodyLine(s.harmony, first, band_.harmony, melody);
    int step = first;
    forEachToken(s.chords, [&](std::string_view name, int length) {
      const Chord chord = parseChord(name);
      if (!s.bass.empty()) riff(s.bass, chord, step, length, mix);
      if (s.arpeggio) arpeggio(chord, step, length, mix);
      if (s.pad) pad(chord, step, length, mix);
      step += length;
    });
    if (s.groove != nullptr) drums(s, first, steps, mix);
    if (s.crash) hit(band_.crash, first, kAccent, mix);
  }

 private:
  void play(Signal& bus, int step, double gateSeconds, int note, float velocity,
            const Voice& voice) {
    renderNote(bus, static_cast<long>(step) * song_.stepSamples, noteHz(note),
               static_cast<float>(gateSeconds), velocity, voice, noise_, song_.looped);
  }

  void hit(const Drum& drum, int step, float velocity, Signal& bus) {
    renderNote(bus, static_cast<long>(step) * song_.stepSamples, drum.hz,
               drum.voice.env.attack + drum.voice.env.decay, velocity, drum.voice, noise_,
               song_.looped);
  }

  double legato(int steps) const {
    return std::max(steps * stepSeconds_ - kNoteGap, 0.5 * stepSeconds_);
  }

  void melodyLine(std::string_view line, int first, const Voice& voice, Signal& bus) {
    int step = first;
    forEachToken(line, [&](std::string_view name, int length) {
      const int note = noteNumber(name);
      if (note != kRest) play(bus, step, legato(length), note, 1.0f, voice);
      step += length;
    });
  }

  // The riff over and over from the chord's root, cut off where the chord ends.
  void riff(std::string_view pattern, const Chord& chord, int first, int steps, Signal& bus) {
    int at = 0;
    while (at < steps) {
      forEachToken(pattern, [&](std::string_view name, int length) {
        if (at >= steps) return;
        const int note = noteNumber(name);
        if (note != kRest) {
          play(bus, first + at, legato(std::min(length, steps - at)), note + nearC(chord.root),
               1.0f, band_.bass);
        }
        at += length;
      });
    }
  }

  void arpeggio(const Chord& chord, int first, int steps, Signal& bus) {
    for (int i = 0; i < steps; ++i) {
      const int tone = kArpeggioOrder[static_cast<std::size_t>((first + i) % 8)];
      play(bus, first + i, kArpeggioGate * stepSeconds_,
           chordTone(chord, band_.arpeggioOctave, tone), 1.0f, band_.arpeggio);
    }
  }

  void pad(const Chord& chord, int first, int steps, Signal& bus) {
    for (int i = 0; i < std::max(chord.size, 3); ++i) {
      play(bus, first, steps * stepSeconds_, chordTone(chord, band_.padOctave, i), 1.0f, band_.pad);
    }
  }

  void drums(const Section& s, int first, int steps, Signal& bus) {
    const int fillFrom = s.fill != nullptr ? steps - kBarSteps : steps;
    for (int i = 0; i < steps; ++i) {
      const Groove& groove = i < fillFrom ? *s.groove : *s.fill;
      const int at = i < fillFrom ? i : i - fillFrom;
      drumRow(groove.kick, band_.kick, first + i, at, bus);
      drumRow(groove.snare, band_.snare, first + i, at, bus);
      drumRow(groove.hat, band_.hat, first + i, at, bus);
      drumRow(groove.openHat, band_.openHat, first + i, at, bus);
    }
  }

  void drumRow(std::string_view row, const Drum& drum, int step, int at, Signal& bus) {
    if (row.empty()) return;
    const char c = row[static_cast<std::size_t>(at) % row.size()];
    if (c != '.') hit(drum, step, c == 'X' ? kAccent : kHit, bus);
  }

  const Song& song_;
  const Band& band_;
  double stepSeconds_;
  NoiseSource noise_{kNoiseSeed};
};

// Feeds the melody back on itself a few steps later. On a loop the echo runs round twice, so the
// echoes of the last bars sound over the first ones exactly as they will when it repeats.
void addEcho(Signal& bus, long delay, float level, float feedback, bool looped) {
  const long size = static_cast<long>(bus.size());
  Signal wet(bus.size(), 0.0f);
  for (int pass = 0; pass < (looped ? 2 : 1); ++pass) {
    for (long n = 0; n < size; ++n) {
      long from = n - delay;
      if (from < 0) {
        if (!looped) continue;
        from += size;
      }
      wet[n] = level * bus[from] + feedback * wet[from];
    }
  }
  for (long n = 0; n < size; ++n) bus[n] += wet[n];
}

// Fades the end of a tune that plays once, so its last samples are silence.
void fadeToSilence(Signal& mix) {
  const long size = static_cast<long>(mix.size());
  const long silent = size - std::lround(kSilenceSeconds * kSampleRate);
  const long fade = std::lround(kFadeSeconds * kSampleRate);
  for (long n = silent - fade; n < size; ++n) {
    mix[n] *= n < silent ? static_cast<float>(silent - n) / fade : 0.0f;
  }
}

}  // namespace

Signal renderSong(const Song& song) {
  const long loop = static_cast<long>(songSteps(song.sections)) * song.stepSamples;
  const long size = song.looped ? loop : loop + std::lround(kTailSeconds * kSampleRate);
  Signal mix(static_cast<std::size_t>(size), 0.0f);
  Signal melody(mix.size(), 0.0f);
  SongRenderer renderer(song);
  int step = 0;
  for (const Section& s : song.sections) {
    renderer.section(s, step, mix, melody);
    step += patternSteps(s.chords);
  }
  const Band& band = *song.band;
  if (band.echoLevel > 0.0f) {
    addEcho(melody, static_cast<long>(band.echoSteps) * song.stepSamples, band.echoLevel,
            band.echoFeedback, song.looped);
  }
  for (std::size_t n = 0; n < mix.size(); ++n) mix[n] += melody[n];
  if (!song.looped) fadeToSilence(mix);
  return mix;
}

}  // namespace vane::forge
