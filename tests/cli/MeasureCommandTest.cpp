#include "cli/MeasureCommand.h"

#include "CliHarness.h"
#include "common/Text.h"

#include <gtest/gtest.h>

#include <regex>

namespace snoozlet {
namespace {

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  for (std::string_view line : text::split(text, '\n')) {
    if (!line.empty()) out.emplace_back(line);
  }
  return out;
}

// The label, footprint and peak of a measurement line; fails the test when
// the line does not have the exact shape.
struct Measured {
  std::string label;
  double footprint = -1, peak = -1;
};

Measured parse(const std::string& line) {
  static const std::regex shape(R"(^MEASURE ([a-z]+ *) phys_footprint (\d+\.\d) MB  peak (\d+\.\d) MB$)");
  std::smatch match;
  if (!std::regex_match(line, match, shape)) {
    ADD_FAILURE() << "not a measurement line: '" << line << "'";
    return {};
  }
  EXPECT_EQ(match[1].length(), 10) << "label padded to 10: '" << line << "'";
  return {std::string(text::trimBlanks(match[1].str())), std::stod(match[2]), std::stod(match[3])};
}

TEST(MeasureCommandTest, LinesHaveTheFixedShape) {
  EXPECT_EQ(cli::measureLine("launch", {14.0, 20.04}), "MEASURE launch     phys_footprint 14.0 MB  peak 20.0 MB");
  EXPECT_EQ(cli::measureLine("idle", {0, 0}), "MEASURE idle       phys_footprint 0.0 MB  peak 0.0 MB");
  // A label longer than the column is kept whole.
  EXPECT_EQ(cli::measureLine("a-long-label", {1.25, 2}), "MEASURE a-long-label phys_footprint 1.2 MB  peak 2.0 MB");
  EXPECT_EQ(cli::measureSummary(7, 2, 40), "MEASURE nights 7 naps 2 history 40");

  const std::string status = "Name:\tsnoozlet\nVmPeak:\t  300000 kB\nVmHWM:\t   20480 kB\nVmRSS:\t   14336 kB\n";
  EXPECT_EQ(cli::parseProcStatus(status), (cli::MemoryFigures{14.0, 20.0}));
  EXPECT_EQ(cli::parseProcStatus("VmRSS:\tlots kB\nVmHWM: -5 kB\n"), (cli::MemoryFigures{0, 0}));
  EXPECT_EQ(cli::parseProcStatus(""), (cli::MemoryFigures{0, 0}));
  const cli::MemoryFigures now = cli::currentMemory();
  EXPECT_GT(now.footprint, 0.0);
  EXPECT_GE(now.peak, now.footprint);
}

TEST(MeasureCommandTest, RunsTheLoadAndCountsTheDemoWeek) {
  testing::CliMac mac;
  const testing::Outcome run = testing::runSnoozlet("--measure " + mac.dataArgument());
  ASSERT_EQ(run.status, 0) << run.err;
  const auto out = lines(run.out);
  ASSERT_EQ(out.size(), 8u) << run.out;
  const std::vector<std::string> labels = {"launch", "read", "parse", "archive", "settled"};
  double peak = 0;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (i == 5) {
      EXPECT_EQ(out[i], "MEASURE nights 7 naps 0 history 7");
      continue;
    }
    const Measured m = parse(out[i]);
    EXPECT_EQ(m.label, i < 5 ? labels[i] : i == 6 ? "refresh" : "idle");
    EXPECT_GT(m.footprint, 0.0) << out[i];
    EXPECT_GE(m.peak, m.footprint) << out[i];
    EXPECT_GE(m.peak, peak) << "the peak never falls: " << out[i];
    peak = m.peak;
  }
  // The pass used the folder given and nothing else.
  EXPECT_TRUE(std::filesystem::exists(mac.dir() / "data" / "nights.sqlite"));
  EXPECT_FALSE(std::filesystem::exists(mac.standardFolder()));
  // Without --data-dir the same load lands in the standard folder.
  ASSERT_EQ(testing::runSnoozlet("history --json").status, 0);
  EXPECT_TRUE(std::filesystem::exists(mac.standardFolder() / "nights.sqlite"));
}

TEST(MeasureCommandTest, FailedLoadIsPrintedAndThePassGoesOn) {
  testing::CliMac mac;
  testing::ScopedEnv fail("SNOOZLET_PMSET_FAIL", "log");
  const testing::Outcome run = testing::runSnoozlet("--measure " + mac.dataArgument());
  ASSERT_EQ(run.status, 0) << run.err;
  const auto out = lines(run.out);
  ASSERT_EQ(out.size(), 7u) << run.out;
  EXPECT_EQ(parse(out[0]).label, "launch");
  EXPECT_EQ(out[1], "MEASURE failed: pmset exited with 1: ");
  EXPECT_EQ(parse(out[2]).label, "settled");
  EXPECT_EQ(out[3], "MEASURE nights 0 naps 0 history 0");
  EXPECT_EQ(out[4], "MEASURE failed: pmset exited with 1: ");
  EXPECT_EQ(parse(out[5]).label, "refresh");
  EXPECT_EQ(parse(out[6]).label, "idle");
  EXPECT_FALSE(std::filesystem::exists(mac.dir() / "data")) << "nothing was loaded, so nothing was archived";

  EXPECT_EQ(testing::runSnoozlet("--measure extra").status, 2);
  const testing::Outcome help = testing::runSnoozlet("--measure --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--data-dir DIR"), std::string::npos);
}

}  // namespace
}  // namespace snoozlet
