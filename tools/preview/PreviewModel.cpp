#include "PreviewModel.h"

#include "SimulatedMac.h"
#include "archive/IoregParser.h"
#include "settings/DryRunRunner.h"

#include <QEventLoop>

#include <cmath>

namespace snoozlet::preview {

namespace {

// 2026-12-06 08:00 UTC: the preview's "now".
constexpr Instant kNow = 1796544000;

// The simulated Mac's battery, read as the application reads it.
BatteryHealth typicalBattery() {
  return BatteryHealth::from(*IoregParser::parseXml(SimulatedMac::batteryXml(SimulatedMac::typicalBattery())));
}

// A Linux laptop as its files and logind describe it: in s2idle with deep
// sleep offered, its USB controller, lid, power button and keyboard allowed
// to wake it, a lid that suspends, no hibernation set up, and a Wi-Fi card
// that may not wake it.
SystemSettings typicalLaptop() {
  SystemSettings laptop;
  laptop.memSleep = "s2idle";
  laptop.memSleepModes = {"s2idle", "deep"};
  const auto device = [](std::string path, std::string name, std::string subsystem, std::string driver,
                         std::string acpi) {
    WakeDevice d;
    d.path = std::move(path);
    d.name = std::move(name);
    d.subsystem = std::move(subsystem);
    d.driver = std::move(driver);
    d.acpiName = std::move(acpi);
    d.wakeup = "enabled";
    return d;
  };
  laptop.wakeDevices = {
      device("pci0000:00/0000:00:14.0", "0000:00:14.0", "pci", "xhci_hcd", "XHCI"),
      device("LNXSYSTM:00/LNXSYBUS:00/PNP0C0D:00", "PNP0C0D:00", "acpi", "button", "LID"),
      device("LNXSYSTM:00/LNXPWRBN:00", "LNXPWRBN:00", "acpi", "button", "PWRB"),
      device("platform/i8042/serio0", "serio0", "serio", "atkbd", ""),
  };
  laptop.wakeDevices.front().pciClass = "0x0c0330";
  laptop.wakeDevices.front().vendor = "0x8086";
  laptop.wakeDevices.front().product = "0x51ed";
  laptop.hibernation.resume = "0:0";
  laptop.hibernation.memoryBytes = 16ULL << 30;
  laptop.hibernation.swapBytes = 2ULL << 30;
  laptop.networkWake = {NetworkWake{"wlp0s20f3", true, "disabled"}};
  LogindState logind;
  logind.lidOnBattery = "suspend";
  logind.lidOnExternalPower = "suspend";
  logind.lidDocked = "ignore";
  logind.canSuspendThenHibernate = "na";
  laptop.logind = logind;
  return laptop;
}

// Last night's sleeps on that laptop: its USB controller woke it most.
std::vector<SleepCounts> typicalSleeps(const SleepAnalysis& analysis) {
  std::vector<SleepCounts> sleeps;
  if (analysis.reports.empty()) return sleeps;
  const NightReport& night = analysis.reports.back();
  SleepCounts counts;
  counts.slept = night.start();
  counts.resumed = night.end();
  counts.memSleep = "s2idle";
  SourceWakes usb;
  usb.name = "0000:00:14.0";
  usb.device = "0000:00:14.0";
  usb.driver = "xhci_hcd";
  usb.pciClass = "0x0c0330";
  usb.acpiName = "XHCI";
  usb.wakeups = 37;
  usb.events = 41;
  counts.sources = {usb};
  counts.hardwareSleep = (night.end() - night.start()) * 0.3;
  sleeps.push_back(counts);
  return sleeps;
}

}  // namespace

Loaded loaded(const Contents& contents) {
  Loaded l;
  l.reader.ingest(DemoLog::text(contents.nights, zone()));
  l.analysis = NightAnalyzer::analyze(l.reader, zone(), {});
  if (!contents.linuxLaptop) {
    const auto settings = SimulatedMac::Settings::defaults();
    l.settings = PowerSettings::parse(SimulatedMac::liveText(settings), SimulatedMac::customText(settings));
    l.capabilities = PowerCapabilities::parse(SimulatedMac::capabilitiesText());
  } else {
    l.system = typicalLaptop();
    l.recentSleeps = typicalSleeps(l.analysis);
  }
  if (contents.battery) l.battery = typicalBattery();
  l.archiveProblem = contents.archiveProblem;
  if (contents.history) {
    l.history = *contents.history;
  } else {
    for (auto it = l.analysis.reports.rbegin(); it != l.analysis.reports.rend(); ++it) {
      l.history.push_back(ArchivedNight::from(*it));
    }
  }
  return l;
}

namespace {

// A runner as on a real Mac, for pictures of what the user confirms; the
// preview never confirms, and this runner refuses if it is asked to run.
class PasswordRunner final : public PrivilegedRunner {
 public:
  bool isDryRun() const override { return false; }
  RunResult run(const FixPlan&) override { return RunResult::failure(RunFailure::script("a preview runs nothing")); }
};

}  // namespace

TimeZone zone() { return *TimeZone::named("Europe/London"); }

std::vector<DemoLog::Night> week(Mood last) {
  DateComponents ending;
  ending.year = 2026;
  ending.month = 12;
  ending.day = 6;
  return DemoLog::week(ending, last);
}

PreviewModel::PreviewModel(const Contents& contents)
    : store_(dir_.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat),
      settings_(store_),
      preferences_(settings_, loginItem_, nullptr) {
  AppModel::Options options;
  options.timeZone = zone();
  options.clock = [] { return kNow; };
  options.pmsetPath = "/usr/bin/pmset";
  std::shared_ptr<PrivilegedRunner> runner = contents.runner;
  if (!runner && contents.dryRun) runner = std::make_shared<DryRunRunner>();
  if (!runner) runner = std::make_shared<PasswordRunner>();
  // Nothing is stored but the journal, and only when the preview starts with one.
  Storage storage;
  if (contents.journal) {
    storage.journal = dir_.filePath(QStringLiteral("changes.json")).toStdString();
    (void)FixJournal(*contents.journal).save(*storage.journal, kNow);
  }
  model_ = std::make_unique<AppModel>(
      settings_, nullptr, std::move(storage),
      contents.linuxLaptop ? PowerDataSource::journal({}, nullptr) : PowerDataSource("/nonexistent/pmset", nullptr),
      options);
  changes_ = std::make_unique<ChangeController>(*model_, std::move(runner));
  if (contents.publish) publish(contents);
}

void PreviewModel::publish(const Contents& contents) { model_->publishLoaded(loaded(contents)); }

void PreviewModel::apply(const std::vector<FixID>& fixes) {
  changes_->reviewFixes(fixes);
  if (!changes_->review()) return;
  QEventLoop loop;
  QObject::connect(changes_.get(), &ChangeController::applyFinished, &loop, &QEventLoop::quit);
  if (changes_->applyReview()) loop.exec();
}

std::vector<ArchivedNight> archivedNights(std::size_t count) {
  std::vector<ArchivedNight> nights;
  nights.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    ArchivedNight n;
    // Nights at 23:10, one a day, newest first.
    n.start = kNow - 9 * 3600 - 50 * 60 - static_cast<double>(i) * 86400;
    const double hours = 7 + std::fmod(static_cast<double>(i) * 0.37, 1.6);
    n.end = n.start + hours * 3600;
    const double perHour = 0.3 + 0.25 * (1 + std::sin(static_cast<double>(i) * 1.7)) + (i % 9 == 4 ? 1.4 : 0);
    n.mood = perHour > 1.2 ? Mood::restless : Mood::soundAsleep;
    n.darkWakes = 30 + static_cast<int>(i * 7 % 40) + (i % 9 == 4 ? 250 : 0);
    n.awakeSeconds = n.darkWakes * 14.0;
    n.batteryFirst = 96;
    n.drop = static_cast<int>(std::lround(perHour * hours));
    n.batteryLast = 96 - *n.drop;
    n.batteryHours = hours;
    n.perHour = perHour;
    n.topCategory = i % 3 == 0 ? WakeCategory::backgroundTask : WakeCategory::network;
    n.reasons = {{*n.topCategory, n.darkWakes}};
    nights.push_back(n);
  }
  return nights;
}

}  // namespace snoozlet::preview
