#pragma once
// The closed days of --closed FILE: one date a line.

#include <chrono>
#include <string>
#include <vector>

#include "cli/Pages.h"

namespace vesk::cli {

// A file that could not be read: "FILE: reason".
struct FileReadError {
    std::string message;
};

// The dates of the file at `path`, in file order: one date a line, in any
// form that a date field takes (ReadDateField, with `today` for the words);
// blanks around it, blank lines, a "#" and what follows it on its line, and a
// UTF-8 byte order mark at the start are ignored. Raises FileReadError when
// the file cannot be opened or read, and UsageError "FILE:LINE: <what the
// date reader says>" for the first line that holds no date.
std::vector<std::chrono::sys_days> ReadClosedDaysFile(const std::string& path, TodayFunction today);

}  // namespace vesk::cli
