#!/usr/bin/env python3
"""Writes the agreement corpus: JSON Lines cases for `vesk310-calc --batch`.

Every page (the calendar from a fixed start date) with both decimal separators, every failure the pages raise, and
values at the rounding and overflow edges of the date arithmetic and of the
conversions, mixed with random dates. The seed is fixed, so the same corpus
comes out on every run; the builds being compared must answer it byte for
byte alike.

usage: make_corpus.py [--seed N] [--count N] > corpus.jsonl
"""

import argparse
import json
import random
import sys

# Integer field texts: the range ends, the hexadecimal forms and texts that fail.
INTEGER_EDGES = [
    "0", "-0", "+7", "-7", "007", " 12", "12 ", "2147483647", "2147483648", "-2147483648",
    "-2147483649", "+2147483647", "0000000000002147483647", "99999999999", "$1F", "x1F", "X1F",
    "0x1F", "0X1f", "-$1F", "-0x1F", "$FFFFFFFF", "$80000000", "$7FFFFFFF", "$0000000010",
    "$100000000", "$", "0x", "x", "$G", "1e3", "1,000", "1.0", "12a", "\t1", "", " ", "-", "+",
    "- 7", "２０１", "abc", "400", "-400", "100", "1900", "2000", "2100", "9999", "10000",
]

# Real field texts, written with "." (swapped for "," when the case says so).
REAL_EDGES = [
    # small numbers and the forms of a real
    "0", "-0", ".", ".5", "5.", "-.5", "0.1", "0.5", "1.5", "2.5", "0.05", "1e", "1e+", "1e-",
    "1E3", "1.5e-3", " 12 ", "+1", "1e0500", "007",
    # texts that fail
    "", " ", "+", "-", "e3", "1 000", "1e 3", "- 1", "1.2.3", "$1F", "0x1F", "INF", "NAN", "1e5000",
    "1e4999", "1e99999", "１", "1..", "..",
    # the 64-bit range and the year whose day count overflows it
    "1e305", "4.9e305", "4.92e305", "4.93e305", "5e305", "1e306", "1e307", "1e308",
    "1.7976931348623157e308", "1.7976931348623158e308", "1.8e308", "2e308", "-1e306", "-4.9e305",
    # the extended range edge, denormals and underflow
    "1e4932", "1.18e4932", "1.19e4932", "1e4933", "-1e4932", "1e-4932", "1e-4951", "3.6e-4951",
    "4e-4951", "1e-4960", "1e-4999", "1e-5000", "1e-308", "2.2250738585072014e-308",
    "4.9406564584124654e-324", "2.4703282292062327e-324", "2.4703282292062328e-324", "1e-324",
    # the exponent digits are read while the exponent is below 500
    "1e499", "1e500", "1e4999", "1e5000", "1e-499", "1e-500", "1e49999", "9e4931", "0e5000",
    "1e0499", "0.001e500", "1000e-503",
    # many digits: beyond 19 the mantissa is rounded at each step
    "9" * 19, "9" * 20, "1" + "0" * 19, "18446744073709551615", "18446744073709551616",
    "123456789012345678901234567890", "1" + "0" * 400, "0." + "0" * 300 + "1",
    "3." + "14159265358979323846" * 5, "0." + "9" * 40, "1" + "0" * 4932, "9" * 4933,
    # day numbers at the ends of the exact range and around the 30.6 steps
    "123", "122", "121", "118", "64", "1", "3652928", "3652929", "3652927", "730930.5", "731199",
    "2147483647", "2147483648", "4294967295", "4294967296", "9007199254740993",
]

TICK_EDGES = [
    "0", "1", "999", "1000", "59999", "60000", "3599999", "3600000", "3723999", "86400000",
    "2147483647", "2147483648", "2147483649", "4294967295", "4294967296", "-1", "", " 1", "1 ",
    "+1", "1.0", "1e3", "$10", "0x10", "abc", "99999999999999999999",
]

# Dates whose day numbers lie at the ends of the range where the two day-count
# functions are inverse, and the months whose 31st ends on step 11.
DATE_ANCHORS = [
    ("0", "3", "1"), ("0", "2", "29"), ("0", "2", "28"), ("1", "1", "1"), ("1", "2", "28"),
    ("-4", "3", "1"), ("-3", "3", "1"), ("-1", "12", "31"), ("10000", "12", "31"),
    ("9999", "12", "31"), ("2001", "1", "31"), ("2001", "3", "31"), ("2001", "8", "31"),
    ("2000", "2", "29"), ("1900", "2", "29"), ("2100", "2", "28"), ("2001", "0", "1"),
    ("2001", "13", "1"), ("2001", "1", "0"),
]


