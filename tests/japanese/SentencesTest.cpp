#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "TestDates.h"
#include "japanese/Sentences.h"

namespace vesk::japanese {
namespace {

using namespace std::chrono;
using test::D;

// Each sentence is appended after what the buffer holds already.
std::string Appended(const std::function<void(std::string&)>& append) {
    std::string out = "|";
    append(out);
    return out;
}

TEST(Sentences, DatesAndEras) {
    EXPECT_EQ(Appended([](std::string& o) { AppendDate(o, D("2024-01-05")); }), "|2024年1月5日");
    EXPECT_EQ(Appended([](std::string& o) { AppendDateWithWeekday(o, D("2024-01-05")); }),
              "|2024年1月5日（金）");
    EXPECT_EQ(Appended([](std::string& o) { AppendDateWithWeekday(o, D("0001-01-01")); }),
              "|1年1月1日（月）");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendJapaneseDateWithWeekday(o, *ToJapanese(D("2024-01-05")));
              }),
              "|令和6年1月5日（金）");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendJapaneseDateWithWeekday(o, *ToJapanese(D("2019-05-01")));
              }),
              "|令和元年5月1日（水）");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendHolidayText(o, {test::Day("2024-01-01"), "元日"});
              }),
              "|2024年1月1日（月）　元日");
}

TEST(Sentences, DayCounts) {
    const DayCount year{365, 52, 1, 0, 11, 30};
    EXPECT_EQ(Appended([&](std::string& o) {
                  AppendDayCountSentence(o, D("2024-01-01"), D("2024-12-31"), year, false);
              }),
              "|2024年1月1日から2024年12月31日までは365日です。");
    const DayCount inclusive{366, 52, 2, 1, 0, 0};
    EXPECT_EQ(Appended([&](std::string& o) {
                  AppendDayCountSentence(o, D("2024-01-01"), D("2024-12-31"), inclusive, true);
              }),
              "|2024年1月1日から2024年12月31日までは初日を含めて366日です。");
    EXPECT_EQ(Appended([&](std::string& o) { AppendWeeksSentence(o, year); }), "|52週と1日です。");
    EXPECT_EQ(Appended([&](std::string& o) { AppendSpanSentence(o, year); }), "|11ヶ月30日です。");
    EXPECT_EQ(Appended([&](std::string& o) { AppendSpanSentence(o, inclusive); }),
              "|1年0ヶ月0日です。");
    const DayCount back{-365, -52, -1, 0, -11, -30};
    EXPECT_EQ(Appended([&](std::string& o) { AppendWeeksSentence(o, back); }),
              "|-52週と-1日です。");
    EXPECT_EQ(Appended([&](std::string& o) { AppendSpanSentence(o, back); }),
              "|-11ヶ月-30日です。");
}

TEST(Sentences, AddBusinessDaysAndAge) {
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendAddSentence(o, D("2024-01-31"), {0, 1, 0, 0}, D("2024-02-29"));
              }),
              "|2024年1月31日の1ヶ月後は2024年2月29日（木）です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendAddSentence(o, D("2024-01-31"), {0, 0, 0, -10}, D("2024-01-21"));
              }),
              "|2024年1月31日の10日前は2024年1月21日（日）です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendBusinessDayCountSentence(o, D("2024-01-01"), D("2024-01-31"), 21);
              }),
              "|2024年1月1日から2024年1月31日までの営業日は21日です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendNthBusinessDaySentence(o, D("2024-01-05"), 10, D("2024-01-22"));
              }),
              "|2024年1月5日の10営業日後は2024年1月22日（月）です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendNthBusinessDaySentence(o, D("2024-01-22"), -10, D("2024-01-05"));
              }),
              "|2024年1月22日の10営業日前は2024年1月5日（金）です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendNthBusinessDaySentence(o, D("2024-01-06"), 0, D("2024-01-09"));
              }),
              "|2024年1月6日（土）の次の営業日は2024年1月9日（火）です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendNthBusinessDaySentence(o, D("2024-01-05"), 0, D("2024-01-05"));
              }),
              "|2024年1月5日（金）は営業日です。");
    EXPECT_EQ(Appended([](std::string& o) {
                  AppendAgeSentence(o, D("2000-02-29"), D("2024-03-01"), {24, 25});
              }),
              "|2000年2月29日生まれの人は2024年3月1日に満24歳（数え年25歳）です。");
}

}  // namespace
}  // namespace vesk::japanese
