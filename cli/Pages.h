#pragma once
// The pages the calculator computes, by name, shared by the command line and
// the batch mode.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vesk::cli {

// A request that the calculator cannot take: unknown page, wrong number of
// fields, a malformed tick count. Not one of the program's own failures.
struct UsageError {
    std::string message;
};

// Computes a page from its field texts and returns its texts in display order.
// Raises UsageError for an unknown page or a wrong number of fields, and the
// page's own failures (EConvertError, EOverflow) unchanged. `fieldCount`, when
// given, is the number of fields the request had, of which `fields` holds the
// first ones (a request with thousands of fields needs only its count).
std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& fields);
std::vector<std::string> RunPage(std::string_view page, const std::vector<std::string>& fields,
                                 std::size_t fieldCount);

// A text as a usage message quotes it: at most kMaxQuotedBytes of it, cut at
// a character's start, and "..." when cut.
std::string BoundedText(std::string_view text);
inline constexpr std::size_t kMaxQuotedBytes = 200;

// The tick count of the uptime page: a decimal text of 0 to 4294967295.
// Raises UsageError for anything else.
std::uint32_t ParseTickCount(const std::string& text);

}  // namespace vesk::cli
