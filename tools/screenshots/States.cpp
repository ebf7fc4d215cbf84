// The windows in the states that are not ordinary: reading, a failed read, a
// notice, a night on the charger, below normal and cautious drains, battery
// details charging or with rows missing, no baseline yet, only naps, an empty
// history, the ribbon's every start and end label, more reasons than lanes, a
// wake of unknown length, a user's tool holding the lamp, the tool and
// sleep-failure suggestions, the settings page's unusual findings and its
// changes, every kind of review (a Linux laptop's too) and its working state,
// plain mode, the popover's menu, the welcome's options, a login item that
// refuses, a Linux laptop's kernel counts, the archive and journal problems,
// dark mode for every window and the main window's pages at 2×. Each image is
// named after what it shows.

#include "States.h"

#include "PreviewModel.h"
#include "analysis/NightAnalyzer.h"
#include "presentation/NightFigures.h"
#include "presentation/SettingsRows.h"
#include "shell/AppActions.h"
#include "shell/StatusItemController.h"
#include "shell/WindowManager.h"
#include "views/FixReviewView.h"
#include "views/MainView.h"
#include "views/MenuBarView.h"
#include "views/Navigator.h"
#include "views/NightPage.h"
#include "views/NightRibbon.h"
#include "views/SettingsPage.h"
#include "views/SettingsView.h"
#include "views/WelcomeView.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>