def with_separator(text, separator, rng):
    """The text written for the case's separator; now and then left with the
    other one, which fails."""
    if separator == "," and rng.random() < 0.9:
        return text.replace(".", ",")
    return text


def random_real(rng):
    kind = rng.random()
    if kind < 0.4:
        return str(rng.randint(-50, 50))
    if kind < 0.6:
        return "%d.%s" % (rng.randint(-40, 40), "".join(rng.choice("0123456789") for _ in range(rng.randint(1, 3))))
    if kind < 0.8:
        return str(rng.randint(-10**7, 10**7))
    mantissa = "%d.%d" % (rng.randint(1, 9), rng.randint(0, 999999))
    return "%se%d" % (mantissa, rng.choice([rng.randint(-330, 330), rng.randint(-5000, 5000), rng.randint(300, 310)]))


def year_text(rng):
    roll = rng.random()
    if roll < 0.55:
        return str(rng.randint(1, 3000))
    if roll < 0.7:
        return str(rng.randint(-400, 12000))
    if roll < 0.8:
        return rng.choice(REAL_EDGES)
    return random_real(rng)


def date_part_text(rng, high, fractions):
    """A month (high 14) or a day (high 32): mostly whole, at times with a
    fraction, an edge text or any real."""
    roll = rng.random()
    if roll < 0.75:
        return str(rng.randint(0, high))
    if roll < 0.85:
        return "%d.%d" % (rng.randint(0, high - 1), rng.choice(fractions))
    if roll < 0.92:
        return rng.choice(REAL_EDGES)
    return random_real(rng)


def date(rng):
    if rng.random() < 0.12:
        return list(rng.choice(DATE_ANCHORS))
    return [year_text(rng), date_part_text(rng, 14, range(10)), date_part_text(rng, 32, [1, 5, 9, 25, 75])]


def days_text(rng):
    roll = rng.random()
    if roll < 0.4:
        return str(rng.randint(-1000, 1000))
    if roll < 0.6:
        return str(rng.randint(-3700000, 3700000))
    if roll < 0.7:
        return "%d.%d" % (rng.randint(-400, 400), rng.choice([1, 5, 25, 75]))
    if roll < 0.85:
        return rng.choice(REAL_EDGES)
    return random_real(rng)


def integer_text(rng, low, high):
    roll = rng.random()
    if roll < 0.6:
        return str(rng.randint(low, high))
    if roll < 0.75:
        return rng.choice(INTEGER_EDGES)
    if roll < 0.85:
        return str(rng.randint(-2**31, 2**31 - 1))
    value = rng.randint(0, 2**32 - 1)
    return rng.choice(["$%X", "0x%x", "x%08X", "X%x"]) % value


def weekday_case(rng):
    return "weekday", [integer_text(rng, -3000, 12000), integer_text(rng, -2, 15), integer_text(rng, -40, 40)]


def span_case(rng):
    return "span", date(rng) + date(rng)


def after_case(rng):
    return "after", date(rng) + [days_text(rng)]


# Day numbers of anchor dates, and the day numbers next to which a count lands.
ANCHOR_DAY_NUMBERS = [(("0", "3", "1"), 123), (("1", "1", "1"), 429),
                      (("10000", "12", "31"), 3652928), (("2001", "1", "1"), 730929)]
EDGE_DAY_NUMBERS = [64, 118, 122, 123, 3652928, 730959, 731018, 731171, 731199]


def edge_after_case(rng):
    """A start date and a count that land on or next to an edge day number."""
    start, base = rng.choice(ANCHOR_DAY_NUMBERS)
    offset = rng.choice(EDGE_DAY_NUMBERS) - base + rng.randint(-40, 40)
    days = "%d.5" % offset if rng.random() < 0.2 else str(offset)
    return "after", list(start) + [days]


def month_end_case(rng):
    """The 30th, 31st or 1st around a month end, reached from the day before."""
    year = rng.randint(-10, 10000)
    month = rng.randint(1, 12)
    return "after", [str(year), str(month), str(rng.choice([28, 29, 30, 31])), str(rng.choice([1, 2, 3, -1, 31, 365]))]


def round_bits(value, bits, mode="even"):
    """A positive integer rounded to `bits` significant bits: to nearest with
    ties to even, to nearest with ties away from zero ("away"), or toward
    zero ("down")."""
    drop = value.bit_length() - bits
    if drop <= 0:
        return value
    kept, rest = divmod(value, 1 << drop)
    half = 1 << (drop - 1)
    if mode != "down" and (rest > half or (rest == half and (kept & 1 or mode == "away"))):
        kept += 1
    return kept << drop


