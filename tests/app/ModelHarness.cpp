#include "ModelHarness.h"

#include "analysis/NightAnalyzer.h"
#include "common/Text.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace snoozlet::testing {

namespace fs = std::filesystem;

constexpr int kWaitMilliseconds = 60000;

FakeMac::FakeMac(fs::path folder) : folder_(std::move(folder)), pmset_((folder_ / "pmset").string()) {
  fs::create_directories(folder_ / "state");
  // The folder's own paths, and the built simulator, stand where the script says @DIR@ and @PROGRAM@.
  const std::string script = R"(#!/bin/sh
printf '%s\n' "$*" >> '@DIR@/calls'
SNOOZLET_PMSET_HOME='@DIR@/state'; export SNOOZLET_PMSET_HOME
TZ=UTC; export TZ
if [ -f '@DIR@/fail' ]; then SNOOZLET_PMSET_FAIL=$(cat '@DIR@/fail'); export SNOOZLET_PMSET_FAIL; else unset SNOOZLET_PMSET_FAIL; fi
exec '@PROGRAM@' "$@"
)";
  writeFile(pmset_, text::replaceAll(text::replaceAll(script, "@DIR@", folder_.string()), "@PROGRAM@",
                                     builtProgram("Snoozlet/snoozlet-pmset").string()));
  fs::permissions(pmset_, fs::perms::owner_all);
  setLog("");
}

void FakeMac::setLog(std::string_view text) const { writeFile(folder_ / "state" / "log", text); }

void FakeMac::fail(std::string_view commands) const {
  if (commands.empty()) {
    fs::remove(folder_ / "fail");
  } else {
    writeFile(folder_ / "fail", commands);
  }
}

void FakeMac::change(std::string_view flag, std::string_view key, std::string_view value) const {
  const std::string command = pmset_ + " " + std::string(flag) + " " + std::string(key) + " " + std::string(value);
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

int FakeMac::count(std::string_view arguments) const {
  const fs::path calls = folder_ / "calls";
  if (!fs::exists(calls)) return 0;
  const std::string lines = readFile(calls);
  return static_cast<int>(std::ranges::count(text::split(lines, '\n'), arguments));
}

std::vector<DemoLog::Night> demoNights() {
  return DemoLog::week(DateComponents{2024, 3, 10, std::nullopt, std::nullopt, std::nullopt}, Mood::restless);
}

std::string demoLog() { return DemoLog::text(demoNights(), TimeZone::utc()); }

NightReport lastNightOf(std::string_view log) {
  const SleepAnalysis analysis = NightAnalyzer::analyze(log, TimeZone::utc(), {});
  EXPECT_NE(analysis.lastNight(), nullptr);
  return analysis.lastNight() ? *analysis.lastNight() : NightReport();
}

ModelHarness::ModelHarness()
    : mac(dir / "mac"),
      store(QString::fromStdString((dir / "preferences.ini").string()), QSettings::IniFormat),
      settings(store),
      notifier(store, &center, [this] { return now; }) {}

AppModel& ModelHarness::make(std::shared_ptr<PrivilegedRunner> runner, std::optional<Storage> storage) {
  if (!runner) runner = std::make_shared<RecordingRunner>();
  AppModel::Options options;
  options.timeZone = TimeZone::utc();
  options.clock = [this] { return now; };
  changes.reset();
  model = std::make_unique<AppModel>(settings, &notifier, storage.value_or(Storage::in(dir / "data")),
                                     PowerDataSource(mac.pmset(), nullptr), std::move(options));
  changes = std::make_unique<ChangeController>(*model, std::move(runner));
  return *model;
}

bool ModelHarness::refresh() {
  QSignalSpy finished(model.get(), &AppModel::refreshFinished);
  if (!model->refresh()) return false;
  return finished.wait(kWaitMilliseconds);
}

bool ModelHarness::apply() {
  QSignalSpy finished(changes.get(), &ChangeController::applyFinished);
  if (!changes->applyReview()) return false;
  return finished.wait(kWaitMilliseconds);
}

}  // namespace snoozlet::testing
