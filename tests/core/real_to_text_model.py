#!/usr/bin/env python3
"""Real-to-text worked out in exact rational arithmetic, for the tables of
tests/core/ConversionsTest.cpp.

Every step that the program does in extended precision is done here on exact
fractions and then rounded to the nearest 80-bit extended value (64-bit
mantissa, ties to even); the powers of ten are rounded from the exact integers.
Nothing here shares code or tables with the program, so the texts it prints
are a derivation of the format, not a copy of the program's output.

usage: real_to_text_model.py          prints both C++ tables (takes a few seconds)
"""

import math
import struct
from fractions import Fraction

MANTISSA_BITS = 64


def extended(q):
    """q > 0 rounded to the nearest extended value (normal range only)."""
    assert q > 0
    e = q.numerator.bit_length() - q.denominator.bit_length()
    if Fraction(2) ** e > q:
        e -= 1
    # 2^e <= q < 2^(e+1)
    assert -16382 <= e <= 16383
    unit = Fraction(2) ** (e - (MANTISSA_BITS - 1))
    m = round(q / unit)  # Fraction.__round__ rounds half to even
    return m * unit


def round_half_even(q):
    return round(q)


def power_of_ten(n):
    return extended(Fraction(10) ** n)


def scale(value, k):
    """Multiplies (k > 0) or divides (k < 0) by up to three table factors,
    10^(|k| mod 32), 10^(32 ((|k| div 32) mod 16)), 10^(512 (|k| div 512)),
    rounding each step."""
    if k == 0:
        return value
    m = abs(k)
    factors = [power_of_ten(m % 32)]
    if (m // 32) % 16:
        factors.append(power_of_ten(32 * ((m // 32) % 16)))
    if m // 512:
        factors.append(power_of_ten(512 * (m // 512)))
    for f in factors:
        value = extended(value * f if k > 0 else value / f)
    return value


def eighteen_digits(x):
    """|x| > 0 as an 18-digit integer n and E with |x| ~ 0.n * 10^E."""
    q = Fraction(abs(x))
    e2 = math.frexp(abs(x))[1] - 1  # 2^e2 <= |x| < 2^(e2+1)
    e = (e2 * 19728) // 65536 + 1  # rounds down
    n = round_half_even(scale(q, 18 - e))
    if n < 10**17:
        # the estimate was one too high: scale again with E one lower
        e -= 1
        n = round_half_even(scale(q, 18 - e))
    if n >= 10**18:
        n = round_half_even(extended(Fraction(n, 10)))
        e += 1
    assert 10**17 <= n < 10**18
    return n, e


def text(x, separator="."):
    if math.isnan(x):
        return "NAN"
    if math.isinf(x):
        return "INF"
    if x == 0:
        return "0"
    n, e = eighteen_digits(x)
    kept = n // 1000
    if (n // 100) % 10 >= 5:
        kept += 1
        if kept == 10**15:
            kept = 10**14
            e += 1
    digits = str(kept).rstrip("0") or "0"
    sign = "-" if x < 0 else ""
    if e > 15 or e < -3:
        mantissa = digits[0] + (separator + digits[1:] if len(digits) > 1 else "")
        return f"{sign}{mantissa}E{e - 1}"
    if e > 0:
        whole, rest = digits[:e].ljust(e, "0"), digits[e:]
        return sign + whole + (separator + rest if rest else "")
    return sign + "0" + separator + "0" * (-e) + digits


def exactly_rounded(x):
    """The exact value rounded once to 15 digits, half away from zero, in the
    same layout: what the format gives when no double rounding happens."""
    q = abs(Fraction(x))
    e = len(str(q.numerator // q.denominator)) if q >= 1 else 0
    while Fraction(10) ** e <= q:
        e += 1
    while Fraction(10) ** (e - 1) > q:
        e -= 1
    # 10^(e-1) <= q < 10^e
    scaled = q * Fraction(10) ** (15 - e)
    kept = int(scaled)
    if scaled - kept >= Fraction(1, 2):
        kept += 1
    if kept == 10**15:
        kept, e = 10**14, e + 1
    digits = str(kept).rstrip("0")
    sign = "-" if x < 0 else ""
    if e > 15 or e < -3:
        mantissa = digits[0] + ("." + digits[1:] if len(digits) > 1 else "")
        return f"{sign}{mantissa}E{e - 1}"
    if e > 0:
        whole, rest = digits[:e].ljust(e, "0"), digits[e:]
        return sign + whole + ("." + rest if rest else "")
    return sign + "0." + "0" * (-e) + digits


# Values of the table, each with a note. The values whose 18 digits end in
# "499", "500" and "501" were found by trying decimal texts near them; the
# check below keeps the note honest.
CASES = [
    (float.fromhex("-0x1.65c28f5c28f4p+3"), "a day of the date-after page: -11.18, not -11.1799999999999"),
    (float.fromhex("0x1.f128867a8p+2"), "a day of the date-after page"),
    (float.fromhex("0x1.5003a847c1babp+76"), "a day count of the span page"),
    (float.fromhex("0x1.d70499e345e28p+67"), "the years of that span"),
    (9.924161033296096e-265, "the estimate of E is one too high"),
    (float.fromhex("0x1.ff31d401c61dep-337"),
     "the rounded steps of the scaling decide: one rounded factor gives ...166"),
    (float.fromhex("0x1.eaea22413b57bp-266"),
     "scaled to ...4994.5 (19 digits): ties to even, then / 10 gives ...499"),
    (1 / 3, ""),
    (2 / 3, ""),
    (0.1 + 0.2, ""),
    (99999999999999.95, ""),
    (math.nextafter(10.0, 0.0), "all nines carry into a new digit"),
    (1.7976931348623157e308, "the largest 64-bit real"),
    (5e-324, "the smallest 64-bit denormal"),
    (123456789012345678.0, ""),
    (-1.5e-7, ""),
    (1000000000000005.0, ""),
]
# (value, digits 16 to 18 of the 18-digit integer)
DIGIT_CASES = [
    (0.1000074641405595, "499"),
    (1.000074641405595e-200, "499"),
    (1.000074641405595e250, "499"),
    (0.1000082934895105, "500"),  # below the half: the exact value rounds down
    (1.000066347916085e-200, "500"),
    (1.000356620048935e250, "500"),
    (0.1000099521874125, "501"),
    (1.000049760937065e-200, "501"),
    (1.000041467447555e250, "501"),
]


def sweep():
    """The values of the whole-range sweep: every power of two and of ten that
    is a 64-bit real, with both neighbours, and 20000 values spread over every
    binade by their bits (the same generator as the C++ test)."""
    values = [math.ldexp(1.0, k) for k in range(-1074, 1024)]
    values += [float(f"1e{k}") for k in range(-323, 309)]
    values += [math.nextafter(v, 0.0) for v in list(values)] + [
        math.nextafter(v, math.inf) for v in list(values)
    ]
    state = 0x9E3779B97F4A7C15
    for _ in range(20000):
        state = (state * 6364136223846793005 + 1442695040888963407) % 2**64
        values.append(struct.unpack("<d", struct.pack("<Q", state >> 1))[0])
    return [v for v in values if v != 0 and math.isfinite(v)]


def main():
    for value, digits in DIGIT_CASES:
        n, _ = eighteen_digits(value)
        assert str(n)[15:18] == digits, (value, n, digits)
    assert text(9.924161033296096e-265) == "9.9241610332961E-265"
    assert text(float.fromhex("-0x1.65c28f5c28f4p+3")) == "-11.18"

    print("// value, text; comment: digits 16 to 18 of the 18-digit integer")
    for value, note in CASES + [(v, "") for v, _ in DIGIT_CASES]:
        n, _ = eighteen_digits(value)
        comment = f"  // {str(n)[15:18]}" + (f"; {note}" if note else "")
        print(f'{{{value.hex()}, "{text(value)}"}},{comment}')
    print()
    print("// sweep values whose text is not the exact value rounded once")
    for value in sorted(set(sweep())):
        if text(value) != exactly_rounded(value):
            print(f'{{{value.hex()}, "{text(value)}"}},  // not {exactly_rounded(value)}')


if __name__ == "__main__":
    main()
