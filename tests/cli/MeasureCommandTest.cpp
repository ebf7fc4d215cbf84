#include "cli/MeasureCommand.h"

#include "CliHarness.h"
#include "common/Text.h"

#include <gtest/gtest.h>

#include <regex>

namespace snoozlet {
namespace {

// The labels of a pass's measurement lines (other lines as they are), each
// line checked for the fixed shape, a footprint and a peak that never falls.
std::vector<std::string> labels(const std::string& text) {
  static const std::regex shape(R"(^MEASURE ([a-z]+) +phys_footprint (\d+\.\d) MB  peak (\d+\.\d) MB$)");
  std::vector<std::string> out;
  double peak = 0;
  for (std::string_view piece : text::split(text, '\n')) {
    const std::string line(piece);
    std::smatch match;
    if (line.empty()) continue;
    if (!std::regex_match(line, match, shape)) {
      out.push_back(line);
      continue;
    }
    EXPECT_GT(std::stod(match[2]), 0.0) << line;
    EXPECT_GE(std::stod(match[3]), std::max(peak, std::stod(match[2]))) << line;
    peak = std::stod(match[3]);
    out.push_back(match[1]);
  }
  return out;
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
}

TEST(MeasureCommandTest, RunsTheLoadAndGoesOnAfterAFailedOne) {
  testing::CliMac mac;
  const testing::Outcome run = testing::runSnoozlet("--measure " + mac.dataArgument());
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(labels(run.out), (std::vector<std::string>{"launch", "read", "parse", "archive", "settled",
                                                       "MEASURE nights 7 naps 0 history 7", "refresh", "idle"}));
  // The pass used the folder given and nothing else.
  EXPECT_TRUE(std::filesystem::exists(mac.dir() / "data" / "nights.sqlite"));
  EXPECT_FALSE(std::filesystem::exists(mac.standardFolder()));
  // Without --data-dir the same load lands in the standard folder.
  ASSERT_EQ(testing::runSnoozlet("history --json").status, 0);
  EXPECT_TRUE(std::filesystem::exists(mac.standardFolder() / "nights.sqlite"));

  testing::CliMac failing;
  testing::ScopedEnv fail("SNOOZLET_PMSET_FAIL", "log");
  const testing::Outcome failed = testing::runSnoozlet("--measure " + failing.dataArgument());
  ASSERT_EQ(failed.status, 0) << failed.err;
  const std::string failure = "MEASURE failed: pmset exited with 1: ";
  EXPECT_EQ(labels(failed.out), (std::vector<std::string>{"launch", failure, "settled",
                                                          "MEASURE nights 0 naps 0 history 0", failure, "refresh",
                                                          "idle"}));
  EXPECT_FALSE(std::filesystem::exists(failing.dir() / "data")) << "nothing was loaded, so nothing was archived";
  EXPECT_EQ(testing::runSnoozlet("--measure extra").status, 2);
  const testing::Outcome help = testing::runSnoozlet("--measure --help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--data-dir DIR"), std::string::npos);
}

}  // namespace
}  // namespace snoozlet
