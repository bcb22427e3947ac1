// The texts of the error boxes and the failure classes behind them.

#include <gtest/gtest.h>

#include "textconv/ErrorText.h"
#include "textconv/Failures.h"

namespace vesk {
namespace {

TEST(ShowFailureText, AppendsAFullStopAfterCharactersAboveIt) {
    const std::pair<const char*, const char*> cases[] = {
        // gets a "."
        {"'abc' は数値ではありません", "'abc' は数値ではありません."},
        {"浮動小数点数のオーバーフロー", "浮動小数点数のオーバーフロー."},
        {"ends in a letter", "ends in a letter."}, {"digit 7", "digit 7."}, {"slash/", "slash/."},
        // keeps its end
        {"already.", "already."}, {"blank ", "blank "}, {"paren)", "paren)"},
        {"quote'", "quote'"}, {"comma,", "comma,"}, {"dash-", "dash-"}, {"bang!", "bang!"},
        {"", ""},
    };
    for (const auto& [message, text] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(ShowFailureText(message), text);
    }
}

TEST(LastResortText, NamesClassModuleAddressAndMessage) {
    EXPECT_EQ(LastResortText("EReadError", "vesk310", 0x1A2Bu,
                             "Timer1.OnTimer の読み込み中のエラー : タイマーを取得できません"),
              "Exception EReadError in module vesk310 at 00001A2B.\n"
              "Timer1.OnTimer の読み込み中のエラー : タイマーを取得できません.");
    // Only the last byte counts here: a blank gets a ".", a "." does not.
    EXPECT_EQ(LastResortText("E", "m", 0, "x "), "Exception E in module m at 00000000.\nx .");
    EXPECT_EQ(LastResortText("E", "m", 0xFFFFFFFFu, "x."), "Exception E in module m at FFFFFFFF.\nx.");
    EXPECT_EQ(LastResortText("E", "m", 0, ""), "Exception E in module m at 00000000.\n");
}

TEST(LastResortText, IsCutAt1023BytesWithoutSplittingACharacter) {
    const std::string ascii = LastResortText("E", "m", 0, std::string(2000, 'a'));
    EXPECT_EQ(ascii.size(), 1023u);
    std::string japanese;
    for (int i = 0; i < 400; ++i) japanese += "日";  // three bytes each
    const std::string cut = LastResortText("E", "m", 0, japanese);
    EXPECT_LE(cut.size(), 1023u);
    EXPECT_GE(cut.size(), 1021u);
    EXPECT_EQ(cut.substr(cut.size() - 3), "日");
}

TEST(Failures, ClassTreeAndFixedMessages) {
    EXPECT_STREQ(EOverflow().Message().c_str(), "浮動小数点数のオーバーフロー");
    EXPECT_STREQ(EInvalidOp().Message().c_str(), "不正な浮動小数点数演算命令");
    EXPECT_STREQ(EZeroDivide().Message().c_str(), "0 による浮動小数点数除算");
    EXPECT_STREQ(OutOfMemoryFailure().Message().c_str(), "メモリが足りません");
    EXPECT_EQ(&OutOfMemoryFailure(), &OutOfMemoryFailure());
    const EReadError read = MakeReadError("Timer1", "OnTimer", kTimerRefusedMessage);
    EXPECT_EQ(read.Message(), "Timer1.OnTimer の読み込み中のエラー : タイマーを取得できません");
    EXPECT_STREQ(read.ClassName(), "EReadError");
    // The tree: a catch of the base class takes the derived ones.
    EXPECT_THROW(throw EOverflow(), EMathError);
    EXPECT_THROW(throw EOverflow(), EExternal);
    EXPECT_THROW(throw EOutOfResources("x"), EOutOfMemory);
    EXPECT_THROW(throw EReadError("x"), EStreamError);
    EXPECT_THROW(throw EConvertError("x"), Exception);
    EXPECT_STREQ(EOutOfResources("x").ClassName(), "EOutOfResources");
    EXPECT_STREQ(EAbort("").ClassName(), "EAbort");
}

}  // namespace
}  // namespace vesk
