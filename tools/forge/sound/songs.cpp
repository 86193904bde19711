// SPDX-License-Identifier: GPL-3.0-or-later
// The four pieces of "music.snd": both stage loops, the stage-clear fanfare, the game-over tune.
#include <algorithm>
#include <iterator>

#include "tools/forge/sound/sequencer.h"
#include "tools/forge/sound/sound_forge.h"

namespace vane::forge {

namespace {

// The drum kit every band shares: a kick falling from a click to a low thud, a snare of noise
// over a short tone, closed and open hats of bright noise and a long crash.
constexpr Drum kKick{{.wave = Wave::Sine,
                      .env = {0.001f, 0.3f, 0.0f, 0.05f},
                      .gain = 0.75f,
                      .glideFrom = 3.5f,
                      .glideTime = 0.025f,
                      .noise = 0.4f,
                      .noiseDecay = 0.003f},
                     50.0f};
constexpr Drum kSnare{{.wave = Wave::Triangle,
                       .env = {0.001f, 0.15f, 0.0f, 0.05f},
                       .gain = 0.4f,
                       .glideFrom = 1.4f,
                       .glideTime = 0.02f,
                       .noise = 1.2f,
                       .noiseDecay = 0.07f,
                       .filter = Filter::LowPass,
                       .cutoff = 7000.0f},
                      185.0f};
constexpr Drum kHat{{.wave = Wave::Noise,
                     .env = {0.001f, 0.04f, 0.0f, 0.01f},
                     .gain = 0.14f,
                     .filter = Filter::HighPass,
                     .cutoff = 7000.0f},
                    22050.0f};
constexpr Drum kOpenHat{{.wave = Wave::Noise,
                         .env = {0.001f, 0.22f, 0.0f, 0.05f},
                         .gain = 0.11f,
                         .filter = Filter::HighPass,
                         .cutoff = 6000.0f},
                        22050.0f};
constexpr Drum kCrash{{.wave = Wave::Noise,
                       .env = {0.002f, 1.4f, 0.0f, 0.2f},
                       .gain = 0.18f,
                       .filter = Filter::HighPass,
                       .cutoff = 3500.0f},
                      22050.0f};

// ---- Stage 1: A minor, 150 beats a minute, bright and driving. ----

constexpr Band kStage1Band{
    .lead = {.wave = Wave::Square,
             .env = {0.005f, 0.3f, 0.7f, 0.12f},
             .gain = 0.34f,
             .pulseWidth = 0.35f,
             .pwmDepth = 0.15f,
             .pwmRate = 3.0f,
             .vibratoDepth = 0.2f,
             .vibratoRate = 5.5f,
             .vibratoDelay = 0.2f,
             .detune = 8.0f,
             .filter = Filter::LowPass,
             .cutoff = 2500.0f,
             .cutoffEnv = 3000.0f},
    .harmony = {.wave = Wave::Saw,
                .env = {0.01f, 0.3f, 0.6f, 0.12f},
                .gain = 0.16f,
                .detune = 10.0f,
                .filter = Filter::LowPass,
                .cutoff = 1800.0f},
    .bass = {.wave = Wave::Saw,
             .env = {0.002f, 0.15f, 0.5f, 0.04f},
             .gain = 0.42f,
             .filter = Filter::LowPass,
             .cutoff = 300.0f,
             .cutoffEnv = 1500.0f,
             .resonance = 1.2f},
    .arpeggio = {.wave = Wave::Square,
                 .env = {0.001f, 0.06f, 0.0f, 0.03f},
                 .gain = 0.1f,
                 .pulseWidth = 0.125f,
                 .filter = Filter::LowPass,
                 .cutoff = 3000.0f},
    .pad = {.wave = Wave::Saw,
            .env = {0.3f, 1.0f, 0.7f, 0.4f},
            .gain = 0.06f,
            .detune = 12.0f,
            .filter = Filter::LowPass,
            .cutoff = 1200.0f},
    .kick = kKick,
    .snare = kSnare,
    .hat = kHat,
    .openHat = kOpenHat,
    .crash = kCrash,
    .arpeggioOctave = 4,
    .padOctave = 4,
    .echoSteps = 3,
    .echoLevel = 0.25f,
    .echoFeedback = 0.3f,
};

constexpr Groove kStage1Intro{.kick = "X...X...X...X...", .hat = "..x...x...x...x."};
constexpr Groove kStage1Drive{
    .kick = "X.....x.X.x.....", .snare = "....X.......X...", .hat = "x.x.x.x.x.x.x.x."};
constexpr Groove kStage1HalfTime{
    .kick = "X.........X.....", .snare = "........X.......", .hat = "x.x.x.x.x.x.x.x."};
constexpr Groove kStage1Chorus{.kick = "X.x...x.X.x...x.",
                               .snare = "....X.......X..x",
                               .hat = "x...x...x...x...",
                               .openHat = "..x...x...x...x."};
constexpr Groove kStage1Fill{
    .kick = "X.......X.......", .snare = "....X.x.XxXxXXXX", .hat = "x.x.x.x........."};

constexpr std::string_view kStage1DriveBass = "C2:2 C2:2 C3:2 C2:2 C2:2 C3:2 C2:2 C3:2";
constexpr std::string_view kStage1GallopBass = "C2:2 C2:1 C2:1 C3:2 C2:2 C2:1 C2:1 C3:2 C2:2 G2:2";
constexpr std::string_view kStage1BridgeBass = "C2:4 C3:2 C2:2 -:2 C2:2 A#2:2 C3:2";

constexpr std::string_view kStage1Verse = "Am:16 F:16 G:16 Am:16 | Am:16 F:16 G:16 E:16";

constexpr Section kStage1[] = {
    // Intro: the band without its melody.
    {.chords = "Am:16 F:16 G:16 E:16",
     .bass = kStage1DriveBass,
     .groove = &kStage1Intro,
     .fill = &kStage1Fill,
     .arpeggio = true,
     .crash = true},
    // The theme.
    {.chords = kStage1Verse,
     .lead = "E5:4 A5:4 B5:2 C6:4 B5:2 | A5:6 G5:2 F5:4 E5:4 | D5:4 G5:4 A5:2 B5:4 A5:2 | "
             "G5:2 E5:2 C5:2 E5:2 A5:8 | E5:4 A5:4 B5:2 C6:4 D6:2 | E6:6 D6:2 C6:4 A5:4 | "
             "B5:4 G5:4 D6:4 B5:4 | G#5:8 B5:4 E6:4",
     .bass = kStage1DriveBass,
     .groove = &kStage1Drive,
     .fill = &kStage1Fill,
     .arpeggio = true,
     .crash = true},
    // The theme again, an octave of busier figures higher.
    {.chords = kStage1Verse,
     .lead = "A5:2 C6:2 E6:4 D6:2 C6:2 B5:2 C6:2 | A5:4 F5:2 A5:2 C6:4 A5:4 | "
             "G5:2 B5:2 D6:4 C6:2 B5:2 A5:2 B5:2 | C6:4 B5:2 A5:2 E5:8 | "
             "A5:2 C6:2 E6:4 G6:4 E6:4 | F6:4 E6:2 D6:2 C6:4 A5:4 | "
             "B5:2 C6:2 D6:4 G6:4 D6:4 | E6:4 D6:2 B5:2 G#5:4 E5:4",
     .bass = kStage1GallopBass,
     .groove = &kStage1Drive,
     .fill = &kStage1Fill,
     .arpeggio = true,
     .pad = true,
     .crash = true},
    // The bridge: half time, long notes over a pad.
    {.chords = "Dm:16 G:16 C:16 Am:16 | Dm:16 G:16 E:16 E7:16",
     .lead = "F5:6 E5:2 D5:4 A5:4 | G5:6 F5:2 D5:4 B4:4 | E5:6 D5:2 C5:4 G5:4 | A5:12 -:4 | "
             "F5:4 A5:4 D6:4 C6:2 A5:2 | B5:4 D6:4 G6:4 F6:2 D6:2 | E6:8 D6:2 C6:2 B5:4 | "
             "G#5:8 B5:4 D6:4",
     .bass = kStage1BridgeBass,
     .groove = &kStage1HalfTime,
     .fill = &kStage1Fill,
     .pad = true,
     .crash = true},
    // The chorus, in two voices.
    {.chords = "F:16 G:16 Em:16 Am:16 | F:16 G:16 E:16 E7:16",
     .lead = "C6:6 A5:2 F6:8 | D6:6 B5:2 G6:8 | E6:4 G6:4 B6:4 G6:2 E6:2 | A6:8 E6:4 C6:4 | "
             "A6:4 G6:2 F6:2 E6:4 C6:4 | D6:4 E6:2 F6:2 G6:4 B5:4 | G#6:6 E6:2 B5:8 | "
             "E6:2 D6:2 B5:2 G#5:2 E5:8",
     .harmony = "A5:6 F5:2 C6:8 | B5:6 G5:2 D6:8 | B5:4 E6:4 G6:4 E6:2 B5:2 | E6:8 C6:4 A5:4 | "
                "F6:4 E6:2 C6:2 C6:4 A5:4 | B5:4 C6:2 D6:2 D6:4 G5:4 | E6:6 B5:2 G#5:8 | "
                "B5:2 G#5:2 G#5:2 E5:2 B4:8",
     .bass = kStage1GallopBass,
     .groove = &kStage1Chorus,
     .fill = &kStage1Fill,
     .arpeggio = true,
     .pad = true,
     .crash = true},
    // The turnaround that leads back into the intro.
    {.chords = "Am:16 F:16 G:16 E:16",
     .lead = "A5:2 E5:2 A5:2 B5:2 C6:4 B5:4 | A5:4 F5:4 C6:4 A5:4 | "
             "G5:2 B5:2 D6:2 G6:2 F6:4 D6:4 | E6:4 B5:4 G#5:4 B5:4",
     .bass = kStage1DriveBass,
     .groove = &kStage1Drive,
     .fill = &kStage1Fill,
     .arpeggio = true},
};

// ---- Stage 2: C minor, 168.75 beats a minute, darker and harder. ----

constexpr Band kStage2Band{
    .lead = {.wave = Wave::Saw,
             .env = {0.004f, 0.25f, 0.65f, 0.1f},
             .gain = 0.34f,
             .vibratoDepth = 0.25f,
             .vibratoRate = 6.0f,
             .vibratoDelay = 0.15f,
             .detune = 12.0f,
             .filter = Filter::LowPass,
             .cutoff = 1400.0f,
             .cutoffEnv = 2600.0f,
             .resonance = 1.4f},
    .harmony = {.wave = Wave::Square,
                .env = {0.006f, 0.3f, 0.6f, 0.1f},
                .gain = 0.14f,
                .pulseWidth = 0.3f,
                .filter = Filter::LowPass,
                .cutoff = 1600.0f},
    .bass = {.wave = Wave::Square,
             .env = {0.002f, 0.12f, 0.45f, 0.03f},
             .gain = 0.38f,
             .pulseWidth = 0.3f,
             .filter = Filter::LowPass,
             .cutoff = 250.0f,
             .cutoffEnv = 1800.0f,
             .resonance = 1.8f},
    .arpeggio = {.wave = Wave::Saw,
                 .env = {0.001f, 0.05f, 0.0f, 0.03f},
                 .gain = 0.09f,
                 .filter = Filter::LowPass,
                 .cutoff = 1500.0f,
                 .cutoffEnv = 2000.0f},
    .pad = {.wave = Wave::Saw,
            .env = {0.4f, 1.0f, 0.7f, 0.4f},
            .gain = 0.055f,
            .detune = 14.0f,
            .filter = Filter::LowPass,
            .cutoff = 900.0f},
    .kick = kKick,
    .snare = kSnare,
    .hat = kHat,
    .openHat = kOpenHat,
    .crash = kCrash,
    .arpeggioOctave = 4,
    .padOctave = 3,
    .echoSteps = 3,
    .echoLevel = 0.22f,
    .echoFeedback = 0.3f,
};

constexpr Groove kStage2Pulse{
    .kick = "X.....X.X.....X.", .snare = "....X.......X...", .hat = "x.X.x.X.x.X.x.X."};
constexpr Groove kStage2Double{
    .kick = "X.X.X.X.X.X.X.X.", .snare = "....X.......X...", .hat = "xxxxxxxxxxxxxxxx"};
constexpr Groove kStage2Half{.kick = "X.........X.....",
                             .snare = "........X.......",
                             .hat = "x...x...x...x...",
                             .openHat = "..x...x...x...x."};
constexpr Groove kStage2Fill{.kick = "X.X.X.X.X.......", .snare = "........XxXxXXXX"};

constexpr std::string_view kStage2PulseBass = "C2:1 C2:1 C3:1 C2:1 C2:1 C2:1 C3:1 C2:1";
constexpr std::string_view kStage2HeavyBass = "C2:3 C2:3 C3:2 C2:3 C2:3 A#2:2";
constexpr std::string_view kStage2Verse = "Cm:16 Ab:16 Fm:16 G:16 | Cm:16 Ab:16 Bb:16 G7:16";

constexpr Section kStage2[] = {
    // Intro: bass and drums over a cold arpeggio.
    {.chords = "Cm:16 Cm:16 Ab:16 G:16",
     .bass = kStage2PulseBass,
     .groove = &kStage2Pulse,
     .fill = &kStage2Fill,
     .arpeggio = true,
     .crash = true},
    // The theme.
    {.chords = kStage2Verse,
     .lead = "G5:3 G5:1 C6:4 Eb6:4 D6:2 C6:2 | C6:6 Bb5:2 Ab5:4 Eb5:4 | "
             "F5:3 F5:1 Ab5:4 C6:4 Bb5:2 Ab5:2 | G5:6 F5:2 D5:4 B4:4 | "
             "G5:3 G5:1 C6:4 Eb6:4 F6:2 G6:2 | Ab6:6 G6:2 Eb6:4 C6:4 | "
             "D6:3 Eb6:1 F6:4 Bb5:4 D6:4 | B5:4 D6:4 G6:4 F6:4",
     .bass = kStage2PulseBass,
     .groove = &kStage2Pulse,
     .fill = &kStage2Fill,
     .arpeggio = true,
     .crash = true},
    // The theme broken into running sixteenths.
    {.chords = kStage2Verse,
     .lead = "C6:2 D6:2 Eb6:2 G6:2 F6:2 Eb6:2 D6:2 Eb6:2 | C6:4 Ab5:2 C6:2 Eb6:8 | "
             "F6:2 Eb6:2 C6:2 Ab5:2 C6:2 Eb6:2 F6:4 | D6:2 B5:2 G5:2 B5:2 D6:4 G6:4 | "
             "Eb6:2 D6:2 C6:2 G5:2 C6:2 D6:2 Eb6:2 G6:2 | Ab6:4 G6:2 Eb6:2 C6:4 Eb6:4 | "
             "F6:4 D6:2 Bb5:2 F6:4 Bb6:4 | G6:6 F6:2 D6:4 B5:4",
     .bass = kStage2PulseBass,
     .groove = &kStage2Double,
     .fill = &kStage2Fill,
     .arpeggio = true,
     .pad = true,
     .crash = true},
    // The bridge: half time, heavy bass, the melody rising an octave in its second half.
    {.chords = "Ab:16 Bb:16 Gm:16 Cm:16 | Ab:16 Bb:16 G:16 G7:16",
     .lead = "Eb5:6 C5:2 Ab5:8 | F5:6 D5:2 Bb5:8 | G5:4 Bb5:4 D6:4 Bb5:4 | C6:12 -:4 | "
             "Eb6:6 C6:2 Ab6:8 | F6:6 D6:2 Bb6:8 | G6:4 D6:4 B5:4 G5:4 | F6:4 D6:4 B5:4 G5:4",
     .bass = kStage2HeavyBass,
     .groove = &kStage2Half,
     .fill = &kStage2Fill,
     .pad = true,
     .crash = true},
    // The climax, in two voices over double-time drums.
    {.chords = "Fm:16 Cm:16 Db:16 Bb:16 | Fm:16 Cm:16 Ab:8 Bb:8 G:16",
     .lead = "C6:2 F6:4 Ab6:2 G6:4 F6:4 | Eb6:2 G6:4 C7:2 Bb6:4 G6:4 | Ab6:6 F6:2 Db6:8 | "
             "D6:4 F6:4 Bb6:8 | Ab6:4 G6:2 F6:2 C6:4 F6:4 | G6:4 F6:2 Eb6:2 C6:4 G5:4 | "
             "Ab5:2 C6:2 Eb6:4 Bb5:2 D6:2 F6:4 | G6:8 F6:2 D6:2 B5:4",
     .harmony = "Ab5:2 C6:4 F6:2 Eb6:4 C6:4 | C6:2 Eb6:4 G6:2 G6:4 Eb6:4 | F6:6 Db6:2 Ab5:8 | "
                "Bb5:4 D6:4 F6:8 | F6:4 Eb6:2 C6:2 Ab5:4 C6:4 | Eb6:4 C6:2 C6:2 G5:4 Eb5:4 | "
                "F5:2 Ab5:2 C6:4 F5:2 Bb5:2 D6:4 | D6:8 B5:2 B5:2 G5:4",
     .bass = kStage2PulseBass,
     .groove = &kStage2Double,
     .fill = &kStage2Fill,
     .arpeggio = true,
     .pad = true,
     .crash = true},
    // The way down: a low motif, then the band alone until the loop comes round.
    {.chords = "Cm:16 Ab:16 Bb:16 G:16 | Cm:16 Ab:16 Bb:16 G:16",
     .lead = "C5:2 Eb5:2 G5:4 F5:2 Eb5:2 D5:4 | C5:4 Eb5:4 Ab5:8 | Bb5:4 F5:4 D5:4 Bb4:4 | "
             "B4:8 D5:4 G5:4 | -:64",
     .bass = kStage2HeavyBass,
     .groove = &kStage2Half,
     .fill = &kStage2Fill,
     .arpeggio = true},
};

// ---- Stage clear: a C major fanfare that comes round every 12.8 seconds. ----

constexpr Band kFanfareBand{
    .lead = {.wave = Wave::Saw,
             .env = {0.01f, 0.2f, 0.75f, 0.15f},
             .gain = 0.3f,
             .vibratoDepth = 0.2f,
             .vibratoRate = 5.5f,
             .vibratoDelay = 0.25f,
             .detune = 9.0f,
             .filter = Filter::LowPass,
             .cutoff = 1500.0f,
             .cutoffEnv = 3500.0f},
    .harmony = {.wave = Wave::Square,
                .env = {0.01f, 0.2f, 0.7f, 0.15f},
                .gain = 0.15f,
                .pulseWidth = 0.4f,
                .filter = Filter::LowPass,
                .cutoff = 2200.0f},
    .bass = {.wave = Wave::Triangle, .env = {0.003f, 0.2f, 0.6f, 0.06f}, .gain = 0.5f},
    .arpeggio = {},
    .pad = {.wave = Wave::Saw,
            .env = {0.2f, 1.0f, 0.7f, 0.4f},
            .gain = 0.05f,
            .detune = 10.0f,
            .filter = Filter::LowPass,
            .cutoff = 1400.0f},
    .kick = kKick,
    .snare = kSnare,
    .hat = kHat,
    .openHat = kOpenHat,
    .crash = kCrash,
    .padOctave = 4,
    .echoSteps = 3,
    .echoLevel = 0.18f,
    .echoFeedback = 0.25f,
};

constexpr Groove kMarch{
    .kick = "X.......X.......", .snare = "....X.......X.xx", .hat = "x.x.x.x.x.x.x.x."};
constexpr Groove kMarchRoll{.kick = "X.......X.......", .snare = "X.x.X.x.XxXxXXXX"};

constexpr Section kStageClear[] = {
    {.chords = "C:16 F:16 G:16 C:16 | Ab:16 Bb:16 C:16 G:16",
     .lead = "G4:2 G4:2 G4:2 C5:10 | A4:2 A4:2 A4:2 F5:10 | B4:2 B4:2 B4:2 D5:4 G5:6 | "
             "E5:4 D5:2 C5:2 G5:8 | C5:2 Eb5:2 Ab5:4 G5:2 Ab5:2 C6:4 | "
             "D6:2 C6:2 Bb5:4 F5:2 Bb5:2 D6:4 | E6:8 C6:4 G5:4 | D6:4 B5:4 G5:4 D5:4",
     .harmony = "E4:2 E4:2 E4:2 G4:10 | F4:2 F4:2 F4:2 C5:10 | G4:2 G4:2 G4:2 B4:4 D5:6 | "
                "C5:4 B4:2 G4:2 E5:8 | Ab4:2 C5:2 Eb5:4 Eb5:2 Eb5:2 Ab5:4 | "
                "Bb5:2 Ab5:2 F5:4 D5:2 F5:2 Bb5:4 | C6:8 G5:4 E5:4 | B5:4 G5:4 D5:4 B4:4",
     .bass = "C2:4 G2:4 C3:4 G2:4",
     .groove = &kMarch,
     .fill = &kMarchRoll,
     .pad = true,
     .crash = true},
};

// ---- Game over: a slow fall from E to A that dies away. ----

constexpr Band kLamentBand{
    .lead = {.wave = Wave::Triangle,
             .env = {0.03f, 0.5f, 0.6f, 0.5f},
             .gain = 0.45f,
             .vibratoDepth = 0.25f,
             .vibratoRate = 4.5f,
             .vibratoDelay = 0.3f,
             .detune = 6.0f},
    .harmony = {},
    .bass = {.wave = Wave::Sine, .env = {0.02f, 0.6f, 0.6f, 0.5f}, .gain = 0.45f},
    .arpeggio = {},
    .pad = {.wave = Wave::Saw,
            .env = {0.25f, 1.0f, 0.7f, 0.6f},
            .gain = 0.06f,
            .detune = 12.0f,
            .filter = Filter::LowPass,
            .cutoff = 900.0f},
    .kick = kKick,
    .snare = kSnare,
    .hat = kHat,
    .openHat = kOpenHat,
    .crash = kCrash,
    .padOctave = 4,
    .echoSteps = 4,
    .echoLevel = 0.2f,
    .echoFeedback = 0.3f,
};

constexpr Section kGameOver[] = {
    {.chords = "Am:8 F:8 Dm:8 E:8 | Am:16",
     .lead = "E5:3 D5:1 C5:4 C5:3 B4:1 A4:4 | A4:3 G4:1 F4:4 E4:4 G#4:4 | A4:16",
     .bass = "C3:8",
     .pad = true},
};

static_assert(std::all_of(std::begin(kStage1), std::end(kStage1), sectionFits));
static_assert(std::all_of(std::begin(kStage2), std::end(kStage2), sectionFits));
static_assert(std::all_of(std::begin(kStageClear), std::end(kStageClear), sectionFits));
static_assert(std::all_of(std::begin(kGameOver), std::end(kGameOver), sectionFits));

struct Piece {
  Song song;
  float peak;
};

const Piece kPieces[] = {
    {{2205, &kStage1Band, kStage1, true}, 0.8f},
    {{1960, &kStage2Band, kStage2, true}, 0.8f},
    {{2205, &kFanfareBand, kStageClear, true}, 0.8f},
    {{2000, &kLamentBand, kGameOver, false}, 0.7f},
};

}  // namespace

std::vector<tools::Clip> makeMusic(size_t first, size_t end) {
  std::vector<tools::Clip> clips;
  for (size_t i = first; i < std::min(end, std::size(kPieces)); ++i)
    clips.push_back(monoClip(renderSong(kPieces[i].song), kPieces[i].peak));
  return clips;
}

}  // namespace vane::forge
