#include "platform/CommandLine.h"

#include <gtest/gtest.h>

namespace marlovent::platform {
namespace {

struct SplitCase {
  const char* Line;
  std::vector<std::string> Arguments;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, GivesTheWindowsArguments) {
  EXPECT_EQ(SplitCommandLine(GetParam().Line), GetParam().Arguments) << GetParam().Line;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SplitCommandLineTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{" \t ", {}},
                      SplitCase{"a b  c", {"a", "b", "c"}}, SplitCase{"\ta\tb\t", {"a", "b"}},
                      SplitCase{R"("a b" c)", {"a b", "c"}}, SplitCase{R"(a"b c"d)", {"ab cd"}},
                      SplitCase{R"("")", {""}}, SplitCase{R"(a "" b)", {"a", "", "b"}},
                      SplitCase{R"(a\b\\c)", {R"(a\b\\c)"}},   // backslashes not before a quote
                      SplitCase{R"(a\"b)", {R"(a"b)"}},        // 1 backslash: literal quote
                      SplitCase{R"(a\\"b c")", {R"(a\b c)"}},  // 2: one backslash, quote groups
                      SplitCase{R"(a\\\"b)", {R"(a\"b)"}},     // 3: one backslash, literal quote
                      SplitCase{R"("a\\\\" b)", {R"(a\\)", "b"}},  // 4 before the closing quote
                      SplitCase{R"("unterminated arg)", {"unterminated arg"}},
                      SplitCase{R"(C:\Program Files\x)", {R"(C:\Program)", R"(Files\x)"}},
                      SplitCase{"2>&1 |grep ID_LENGTH", {"2>&1", "|grep", "ID_LENGTH"}},
                      SplitCase{"\"/v/视频 片.rmvb\" -y", {"/v/视频 片.rmvb", "-y"}}));

class QuoteArgumentTest : public ::testing::TestWithParam<std::string> {};

TEST_P(QuoteArgumentTest, SplitGivesTheArgumentBackExactly) {
  const std::string& S = GetParam();
  EXPECT_EQ(SplitCommandLine(QuoteArgument(S)), std::vector<std::string>{S}) << QuoteArgument(S);
  // Next to other arguments it stays one argument too.
  EXPECT_EQ(SplitCommandLine(JoinCommandLine({"-i", S, "-y"})),
            (std::vector<std::string>{"-i", S, "-y"}));
}

INSTANTIATE_TEST_SUITE_P(Table, QuoteArgumentTest,
                         ::testing::Values("", "plain", "with blank", "tab\there", "\"",
                                           "say \"hi\"", R"(back\slash)", R"(trail\)", R"(trail\\)",
                                           R"(a\"b)", R"(a\\"b)", R"("quoted\" end\\)",
                                           "/home/u/中文 视频/a.rmvb", " lead", "trail ",
                                           "-y \"; rm -rf x\""));

TEST(QuoteArgument, LeavesPlainArgumentsAlone) {
  EXPECT_EQ(QuoteArgument("/opt/m/ffmpeg"), "/opt/m/ffmpeg");
  EXPECT_EQ(QuoteArgument(R"(a\b)"), R"(a\b)");
  EXPECT_EQ(QuoteArgument("a b"), "\"a b\"");
  EXPECT_EQ(QuoteArgument(""), "\"\"");
}

}  // namespace
}  // namespace marlovent::platform
