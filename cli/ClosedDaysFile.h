#pragma once
// The closed days of --closed FILE.

#include <chrono>
#include <string>
#include <vector>

namespace vesk::cli {

// A file that could not be read: "FILE: reason".
struct FileReadError {
    std::string message;
};

// The closed days in the file at `path`, as ReadClosedDays (DateFields.h)
// reads a file's text: sorted, without repeats. Raises FileReadError when the
// file cannot be opened or read, and japanese::CalendarError "FILE: <what
// the reader says>", which names the line, for a line that holds no date.
std::vector<std::chrono::sys_days> ReadClosedDaysFile(const std::string& path);

}  // namespace vesk::cli
