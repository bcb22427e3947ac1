// One batch line of any bytes (the input up to its first line break, as the
// stream splits it): exactly one answer line, always a JSON object whose "ok"
// is true or false, and the same as the parser's reading of the line gives.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/Batch.h"
#include "cli/BatchRequest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, line.find('\n'));
    const std::string answer = vesk::cli::AnswerBatchLine(line);
    if (answer.find('\n') != std::string::npos || answer.rfind("{\"ok\": ", 0) != 0) std::abort();
    const nlohmann::json parsed = nlohmann::json::parse(answer, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("ok") || !parsed["ok"].is_boolean()) std::abort();
    std::string general;
    vesk::cli::AppendParsedBatchAnswer(line, general);
    if (general != answer + "\n") std::abort();
    return 0;
}
