#include "PmsetArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace snoozlet {
namespace {

using PmsetArguments::Command;
using PmsetArguments::Display;
using PmsetArguments::Refusal;
using PmsetArguments::Set;
using PmsetArguments::Show;
using SimulatedMac::Change;
using SimulatedMac::Profile;

Command parse(std::vector<std::string_view> arguments) { return PmsetArguments::parse(arguments); }

std::string joined(const std::vector<std::string_view>& arguments) {
  std::string out;
  for (auto a : arguments) out.append(out.empty() ? "" : " ").append(a);
  return out;
}

TEST(PmsetArgumentsTest, ReadsDisplayAndHelpCommands) {
  const struct {
    std::vector<std::string_view> arguments;
    Command expected;
  } cases[] = {
      {{"-g"}, Display{Show::live}},
      {{"-g", "live"}, Display{Show::live}},
      {{"-g", "custom"}, Display{Show::custom}},
      {{"-g", "cap"}, Display{Show::cap}},
      {{"-g", "log"}, Display{Show::log}},
      {{"--help"}, PmsetArguments::Help{}},
      {{"-h"}, PmsetArguments::Help{}},
  };
  for (const auto& c : cases) EXPECT_EQ(parse(c.arguments), c.expected) << joined(c.arguments);
}

TEST(PmsetArgumentsTest, FlagsSelectTheProfilesOfThePairsAfterThem) {
  const Change bNap0{Profile::battery, "powernap", "0"};
  const struct {
    std::vector<std::string_view> arguments;
    std::vector<Change> changes;
  } cases[] = {
      {{"-b", "powernap", "0"}, {bNap0}},
      {{"-a", "womp", "1"}, {{Profile::battery, "womp", "1"}, {Profile::ac, "womp", "1"}}},
      {{"sleep", "05"}, {{Profile::battery, "sleep", "5"}, {Profile::ac, "sleep", "5"}}},
      {{"-b", "powernap", "0", "tcpkeepalive", "0"}, {bNap0, {Profile::battery, "tcpkeepalive", "0"}}},
      {{"-b", "powernap", "0", "-c", "sleep", "10"}, {bNap0, {Profile::ac, "sleep", "10"}}},
      {{"-c", "womp", "0", "-b", "powernap", "0"}, {{Profile::ac, "womp", "0"}, bNap0}},
  };
  for (const auto& c : cases) EXPECT_EQ(parse(c.arguments), Command(Set{c.changes})) << joined(c.arguments);
}

TEST(PmsetArgumentsTest, RefusesTheWholeCommandLineForOneBadWord) {
  const struct {
    std::vector<std::string_view> arguments;
    bool withUsage;
  } cases[] = {
      {{}, true},
      {{"-g", "batt"}, true},
      {{"-g", "custom", "extra"}, true},
      {{"--help", "me"}, true},
      {{"-x"}, true},
      {{"--version"}, true},
      {{"-b"}, true},
      {{"-b", "-c", "sleep", "1"}, true},
      {{"-b", "sleep", "1", "-c"}, true},
      {{"-b", "sleep"}, true},
      {{"-b", "powernap", "0", "womp"}, true},
      {{"-b", "powernap", "0", "foo", "1"}, true},
      {{"-b", "Powernap", "0"}, true},
      {{"-b", "sleep", "abc"}, false},
      {{"-b", "powernap", "0", "sleep", "1;rm"}, false},
      {{"-b", "sleep", "-1"}, false},
      {{"-b", "sleep", ""}, false},
      {{"-b", "hibernatefile", "/tmp/x"}, false},
      {{"-u", "sleep", "1"}, false},
  };
  for (const auto& c : cases) {
    const Command command = parse(c.arguments);
    const auto* refusal = std::get_if<Refusal>(&command);
    ASSERT_NE(refusal, nullptr) << joined(c.arguments);
    EXPECT_EQ(refusal->message.rfind("pmset: ", 0), 0u) << refusal->message;
    EXPECT_EQ(refusal->withUsage, c.withUsage) << joined(c.arguments);
  }
  // A hostile word is shown, but its control characters are not.
  const Command command = parse({"-b", "\x1b]0;owned\a", "1"});
  EXPECT_EQ(std::get<Refusal>(command).message, "pmset: unknown setting '?]0;owned?'");
}

TEST(PmsetArgumentsTest, HelpNamesEveryVariable) {
  const std::string help = PmsetArguments::help();
  for (const char* name : {"SNOOZLET_PMSET_HOME", "XDG_STATE_HOME", "SNOOZLET_PMSET_DEMO_MOOD", "soundAsleep",
                           "sleepless", "SNOOZLET_PMSET_TODAY", "SNOOZLET_PMSET_FAIL", "SNOOZLET_PMSET_PREVENTERS"})
    EXPECT_NE(help.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace snoozlet
