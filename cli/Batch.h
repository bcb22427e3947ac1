#pragma once
// The batch mode: JSON Lines in, one JSON line out for each line in.
//
// In:  {"page": PAGE, "fields": [texts], "separator": ".", "id": <any JSON value>}
//      and the keys of the pages that take them: "start": [year, month, day]
//      (calendar; default today), "inclusive": true|false (days), "yearEnd":
//      true|false, "closed": [dates], "weekend": [day names] (workdays,
//      workday). "separator" and "id" are optional; "separator" is one
//      printable ASCII character that cannot be part of a number (see
//      Separator.h) and defaults to the run's separator (--decimal-separator,
//      else the locale's). The pages and their fields are RunPage's (Pages.h).
// Out: {"ok": true, "texts": [texts], "values": {...}}
//      {"ok": false, "error": "<failure class>", "message": "<message as created>"}
//      {"ok": false, "error": "ECalendarError", "message": "<one line>"} for a
//      value the civil calendar refuses (a text that is no date, ...)
//      {"ok": false, "error": "usage", "message": "<what is wrong with the line>"}
//      {"ok": false, "error": "EOutOfMemory", "message": "メモリが足りません"}
//      when the answer cannot be built; the run goes on with the next line.
// A calendar failure also carries "texts": the grid as the failure left it.
// A line with an "id" gets it back as the last member of its answer,
// ", \"id\": " and the value's JSON text exactly as the line wrote it; a line
// that is not a JSON object has no id to give back. Malformed JSON is answered
// with a usage message naming the problem and its byte position in the line
// (counted from 1); nesting deeper than 16 levels is refused while the line
// is read (BatchRequest.h).

#include <cstddef>
#include <cstdio>
#include <string>
#include <span>
#include <string_view>

#include "cli/Pages.h"

namespace vesk::cli {

inline constexpr std::size_t kMaxBatchLine = 16u << 20;

// The failure class of the answers to what the civil calendar refuses.
inline constexpr const char* kCalendarErrorClass = "ECalendarError";

// The answer line (without its line break) for one input line. Never raises;
// leaves the decimal separator as it found it.
std::string AnswerBatchLine(std::string_view line);

// Appends the answer line for one input line, with its line break, to `out`.
// When the answer cannot be built for want of memory, `out` gets the
// EOutOfMemory answer instead. Never raises when `out` has kAnswerRoom bytes
// of capacity free, which that answer fits in; else it may raise
// std::bad_alloc, with `out` as it was. Thread-safe.
inline constexpr std::size_t kAnswerRoom = 256;
void AppendBatchAnswer(std::string_view line, std::string& out);

// Appends the answer line, with its line break, that the batch mode gives a
// request of `page` with these fields (the first kMaxPageFields of
// `fieldCount`) and options, and the raw JSON text `id` (none when empty):
// the answer of the command line's --json. The texts may be any bytes; they
// are checked as they are quoted. Raises std::bad_alloc.
void AppendPageAnswer(std::string& out, std::string_view page, std::span<const std::string_view> fields,
                      std::size_t fieldCount, const PageOptions& options, std::string_view id = {});

struct BatchOptions {
    // Threads that answer large inputs in chunks of lines; 0: one for each
    // processor the process may use (see Processors.h), at most 8. With one,
    // or for small and interactive input, lines are answered on the calling
    // thread. The budget below may start fewer than asked for.
    unsigned threads = 0;
    // The most bytes of whole lines given to a thread at a time.
    std::size_t chunkBytes = 128u << 10;
    // Bytes that the chunks of lines and their answers may take at once, for
    // the whole run whatever the number of threads: the more threads, the
    // smaller the chunks. A line longer than a chunk is read once into a
    // buffer of its own size and answered with no chunk in flight beside it.
    // The calling thread's output buffer adds at most 256 KiB and one answer.
    std::size_t memoryBudget = 4u << 20;
    // Lines longer than this are answered with a usage error; smaller than
    // kMaxBatchLine only for tests.
    std::size_t maxLine = kMaxBatchLine;
};

// Answers every line of the file descriptor `input` on the file descriptor
// `output`, in order, until end of input: exactly one whole answer line for
// every input line (a last line without its line break included). Answers are
// written in large blocks of whole lines and whenever the input has nothing
// more waiting, so a tool can drive the calculator one line at a time. Lines
// longer than options.maxLine bytes are answered with a usage error. A line that
// memory cannot hold, or whose answer memory cannot hold, is answered with the
// EOutOfMemory answer, and the run goes on.
//
// Returns the exit code: 0 at end of input; 1 after a read or write error,
// reported on `err` as "vesk310-calc: read error: <reason>" or
// "vesk310-calc: write error: <reason>" (a read error after the answers of
// every complete line before it; a write error at once); 1 with
// "vesk310-calc: out of memory" when the run cannot get the least memory it
// reads with; 128 + the signal's number after SIGTERM, SIGINT or SIGHUP, once
// the lines being answered are done and every complete answer is written.
// Never raises.
int RunBatch(int input, int output, std::FILE* err, const BatchOptions& options = {});

}  // namespace vesk::cli
