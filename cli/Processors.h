#pragma once
// How many processors this process may run on, for the batch mode's threads.

#include <string_view>

namespace vesk::cli {

// The processors the process may use: the CPUs of its affinity mask
// (taskset, cpusets), fewer when a cgroup v2 CPU quota on the way from its own
// cgroup up to the root allows less (cpu.max, as containers and CI runners set
// it); std::thread::hardware_concurrency() where the mask cannot be read (on
// Windows always). At least 1. Never raises; reads the system each call.
unsigned UsableProcessors();

// The processors a cgroup v2 "cpu.max" text allows: "QUOTA PERIOD" (in
// microseconds, a line break after it or not) allows ceil(QUOTA / PERIOD), at
// least 1; "max PERIOD" and any text that is not such a line set no limit: 0.
unsigned ProcessorsOfCpuMax(std::string_view text);

}  // namespace vesk::cli
