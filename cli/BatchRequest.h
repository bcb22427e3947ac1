#pragma once
// The stages of a batch line's answer, apart for the benchmarks: reading the
// request and composing the answer (the page in between is RunPage).

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

enum class Presence { kAbsent, kBad, kGood };

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
