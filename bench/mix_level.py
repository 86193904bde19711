#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Levels of a run's sound exactly as the game mixes it, read from vane-sim's --mix WAV.

Runs vane-sim with the given arguments (a recorded key script, a seed, a stage) and --mix, then
prints the peak, the RMS level, how many samples the soft limiter bent (past its knee at 24576)
and how many reached full scale (none should: the limiter never gets there).

    bench/mix_level.py BUILD_DIR -- --seed 6 --stage 2 --ship 2 --frames 6000 \
        --input tests/golden/stage2-boss.keys
    bench/mix_level.py BUILD_DIR MIX.wav     (a mix vane-sim wrote before)
"""
import array
import math
import os
import subprocess
import sys
import tempfile
import wave

LIMITER_KNEE = 24576
FULL_SCALE = 32767


def levels(path):
    with wave.open(path, "rb") as w:
        rate = w.getframerate()
        samples = array.array("h", w.readframes(w.getnframes()))
    if sys.byteorder != "little":
        samples.byteswap()
    peak = max((abs(s) for s in samples), default=0)
    rms = math.sqrt(sum(s * s for s in samples) / len(samples)) if samples else 0.0
    bent = sum(1 for s in samples if abs(s) > LIMITER_KNEE)
    full = sum(1 for s in samples if abs(s) >= FULL_SCALE)
    return rate, len(samples) // 2, peak, rms, bent, full


def main(argv):
    if len(argv) < 3:
        sys.exit(__doc__)
    build = argv[1]
    if argv[2] == "--":
        with tempfile.TemporaryDirectory() as scratch:
            mix = os.path.join(scratch, "mix.wav")
            sim = os.path.join(build, "tools", "sim", "vane-sim")
            subprocess.run([sim, *argv[3:], "--mix", mix], check=True)
            result = levels(mix)
    else:
        result = levels(argv[2])
    rate, frames, peak, rms, bent, full = result
    dbfs = 20 * math.log10(rms / FULL_SCALE) if rms > 0 else float("-inf")
    print(f"{frames} frames at {rate} Hz ({frames / rate:.1f} s)")
    print(f"peak {peak} ({peak / FULL_SCALE:.3f} of full scale), RMS {dbfs:.1f} dBFS")
    print(f"samples bent by the limiter: {bent}; at full scale: {full}")


if __name__ == "__main__":
    main(sys.argv)
