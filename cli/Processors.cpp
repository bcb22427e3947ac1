#include "cli/Processors.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>
#include <thread>

#if defined(__linux__)
#include <sched.h>

#include <cerrno>
#endif

namespace vesk::cli {
namespace {

#if defined(__linux__)
// The CPUs of the affinity mask, or 0 when it cannot be read. The mask may
// have more CPUs than cpu_set_t holds (1024): the set grows until it fits.
unsigned AffinityProcessors() {
    for (std::size_t cpus = 1024; cpus <= (std::size_t{1} << 20); cpus *= 2) {
        cpu_set_t* set = CPU_ALLOC(cpus);
        if (set == nullptr) return 0;
        const std::size_t size = CPU_ALLOC_SIZE(cpus);
        CPU_ZERO_S(size, set);
        const int got = ::sched_getaffinity(0, size, set);
        const int error = errno;
        const int count = got == 0 ? CPU_COUNT_S(size, set) : 0;
        CPU_FREE(set);
        if (got == 0) return count > 0 ? static_cast<unsigned>(count) : 0;
        if (error != EINVAL) return 0;  // EINVAL: the set is smaller than the kernel's mask
    }
    return 0;
}

// The first `limit` bytes of a file, or nothing when it cannot be read.
std::string SmallFile(const std::string& path, std::size_t limit = 4096) {
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        text.resize(limit);
        text.resize(std::fread(text.data(), 1, limit, file));
        std::fclose(file);
    }
    return text;
}

// The least of the cgroup v2 CPU quotas from the process's own cgroup up to
// the root (each level can set one), or 0 when none is set.
unsigned QuotaProcessors() {
    // The cgroup v2 line of /proc/self/cgroup is "0::/PATH".
    const std::string cgroups = "\n" + SmallFile("/proc/self/cgroup");
    const std::size_t line = cgroups.find("\n0::/");
    if (line == std::string::npos) return 0;
    std::string path = cgroups.substr(line + 4, cgroups.find('\n', line + 1) - (line + 4));
    unsigned least = 0;
    for (;;) {
        if (const unsigned allowed =
                ProcessorsOfCpuMax(SmallFile("/sys/fs/cgroup" + path + "/cpu.max", 64));
            allowed != 0 && (least == 0 || allowed < least)) {
            least = allowed;
        }
        const std::size_t slash = path.find_last_of('/');
        if (slash == std::string::npos || path.size() <= 1) return least;
        path.resize(slash);  // "/a/b" → "/a" → "" (the root, which has no cpu.max)
    }
}
#endif

}  // namespace

unsigned ProcessorsOfCpuMax(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    const std::size_t blank = text.find(' ');
    if (blank == std::string_view::npos) return 0;
    // Digits only ("max" is no number, and from_chars takes no sign here).
    const auto number = [](std::string_view digits, std::uint64_t& value) {
        const char* end = digits.data() + digits.size();
        const auto read = std::from_chars(digits.data(), end, value);
        return !digits.empty() && read.ec == std::errc() && read.ptr == end;
    };
    std::uint64_t quota = 0, period = 0;
    if (!number(text.substr(0, blank), quota) || !number(text.substr(blank + 1), period) ||
        period == 0) {
        return 0;
    }
    const std::uint64_t count =
        quota / period + (quota % period != 0 ? 1 : 0);  // ceil, without overflow
    return static_cast<unsigned>(std::clamp<std::uint64_t>(count, 1, UINT_MAX));
}

unsigned UsableProcessors() {
    unsigned count = 0;
#if defined(__linux__)
    count = AffinityProcessors();
    if (const unsigned quota = QuotaProcessors(); quota != 0 && (count == 0 || quota < count))
        count = quota;
#endif
    if (count == 0) count = std::thread::hardware_concurrency();
    return std::max(count, 1u);
}

}  // namespace vesk::cli
