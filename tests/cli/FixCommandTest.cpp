// `snoozlet fix` and `snoozlet undo` end to end against the simulated Mac,
// and against a Linux laptop's tree of files through snoozlet-helper.

#include "CliHarness.h"
#include "settings/FixJournal.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

namespace snoozlet {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string kDone = "Done. Snoozlet kept the previous values; you can undo this in Sleep settings.\n";
const std::string kUndone = "Done. These settings are back to what they were before Snoozlet changed them.\n";
const std::string kNoPassword =
    "Nothing changes until you confirm. No password is needed: Snoozlet can already change these settings.\n";
const std::string kAcknowledged =
    "I understand: Find My may not locate this Mac while it sleeps on battery. [y/N] yes (--yes)\n";

TEST(FixCommandTest, FixAndUndoRoundTrip) {
  testing::CliMac mac;
  const std::string data = mac.dataArgument();
  const testing::Outcome fix = testing::runSnoozlet("fix powerNapOff tcpKeepAliveOff wakeForNetworkOff --yes " + data);
  ASSERT_EQ(fix.status, 0) << fix.out << fix.err;
  // The review as the presentation tests pin it, with this Mac's pmset; both questions answered by --yes.
  const std::string& p = mac.pmset();
  for (const std::string& piece :
       {"  Runs                " + p + " -b powernap 0\n", "  Undo                " + p + " -b tcpkeepalive 1\n",
        std::string("Left as they are:\n  Don’t wake for network access on battery: already set\n"),
        std::string("Change these settings? [y/N] yes (--yes)\n"), kAcknowledged}) {
    EXPECT_THAT(fix.out, HasSubstr(piece));
  }
  EXPECT_TRUE(fix.out.ends_with(kDone)) << fix.out;
  EXPECT_EQ(mac.batterySetting("powernap"), "0");
  EXPECT_EQ(mac.batterySetting("tcpkeepalive"), "0");

  const FixJournal journal = FixJournal::load(mac.journalFile());
  ASSERT_EQ(journal.records.size(), 1u);
  const FixRecord record = journal.records.front();
  EXPECT_EQ(record.changes.size(), 2u);

  const testing::Outcome listed = testing::runSnoozlet("undo " + data);
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_THAT(listed.out, HasSubstr("  " + record.id + "  "));
  EXPECT_THAT(listed.out, HasSubstr("    Turn off Power Nap on battery: powernap 1 → 0 (battery)\n"));

  // Ids are accepted in any case; an undo never asks for the acknowledgement.
  std::string lower = record.id;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const testing::Outcome undo = testing::runSnoozlet("undo " + lower + " --yes " + data);
  ASSERT_EQ(undo.status, 0) << undo.out << undo.err;
  EXPECT_TRUE(undo.out.starts_with("Undo a change\n")) << undo.out;
  EXPECT_THAT(undo.out, HasSubstr("  Runs                " + p + " -b powernap 1\n  Back to             1\n"));
  EXPECT_THAT(undo.out, Not(HasSubstr("I understand")));
  EXPECT_TRUE(undo.out.ends_with(kUndone)) << undo.out;
  EXPECT_EQ(mac.batterySetting("powernap"), "1");
  EXPECT_EQ(mac.batterySetting("tcpkeepalive"), "1");

  // The record is marked undone in the journal: a second undo finds it put back.
  const testing::Outcome again = testing::runSnoozlet("undo " + record.id + " --yes " + data);
  EXPECT_EQ(again.status, 0);
  EXPECT_TRUE(again.out.starts_with("That change was already put back on ")) << again.out;
  EXPECT_THAT(testing::runSnoozlet("undo " + data).out, HasSubstr("Nothing yet.")) << "undone records are not listed";
  const testing::Outcome unknown = testing::runSnoozlet("undo 2F1C8E53-0E5C-4D7B-9A36-4E0AFC5A2B11 --yes " + data);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_THAT(unknown.err, HasSubstr("no change with the id 2F1C8E53-0E5C-4D7B-9A36-4E0AFC5A2B11"));
}

TEST(FixCommandTest, DryRunChangesNothing) {
  testing::CliMac mac;
  const testing::Outcome run = testing::runSnoozlet("fix powerNapOff --dry-run --yes " + mac.dataArgument());
  ASSERT_EQ(run.status, 0) << run.out << run.err;
  EXPECT_THAT(run.out, HasSubstr("Dry run: this build only shows what it would do."));
  EXPECT_THAT(run.out, HasSubstr("Simulate this? [y/N] yes (--yes)\n"));
  EXPECT_TRUE(run.out.ends_with("Dry run: nothing was changed. It would have run: " + mac.pmset() + " -b powernap 0\n"))
      << run.out;
  EXPECT_EQ(mac.batterySetting("powernap"), "1");
}

TEST(FixCommandTest, RefusalsChangeNothing) {
  testing::CliMac mac;
  const std::string data = mac.dataArgument();

  const testing::Outcome unknown = testing::runSnoozlet("fix powerNapOff frobnicate --yes " + data);
  EXPECT_EQ(unknown.status, 2);
  EXPECT_TRUE(unknown.err.starts_with("snoozlet fix: unknown fix 'frobnicate' (one of: tcpKeepAliveOff, "))
      << unknown.err;
  EXPECT_EQ(testing::runSnoozlet("fix --yes " + data).status, 2);
  EXPECT_EQ(testing::runSnoozlet("fix powerNapOff --force " + data).status, 2);
  EXPECT_EQ(testing::runSnoozlet("undo --dry-run " + data).status, 2) << "an undo is never a dry run";
  const testing::Outcome two = testing::runSnoozlet("undo 2F1C8E53-0E5C-4D7B-9A36-4E0AFC5A2B11 ABC --yes " + data);
  EXPECT_EQ(two.status, 2);
  EXPECT_EQ(two.err, "snoozlet undo: one change at a time; unexpected 'ABC'\n");

  const testing::Outcome nothing = testing::runSnoozlet("fix wakeForNetworkOff --yes " + data);
  EXPECT_EQ(nothing.status, 0) << nothing.err;
  EXPECT_EQ(nothing.out, "Nothing to change:\n  Don’t wake for network access on battery: already set\n");

  // Standard input is /dev/null, not a terminal: nothing is asked, nothing runs.
  const testing::Outcome unasked = testing::runSnoozlet("fix powerNapOff " + data);
  EXPECT_EQ(unasked.status, 1);
  EXPECT_THAT(unasked.out, HasSubstr("Review before changing\n"));
  EXPECT_THAT(unasked.err, HasSubstr("standard input is not a terminal, so I can’t ask. Add --yes to confirm."));

  // A pmset whose path cannot stand unquoted in a shell command is refused
  // before anything is asked.
  const fs::path odd = mac.dir() / "odd folder" / "pmset";
  fs::create_directories(odd.parent_path());
  fs::create_symlink(mac.pmset(), odd);
  const testing::Outcome unsafe = testing::runSnoozlet("fix powerNapOff --yes --pmset '" + odd.string() + "' " + data);
  EXPECT_EQ(unsafe.status, 1);
  EXPECT_TRUE(unsafe.err.starts_with("snoozlet fix: nothing was changed: Refused to build the pmset command: "))
      << unsafe.err;
  EXPECT_THAT(unsafe.out, Not(HasSubstr("[y/N]")));

  EXPECT_EQ(mac.batterySetting("powernap"), "1");
  EXPECT_FALSE(fs::exists(mac.journalFile()));
}

TEST(FixCommandTest, CancelledPromptLeavesTheJournalAlone) {
  testing::CliMac mac;
  const std::string data = mac.dataArgument();
  ASSERT_EQ(testing::runSnoozlet("fix proximityWakeOff --yes " + data).status, 0);
  const std::string saved = testing::readFile(mac.journalFile());

  // A stand-in for pkexec that records what it was given and reports the
  // password dialog as dismissed.
  const fs::path elevator = mac.dir() / "pkexec";
  testing::writeFile(elevator,
                     "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + (mac.dir() / "elevated").string() + "'\nexit 126\n");
  fs::permissions(elevator, fs::perms::owner_all);
  testing::ScopedEnv env("SNOOZLET_ELEVATOR", elevator.c_str());
  const testing::Outcome run = testing::runSnoozlet("fix powerNapOff --yes " + data);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Cancelled. Nothing was changed.\n");
  EXPECT_EQ(testing::readFile(mac.dir() / "elevated"), "/bin/sh\n-c\n" + mac.pmset() + " -b powernap 0\n")
      << "the elevated shell gets exactly the command the review showed";
  EXPECT_EQ(testing::readFile(mac.journalFile()), saved);
  EXPECT_EQ(mac.batterySetting("powernap"), "1");

  // Any other failure of the elevated script is told as it was reported.
  testing::writeFile(elevator, "#!/bin/sh\necho 'pmset: not permitted' >&2\nexit 1\n");
  const testing::Outcome failed = testing::runSnoozlet("fix powerNapOff --yes " + data);
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, "pmset: not permitted\n");
  EXPECT_EQ(testing::readFile(mac.journalFile()), saved);
}

TEST(FixCommandTest, AChangeWhoseProcessDiesMidwayIsSettledAndStillUndoable) {
  testing::CliMac mac;
  const std::string data = mac.dataArgument();
  // A stand-in for pkexec that kills Snoozlet before it can write down how the change ended: once after
  // running the command, once before running it.
  const fs::path elevator = mac.dir() / "pkexec";
  const auto killing = [&](const std::string& script) {
    testing::writeFile(elevator, "#!/bin/sh\n" + script + "\n");
    fs::permissions(elevator, fs::perms::owner_all);
    const testing::ScopedEnv env("SNOOZLET_ELEVATOR", elevator.c_str());
    return testing::runSnoozlet("fix powerNapOff --yes " + data);
  };
  EXPECT_NE(killing("\"$@\"\nkill -KILL $PPID").status, 0);
  EXPECT_EQ(mac.batterySetting("powernap"), "0");
  EXPECT_EQ(FixJournal::load(mac.journalFile()).records.at(0).pending, FixRecord::Pending::change);
  const testing::Outcome listed = testing::runSnoozlet("undo " + data);
  EXPECT_THAT(listed.out, HasSubstr("powernap 1 → 0 (battery)"));
  const FixJournal settled = FixJournal::load(mac.journalFile());
  ASSERT_EQ(settled.records.size(), 1u);
  EXPECT_FALSE(settled.records[0].pending) << "settled, and saved so";
  ASSERT_EQ(testing::runSnoozlet("undo " + settled.records[0].id + " --yes " + data).status, 0);
  EXPECT_EQ(mac.batterySetting("powernap"), "1");

  // Killed before the command ran: the change never took, so it is not listed.
  EXPECT_NE(killing("kill -KILL $PPID").status, 0);
  EXPECT_THAT(testing::runSnoozlet("undo " + data).out, Not(HasSubstr("powernap 1 → 0")));
  EXPECT_EQ(FixJournal::load(mac.journalFile()).records.size(), 1u) << "only the undone record is kept";
}

TEST(FixCommandTest, AsksOnATerminal) {
  if (::access("/usr/bin/script", X_OK) != 0) GTEST_SKIP() << "needs script(1) for a pseudo-terminal";
  testing::CliMac mac;
  const std::string command = testing::builtProgram("Snoozlet/snoozlet").string() + " --lang en " + mac.dataArgument();
  // Answers typed at a terminal: script(1) runs snoozlet on a pseudo-terminal
  // and types what it reads.
  const auto typed = [&](const std::string& answers, const std::string& arguments) {
    testing::writeFile(mac.dir() / "answers", answers);
    return testing::runShell("script -qec '" + command + " " + arguments + "' /dev/null",
                             (mac.dir() / "answers").string());
  };

  // Declined at the first question, even a notable fix asks nothing more.
  const testing::Outcome declined = typed("n\n", "fix tcpKeepAliveOff");
  EXPECT_EQ(declined.status, 1) << declined.out;
  EXPECT_THAT(declined.out, HasSubstr("Nothing was changed."));
  EXPECT_THAT(declined.out, Not(HasSubstr("I understand")));

  // The notable fix asks twice; declining the acknowledgement runs nothing.
  const testing::Outcome unacknowledged = typed("yes\nno\n", "fix tcpKeepAliveOff");
  EXPECT_EQ(unacknowledged.status, 1) << unacknowledged.out;
  EXPECT_THAT(unacknowledged.out, HasSubstr("I understand: Find My"));
  EXPECT_EQ(mac.batterySetting("tcpkeepalive"), "1");
  EXPECT_FALSE(fs::exists(mac.journalFile()));

  const testing::Outcome confirmed = typed("Y\nyes\n", "fix tcpKeepAliveOff");
  EXPECT_EQ(confirmed.status, 0) << confirmed.out;
  EXPECT_EQ(mac.batterySetting("tcpkeepalive"), "0");
  EXPECT_EQ(FixJournal::load(mac.journalFile()).records.size(), 1u);
}

TEST(FixCommandTest, ALinuxLaptopsFixChangesItsTreeThroughTheHelperAndUndoPutsItBack) {
  testing::CliMac mac;
  const fs::path root = mac.dir() / "root";
  fs::copy(testing::fixturePath("system/thinkpad-s2idle"), root,
           fs::copy_options::recursive | fs::copy_options::copy_symlinks);
  const testing::ScopedEnv system("SNOOZLET_SYSTEM_ROOT", root.c_str());
  const fs::path journal = mac.dir() / "week.journal";
  testing::writeJournal(journal, testing::readFile(testing::fixturePath("journal/laptop-s2idle-week.export")));
  const std::string laptop = mac.dataArgument() + " --journal " + journal.string();
  const auto memSleep = [&] { return testing::readFile(root / "sys/power/mem_sleep"); };
  const fs::path tmpfiles = root / "etc/tmpfiles.d/snoozlet.conf";

  const testing::Outcome settings = testing::runSnoozlet("settings " + laptop);
  ASSERT_EQ(settings.status, 0) << settings.err;
  EXPECT_THAT(settings.out, HasSubstr("Sleep state: s2idle\n"));
  EXPECT_THAT(settings.out, HasSubstr("Fix: Use deep sleep (snoozlet fix deepSleep)\n"));

  // A dry run names the helper's command and changes nothing.
  const testing::Outcome dry = testing::runSnoozlet("fix deepSleep --dry-run --yes " + laptop);
  ASSERT_EQ(dry.status, 0) << dry.out << dry.err;
  EXPECT_THAT(dry.out, HasSubstr("It would have run: snoozlet-helper write /sys/power/mem_sleep deep keep"));
  EXPECT_EQ(memSleep(), "[s2idle] deep\n");
  EXPECT_FALSE(fs::exists(tmpfiles));

  const testing::Outcome fix = testing::runSnoozlet("fix deepSleep --yes " + laptop);
  ASSERT_EQ(fix.status, 0) << fix.out << fix.err;
  EXPECT_THAT(fix.out, HasSubstr("  After a restart     /etc/tmpfiles.d/snoozlet.conf gets: "
                                 "w /sys/power/mem_sleep - - - - deep\n"));
  EXPECT_THAT(fix.out, HasSubstr(kDone));
  EXPECT_THAT(fix.out, HasSubstr(kNoPassword)) << "the helper runs on a tree of files, without pkexec";
  EXPECT_EQ(memSleep(), "s2idle [deep]\n");
  EXPECT_THAT(testing::readFile(tmpfiles), HasSubstr("\nw /sys/power/mem_sleep - - - - deep\n"));
  const FixJournal journaled = FixJournal::load(mac.journalFile());
  ASSERT_EQ(journaled.records.size(), 2u);
  const FixRecord record = journaled.records.back();
  ASSERT_EQ(record.system.size(), 1u);
  EXPECT_EQ(record.system[0].previous, "s2idle");
  EXPECT_FALSE(record.pending);
  EXPECT_THAT(testing::runSnoozlet("fix deepSleep " + laptop).out, HasSubstr("Use deep sleep: already set\n"));

  const testing::Outcome undo = testing::runSnoozlet("undo " + record.id + " --yes " + laptop);
  ASSERT_EQ(undo.status, 0) << undo.out << undo.err;
  EXPECT_TRUE(undo.out.ends_with(kUndone)) << undo.out;
  EXPECT_EQ(memSleep(), "[s2idle] deep\n");
  EXPECT_FALSE(fs::exists(tmpfiles)) << "the helper's file goes with its last entry";
  EXPECT_TRUE(FixJournal::load(mac.journalFile()).records.back().undoneAt);
}

}  // namespace
}  // namespace snoozlet
