// The processors a cgroup's CPU quota allows, from the text of its cpu.max.

#include <gtest/gtest.h>

#include <climits>

#include "cli/Processors.h"

namespace vesk::cli {
namespace {

TEST(Processors, ACpuQuotaAllowsItsQuotaOverItsPeriodRoundedUp) {
    const struct {
        const char* text;
        unsigned processors;  // 0: no limit
    } cases[] = {
        // no quota
        {"max 100000\n", 0},
        {"max 100000", 0},
        // a quota: ceil(quota / period), at least 1
        {"200000 100000\n", 2},
        {"150000 100000\n", 2},
        {"100001 100000", 2},
        {"100000 100000", 1},
        {"50000 100000\n", 1},
        {"1000 100000", 1},
        {"400000 50000", 8},
        {"18446744073709551615 1", UINT_MAX},
        // not such a line
        {"", 0},
        {"\n", 0},
        {"100000", 0},
        {"100000 0", 0},
        {"-100000 100000", 0},
        {"+100000 100000", 0},
        {"1e5 100000", 0},
        {"100000  100000", 0},
        {" 100000 100000", 0},
        {"100000 100000 1", 0},
        {"100000 100000\n\n", 0},
        {"18446744073709551616 1", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ProcessorsOfCpuMax(c.text), c.processors);
    }
}

}  // namespace
}  // namespace vesk::cli
