// SPDX-License-Identifier: GPL-3.0-or-later
// The sequencer: songs as tables of sections written like a lead sheet, rendered to one signal.
#pragma once

#include <array>
#include <span>
#include <stdexcept>
#include <string_view>

#include "tools/forge/sound/synth.h"

namespace vane::forge {

// Patterns are text. A note pattern is tokens "NAME:STEPS" apart by spaces, where NAME is a
// letter A-G, an optional '#' or 'b' and an octave digit ("F#4", "Bb2"), or '-' for a rest, and
// STEPS counts sixteenth notes. A chord pattern has tokens "CHORD:STEPS", CHORD being a root
// letter, an optional '#' or 'b' and a quality: "" major, "m", "7", "m7", "sus4", "dim" or "5".
// A '|' marks a bar line and is skipped.

constexpr int kRest = -1;

constexpr int letterClass(char letter) {
  constexpr std::array<int, 7> kClasses{9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (letter < 'A' || letter > 'G') throw std::invalid_argument("not a note letter");
  return kClasses[static_cast<std::size_t>(letter - 'A')];
}

// The pitch class of a root spelled with an optional accidental, and the characters it took.
struct Root {
  int pitchClass = 0;
  int semitone = 0;  // above the octave's C, -1 for "Cb" and 12 for "B#"
  std::size_t length = 0;
};

constexpr Root parseRoot(std::string_view name) {
  if (name.empty()) throw std::invalid_argument("empty note name");
  Root root{letterClass(name[0]), letterClass(name[0]), 1};
  if (name.size() > 1 && (name[1] == '#' || name[1] == 'b')) {
    root.semitone += name[1] == '#' ? 1 : -1;
    root.pitchClass = (root.semitone + 12) % 12;
    root.length = 2;
  }
  return root;
}

// The note number of "A4" (69), "C#5" and the like; kRest for "-".
constexpr int noteNumber(std::string_view name) {
  if (name == "-") return kRest;
  const Root root = parseRoot(name);
  if (name.size() != root.length + 1 || name[root.length] < '0' || name[root.length] > '9') {
    throw std::invalid_argument("a note needs one octave digit");
  }
  const int octave = name[root.length] - '0';
  return 12 * (octave + 1) + root.semitone;
}

struct Chord {
  int root = 0;  // pitch class
  std::array<int, 4> intervals{};
  int size = 0;
};

constexpr Chord parseChord(std::string_view name) {
  struct Quality {
    std::string_view suffix;
    std::array<int, 4> intervals;
    int size;
  };
  constexpr std::array<Quality, 7> kQualities{{{"", {0, 4, 7, 0}, 3},
                                               {"m", {0, 3, 7, 0}, 3},
                                               {"7", {0, 4, 7, 10}, 4},
                                               {"m7", {0, 3, 7, 10}, 4},
                                               {"sus4", {0, 5, 7, 0}, 3},
                                               {"dim", {0, 3, 6, 0}, 3},
                                               {"5", {0, 7, 0, 0}, 2}}};
  const Root root = parseRoot(name);
  for (const Quality& q : kQualities) {
    if (name.substr(root.length) == q.suffix) return Chord{root.pitchClass, q.intervals, q.size};
  }
  throw std::invalid_argument("unknown chord quality");
}

// Calls f(name, steps) for every token of a pattern, in order.
template <typename F>
constexpr void forEachToken(std::string_view pattern, F&& f) {
  std::size_t at = 0;
  while (at < pattern.size()) {
    if (pattern[at] == ' ' || pattern[at] == '|') {
      ++at;
      continue;
    }
    const std::size_t colon = pattern.find(':', at);
    if (colon == std::string_view::npos) throw std::invalid_argument("a token needs a length");
    std::size_t end = colon + 1;
    int steps = 0;
    while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9') {
      steps = steps * 10 + (pattern[end++] - '0');
    }
    if (steps <= 0 || (end < pattern.size() && pattern[end] != ' ' && pattern[end] != '|')) {
      throw std::invalid_argument("bad token length");
    }
    f(pattern.substr(at, colon - at), steps);
    at = end;
  }
}

constexpr int patternSteps(std::string_view pattern) {
  int total = 0;
  forEachToken(pattern, [&](std::string_view, int steps) { total += steps; });
  return total;
}

constexpr int kBarSteps = 16;

// Drum rows, one character a sixteenth: 'X' an accented hit, 'x' a hit, '.' nothing. A row
// repeats over its section; an empty row never sounds.
struct Groove {
  std::string_view kick = {}, snare = {}, hat = {}, openHat = {};
};

struct Section {
  std::string_view chords;
  std::string_view lead = {};
  std::string_view harmony = {};
  std::string_view bass = {};  // a riff written on C, played from each chord's root
  const Groove* groove = nullptr;
  const Groove* fill = nullptr;  // takes the groove's place in the section's last bar
  bool arpeggio = false;
  bool pad = false;
  bool crash = false;  // a cymbal on the section's first step
};

struct Drum {
  Voice voice;
  float hz = 0.0f;
};

// The instruments of a song and where its chords sit.
struct Band {
  Voice lead, harmony, bass, arpeggio, pad;
  Drum kick, snare, hat, openHat, crash;
  int arpeggioOctave = 4;  // the arpeggio's chords sit around this octave's C
  int padOctave = 4;
  int echoSteps = 3;  // the melody's echo
  float echoLevel = 0.0f;
  float echoFeedback = 0.0f;
};

struct Song {
  int stepSamples = 0;
  const Band* band = nullptr;
  std::span<const Section> sections;
  bool looped = true;  // a loop wraps its ringing notes round; otherwise it ends in silence
};

constexpr bool rowFits(std::string_view row, int steps) {
  for (char c : row) {
    if (c != 'X' && c != 'x' && c != '.') return false;
  }
  return row.empty() || steps % static_cast<int>(row.size()) == 0;
}

constexpr bool grooveFits(const Groove* groove, int steps) {
  return groove == nullptr || (rowFits(groove->kick, steps) && rowFits(groove->snare, steps) &&
                               rowFits(groove->hat, steps) && rowFits(groove->openHat, steps));
}

// Whether every line of a section spans the same whole number of bars.
constexpr bool sectionFits(const Section& s) {
  const int steps = patternSteps(s.chords);
  forEachToken(s.chords, [](std::string_view name, int) { parseChord(name); });
  for (std::string_view line : {s.lead, s.harmony}) {
    if (line.empty()) continue;
    if (patternSteps(line) != steps) return false;
    forEachToken(line, [](std::string_view name, int) { noteNumber(name); });
  }
  forEachToken(s.bass, [](std::string_view name, int) { noteNumber(name); });
  return steps > 0 && steps % kBarSteps == 0 && grooveFits(s.groove, steps) &&
         grooveFits(s.fill, kBarSteps);
}

constexpr int songSteps(std::span<const Section> sections) {
  int total = 0;
  for (const Section& s : sections) total += patternSteps(s.chords);
  return total;
}

Signal renderSong(const Song& song);

}  // namespace vane::forge
