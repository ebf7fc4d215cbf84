#include "PmsetArguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace snoozlet {
namespace {

using PmsetArguments::Command;
using PmsetArguments::Display;
using PmsetArguments::Set;
using PmsetArguments::Show;
using SimulatedMac::Profile;

Command parse(std::vector<std::string_view> arguments) { return PmsetArguments::parse(arguments); }

std::string joined(const std::vector<std::string_view>& arguments) {
  std::string out;
  for (auto a : arguments) out.append(out.empty() ? "" : " ").append(a);
  return out;
}

TEST(PmsetArgumentsTest, ReadsDisplayAndHelpCommands) {
  const std::pair<std::vector<std::string_view>, Command> cases[] = {
      {{"-g"}, Display{Show::live}},          {{"-g", "live"}, Display{Show::live}},
      {{"-g", "custom"}, Display{Show::custom}}, {{"-g", "cap"}, Display{Show::cap}},
      {{"-g", "log"}, Display{Show::log}},    {{"--help"}, PmsetArguments::Help{}},
      {{"-h"}, PmsetArguments::Help{}},
  };
  for (const auto& [arguments, expected] : cases) EXPECT_EQ(parse(arguments), expected) << joined(arguments);
}

TEST(PmsetArgumentsTest, FlagsSelectTheProfilesOfThePairsAfterThem) {
  const SimulatedMac::Change bNap0{Profile::battery, "powernap", "0"};
  const std::pair<std::vector<std::string_view>, std::vector<SimulatedMac::Change>> cases[] = {
      {{"-b", "powernap", "0"}, {bNap0}},
      {{"-a", "womp", "1"}, {{Profile::battery, "womp", "1"}, {Profile::ac, "womp", "1"}}},
      {{"sleep", "05"}, {{Profile::battery, "sleep", "5"}, {Profile::ac, "sleep", "5"}}},
      {{"-b", "powernap", "0", "tcpkeepalive", "0"}, {bNap0, {Profile::battery, "tcpkeepalive", "0"}}},
      {{"-b", "powernap", "0", "-c", "sleep", "10"}, {bNap0, {Profile::ac, "sleep", "10"}}},
      {{"-c", "womp", "0", "-b", "powernap", "0"}, {{Profile::ac, "womp", "0"}, bNap0}},
  };
  for (const auto& [arguments, changes] : cases) EXPECT_EQ(parse(arguments), Command(Set{changes})) << joined(arguments);
}

TEST(PmsetArgumentsTest, RefusesTheWholeCommandLineForOneBadWord) {
  // Words that make no command come with the usage; a value that cannot be set without it.
  const std::pair<std::vector<std::string_view>, bool> cases[] = {
      {{}, true},          {{"-g", "batt"}, true},  {{"-g", "custom", "extra"}, true},
      {{"--help", "me"}, true},                     {{"-x"}, true},
      {{"-b"}, true},                               {{"-b", "-c", "sleep", "1"}, true},
      {{"-b", "sleep", "1", "-c"}, true},           {{"-b", "sleep"}, true},
      {{"-b", "powernap", "0", "womp"}, true},      {{"-b", "powernap", "0", "foo", "1"}, true},
      {{"-b", "Powernap", "0"}, true},              {{"-b", "sleep", "abc"}, false},
      {{"-b", "powernap", "0", "sleep", "1;rm"}, false},
      {{"-b", "hibernatefile", "/tmp/x"}, false},   {{"-u", "sleep", "1"}, false},
  };
  for (const auto& [arguments, withUsage] : cases) {
    const Command command = parse(arguments);
    const auto* refusal = std::get_if<PmsetArguments::Refusal>(&command);
    ASSERT_NE(refusal, nullptr) << joined(arguments);
    EXPECT_EQ(refusal->message.rfind("pmset: ", 0), 0u) << refusal->message;
    EXPECT_EQ(refusal->withUsage, withUsage) << joined(arguments);
  }
  // A hostile word is shown, but its control characters are not.
  const Command command = parse({"-b", "\x1b]0;owned\a", "1"});
  EXPECT_EQ(std::get<PmsetArguments::Refusal>(command).message, "pmset: unknown setting '?]0;owned?'");
}

}  // namespace
}  // namespace snoozlet