def parsed_double(digits, mode):
    """The 64-bit real of a whole-number digit string, read as the calculator
    reads it: exact while the value fits 64 bits, then each multiplication by
    ten and each addition rounded to a 64-bit mantissa."""
    value = 0
    extended = False
    for c in digits:
        if not extended and value * 10 + int(c) < 1 << 64:
            value = value * 10 + int(c)
            continue
        extended = True
        value = round_bits(round_bits(value * 10, 64, mode) + int(c), 64, mode)
    return round_bits(value, 53)


def rounding_sensitive_counts(rng, mode, count):
    """Day counts of 20 to 24 digits whose 64-bit real changes when the
    extended rounding of the digit steps goes by `mode` instead of to nearest
    with ties to even: a build that rounds so gives another date for them."""
    found = []
    while len(found) < count:
        digits = str(rng.randint(1, 9)) + "".join(rng.choice("0123456789") for _ in range(rng.randint(19, 23)))
        if parsed_double(digits, "even") != parsed_double(digits, mode):
            found.append(digits)
    return found


def calendar_case(rng):
    """The month grid moved from a fixed start date (never today) by three
    field texts, which the calendar reads as integers."""
    start = [rng.randint(1, 9999), rng.randint(1, 12), rng.randint(1, 28)]
    if rng.random() < 0.2:
        start = rng.choice([[1, 1, 1], [9999, 12, 31], [2000, 2, 29], [1900, 2, 28], [2001, 1, 31]])
    return "calendar", [integer_text(rng, 0, 10000), integer_text(rng, -1, 14), integer_text(rng, -1, 32)], start


def uptime_case(rng):
    if rng.random() < 0.5:
        return "uptime", [rng.choice(TICK_EDGES)]
    return "uptime", [str(rng.choice([rng.randint(0, 2**32 - 1), rng.randint(0, 10**7)]))]


def usage_case(rng):
    """Lines the batch mode refuses: wrong field counts, unknown pages and keys."""
    roll = rng.randint(0, 4)
    if roll == 0:
        return rng.choice(["weekday", "span", "after", "uptime"]), ["1"] * rng.randint(0, 7)
    if roll == 1:
        return rng.choice(["moon", "", "Weekday", "calendar "]), ["2001", "1", "1"]
    if roll == 2:
        return None, '{"page": "weekday", "fields": ["2001", "1", "1"], "extra": 1}'
    if roll == 3:
        return None, '{"page": "span", "fields": [2001, 1, 1, 2001, 1, 2]}'
    return None, rng.choice(["", "not json", "[]", "{}", '{"page": "after"}', '{"fields": []}'])


KINDS = [
    (weekday_case, 20), (span_case, 30), (after_case, 28), (edge_after_case, 8),
    (month_end_case, 6), (uptime_case, 6), (calendar_case, 8), (usage_case, 2),
]


def iso(rng, first=1, last=9999):
    """A random Gregorian date as ISO text, years `first` to `last`."""
    year = rng.randint(first, last)
    month = rng.randint(1, 12)
    days = [31, 29 if (year % 4 == 0 and year % 100 != 0) or year % 400 == 0 else 28, 31, 30, 31, 30,
            31, 31, 30, 31, 30, 31][month - 1]
    return "%04d-%02d-%02d" % (year, month, rng.randint(1, days))


def full_width(text):
    """The text as an input method types it: digits and ASCII symbols full-width."""
    return "".join(chr(ord(c) + 0xFEE0) if "!" <= c <= "~" else c for c in text)


ERAS = [("明治", "M", 1868, 6, 45), ("大正", "T", 1912, 1, 15), ("昭和", "S", 1926, 1, 64),
        ("平成", "H", 1989, 1, 31), ("令和", "R", 2019, 1, 30)]


def date_text(rng, first=1, last=9999):
    """A date in one of the forms people type, valid or not."""
    roll = rng.random()
    if roll < 0.4:
        text = iso(rng, first, last)
        return text.replace("-", "/") if rng.random() < 0.3 else text
    if roll < 0.5:
        return iso(rng, first, last).replace("-", "")
    name, initial, _, low, high = rng.choice(ERAS)
    year, month, day = rng.randint(low, high), rng.randint(1, 12), rng.randint(1, 31)
    if rng.random() < 0.5:
        text = "%s%s年%d月%d日" % (name, "元" if year == 1 else year, month, day)
    else:
        separator = rng.choice("./-")
        text = "%s%d%s%d%s%d" % (rng.choice([initial, initial.lower()]), year, separator, month, separator, day)
    if rng.random() < 0.1:
        text = full_width(text)
    return text if rng.random() > 0.02 else rng.choice(["2023-02-29", "20240105x", "R6.2.30", "", "today!"])


