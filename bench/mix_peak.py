#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Peak of a played run's sound, mixed offline from the sound events of a vane-sim trace.

Runs vane-sim with the given arguments (a recorded key script, a seed, a stage), takes the
"snd" events of every frame, and adds the clips of the two banks together the way the game
starts them: every effect on a voice of its own from the frame it was played in, one music voice
replaced by each new piece and silenced by a release. Frames are 25 ms apart; the mix runs at the
banks' own rate and channel count, before any limiter. Prints the peak and how many samples a plain
16-bit clamp would cut.

    bench/mix_peak.py BUILD_DIR -- --seed 6 --stage 2 --ship 2 --frames 6000 \
        --input tests/golden/stage2-boss.keys
    bench/mix_peak.py BUILD_DIR TRACE     (a trace vane-sim wrote before)
"""
import array
import json
import math
import re
import struct
import subprocess
import sys

FRAME_SECONDS = 0.025
FULL_SCALE = 32767


def read_bank(path):
    """The clips of a sound bank as (rate, channels, samples) with 16-bit samples."""
    with open(path, "rb") as f:
        data = f.read()
    count = data[4]
    at = 5
    clips = []
    for _ in range(count):
        _, channels, rate, _, _, bits, _ = struct.unpack_from("<HHIIHHH", data, at)
        (size,) = struct.unpack_from("<I", data, at + 18)
        body = data[at + 22 : at + 22 + size]
        at += 22 + size
        if bits != 16:
            sys.exit(f"{path}: only 16-bit clips are measured")
        samples = array.array("h")
        samples.frombytes(body[: len(body) // 2 * 2])
        clips.append((rate, channels, samples))
    return clips


def sound_events(lines):
    """The snd events of every frame of a trace, in frame order."""
    events = []
    for line in lines:
        match = re.search(r'"snd":(\[.*?\]\]|\[\])', line)
        events.append(json.loads(match.group(1)) if match else [])
    return events


def mix(effects, music, frames):
    rate, channels, _ = effects[0]
    if any((r, c) != (rate, channels) for r, c, _ in effects + music):
        sys.exit("the clips differ in rate or channels; mixing them here needs one format")
    step = rate * channels * FRAME_SECONDS
    total = int(len(frames) * step) + max(len(s) for _, _, s in effects + music)
    effect_sum = array.array("q", [0]) * total
    music_sum = array.array("q", [0]) * total
    playing = None  # (clip samples, start, looped)

    def lay_music(end):
        samples, start, looped = playing
        length = len(samples)
        stop = end if looped else min(end, start + length)
        for i in range(start, min(stop, total)):
            music_sum[i] += samples[(i - start) % length]

    for index, events in enumerate(frames):
        at = int(round(index * step))
        at -= at % channels
        for event in events:
            if event[0] == "fx":
                samples = effects[event[1] - 1][2]
                for i, v in enumerate(samples):
                    effect_sum[at + i] += v
            elif event[0] == "music":
                if playing:
                    lay_music(at)
                playing = (music[event[1] - 1][2], at, event[2] == 1)
            elif event[0] == "release" and playing:
                lay_music(at)
                playing = None
    if playing:
        lay_music(int(len(frames) * step))
    return effect_sum, music_sum


def report(name, samples):
    peak = max(max(samples), -min(samples))
    over = sum(1 for v in samples if v > FULL_SCALE or v < -FULL_SCALE - 1)
    db = 20 * math.log10(peak / FULL_SCALE) if peak else float("-inf")
    print(f"{name}: peak {peak} ({peak / FULL_SCALE:.3f} of full scale, {db:+.2f} dBFS), "
          f"{over} of {len(samples)} samples beyond 16 bits ({100 * over / len(samples):.4f}%)")


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    build = sys.argv[1]
    if sys.argv[2] == "--":
        sim = f"{build}/tools/sim/vane-sim"
        run = subprocess.run([sim, "--trace", "-", *sys.argv[3:]], check=True,
                             capture_output=True, text=True)
        frames = sound_events(run.stdout.splitlines())
    else:
        with open(sys.argv[2]) as trace:
            frames = sound_events(trace)
    effects = read_bank(f"{build}/data/1.snd")
    music = read_bank(f"{build}/data/music.snd")
    effect_sum, music_sum = mix(effects, music, frames)
    fx_count = sum(1 for events in frames for e in events if e[0] == "fx")
    print(f"{len(frames)} frames, {fx_count} effects played")
    report("effects alone", effect_sum)
    report("effects and music", array.array("q", (a + b for a, b in zip(effect_sum, music_sum))))


if __name__ == "__main__":
    main()
