// One batch line of any bytes: exactly one answer line, always a JSON object.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/Batch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const std::string answer = vesk::cli::AnswerBatchLine(line);
    if (answer.find('\n') != std::string::npos || answer.rfind("{\"ok\": ", 0) != 0) std::abort();
    return 0;
}
