#pragma once
// The five conversions between field texts and numbers. Field texts are UTF-8;
// only single-byte characters are ever part of a number.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "numeric/Extended.h"
#include "textconv/SystemClock.h"

namespace vesk {

inline constexpr const char* kIntegerParseMessage = "'%s' は数値ではありません";
inline constexpr const char* kRealParseMessage = "'%s' は浮動小数点数ではありません";

// Integer parse. Accepts leading blanks (" " only), then either an optional
// sign and decimal digits within the 32-bit range, or a hexadecimal form
// ("$", "x", "X", "0x", "0X" and 1 to 8 significant digits, read as two's
// complement). Anything else, including trailing blanks, raises EConvertError
// with "'<text>' は数値ではありません".
std::int32_t IntegerParse(std::string_view text);

// Real parse, with the decimal separator in force. Gives the extended value
// built digit by digit and scaled by the power-of-ten tables. Raises
// EConvertError with "'<text>' は浮動小数点数ではありません" for a malformed
// text or a value beyond the extended range. Raises nothing else.
Extended RealParse(std::string_view text);

// Real-to-text: general format with 15 significant digits and the decimal
// separator in force ("0", "-1.5", "1E15", "1.2345E-5", "INF", "NAN"). The
// digits are |value| scaled to 18 digits in extended precision, then rounded
// to 15 on the 16th digit, half up: within one unit of the 15th digit of the
// exact value. Never fails.
std::string RealToText(double value);

// Real-to-text written to `out`, which has room for kRealTextRoom bytes; gives
// the end of the text. For callers that compose into a buffer of their own.
inline constexpr std::size_t kRealTextRoom = 32;
char* WriteRealText(char* out, double value) noexcept;

// Integer-to-text: decimal digits, "-" for negatives. Never fails.
std::string IntegerToText(std::int32_t value);

// A date as "yyyy mm dd": year with at least four digits, month and day with
// two. Never fails.
std::string DateText(const LocalDate& date);

// Today's local date as "yyyy mm dd". Never fails.
std::string TodayAsText();

}  // namespace vesk
