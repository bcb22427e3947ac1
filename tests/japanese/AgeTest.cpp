#include <gtest/gtest.h>

#include "TestDates.h"
#include "japanese/Age.h"
#include "japanese/CalendarError.h"

namespace vesk::japanese {
namespace {

using test::D;

TEST(Age, GrowsOnTheBirthday) {
    const struct {
        const char* birth;
        const char* on;
        Age age;
    } rows[] = {
        {"1990-05-10", "2024-05-09", {33, 35}},
        {"1990-05-10", "2024-05-10", {34, 35}},
        {"2024-01-05", "2024-01-05", {0, 1}},
        {"2023-12-31", "2024-01-01", {0, 2}},  // 数え年 grows on New Year's Day
        // Born 29 February: a year older on 1 March in common years.
        {"2000-02-29", "2023-02-28", {22, 24}},
        {"2000-02-29", "2023-03-01", {23, 24}},
        {"2000-02-29", "2024-02-28", {23, 25}},
        {"2000-02-29", "2024-02-29", {24, 25}},
        {"2000-02-29", "2024-03-01", {24, 25}},
        {"0001-01-01", "9999-12-31", {9998, 9999}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.birth) + " " + row.on);
        EXPECT_EQ(AgeOn(D(row.birth), D(row.on)), row.age);
    }
}

TEST(Age, RefusesADayBeforeTheBirth) {
    try {
        AgeOn(D("2024-01-05"), D("2024-01-04"));
        ADD_FAILURE();
    } catch (const CalendarError& error) {
        EXPECT_EQ(error.message, "2024-01-04 lies before the birth date 2024-01-05");
    }
}

}  // namespace
}  // namespace vesk::japanese