def civil_case(rng):
    """A page of the civil calendar: exact Gregorian arithmetic and the holiday law."""
    page = rng.choice(["era", "holidays", "days", "add", "workdays", "workday", "age"])
    keys = {}
    if page == "era":
        return page, [date_text(rng, 1860, 2100)], keys
    if page == "holidays":
        if rng.random() < 0.6:
            return page, [str(rng.randint(1946, 2101))], keys
        return page, [iso(rng, 1948, 2099), iso(rng, 1948, 2099)], keys
    if page == "days":
        if rng.random() < 0.5:
            keys["inclusive"] = rng.random() < 0.5
        return page, [date_text(rng), date_text(rng)], keys
    if page == "add":
        units = ["y", "m", "w", "d"] if rng.random() < 0.7 else ["年", "ヶ月", "週間", "日"]
        period = rng.choice(["", "+", "-"]) + "".join(
            "%d%s" % (rng.randint(0, 400), unit) for unit in units if rng.random() < 0.6) or "1d"
        return page, [date_text(rng), period], keys
    if page in ("workdays", "workday"):
        if rng.random() < 0.5:
            keys["yearEnd"] = rng.random() < 0.5
        if rng.random() < 0.3:
            keys["closed"] = [iso(rng, 1990, 2030) for _ in range(rng.randint(0, 5))]
        if rng.random() < 0.3:
            keys["weekend"] = rng.sample(["sun", "mon", "tue", "wed", "thu", "fri", "sat"], rng.randint(0, 3))
        if page == "workdays":
            return page, [iso(rng, 1950, 2099), iso(rng, 1950, 2099)], keys
        return page, [iso(rng, 1950, 2099), str(rng.randint(-3000, 3000))], keys
    return page, [date_text(rng, 1900, 2050), date_text(rng, 1900, 2099)], keys


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--seed", type=int, default=310)
    parser.add_argument("--count", type=int, default=24000)
    parser.add_argument("--civil", type=int, default=6000, help="cases of the civil calendar's pages")
    options = parser.parse_args()
    rng = random.Random(options.seed)
    makers = [maker for maker, weight in KINDS for _ in range(weight)]
    out = sys.stdout
    # Every edge text once on its own first, so that none depends on the draw.
    lines = []
    for text in REAL_EDGES:
        for separator in ".,":
            field = with_separator(text, separator, rng)
            lines.append(("after", ["2001", "1", "1", field], separator))
            lines.append(("span", [field, "1", "1", "2001", "1", "1"], separator))
            lines.append(("after", [field, "3", "1", "0"], separator))
    for text in INTEGER_EDGES:
        lines.append(("weekday", [text, "1", "1"], "."))
        lines.append(("weekday", ["2001", "1", text], ","))
    for text in TICK_EDGES:
        lines.append(("uptime", [text], "."))
    for digits in rounding_sensitive_counts(rng, "away", 100) + rounding_sensitive_counts(rng, "down", 100):
        lines.append(("after", ["2001", "1", "1", digits], rng.choice(".,")))
    for page, fields, separator in lines:
        out.write(json.dumps({"page": page, "fields": fields, "separator": separator}, ensure_ascii=False) + "\n")
    for _ in range(options.count - len(lines)):
        page, fields, *start = rng.choice(makers)(rng)
        if page is None:
            out.write(fields + "\n")
            continue
        separator = rng.choice(".,")
        fields = [with_separator(f, separator, rng) for f in fields]
        case = {"page": page, "fields": fields, "separator": separator}
        if start:
            case["start"] = start[0]
        if rng.random() < 0.03:
            del case["separator"]  # the locale's separator: the runs fix it to "."
        out.write(json.dumps(case, ensure_ascii=False) + "\n")
    # The civil calendar's pages, from a draw of their own, so that the cases
    # above stay as they were.
    civil = random.Random(options.seed + 1)
    for _ in range(options.civil):
        page, fields, keys = civil_case(civil)
        out.write(json.dumps({"page": page, "fields": fields, **keys}, ensure_ascii=False) + "\n")


if __name__ == "__main__":
    main()
