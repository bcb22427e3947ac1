#!/usr/bin/env python3
"""The desktop program without a display: one line on standard error and exit
code 1, instead of an abort.

usage: no_display.py VESK310
"""

import os
import subprocess
import sys
import unittest

PROGRAM = None


def start(**changes):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XAUTHORITY")}
    env.update(changes)
    return subprocess.run([PROGRAM], capture_output=True, text=True, env=env, timeout=60)


class WithoutDisplay(unittest.TestCase):
    def test_cases(self):
        cases = [
            ({}, "vesk310: cannot start: no display (neither DISPLAY nor WAYLAND_DISPLAY is set)\n"),
            # a display number that no server has (and no socket either)
            ({"DISPLAY": ":7391"},
             "vesk310: cannot start: no display answers (DISPLAY=':7391', WAYLAND_DISPLAY unset)\n"),
            ({"QT_QPA_PLATFORM": "nosuchplatform"},
             "vesk310: cannot start: the window system cannot be started (QT_QPA_PLATFORM='nosuchplatform')\n"),
        ]
        for changes, line in cases:
            with self.subTest(env=changes):
                done = start(**changes)
                self.assertEqual((done.returncode, done.stderr), (1, line))
                self.assertEqual(done.stdout, "")


if __name__ == "__main__":
    PROGRAM = sys.argv.pop(1)
    unittest.main()
