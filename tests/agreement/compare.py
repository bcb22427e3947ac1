#!/usr/bin/env python3
"""Compares the batch answers of several builds to one corpus, line by line.

usage: compare.py CORPUS NAME=ANSWERS NAME=ANSWERS...

The first build is the reference. Prints how many lines of each other build
differ from it, and the first few of them with their case; exits 1 when any
line differs, when a build did not answer every case, or when the reference
answers lack one of the outcomes the corpus is meant to reach.
"""

import json
import sys

# Every answer the pages can give: a result, the two failures of the dialog's
# pages, the civil calendar's refusal and the batch mode's refusal of a
# malformed line.
EXPECTED_OUTCOMES = {"ok", "EConvertError", "EOverflow", "ECalendarError", "usage"}
SHOWN = 5


def read_lines(path):
    with open(path, "rb") as f:
        return f.read().split(b"\n")


def outcome(answer):
    try:
        value = json.loads(answer)
    except ValueError:
        return "unreadable"
    return "ok" if value.get("ok") else value.get("error", "unreadable")


def main(argv):
    if len(argv) < 3 or any("=" not in arg for arg in argv[1:]):
        sys.exit(__doc__)
    cases = read_lines(argv[0])
    if cases[-1] == b"":
        cases.pop()
    builds = [arg.split("=", 1) for arg in argv[1:]]
    answers = {name: read_lines(path) for name, path in builds}
    reference_name = builds[0][0]
    reference = answers[reference_name]
    failed = False
    for name, lines in answers.items():
        # Each case has exactly one answer line, and the output ends with a line break.
        if len(lines) != len(cases) + 1 or lines[-1] != b"":
            print(f"{name}: {len(lines) - 1} answer lines for {len(cases)} cases")
            failed = True
    counts = {}
    for answer in reference[: len(cases)]:
        kind = outcome(answer)
        counts[kind] = counts.get(kind, 0) + 1
    print(f"{len(cases)} cases; {reference_name}: " + ", ".join(f"{k} {v}" for k, v in sorted(counts.items())))
    missing = EXPECTED_OUTCOMES - counts.keys()
    if missing or counts.keys() - EXPECTED_OUTCOMES:
        print(f"outcomes expected {sorted(EXPECTED_OUTCOMES)}, got {sorted(counts)}")
        failed = True
    for name, lines in answers.items():
        if name == reference_name:
            continue
        differing = [i for i in range(min(len(cases), len(lines), len(reference))) if lines[i] != reference[i]]
        print(f"{name} against {reference_name}: {len(differing)} differing lines")
        for i in differing[:SHOWN]:
            print(f"  case {i + 1}: {cases[i].decode('utf-8', 'replace')[:300]}")
            print(f"    {reference_name}: {reference[i].decode('utf-8', 'replace')[:300]}")
            print(f"    {name}: {lines[i].decode('utf-8', 'replace')[:300]}")
        failed = failed or bool(differing)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
