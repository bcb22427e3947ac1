#include "cli/ClosedDaysFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "cli/DateFields.h"

namespace vesk::cli {
namespace {

std::string ReadWhole(const std::string& path) {
    const auto fail = [&path](int error) {
        return FileReadError{BoundedText(path) + ": " + std::strerror(error != 0 ? error : EIO)};
    };
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) throw fail(errno);
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) text.append(chunk, n);
    if (std::ferror(file.get()) != 0) throw fail(errno);
    return text;
}

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\f\v";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

}  // namespace

std::vector<std::chrono::sys_days> ReadClosedDaysFile(const std::string& path, TodayFunction today) {
    const std::string text = ReadWhole(path);
    std::string_view rest = text;
    if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3);
    std::vector<std::chrono::sys_days> days;
    for (std::size_t number = 1; !rest.empty(); ++number) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        line = Trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        try {
            days.emplace_back(ReadDateField(line, today));
        } catch (const UsageError& e) {
            throw UsageError{BoundedText(path) + ":" + std::to_string(number) + ": " + e.message};
        }
    }
    return days;
}

}  // namespace vesk::cli
