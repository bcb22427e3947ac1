#pragma once
// The stages of a batch line's answer, apart for the benchmarks: reading the
// request and composing the answer (the page in between is RunPage), and the
// direct path that most lines take.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

enum class Presence { kAbsent, kBad, kGood };

inline constexpr std::size_t kMaxPageFields = 6;

// The common request, read without the parser: an object with "page",
// "fields" and "separator", each at most once, and an "id" that is a string
// or a short integer, whose strings are printable ASCII without escapes. Such
// a line is valid JSON and reads as the parser reads it. Every text is a view
// into the line.
struct PlainRequest {
    std::string_view page;
    std::array<std::string_view, kMaxPageFields> fields;
    std::size_t fieldCount = 0;
    std::string_view separator;
    std::string_view id;  // the raw JSON text, quotes included; empty when absent
    bool hasPage = false, hasFields = false, hasSeparator = false;
};

// Reads a line of the common form into `request`; false for any other line,
// which the parser then reads.
bool ReadPlainRequest(std::string_view line, PlainRequest& request);

// Answers a plain request of one of the three computing pages straight into
// `out`, with its line break, the page's own failure included: its texts need
// no escapes (the field texts are printable ASCII without quotes or
// backslashes, the numbers' texts digits, signs, "E" and the separator), so
// they are written as they are composed. False, with nothing written, for
// everything else, which the general path answers: no page or no fields, the
// other pages, a wrong number of fields, a separator that is unusable or would
// need an escape in the answer.
bool AppendPlainAnswer(const PlainRequest& request, std::string& out);

// The answer that the parser's reading of a line gives, with its line break:
// AppendBatchAnswer without the plain reader and the direct path, which the
// tests hold against it. Raises std::bad_alloc.
void AppendParsedBatchAnswer(std::string_view line, std::string& out);

struct BatchRequest {
    bool wellFormed = false;  // the line is JSON
    bool object = false;      // ... and an object
    Presence page = Presence::kAbsent;
    std::string pageName;
    Presence fields = Presence::kAbsent;
    std::vector<std::string> fieldTexts;  // the first kMaxPageFields
    std::size_t fieldCount = 0;
    Presence separator = Presence::kAbsent;
    std::string separatorText;
    Presence start = Presence::kAbsent;
    std::array<std::int64_t, 3> startParts = {};
    std::size_t startCount = 0;
    bool hasStartKey = false;
    std::optional<std::string> unknownKey;  // the first unknown key in byte order, bounded
    std::string_view id;                    // the raw JSON text of "id", empty when absent

    // Forgets the last line, keeping the buffers.
    void Reset() {
        wellFormed = object = hasStartKey = false;
        page = fields = separator = start = Presence::kAbsent;
        pageName.clear();
        fieldTexts.clear();
        fieldCount = startCount = 0;
        separatorText.clear();
        unknownKey.reset();
        id = {};
    }
    // The id to give back: only a JSON object has one.
    std::string_view AnswerId() const { return wellFormed && object ? id : std::string_view(); }
};

// Reads the request of a line into `request` (which it resets first), then
// checks it as the format's rules say. Raises UsageError with the first
// problem; `request.AnswerId()` is the id to give back all the same.
void ReadBatchRequest(std::string_view line, BatchRequest& request);

// Appends the success answer with `texts` and the id (raw JSON, may be empty),
// with its line break.
void AppendBatchTexts(std::string& out, const std::vector<std::string>& texts, std::string_view id);

}  // namespace vesk::cli
