// One batch line of any bytes (the input up to its first line break, as the
// stream splits it): exactly one answer line, always a JSON object whose "ok"
// is true or false; the line is refused as malformed exactly when it is not
// JSON, as an independent JSON reader judges it; an id comes back as written.

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/Batch.h"

namespace {

// Judges a line as JSON without building it, and tells a number beyond the
// range of a double (which that reader refuses, and JSON does not) apart.
struct Judge : nlohmann::json_sax<nlohmann::json> {
    bool numberOutOfRange = false;
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& e) override {
        numberOutOfRange = e.id == 406;
        return false;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    line = line.substr(0, line.find('\n'));
    const std::string answer = vesk::cli::AnswerBatchLine(line);
    if (answer.find('\n') != std::string::npos || answer.rfind("{\"ok\": ", 0) != 0) std::abort();
    const nlohmann::json parsed = nlohmann::json::parse(answer, nullptr, false);
    if (!parsed.is_object() || !parsed.contains("ok") || !parsed["ok"].is_boolean()) std::abort();
    const bool malformed =
        parsed.contains("message") && parsed["message"].is_string() &&
        parsed["message"].get<std::string>().rfind("malformed JSON at byte ", 0) == 0;
    const bool nested =
        parsed.contains("message") && parsed["message"].is_string() &&
        parsed["message"].get<std::string>().rfind("JSON nested deeper than", 0) == 0;
    // A raw NUL byte is refused wherever it is (that reader would take it for
    // the end of the input).
    if (line.find('\0') != std::string_view::npos) {
        if (!malformed) std::abort();
        return 0;
    }
    Judge judge;
    const bool json = nlohmann::json::sax_parse(line, &judge);
    if (!nested && !judge.numberOutOfRange && malformed == json) std::abort();
    const nlohmann::json request = nlohmann::json::parse(line, nullptr, false);
    // The id of an object comes back as the same JSON value.
    if (!nested && request.is_object() && request.contains("id")) {
        if (!parsed.contains("id") || parsed["id"] != request["id"]) std::abort();
    }
    return 0;
}
