#pragma once
// A batch line's request, as the batch format's one reader reads it: every
// line, whatever its shape, is read here once, checked as JSON (RFC 8259, with
// well-formed UTF-8 and paired surrogates) and taken apart into the keys the
// pages know. Texts are views into the line, or into the request's own
// storage where the line wrote them with escapes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "cli/Pages.h"

namespace vesk::cli {

inline constexpr int kMaxBatchNesting = 16;

enum class Presence { kAbsent, kBad, kGood };

struct BatchRequest {
    bool object = false;  // the line is a JSON object, so its "id" is given back
    Presence page = Presence::kAbsent;
    std::string_view pageName;
    Presence fields = Presence::kAbsent;                        // kGood: an array of strings
    std::array<std::string_view, kMaxPageFields> fieldTexts{};  // the first kMaxPageFields
    std::size_t fieldCount = 0;
    Presence separator = Presence::kAbsent;
    std::string_view separatorText;
    Presence start = Presence::kAbsent;        // kGood: an array of whole numbers
    std::array<std::int64_t, 3> startParts{};  // beyond +-10^15 read as 0
    std::size_t startCount = 0;
    Presence inclusive = Presence::kAbsent, yearEnd = Presence::kAbsent;  // kGood: true or false
    bool inclusiveValue = false, yearEndValue = false;
    // kGood: an array of strings; its JSON text, read with ForEachString.
    Presence closed = Presence::kAbsent, weekend = Presence::kAbsent;
    std::string_view closedArray, weekendArray;
    std::optional<std::string> unknownKey;  // the first unknown key in byte order, bounded
    std::string_view id;                    // the raw JSON text of "id", empty when absent

    // True when every text was written without escapes, so that none holds
    // a quote, a backslash or a control character.
    bool PlainTexts() const { return storage.empty(); }

    // The id to give back: only a JSON object has one.
    std::string_view AnswerId() const { return object ? id : std::string_view(); }

    std::string storage;  // the texts written with escapes; empty when there were none

    // Forgets the last line, keeping the storage's buffer.
    void Reset() {
        object = false;
        page = fields = separator = start = inclusive = yearEnd = closed = weekend =
            Presence::kAbsent;
        fieldCount = startCount = 0;
        unknownKey.reset();
        id = {};
        storage.clear();
    }
};

// Reads `line` into `request`, forgetting the last line but keeping the
// buffers. Raises UsageError for a line that is not JSON, naming the fault and
// its byte position in the line (counted from 1): "malformed JSON at byte 12:
// ..."; nesting deeper than kMaxBatchNesting levels is refused when it is met.
// A raised request keeps the id of an object read so far only when the whole
// line was read (never for malformed JSON). The views stay valid while `line`
// and `request` live and `request` is not read into again.
void ReadBatchRequest(std::string_view line, BatchRequest& request);

// Calls `each` with every string of a JSON array that ReadBatchRequest has
// read as an array of strings (closedArray, weekendArray), unescaped into
// `scratch`. Raises what `each` raises.
template <typename Each>
void ForEachString(std::string_view array, std::string& scratch, Each&& each);

// Unescapes the JSON string literal whose opening quote `p` points at, which
// ReadBatchRequest has checked, into `out`; returns the byte after its closing
// quote.
const char* UnescapeChecked(const char* p, std::string& out);

template <typename Each>
void ForEachString(std::string_view array, std::string& scratch, Each&& each) {
    const char* p = array.data();
    const char* const end = p + array.size();
    while (p < end) {
        if (*p != '"') {
            ++p;  // brackets, commas and blanks
            continue;
        }
        scratch.clear();
        p = UnescapeChecked(p, scratch);
        each(std::string_view(scratch));
    }
}

}  // namespace vesk::cli
