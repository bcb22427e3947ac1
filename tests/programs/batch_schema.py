#!/usr/bin/env python3
"""The batch format's JSON Schema against the calculator: every request of the
agreement corpus matches the request schema exactly when the calculator takes
it (does not answer "usage"), every answer matches the answer schema, and a
table of hand-written lines shows what the schema lets through.

usage: batch_schema.py VESK310_CALC SCHEMA MAKE_CORPUS
"""

import json
import subprocess
import sys
import unittest

import jsonschema

CALC = SCHEMA_PATH = CORPUS_MAKER = None


def validator(name):
    schema = json.load(open(SCHEMA_PATH, encoding="utf-8"))
    jsonschema.Draft202012Validator.check_schema(schema)
    if name is None:
        return jsonschema.Draft202012Validator(schema)
    return jsonschema.Draft202012Validator({**schema, "oneOf": [{"$ref": "#/$defs/" + name}]})


class Schema(unittest.TestCase):
    def test_corpus_requests_and_answers(self):
        corpus = subprocess.run([sys.executable, CORPUS_MAKER, "--count", "3000", "--civil", "1500"], capture_output=True,
                                check=True, text=True).stdout
        answers = subprocess.run([CALC, "--batch"], input=corpus, capture_output=True, check=True,
                                 text=True).stdout
        requests, answers = corpus.splitlines(), answers.splitlines()
        self.assertEqual(len(requests), len(answers))
        request_schema, answer_schema = validator("request"), validator("answer")
        taken = refused = 0
        for line, answer_line in zip(requests, answers):
            answer = json.loads(answer_line)
            self.assertTrue(answer_schema.is_valid(answer), answer_line)
            try:
                request = json.loads(line)
            except ValueError:
                request = None
            usage = answer.get("error") == "usage"
            self.assertEqual(request is not None and request_schema.is_valid(request), not usage,
                             "%s -> %s" % (line, answer_line))
            taken, refused = taken + (not usage), refused + usage
        self.assertGreater(taken, 2500)
        self.assertGreater(refused, 5)

    def test_every_answer_gives_the_id_back(self):
        corpus = subprocess.run([sys.executable, CORPUS_MAKER, "--count", "3000", "--civil", "1500"], capture_output=True,
                                check=True, text=True).stdout
        requests = []
        for number, line in enumerate(corpus.splitlines()):
            try:
                request = json.loads(line)
            except ValueError:
                continue
            if isinstance(request, dict):
                requests.append({**request, "id": [number, str(number)]})
        answers = subprocess.run([CALC, "--batch"], input="".join(json.dumps(r) + "\n" for r in requests),
                                 capture_output=True, check=True, text=True).stdout.splitlines()
        self.assertEqual(len(requests), len(answers))
        answer_schema = validator("answer")
        for request, answer_line in zip(requests, answers):
            answer = json.loads(answer_line)
            self.assertTrue(answer_schema.is_valid(answer), answer_line)
            self.assertEqual(answer.get("id"), request["id"], answer_line)

    def test_hand_written_lines(self):
        whole = validator(None)
        good = [
            {"page": "weekday", "fields": ["2001", "1", "1"]},
            {"page": "uptime", "fields": ["4294967295"], "id": 1},
            {"page": "uptime", "fields": ["0004294967295"], "id": None},
            {"page": "span", "fields": ["1", "1", "1", "2", "2", "2"], "separator": ",", "id": {"run": [1, 2]}},
            {"page": "calendar", "fields": ["2024", "2", "29"], "start": [2024, 1, 31], "id": "a"},
            {"page": "calendar", "fields": ["2024-02-29"], "start": [2024.0, 1e0, 31]},
            {"page": "era", "fields": ["R6.1.5"]},
            {"page": "days", "fields": ["2024-01-01", "today"], "inclusive": True},
            {"page": "workday", "fields": ["2024-01-05", "-3"], "yearEnd": True, "closed": ["2024-01-04"],
             "weekend": ["sun"]},
            {"page": "age", "fields": ["2000-02-29"]},
            {"ok": True, "texts": ["x"], "values": {"weekday": 1}, "id": [1]},
            {"ok": True, "texts": ["x"], "values": {"date": "2024-01-05"}},
            {"ok": False, "error": "ECalendarError", "message": "m"},
            {"ok": False, "error": "EConvertError", "message": "m", "texts": [""] * 7},
            {"ok": False, "error": "usage", "message": "m", "id": 7},
        ]
        bad = [
            {"page": "weekday", "fields": ["2001", "1"]},
            {"page": "after", "fields": ["1", "1", "1", 1]},
            {"page": "moon", "fields": []},
            {"page": "weekday", "fields": ["1", "1", "1"], "separator": ".."},
            {"page": "weekday", "fields": ["1", "1", "1"], "start": [2024, 1, 1]},
            {"page": "calendar", "fields": ["1", "1", "1"], "start": [2024, 13, 1]},
            {"page": "uptime", "fields": ["4294967296"]},
            {"page": "uptime", "fields": ["-1"]},
            {"page": "weekday", "fields": ["1", "1", "1"], "seperator": "."},
            {"ok": True},
            {"ok": True, "texts": ["x"]},
            {"ok": True, "texts": ["x"], "values": {"weekday": 7}},
            {"page": "era", "fields": ["R6.1.5"], "inclusive": True},
            {"page": "days", "fields": ["2024-01-01", "2024-01-02"], "inclusive": "yes"},
            {"page": "holidays", "fields": []},
            {"ok": False, "error": "usage", "message": "m", "texts": []},
            {"ok": False, "error": "EConvertError", "message": "m", "texts": ["1"]},
        ]
        for line in good:
            with self.subTest(line=line):
                self.assertTrue(whole.is_valid(line))
        for line in bad:
            with self.subTest(line=line):
                self.assertFalse(whole.is_valid(line))


if __name__ == "__main__":
    CALC, SCHEMA_PATH, CORPUS_MAKER = sys.argv[1:4]
    del sys.argv[1:4]
    unittest.main()
