#include "cli/ClosedDaysFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli/DateFields.h"

namespace vesk::cli {

std::vector<std::chrono::sys_days> ReadClosedDaysFile(const std::string& path) {
    const auto fail = [&path](int error) {
        return FileReadError{BoundedText(path) + ": " + std::strerror(error != 0 ? error : EIO)};
    };
    errno = 0;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) throw fail(errno);
    std::string text;
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;)
        text.append(chunk, n);
    if (std::ferror(file.get()) != 0) throw fail(errno);
    try {
        return ReadClosedDays(text);
    } catch (const japanese::CalendarError& e) {
        throw japanese::CalendarError{BoundedText(path) + ": " + e.message};
    }
}

}  // namespace vesk::cli
