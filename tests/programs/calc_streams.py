#!/usr/bin/env python3
"""vesk310-calc on real streams: write errors, the terminal highlight and
NO_COLOR, and options from a real argument vector.

usage: calc_streams.py VESK310_CALC
"""

import json
import os
import pty
import shutil
import subprocess
import sys
import unittest

CALC = None
WEEKDAY = "  2001年1月1日は（月）曜日です。\n"


def run(*args, env=None, **kwargs):
    return subprocess.run([CALC, *args], capture_output=True, text=True, env=env, **kwargs)


def environment(**changes):
    env = {k: v for k, v in os.environ.items() if k not in ("NO_COLOR", "TERM")}
    env.update(changes)
    return env


def on_terminal(*args, env):
    """Runs the calculator with its standard output on a pseudo-terminal and
    gives what it wrote there."""
    leader, follower = pty.openpty()
    try:
        process = subprocess.Popen([CALC, *args], stdout=follower, stderr=subprocess.DEVNULL, env=env)
        os.close(follower)
        follower = None
        out = b""
        while True:
            try:
                chunk = os.read(leader, 4096)
            except OSError:  # the terminal's other end is gone: all is read
                break
            if not chunk:
                break
            out += chunk
        assert process.wait(timeout=30) == 0
        return out.decode("utf-8")
    finally:
        os.close(leader)
        if follower is not None:
            os.close(follower)


class WriteErrors(unittest.TestCase):
    @unittest.skipUnless(os.path.exists("/dev/full"), "no /dev/full")
    def test_full_device(self):
        for args in (["weekday", "2001", "1", "1"], ["calendar", "2024", "2", "29"], ["--help"], ["--version"]):
            with self.subTest(args=args), open("/dev/full", "w") as full:
                done = subprocess.run([CALC, *args], stdout=full, stderr=subprocess.PIPE, text=True)
                self.assertEqual(done.returncode, 1)
                self.assertEqual(done.stderr, "vesk310-calc: write error: No space left on device\n")

    def test_closed_standard_output(self):
        done = subprocess.run(["sh", "-c", '"$0" weekday 2001 1 1 >&-', CALC], stderr=subprocess.PIPE, text=True)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stderr, "vesk310-calc: write error: Bad file descriptor\n")

    def test_json_answer_on_a_full_device_is_a_write_error(self):
        # The page's failure is in the answer, which never arrived.
        with open("/dev/full", "w") as full:
            done = subprocess.run([CALC, "--json", "weekday", "abc", "1", "1"], stdout=full, stderr=subprocess.PIPE,
                                  text=True)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stderr, "vesk310-calc: write error: No space left on device\n")


class Highlight(unittest.TestCase):
    REVERSE = "\x1b[7m"

    def test_terminal_colour_and_no_color(self):
        cases = [
            # (environment, options, reverse video expected)
            ({"TERM": "xterm"}, [], True),
            ({"TERM": "xterm", "NO_COLOR": "1"}, [], False),
            ({"TERM": "xterm", "NO_COLOR": ""}, [], True),  # empty counts as unset
            ({"TERM": "xterm", "NO_COLOR": "1"}, ["--color=always"], True),
            ({"TERM": "xterm"}, ["--color=never"], False),
            ({"TERM": "dumb"}, [], False),
        ]
        for changes, options, reverse in cases:
            with self.subTest(env=changes, options=options):
                out = on_terminal(*options, "calendar", "2024-02-09", env=environment(**changes))
                self.assertEqual(self.REVERSE in out, reverse, out)
                self.assertEqual("[9]" in out, not reverse, out)

    def test_pipe_gets_brackets_unless_always(self):
        self.assertIn("[9]", run("calendar", "2024", "2", "9", env=environment(TERM="xterm")).stdout)
        self.assertIn(self.REVERSE, run("--color=always", "calendar", "2024", "2", "9").stdout)


class ArgumentVector(unittest.TestCase):
    def test_version_and_fields_after_the_page(self):
        self.assertEqual(run("--version").stdout.splitlines()[0], "vesk310-calc 3.10")
        self.assertEqual(run("--", "weekday", "2001", "1", "1").stdout, WEEKDAY)
        # POSIXLY_CORRECT or not, "-400" after the page is a field
        for env in (environment(), environment(POSIXLY_CORRECT="1")):
            done = run("weekday", "-400", "3", "1", env=env)
            self.assertEqual((done.returncode, done.stdout), (0, "  -400年3月1日は（）曜日です。\n"))

    def test_bad_usage_is_two_lines(self):
        done = run("weekday", "2001", "1")
        self.assertEqual(done.returncode, 2)
        self.assertEqual(done.stderr, "vesk310-calc: weekday takes 3 fields (year, month, day) or a date, not 2\n"
                                      "Try 'vesk310-calc --help' for more information.\n")