namespace snoozlet::shots {

QImage nightPageImage(preview::PreviewModel& preview, double ratio) {
  views::Navigator navigator(preview.model());
  views::NightPage page(preview.model(), preview.changes(), navigator);
  page.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  page.resize(1120, 780);
  page.show();
  // The whole page, not only what the window shows.
  page.resize(1120, std::max(780, page.widget()->heightForWidth(1120)));
  return render(page, ratio);
}

namespace {

using preview::Contents;
using preview::PreviewModel;
using views::Page;

// Runs the event loop until the signal fires (or ten seconds pass); `start` sets it off.
template <typename Object, typename Signal>
void waitFor(Object* object, Signal signal, const std::function<void()>& start) {
  QEventLoop loop;
  QObject::connect(object, signal, &loop, &QEventLoop::quit);
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  start();
  loop.exec();
}

QString tag(Language language) { return language == Language::turkish ? QStringLiteral("-tr") : QStringLiteral("-en"); }

// A runner that does nothing and says it worked, for reviews that are confirmed.
class QuietRunner final : public PrivilegedRunner {
 public:
  bool isDryRun() const override { return false; }
  RunResult run(const FixPlan&) override { return {}; }
};

// The demonstration week, its last night changed by `change`.
Contents weekWith(const std::function<void(DemoLog::Night&)>& change, Mood mood = Mood::soundAsleep) {
  auto nights = preview::week(mood);
  change(nights.back());
  return Contents::of(nights);
}

void mainWindow(Writer& out, const QString& name, PreviewModel& preview, std::optional<Page> page,
                double ratio = 1) {
  views::Navigator navigator(preview.model());
  if (page) navigator.choose(*page);
  views::MainView view(preview.model(), preview.changes(), navigator);
  view.resize(1120, 780);
  view.show();
  out.save(render(view, ratio), name);
}

void nightPage(Writer& out, const QString& name, PreviewModel& preview) { out.save(nightPageImage(preview, 1), name); }

void popover(Writer& out, const QString& name, PreviewModel& preview) {
  views::MenuBarView view(preview.model(), {});
  view.adjustSize();
  view.show();
  out.save(render(view, 2), name);
}

void review(Writer& out, const QString& name, ChangeController& changes, bool acknowledge = false,
            bool confirm = false) {
  views::FixReviewView window(changes);
  window.show();
  if (acknowledge && window.acknowledgement() != nullptr) window.acknowledgement()->setChecked(true);
  if (!confirm) {
    out.save(render(window, 2), name);
    return;
  }
  // The working state, drawn before the outcome arrives.
  waitFor(&changes, &ChangeController::applyFinished, [&] {
    window.confirmButton()->click();
    out.save(render(window, 2), name);
  });
}

// Reading, a failed read, and the notices a change leaves.
void loading(Writer& out, Language language) {
  Contents launch;
  launch.publish = false;
  PreviewModel reading(launch);
  mainWindow(out, QStringLiteral("main-reading") + tag(language), reading, std::nullopt);
  // The preview's pmset does not exist: the first refresh fails.
  PreviewModel failed(launch);
  waitFor(&failed.model(), &AppModel::refreshFinished, [&] { failed.model().refresh(); });
  mainWindow(out, QStringLiteral("main-read-failed") + tag(language), failed, std::nullopt);
  popover(out, QStringLiteral("popover-read-failed") + tag(language), failed);

  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  using Kind = ChangeOutcome::Kind;
  const auto outcomeOf = [](Kind kind, std::string reason = {}) {
    ChangeOutcome outcome;
    outcome.kind = kind;
    outcome.reason = std::move(reason);
    return outcome;
  };
  for (const auto& [what, outcome] :
       {std::pair{"applied", outcomeOf(Kind::applied)}, std::pair{"cancelled", outcomeOf(Kind::cancelled)},
        std::pair{"failed", outcomeOf(Kind::failed, "pmset: not permitted")}}) {
    preview.model().setNotice(presentation::outcomeNotice(outcome, language));
    mainWindow(out, QStringLiteral("main-notice-%1").arg(QString::fromLatin1(what)) + tag(language), preview,
               std::nullopt);
  }
}

// Nights and pages that are not the demonstration's usual ones.
void unusualNights(Writer& out, Language language) {
  const QString in = tag(language);
  PreviewModel charger(weekWith([](DemoLog::Night& n) { n.chargerAt = 0.0; }));
  nightPage(out, QStringLiteral("night-on-charger") + in, charger);
  popover(out, QStringLiteral("popover-on-charger") + in, charger);
  PreviewModel below(weekWith([](DemoLog::Night& n) { n.batteryTo = n.batteryFrom; }));
  nightPage(out, QStringLiteral("night-below-normal") + in, below);
  PreviewModel caution(weekWith([](DemoLog::Night& n) { n.batteryTo = n.batteryFrom - 6; }));
  nightPage(out, QStringLiteral("night-caution") + in, caution);

  // One night only: no normal to compare with; a user's tool holding the lamp for two hours.
  DemoLog::Night one = preview::week(Mood::restless).back();
  one.holder = DemoLog::Holder{"caffeinate", 2};
  PreviewModel first(Contents::of({one}));
  nightPage(out, QStringLiteral("night-no-baseline-tool-holder") + in, first);

  // Only naps, and the history empty.
  DemoLog::Night nap = one;
  nap.start.hour = 13;
  nap.hours = 2.5;
  nap.holder.reset();
  Contents naps = Contents::of({nap});
  naps.history = std::vector<ArchivedNight>{};
  PreviewModel napping(naps);
  mainWindow(out, QStringLiteral("main-only-naps") + in, napping, std::nullopt);
  mainWindow(out, QStringLiteral("main-history-empty") + in, napping, Page::history());

  // A sleep failure and a tool: the suggestions they bring; a restless night with nothing to change.
  Contents failing = Contents::of({one});
  Loaded failure = preview::loaded(failing);
  failure.analysis.reports.back().session.failures.push_back({failure.analysis.reports.back().start() + 600, "Sleep"});
  PreviewModel failed(failing);
  failed.model().publishLoaded(failure);
  nightPage(out, QStringLiteral("night-failure-and-tool-suggestions") + in, failed);
  Contents nothing = Contents::of(preview::week(Mood::restless));
  nothing.linuxLaptop = true;
  PreviewModel laptop(nothing);
  nightPage(out, QStringLiteral("night-nothing-to-change-linux") + in, laptop);

  // A Linux laptop whose sleeps the kernel counted.
  Loaded counted = preview::loaded(nothing);
  NightReport& last = counted.analysis.reports.back();
  SleepCounts sleep{last.start(), last.end(), "s2idle", {}, 0.12 * last.duration(), 1, 0};
  sleep.sources = {{"XHC", "0000:00:14.0", "xhci_hcd", "0x0c0330", "XHC", 6, 9},
                   {"wlp1s0", "0000:01:00.0", "iwlwifi", "0x028000", "", 3, 3}};
  last.kernelSleeps.push_back(sleep);
  laptop.model().publishLoaded(counted);
  nightPage(out, QStringLiteral("night-kernel-counts-linux") + in, laptop);
  popover(out, QStringLiteral("popover-kernel-counts-linux") + in, laptop);
}

// The battery page charging, on the charger, and with rows missing.
void batteries(Writer& out, Language language) {
  PreviewModel preview(Contents::of(preview::week(Mood::soundAsleep)));
  Loaded loaded = preview::loaded(Contents::of(preview::week(Mood::soundAsleep)));
  BatteryHealth charging = *loaded.battery;
  charging.isCharging = true;
  charging.externalConnected = true;
  BatteryHealth full = charging;
  full.isCharging = false;
  full.chargePercent = 100;
  BatteryHealth partial;
  partial.chargePercent = 72;
  partial.cycleCount = 41;
  for (const auto& [what, battery] :
       {std::pair{"charging", charging}, std::pair{"on-charger", full}, std::pair{"rows-missing", partial}}) {
    loaded.battery = battery;
    preview.model().publishLoaded(loaded);
    mainWindow(out, QStringLiteral("main-battery-%1").arg(QString::fromLatin1(what)) + tag(language), preview,
               Page::battery());
  }
}

// The settings page with sleep off, something keeping the Mac awake, an
// attention mark and a listed change; the archive and journal problems.
void settingsStates(Writer& out, Language language) {
  FixJournal journal;
  journal.record({PlannedChange{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"}}, 1796500000, true);
  Contents contents = Contents::of(preview::week(Mood::sleepless));
  contents.journal = journal;
  PreviewModel preview(contents);
  Loaded loaded = preview::loaded(contents);
  loaded.settings = PowerSettings::parse(
      "System-wide power settings:\nCurrently in use:\n standby 0\n sleep 0 (sleep prevented by caffeinate, Zoom)\n "
      "tcpkeepalive 1\n powernap 1\n womp 1\n proximitywake 1\n lowpowermode 0\n",
      std::nullopt);
  preview.model().publishLoaded(loaded);
  views::Navigator navigator(preview.model());
  navigator.choose(Page::settings());
  views::MainView view(preview.model(), preview.changes(), navigator);
  view.resize(1120, 780);
  view.show();
  out.save(render(view, 1), QStringLiteral("main-settings-sleep-off-kept-awake") + tag(language));
  // Scrolled down to the changes, with their Undo and the dry-run mark.
  if (auto* page = qobject_cast<QAbstractScrollArea*>(view.findChild<views::SettingsPage*>())) {
    page->verticalScrollBar()->setValue(page->verticalScrollBar()->maximum());
  }
  out.save(render(view, 1), QStringLiteral("main-settings-listed-change") + tag(language));

  Contents troubled = Contents::of(preview::week(Mood::restless));
  troubled.archiveProblem = ArchiveProblem{"/home/you/.local/share/Snoozlet/nights.sqlite",
                                           "SQLite: file is not a database",
                                           "/home/you/.local/share/Snoozlet/nights.sqlite.damaged-20261207T080000Z",
                                           false};
  PreviewModel damaged(troubled);
  mainWindow(out, QStringLiteral("main-archive-kept-aside") + tag(language), damaged, std::nullopt);
  troubled.archiveProblem =
      ArchiveProblem{"/media/backup/Snoozlet/nights.sqlite", "SQLite: database is locked", std::nullopt, true};
  PreviewModel locked(troubled);
  mainWindow(out, QStringLiteral("main-archive-locked-history") + tag(language), locked, Page::history());
}

// Every kind of review, and its working state.
void reviews(Writer& out, Language language) {
  Contents real = Contents::of(preview::week(Mood::restless));
  real.runner = std::make_shared<QuietRunner>();
  FixJournal journal;
  const FixRecord two = journal.record(
      {PlannedChange{FixID::powerNapOff, "powernap", PowerScope::battery, "1", "0"},
       PlannedChange{FixID::proximityWakeOff, "proximitywake", PowerScope::battery, "1", "0"}},
      1796500000, false);
  real.journal = journal;
  PreviewModel preview(real);
  preview.changes().reviewFixes({FixID::powerNapOff});
  review(out, QStringLiteral("review-change-one-setting") + tag(language), preview.changes());
  preview.changes().reviewUndo(two.id);
  review(out, QStringLiteral("review-put-two-back") + tag(language), preview.changes());
  preview.changes().reviewFixes({FixID::tcpKeepAliveOff});
  review(out, QStringLiteral("review-working") + tag(language), preview.changes(), true, true);

  // A Linux laptop's two fixes: the kernel's files now, the boot-time lines after a restart.
  Contents laptop = Contents::of(preview::week(Mood::restless));
  laptop.linuxLaptop = true;
  laptop.runner = std::make_shared<QuietRunner>();
  PreviewModel laptopPreview(laptop);
  laptopPreview.changes().reviewFixes({},
                                      {{SystemFix::Kind::deepSleep, {}}, {SystemFix::Kind::wakeupOff, "0000:00:14.0"}});
  review(out, QStringLiteral("review-change-linux") + tag(language), laptopPreview.changes(), true);

  PreviewModel dry(Contents::of(preview::week(Mood::restless)));
  dry.changes().reviewFixes({FixID::tcpKeepAliveOff});
  review(out, QStringLiteral("review-dry-run-acknowledged") + tag(language), dry.changes(), true);

  // A journal of changes that cannot be read: the review says so.
  QTemporaryDir folder;
  const std::filesystem::path file = folder.filePath(QStringLiteral("changes.json")).toStdString();
  std::FILE* broken = std::fopen(file.c_str(), "w");
  if (broken != nullptr) {
    std::fputs("{\"records\": [{\"id\": 1}]}", broken);
    std::fclose(broken);
  }
  AppSettings& settings = dry.settings();
  AppModel model(settings, nullptr, Storage{std::nullopt, file}, PowerDataSource("/nonexistent/pmset", nullptr),
                 {.timeZone = preview::zone(), .clock = [] { return 1796544000.0; }, .pmsetPath = "/usr/bin/pmset"});
  model.publishLoaded(preview::loaded(Contents::of(preview::week(Mood::restless))));
  ChangeController unreadable(model, std::make_shared<QuietRunner>());
  unreadable.reviewFixes({FixID::powerNapOff});
  review(out, QStringLiteral("review-journal-unreadable") + tag(language), unreadable);
}

// Plain mode, the popover's menu, the welcome's options, and a login item that refuses.
void smallThings(Writer& out, Language language) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  preview.settings().setPlainMode(true);
  nightPage(out, QStringLiteral("night-plain-mode") + tag(language), preview);
  popover(out, QStringLiteral("popover-plain-mode") + tag(language), preview);
  preview.settings().setPlainMode(false);

  QTemporaryDir dir;
  QSettings store(dir.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat);
  shell::WindowManager windows(preview.model(), preview.changes(), preview.preferences(), store);
  QMenu menu;
  menu.addActions(windows.actions().popoverMenu());
  menu.adjustSize();
  out.save(render(menu, 2), QStringLiteral("popover-menu") + tag(language));

  // The login item's own words for a folder it cannot write, in the interface's language.
  const std::string readOnly =
      QCoreApplication::translate("XdgLoginItem", "Couldn’t create the folder %1: %2")
          .arg(QStringLiteral("~/.config/autostart"), QStringLiteral("Read-only file system"))
          .toStdString();
  preview.loginItem().refuse(readOnly);
  views::OptionsPanel options(preview.preferences(), NightSource::pmset, language);
  options.resize(640, options.sizeHint().height());
  options.show();
  options.notificationButton()->click();  // no notification service: not allowed
  options.loginButton()->click();         // refused: not allowed, the reason as its tooltip
  out.save(render(options, 2), QStringLiteral("welcome-options-not-allowed") + tag(language));
  preview.loginItem().refuse(std::nullopt);
  views::OptionsPanel on(preview.preferences(), NightSource::pmset, language);
  on.resize(640, on.sizeHint().height());
  on.show();
  on.loginButton()->click();
  out.save(render(on, 2), QStringLiteral("welcome-options-on") + tag(language));

  preview.loginItem().refuse(readOnly);
  views::SettingsView settings(preview.preferences(), NightSource::pmset, language);
  settings.show();
  settings.openAtLogin()->click();
  settings.notification()->click();
  settings.adjustSize();
  out.save(render(settings, 2), QStringLiteral("settings-window-refused") + tag(language));
}

// The ribbon with every start and end label, more reasons than it has
// lanes, and a wake of unknown length; the tray icon's tooltip.
void ribbons(Writer& out, Language language) {
  const NightFormat format(language, preview::zone());
  const auto night = [](const std::string& sleepReason, std::optional<std::string> wokeBy) {
    SleepSession s;
    s.start = 1796511600;  // 23:00 in London
    s.end = s.start + 8 * 3600;
    s.sleepReason = sleepReason;
    s.ending = wokeBy ? SessionEnd::fullWake(WakeReason(*wokeBy)) : SessionEnd::ongoing();
    const char* reasons[] = {"wifibt", "rtc/SleepService", "rtc/Maintenance", "EC.LidOpen", "USB-C_plug", "RTC (Alarm)",
                             "ARPT"};
    for (int i = 0; i < 14; ++i) {
      DarkWakeEvent w;
      w.date = s.start + (i + 1) * 1800;
      if (i != 6) w.duration = 4.0 * (i + 1);  // one wake of unknown length
      w.reason = WakeReason(reasons[i % 7]);
      s.darkWakes.push_back(w);
    }
    s.battery = {{s.start, 71, false}, {s.end, 66, false}};
    return NightAnalyzer::report(s, SleepKind::night);
  };
  const struct {
    const char* name;
    NightReport report;
  } cases[] = {{"lid-closed-lid-opened", night("Clamshell Sleep", std::string(DemoLog::lid))},
               {"dozed-off-woken-by-you", night("Idle Sleep", std::string("EC.PowerButton (User)"))},
               {"put-to-sleep-charger", night("Software Sleep pid=42", std::string(DemoLog::plug))},
               {"fell-asleep-woke-up", night("Sleep", std::string("NUB.SPMI0.SW3"))},
               {"still-asleep", night("Clamshell Sleep", std::nullopt)}};
  for (const auto& c : cases) {
    views::NightRibbon ribbon;
    ribbon.setNight(c.report, format);
    ribbon.resize(760, ribbon.sizeHint().height());
    ribbon.show();
    out.save(render(ribbon, 2), QStringLiteral("ribbon-%1").arg(QString::fromLatin1(c.name)) + tag(language));
  }
  // The tooltip the tray icon shows, drawn as the desktop draws tooltips.
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  QLabel tip(QString::fromStdString(presentation::trayTooltip(preview.model().latestNight(), preview.model().format())));
  tip.setContentsMargins(6, 4, 6, 4);
  tip.setAutoFillBackground(true);
  tip.setBackgroundRole(QPalette::ToolTipBase);
  tip.setForegroundRole(QPalette::ToolTipText);
  tip.adjustSize();
  tip.show();
  out.save(render(tip, 2), QStringLiteral("tray-tooltip") + tag(language));
}

// Every window dark, and the main window's pages at 2×.
void darkAndSharp(Writer& out, Language language) {
  PreviewModel preview(Contents::of(preview::week(Mood::restless)));
  preview.changes().reviewFixes({FixID::tcpKeepAliveOff, FixID::powerNapOff});
  applyTheme(Theme::dark);
  review(out, QStringLiteral("review-change-dark") + tag(language), preview.changes());
  preview.changes().declineReview();
  views::SettingsView settings(preview.preferences(), NightSource::pmset, language);
  settings.show();
  settings.adjustSize();
  out.save(render(settings, 2), QStringLiteral("settings-window-dark") + tag(language));
  views::AboutView about;
  about.show();
  about.adjustSize();
  out.save(render(about, 2), QStringLiteral("about-window-dark") + tag(language));
  views::WelcomeView welcome(preview.model(), preview.preferences());
  welcome.resize(welcome.minimumSize().expandedTo(welcome.sizeHint()));
  welcome.show();
  for (const int page : {0, 2, 4}) {
    welcome.setPage(page);
    out.save(render(welcome, 1), QStringLiteral("welcome-%1-dark").arg(page + 1) + tag(language));
  }
  QTemporaryDir dir;
  QSettings store(dir.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat);
  shell::WindowManager windows(preview.model(), preview.changes(), preview.preferences(), store);
  QMenu menu;
  menu.addActions(windows.actions().trayMenu());
  menu.adjustSize();
  out.save(render(menu, 2), QStringLiteral("tray-menu-dark") + tag(language));
  applyTheme(Theme::light);
  for (const auto& [what, page] :
       {std::pair{"night", Page::night(preview.model().latestNight()->start())}, std::pair{"settings", Page::settings()},
        std::pair{"battery", Page::battery()}, std::pair{"history", Page::history()}}) {
    mainWindow(out, QStringLiteral("main-%1-2x").arg(QString::fromLatin1(what)) + tag(language), preview, page, 2);
  }
}

}  // namespace

void states(Writer& out) {
  for (const Language language : kAllLanguages) {
    applyTheme(Theme::light);
    applyLanguage(language);
    loading(out, language);
    unusualNights(out, language);
    batteries(out, language);
    settingsStates(out, language);
    reviews(out, language);
    smallThings(out, language);
    ribbons(out, language);
    darkAndSharp(out, language);
  }
  applyLanguage(Language::english);
}

}  // namespace snoozlet::shots
