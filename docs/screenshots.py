#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the README's screenshots with vane-sim: the title screens and the menu from a short key
script, the stages from the golden replays, each at a frame found in the run's own trace.

    docs/screenshots.py BUILD_DIR        (run from the source tree; rewrites docs/art, docs/screens)
"""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

TITLES = "1\n45 SPACE\n46\n100 SPACE\n101\n"
GAME_OVER_TUNE = ["music", 4, 0]
CLEAR_TUNE = ["music", 3, 1]
MENU = 3


class Run:
    """One vane-sim run: its arguments, the trace of every frame, and the pictures asked for."""

    STEP = 10  # pictures are written every STEP frames, in one run at the end

    def __init__(self, sim, args, frames):
        self.sim = sim
        self.args = args
        self.wanted = {}
        out = subprocess.run([sim, "--trace", "-", "--frames", str(frames), *args], check=True,
                             capture_output=True, text=True).stdout
        self.frames = [json.loads(line) for line in out.splitlines()]

    def first(self, test, after=0):
        for frame in self.frames[after:]:
            if test(frame):
                return frame["f"]
        sys.exit(f"no frame of {self.args} shows what was asked")

    def picture(self, frame, path):
        """Asks for the picture of the first frame at or after `frame` that a step falls on."""
        self.wanted[path] = -(-frame // self.STEP) * self.STEP

    def take(self):
        with tempfile.TemporaryDirectory() as folder:
            subprocess.run([self.sim, *self.args, "--frames", str(max(self.wanted.values())),
                            "--png", folder, "--png-every", str(self.STEP)], check=True,
                           capture_output=True)
            for path, frame in self.wanted.items():
                shutil.copy(os.path.join(folder, f"frame-{frame:06d}.png"), path)


def has_type(frame, types):
    return any(actor[1] in types for actor in frame["E"])


def golden(sim, name, seed, stage, ship, frames):
    return Run(sim, ["--seed", str(seed), "--stage", str(stage), "--ship", str(ship), "--input",
                     f"tests/golden/{name}.keys"], frames)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    sim = os.path.join(sys.argv[1], "tools", "sim", "vane-sim")
    with tempfile.NamedTemporaryFile("w", suffix=".keys", delete=False) as keys:
        keys.write(TITLES)
    titles = Run(sim, ["--seed", "7", "--input", keys.name], 140)
    titles.picture(40, "docs/art/title-a.png")
    titles.picture(80, "docs/art/title-b.png")
    titles.picture(140, "docs/art/menu.png")
    titles.take()
    os.unlink(keys.name)

    idle = Run(sim, ["--seed", "1", "--stage", "1", "--ship", "1"], 4000)
    idle.picture(idle.first(lambda f: GAME_OVER_TUNE in f["snd"]) + 40, "docs/screens/game-over.png")
    idle.picture(600, "docs/art/stage1.png")
    idle.take()

    one = golden(sim, "stage1-clear", 111, 1, 1, 5500)
    one.picture(900, "docs/screens/stage1.png")
    one.picture(one.first(lambda f: has_type(f, {3001})) + 300, "docs/screens/stage1-boss.png")
    cleared = one.first(lambda f: CLEAR_TUNE in f["snd"])
    one.picture(cleared + 40, "docs/screens/stage1-clear.png")
    one.picture(one.first(lambda f: f["gs"] == MENU, cleared) + 40,
                "docs/screens/menu-after-stage.png")
    one.take()

    two = golden(sim, "stage2-clear", 122, 2, 2, 7700)
    two.picture(900, "docs/screens/stage2.png")
    two.picture(1400, "docs/art/stage2.png")
    two.picture(two.first(lambda f: has_type(f, {3002})) + 300, "docs/screens/stage2-boss.png")
    two.picture(two.first(lambda f: CLEAR_TUNE in f["snd"]) + 40, "docs/screens/stage2-clear.png")
    two.take()


if __name__ == "__main__":
    main()
