// SPDX-License-Identifier: MIT
// The benchmarks' own arithmetic and their parent-child report: a wrong percentile or a
// misread probe line would print plausible but false figures.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "qon/test_support/rows.h"
#include "startup_marks.h"

namespace {

QON_PRINT_ROWS_BY_NAME

using qon::bench::ParseStartupMarks;
using qon::bench::StartupMarks;
using qon::bench::Summarise;

struct SummaryCase {
    const char* name;
    std::vector<double> samples{};
    double median{}, p90{}, worst{};
};

class SummariseTest : public ::testing::TestWithParam<SummaryCase> {};

TEST_P(SummariseTest, NearestRank) {
    const SummaryCase& c = GetParam();
    const qon::bench::Summary s = Summarise(c.samples);
    EXPECT_EQ(s.count, c.samples.size());
    EXPECT_DOUBLE_EQ(s.median, c.median);
    EXPECT_DOUBLE_EQ(s.p90, c.p90);
    EXPECT_DOUBLE_EQ(s.worst, c.worst);
}

std::vector<double> oneToHundredReversed() {
    std::vector<double> v;
    for (int i = 100; i >= 1; --i) v.push_back(i);
    return v;
}

INSTANTIATE_TEST_SUITE_P(Bench, SummariseTest,
                         ::testing::Values(SummaryCase{.name = "EmptyGivesZeros"},
                                           SummaryCase{.name = "OneSampleIsEverything",
                                                       .samples = {2.5},
                                                       .median = 2.5,
                                                       .p90 = 2.5,
                                                       .worst = 2.5},
                                           SummaryCase{.name = "EvenCountTakesUpperMiddle",
                                                       .samples = {4, 1, 3, 2},
                                                       .median = 3,
                                                       .p90 = 4,
                                                       .worst = 4},
                                           SummaryCase{.name = "FewerThanTenP90IsLargest",
                                                       .samples = {1, 1, 1, 1, 1, 1, 1, 1, 9},
                                                       .median = 1,
                                                       .p90 = 9,
                                                       .worst = 9},
                                           SummaryCase{.name = "UnsortedHundredP90Is91",
                                                       .samples = oneToHundredReversed(),
                                                       .median = 51,
                                                       .p90 = 91,
                                                       .worst = 100},
                                           SummaryCase{
                                               .name = "OneSlowFrameLeavesMedianAndP90",
                                               .samples = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 50},
                                               .median = 1,
                                               .p90 = 1,
                                               .worst = 50}),
                         ::qon::test_support::RowName);

StartupMarks ascending() {
    StartupMarks m{};
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = 1000000000000 + static_cast<long long>(i) * 7;
    return m;
}

TEST(StartupMarks, FormattedLineReadsBackAmongOtherOutput) {
    const StartupMarks m = ascending();
    const std::string out = "qon: music is not available\n" + qon::bench::FormatStartupMarks(m) +
                            "\r\ntrailing words\n";
    const auto read = ParseStartupMarks(out);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read, m);
}

struct BadLineCase {
    const char* name;
    std::string output{};
};

class BadProbeLine : public ::testing::TestWithParam<BadLineCase> {};

TEST_P(BadProbeLine, IsRefusedRatherThanMisread) {
    EXPECT_FALSE(ParseStartupMarks(GetParam().output).has_value()) << GetParam().output;
}

// The probe line with the whole "font=NS" field replaced by `to`.
std::string withFontField(const std::string& to) {
    const std::string field = "font=" + std::to_string(ascending()[3]);
    std::string line = qon::bench::FormatStartupMarks(ascending());
    line.replace(line.find(field), field.size(), to);
    return line;
}

INSTANTIATE_TEST_SUITE_P(
    Bench, BadProbeLine,
    ::testing::Values(BadLineCase{.name = "NoOutput"},
                      BadLineCase{.name = "NoTaggedLine", .output = "main=1 display=2\n"},
                      BadLineCase{.name = "StepMissing", .output = withFontField("")},
                      BadLineCase{.name = "StepRepeated", .output = withFontField("main=5 font=9")},
                      BadLineCase{.name = "UnknownStep", .output = withFontField("fonts=9")},
                      BadLineCase{.name = "NotANumber", .output = withFontField("font=12ms")},
                      BadLineCase{.name = "EmptyNumber", .output = withFontField("font=")},
                      BadLineCase{.name = "NegativeNumber", .output = withFontField("font=-3")},
                      BadLineCase{.name = "FieldWithoutEquals", .output = withFontField("font 9")}),
    ::qon::test_support::RowName);

struct OrderCase {
    const char* name;
    std::size_t step{};  // the step whose mark is moved
    long long shift{};   // nanoseconds added to it
    bool inOrder{};
};

class MarksOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(MarksOrder, OnlyNonDecreasingMarksPass) {
    StartupMarks m = ascending();
    m[GetParam().step] += GetParam().shift;
    EXPECT_EQ(qon::bench::MarksInOrder(m), GetParam().inOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Bench, MarksOrder,
    ::testing::Values(OrderCase{.name = "Ascending", .inOrder = true},
                      OrderCase{
                          .name = "TwoStepsAtOneMoment", .step = 4, .shift = 7, .inOrder = true},
                      OrderCase{.name = "FirstAfterSecond", .shift = 8},
                      OrderCase{.name = "LastBeforeItsPredecessor", .step = 9, .shift = -8},
                      OrderCase{.name = "MiddleStepLate", .step = 5, .shift = 100}),
    ::qon::test_support::RowName);

// The probe runs qon's real start-up on the staged folder (the test runs with the dummy
// video and audio drivers) and must report every step, in the order the steps run.
// Nothing about its speed is checked here.
TEST(StartupProbe, ReportsEveryStepInOrderOnTheStagedGame) {
    ASSERT_TRUE(std::filesystem::is_directory(QON_STAGE_DIR)) << QON_STAGE_DIR;
    const std::string command =
        std::string("'") + QON_STARTUP_PROBE + "' '" + QON_STAGE_DIR + "' 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    const int status = pclose(pipe);
    EXPECT_EQ(status, 0) << out;
    const auto marks = ParseStartupMarks(out);
    ASSERT_TRUE(marks.has_value()) << out;
    EXPECT_TRUE(qon::bench::MarksInOrder(*marks)) << out;
    EXPECT_GT((*marks)[0], 0) << out;
}

TEST(StartupProbe, MissingGameFolderEndsWithoutAReport) {
    const std::string command =
        std::string("'") + QON_STARTUP_PROBE + "' /nonexistent/qon-folder/ 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    EXPECT_NE(pclose(pipe), 0);
    EXPECT_FALSE(ParseStartupMarks(out).has_value()) << out;
}

}  // namespace