class CommandLineForms(unittest.TestCase):
    """The arguments in the forms of GNU tools and calendar programs."""

    def test_options_after_the_page(self):
        for env in (environment(), environment(POSIXLY_CORRECT="1")):
            with self.subTest(posixly_correct="POSIXLY_CORRECT" in env):
                done = run("weekday", "--", "-400", "3", "1", env=env)
                self.assertEqual((done.returncode, done.stdout), (0, "  -400年3月1日は（）曜日です。\n"))
                done = run("weekday", "2001", "1", "1", "--help", env=env)
                self.assertEqual(done.returncode, 0)
                self.assertTrue(done.stdout.startswith("Usage: vesk310-calc "))
                done = run("after", "2001", "1", "1", "0,5", "--decimal-separator", ",", env=env)
                self.assertEqual(done.stdout, "  2001年 1月 1,5日です。\n")
                done = run("weekday", "2001", "1", "1", "--frobnicate", env=env)
                self.assertEqual((done.returncode, done.stdout), (2, ""))
                self.assertEqual(done.stderr.splitlines()[0], "vesk310-calc: invalid option '--frobnicate'")

    def test_bare_color_is_always_and_takes_no_word(self):
        done = run("--color", "calendar", "2024", "2", "9", env=environment())
        self.assertEqual(done.returncode, 0)
        self.assertIn("\x1b[7m", done.stdout)
        self.assertIn("\x1b[7m", run("--colour=force", "calendar", "2024", "2", "9").stdout)

    def test_calendar_forms(self):
        year = run("calendar", "2024")
        self.assertEqual(year.returncode, 0)
        for month in range(1, 13):
            self.assertIn(f"{month}月", year.stdout)
        three = run("-3", "calendar", "2024", "1")
        self.assertEqual([line.count("年") for line in three.stdout.splitlines()[:1]], [3])
        self.assertIn("2023年12月", three.stdout)
        done = run("calendar", "2024", "2", "30")
        self.assertEqual(done.returncode, 1)  # refused by the civil calendar, not bad usage
        self.assertTrue(done.stderr.startswith("vesk310-calc: '2024-02-30' is not a date"), done.stderr)

    @unittest.skipUnless(shutil.which("faketime"), "no faketime")
    def test_calendar_the_same_on_every_day(self):
        # The 31st of January: a grid moved from today a field at a time would
        # miss February's 29th.
        # faketime's library comes before a sanitizer's runtime: let the latter be.
        env = dict(os.environ)
        env["ASAN_OPTIONS"] = ":".join(filter(None, [env.get("ASAN_OPTIONS"), "verify_asan_link_order=0"]))

        def on(day, *args):
            return subprocess.run(["faketime", day, CALC, *args], capture_output=True, text=True, env=env)

        for args in (["calendar", "2024", "2", "29"], ["calendar", "2024-02-29"], ["-3", "calendar", "2024", "2"],
                     ["--json", "calendar", "2024-02-29"]):
            with self.subTest(args=args):
                answers = [on(day, *args) for day in ("2023-01-31 12:00:00", "2025-03-30 12:00:00")]
                self.assertEqual([a.returncode for a in answers], [0, 0], answers[0].stderr)
                self.assertEqual(answers[0].stdout, answers[1].stdout)
        # Today, where no day is given, is marked only while it is shown.
        marked = on("2024-02-11 12:00:00", "calendar", "2024", "2").stdout
        self.assertIn("[11]", marked)
        self.assertNotIn("[", run("calendar", "2024", "3").stdout)

    def test_json_answer_is_one_line(self):
        done = run("--json", "weekday", "2001", "1", "1")
        self.assertEqual(done.returncode, 0)
        self.assertEqual(json.loads(done.stdout), {"ok": True, "texts": [WEEKDAY.rstrip("\n")],
                                                   "values": {"weekday": 1}})
        self.assertEqual(done.stdout.count("\n"), 1)


if __name__ == "__main__":
    CALC = sys.argv.pop(1)
    unittest.main()
