// A Linux laptop's nights read back through sd-journal from real journal
// files: each fixture's export (journal export format) is turned into a
// journal file with systemd-journal-remote, as journald would have written it.

#include "TestSupport.h"
#include "platform/PowerDataSource.h"
#include "platform/linux/SystemJournal.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <ctime>
#include <fstream>

namespace snoozlet {
namespace {

std::string exportOf(const std::string& fixture) {
  return testing::readFile(testing::fixturePath("journal/" + fixture + ".export"));
}

std::string utc(Instant t) {
  const std::time_t seconds = static_cast<std::time_t>(t);
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char out[32];
  std::strftime(out, sizeof out, "%m-%d %H:%M:%S", &tm);
  return out;
}

// One line a session: its span in UTC, how it ended and why, how it began,
// and its dark wakes and failures.
std::string describe(const SleepSession& s) {
  std::string out = utc(s.start) + " → " + utc(s.end) + " " + std::string(toString(s.ending.kind()));
  if (s.ending.reason()) out += " (" + s.ending.reason()->raw.get() + ")";
  out += " [" + s.sleepReason + "]";
  for (const DarkWakeEvent& w : s.darkWakes) {
    out += " wake " + utc(w.date) + " " + std::to_string(std::lround(*w.duration)) + " s " +
           std::string(toString(w.reason.category)) + " (" + w.reason.raw.get() + ")";
  }
  for (const SleepFailure& f : s.failures) out += " failed: " + f.message;
  return out;
}

struct Read {
  testing::TempDir dir;
  JournalReader reader;
  explicit Read(const std::string& fixture, const std::string& upower = "") {
    const auto journal = dir / (fixture + ".journal");
    testing::writeJournal(journal, exportOf(fixture));
    std::optional<std::filesystem::path> history = dir.path();  // no history file: no readings
    if (!upower.empty()) {
      history = dir.path() / "history-charge-BAT0.dat";
      std::ofstream(*history) << upower;
    }
    const Status status = reader.read({journal, history});
    EXPECT_TRUE(status.ok()) << (status.ok() ? "" : status.error().description());
  }
  std::vector<std::string> sessions() const {
    std::vector<std::string> out;
    for (const SleepSession& s : reader.sessions()) out.push_back(describe(s));
    return out;
  }
};

TEST(SystemJournalTest, RealExcerptsReadAsTheirSleeps) {
  struct Case {
    std::string fixture;
    std::vector<std::string> sessions;
    int failedAttempts = 0;
  };
  const std::vector<Case> cases = {
      // Deep sleep, dated by systemd-sleep although the kernel's lines carry
      // the resume time; back to sleep 18 s after the first resume, with no
      // lid or key between: one session with a dark wake. The suspend key
      // pressed before the forced restart starts no sleep.
      {"g5-5590-deep-s3-reboot",
       {"03-07 10:54:30 → 03-07 18:00:50 fullWake (?) [?] wake 03-07 14:33:38 18 s unknown (?)"}},
      // s2idle from a syslog copy: the kernel's entry line (its "[seconds]"
      // kept) opens the sleep, the old wording's "System resumed." ends it.
      {"hp-x360-s2idle-charger-syslog", {"11-25 18:16:56 → 11-25 18:17:29 fullWake (?) [?]"}},
      // logind alone: the lid closed and opened.
      {"krowka-logind-lid-overnight", {"01-02 21:03:56 → 01-03 08:58:02 fullWake (Lid opened) [Lid closed]"}},
      // Localised month names do not matter to the journal's own stamps; the
      // lid closed at the end starts nothing by itself.
      {"archie-malayalam-lid-cycle", {"11-27 03:28:28 → 11-27 03:28:39 fullWake (Lid opened) [Lid closed]"}},
      // The newest wording.
      {"mydebian-performing-two-naps",
       {"06-04 04:09:41 → 06-04 12:45:57 fullWake (?) [?]", "06-04 21:38:39 → 06-04 22:03:45 fullWake (?) [?]"}},
      // Failures before any sleep, in the old and the current wording.
      {"pe60-failed-busy-old-wording", {}, 1},
      {"hibernate-enomem-failed-twice", {}, 2},
      // Three nights: an s2idle night with two short resumes, a suspend a
      // wakeup source aborted before the next sleep, and a sleep the laptop
      // never came back from (the next entry is a new boot).
      {"laptop-s2idle-week",
       {"11-30 23:10:03 → 12-01 07:05:19 fullWake (Lid opened) [Lid closed] wake 12-01 01:12:40 45 s unknown (Woke up "
        "from IRQ 9 (ACPI SCI)) wake 12-01 03:31:07 34 s network (Woke up from IRQ 147 (iwlwifi))",
        "12-01 22:50:11 → 12-02 06:40:02 fullWake (?) [Lid closed] failed: PM: Wakeup pending, aborting suspend "
        "(active wakeup source: PNP0C0A:00) failed: Failed to put system to sleep. System resumed again: Device or "
        "resource busy",
        "12-02 23:30:45 → 12-03 08:02:13 shutdown [Lid closed]"},
       2},
      // Ends that were never written: a sleep followed by another process's
      // start, and one followed by another process's end, ended unseen and
      // make no night; the dark wake's new process writes that sleep's end.
      {"laptop-lost-ends",
       {"03-03 22:02:52 → 03-04 05:55:30 fullWake (Lid opened) [Lid closed]",
        "03-05 22:20:41 → 03-06 06:12:26 fullWake (Lid opened) [Lid closed] wake 03-06 01:44:09 43 s network (Woke "
        "up from IRQ 147 (iwlwifi))"}},
      // A journal that begins with an end (its start rotated away), then a
      // hibernation asked for with the key.
      {"laptop-hibernate-end-first", {"01-10 19:41:12 → 01-11 04:30:46 fullWake (?) [Hibernate key pressed]"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    const Read read(c.fixture);
    EXPECT_EQ(read.sessions(), c.sessions);
    EXPECT_EQ(static_cast<int>(read.reader.nights().failedAttempts().size()), c.failedAttempts);
  }
}

TEST(SystemJournalTest, UPowerReadingsGiveTheBatteryAndTheChargerThatWokeIt) {
  // As upowerd writes it: a line when the value changes.
  const std::string history =
      "1796079000\t81.000\tdischarging\n"
      "1796108750\t74.000\tdischarging\n"  // 30 s after the lid opened
      "1796165000\t90.000\tdischarging\n"
      "1796193580\t83.000\tcharging\n"  // the charger, 22 s before the resume
      "1796196000\t88.000\tcharging\n";
  const Read read("laptop-s2idle-week", history);
  const auto sessions = read.reader.sessions();
  ASSERT_EQ(sessions.size(), 3u);
  EXPECT_EQ(sessions[0].battery, (std::vector<BatteryPoint>{{sessions[0].start, 81, false}, {1796108750, 74, false}}));
  EXPECT_EQ(sessions[0].ending.reason()->raw.get(), "Lid opened") << "the lid, not the charger";
  EXPECT_EQ(sessions[1].ending.reason(), WakeReason("Charger connected", WakeCategory::power));
  EXPECT_EQ(sessions[1].battery.back(), (BatteryPoint{1796193580, 83, true}));
  EXPECT_EQ(sessions[2].battery, (std::vector<BatteryPoint>{{sessions[2].start, 88, true}}))
      << "no reading after a sleep that never came back";
}

TEST(SystemJournalTest, ASecondReadTakesOnlyNewEntriesAcrossARotatedJournal) {
  // The week's export split where journald rotated its file: in the middle
  // of the first night, between the first resume and going back to sleep.
  const std::string whole = exportOf("laptop-s2idle-week");
  const auto cut = whole.find("\n\n", whole.find("System returned from sleep operation")) + 2;
  testing::TempDir dir;
  testing::writeJournal(dir / "system@0001.journal", whole.substr(0, cut));
  JournalReader incremental;
  ASSERT_TRUE(incremental.read({dir.path(), dir.path()}).ok());
  ASSERT_EQ(incremental.sessions().size(), 1u);
  EXPECT_EQ(incremental.sessions()[0].ending.kind(), SessionEnd::Kind::fullWake) << "resumed, so far";
  const auto cursor = incremental.cursor();
  ASSERT_TRUE(incremental.read({dir.path(), dir.path()}).ok());
  EXPECT_EQ(incremental.cursor(), cursor) << "nothing new";

  testing::writeJournal(dir / "system.journal", whole.substr(cut));
  ASSERT_TRUE(incremental.read({dir.path(), dir.path()}).ok());
  JournalReader once;
  ASSERT_TRUE(once.read({dir.path(), dir.path()}).ok());
  EXPECT_EQ(incremental.sessions(), once.sessions());
  EXPECT_EQ(incremental.sessions().size(), 3u);
  EXPECT_EQ(incremental.sessions()[0].darkWakes.size(), 2u) << "the night goes on in the new file";
  // Read again with nothing new at the end: the last entry is not taken twice.
  ASSERT_TRUE(incremental.read({dir.path(), dir.path()}).ok());
  EXPECT_EQ(incremental.sessions(), once.sessions());
}

TEST(SystemJournalTest, WhatCannotBeReadIsAnErrorAndLeavesTheReaderAsItWas) {
  Read read("laptop-s2idle-week");
  const testing::TempDir& dir = read.dir;
  const JournalReader before = read.reader;

  const Status missing = read.reader.read({dir.path() / "nowhere", dir.path()});
  EXPECT_EQ(missing.error().description(), "no journal at " + (dir.path() / "nowhere").string());
  const Status noHistory = read.reader.read({dir / "laptop-s2idle-week.journal", dir.path() / "upower.dat"});
  EXPECT_EQ(noHistory.error().description(), "no UPower history at " + (dir.path() / "upower.dat").string());
  EXPECT_EQ(read.reader, before);

  // A file that is not a journal holds no sleep.
  std::ofstream(dir.path() / "notes.journal") << "not a journal\n";
  JournalReader other;
  const Status text = other.read({dir.path() / "notes.journal", dir.path()});
  EXPECT_TRUE(!text.ok() || other.sessions().empty());
}

TEST(SystemJournalTest, ParsingUPowerHistory) {
  const auto points = parseUPowerHistory(
      "1700000300\t55.500\tcharging\r\n"
      "1700000000\t56.000\tdischarging\n"
      "1700000600\t100.000\tfully-charged\n"
      "1700001200\t98.000\tunknown\n"
      "x\t1\tcharging\n"
      "1700001500\tnan\tcharging\n"
      "1700001800\t-4\tcharging\n"
      "1700002100\t50\n"
      "1700002400\t50.000\tdischarging");
  EXPECT_EQ(points, (std::vector<BatteryPoint>{{1700000000, 56, false},
                                               {1700000300, 56, true},
                                               {1700000600, 100, true},
                                               {1700001200, 98, false},
                                               {1700002400, 50, false}}));
}

TEST(SystemJournalTest, WakeTextsFallIntoTheTwelveCategories) {
  // One text a category, matched without regard to case.
  const std::vector<std::pair<std::string, WakeCategory>> rows = {
      {"Lid opened", WakeCategory::lid},
      {"Woke up from IRQ 1 (i8042)", WakeCategory::user},
      {"Charger connected", WakeCategory::power},
      {"Woke up from IRQ 8 (rtc0)", WakeCategory::scheduled},
      {"Woke up from IRQ 130 (enp0s31f6) magic packet", WakeCategory::networkAccess},
      {"PM: active wakeup source: hci0 Bluetooth", WakeCategory::network},
      {"Woke up from IRQ 125 (xhci_hcd)", WakeCategory::usb},
      {"Woke up from IRQ 9 (ACPI SCI)", WakeCategory::unknown},
  };
  for (const auto& [text, category] : rows) EXPECT_EQ(classifyLinuxWake(text), category) << text;
}

TEST(SystemJournalTest, TheSourceAskedForOrTheFirstThatExists) {
  testing::TempDir dir;
  const auto simulated = chooseNightSource(NightSource::simulated, std::nullopt, {});
  EXPECT_EQ(simulated->source.nightSource(), NightSource::simulated);
  EXPECT_EQ(std::filesystem::path(simulated->source.pmset()).filename(), "snoozlet-pmset");

  // Naming a journal folder chooses the journal, as does asking for it.
  const auto copied = chooseNightSource(std::nullopt, std::nullopt, {dir.path(), std::nullopt});
  EXPECT_EQ(copied->source.nightSource(), NightSource::journal);
  EXPECT_EQ(copied->source.journalPaths(), (JournalPaths{dir.path(), std::nullopt}));

  // A pmset named by the environment is read before any journal.
  const testing::ScopedEnv pmset("SNOOZLET_PMSET", "/usr/sbin/pmset-of-a-mac");
  const auto mac = chooseNightSource(std::nullopt, std::nullopt, {});
  EXPECT_EQ(mac->source.nightSource(), NightSource::pmset);
  EXPECT_EQ(mac->source.pmset(), "/usr/sbin/pmset-of-a-mac");
  EXPECT_FALSE(mac->notice);
}

TEST(SystemJournalTest, AUserWhoMayNotReadTheSystemJournalIsToldHowToFixIt) {
  // As an account in none of the journal's groups: `nobody`, from root.
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become nobody";
  // Two copied journals nobody may enter: one whose only file is root's alone, one with a readable file beside it.
  testing::TempDir dir;
  namespace fs = std::filesystem;
  for (const char* folder : {"closed", "half"}) {
    fs::create_directories(dir / folder);
    testing::writeJournal(dir / folder / "system@0001.journal", exportOf("hp-x360-s2idle-charger-syslog"));
    fs::permissions(dir / folder / "system@0001.journal", fs::perms::none);
  }
  testing::writeJournal(dir / "half" / "system.journal", exportOf("hp-x360-s2idle-charger-syslog"));
  for (const fs::path& path : {dir.path(), dir / "closed", dir / "half"}) {
    fs::permissions(path, fs::perms::others_read | fs::perms::others_exec, fs::perm_options::add);
  }
  fs::permissions(dir / "half" / "system.journal", fs::perms::others_read, fs::perm_options::add);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
    const auto problem = journalPermissionProblem();
    const auto asked = chooseNightSource(NightSource::journal, std::nullopt, {});
    const auto fallback = chooseNightSource(std::nullopt, std::nullopt, {});
    const bool told = problem && problem->find("systemd-journal group") != std::string::npos &&
                      problem->find("sudo usermod -aG systemd-journal $USER") != std::string::npos;
    const bool refused = !asked && asked.error().description() == *problem;
    const bool explained =
        fallback && fallback->notice == problem && fallback->source.nightSource() == NightSource::simulated;
    // A copied journal needs no group: only the files' own permissions.
    const bool copied = chooseNightSource(NightSource::journal, std::nullopt, {"/tmp", std::nullopt}).ok();
    // Files that are there but none of which may be read: who may read them, not an empty journal.
    JournalReader closed;
    const Status none = closed.read({dir / "closed", dir / "closed"});
    const bool saysWho = !none && none.error().description() == *problem;
    // Some readable: those are read, and the others counted.
    JournalReader half;
    const bool partly = half.read({dir / "half", dir / "half"}).ok() && half.unreadableFiles() == 1 &&
                        half.journalFiles() == 2 && !half.nights().sessions({}).empty();
    ::_exit(told && refused && explained && copied ? (saysWho ? (partly ? 0 : 5) : 4) : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace snoozlet
