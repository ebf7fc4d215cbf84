#include "CliHarness.h"

#include "settings/PowerSettings.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

namespace snoozlet::testing {

Outcome runShell(const std::string& command, const std::string& input) {
  TempDir dir;
  const std::string line = command + " <" + input + " >" + (dir / "out").string() + " 2>" + (dir / "err").string();
  const int raw = std::system(line.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir / "out"), readFile(dir / "err")};
}

Outcome runSnoozlet(const std::string& arguments, const std::string& input) {
  return runShell(builtProgram("Snoozlet/snoozlet").string() + " " + arguments, input);
}

struct CliMac::Environment {
  explicit Environment(const TempDir& dir, const std::string& pmset)
      : pmset("SNOOZLET_PMSET", pmset.c_str()),
        state("SNOOZLET_PMSET_HOME", (dir / "mac").c_str()),
        today("SNOOZLET_PMSET_TODAY", "2026-12-06"),
        failing("SNOOZLET_PMSET_FAIL", nullptr),
        elevator("SNOOZLET_ELEVATOR", nullptr),
        zone("TZ", "UTC"),
        home("HOME", (dir / "home").c_str()),
        dataHome("XDG_DATA_HOME", nullptr),
        configHome("XDG_CONFIG_HOME", nullptr),
        language("LANGUAGE", nullptr),
        all("LC_ALL", "C.UTF-8"),
        lang("LANG", "C.UTF-8") {}
  ScopedEnv pmset, state, today, failing, elevator, zone, home, dataHome, configHome, language, all, lang;
};

CliMac::CliMac() : pmset_(builtProgram("Snoozlet/snoozlet-pmset").string()) {
  environment_ = std::make_unique<Environment>(dir_, pmset_);
}

CliMac::~CliMac() = default;

std::string CliMac::dataArgument() const { return "--data-dir " + (dir_ / "data").string(); }

std::string CliMac::batterySetting(const std::string& key) const {
  const Outcome custom = runShell(pmset_ + " -g custom");
  EXPECT_EQ(custom.status, 0) << custom.err;
  return PowerSettings::parse("", custom.out).battery.at(key);  // throws, failing the test, when there is none
}

}  // namespace snoozlet::testing
