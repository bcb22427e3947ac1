#pragma once
// The batch mode: JSON Lines in, one JSON line out for each line in.
//
// In:  {"page": "weekday"|"span"|"after"|"uptime"|"calendar", "fields": [texts],
//       "separator": "."}, and for the calendar "start": [year, month, day]
//       (default today)
// Out: {"ok": true, "texts": [texts]}
//      {"ok": false, "error": "<failure class>", "message": "<message as created>"}
//      {"ok": false, "error": "usage", "message": "<what is wrong with the line>"}
// A calendar failure also carries "texts": the grid as the failure left it
// (see CalendarCommand.h for the rows).

#include <cstdio>
#include <string>
#include <string_view>

namespace vesk::cli {

// The answer line (without its line break) for one input line. Never raises;
// leaves the decimal separator as it found it.
std::string AnswerBatchLine(std::string_view line);

// Answers every line of the file descriptor `input` on `output`, in order, until
// end of input. Output is flushed whenever the input has nothing more waiting,
// so a tool can drive the calculator one line at a time. Lines longer than
// kMaxBatchLine bytes are answered with a usage error.
void RunBatch(int input, std::FILE* output);

inline constexpr std::size_t kMaxBatchLine = 16u << 20;

}  // namespace vesk::cli
