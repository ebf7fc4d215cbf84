#include "app/AppModel.h"

#include "app/AppLanguage.h"
#include "app/AppSettings.h"
#include "app/MorningNotifier.h"
#include "narration/Narrator.h"
#include "settings/Advisor.h"
#include "settings/FixCatalog.h"
#include "settings/SettingsReport.h"
#include "settings/SystemFixes.h"
#include "settings/SystemReport.h"

#include <QMetaObject>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace snoozlet {

namespace {

Instant systemNow() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

// Sets the field and answers true when the value really changed.
template <typename T>
bool assign(T& field, T value) {
  if (field == value) return false;
  field = std::move(value);
  return true;
}

// Hands the memory freed by the old analysis back to the system.
void relieveMemoryPressure() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace

AppModel::AppModel(AppSettings& settings, MorningNotifier* notifier, Storage storage, PowerDataSource source,
                   Options options, QObject* parent)
    : QObject(parent),
      settings_(settings),
      notifier_(notifier),
      storage_(std::move(storage)),
      source_(std::move(source)),
      timeZone_(std::move(options.timeZone)),
      clock_(options.clock ? std::move(options.clock) : Clock(systemNow)),
      pmsetPath_(options.pmsetPath.value_or(source_.pmset())),
      appVersion_(std::move(options.appVersion)),
      systemRoot_(std::move(options.systemRoot)),
      logind_(std::move(options.logind)) {
  worker_.setMaxThreadCount(1);
  connect(&settings_, &AppSettings::plainModeChanged, this, &AppModel::morningTextChanged);
}

AppModel::~AppModel() {
  // The worker posts its result to this object; once it is done, destroying
  // the model drops that post unread.
  loading_.waitForFinished();
}

LoadOptions AppModel::loadOptions() const {
  LoadOptions options;
  options.archive = storage_.archive;
  options.timeZone = timeZone_;
  options.appVersion = appVersion_;
  options.root = systemRoot_;
  options.logind = logind_;
  return options;
}

Language AppModel::language() const { return preferredLanguage(); }

const NightFormat& AppModel::format() const {
  const Language now = language();
  if (!format_ || format_->language() != now) format_ = NightFormat(now, timeZone_);
  return *format_;
}

void AppModel::setAnalysis(std::optional<SleepAnalysis> analysis) {
  if (assign(analysis_, std::move(analysis))) emit analysisChanged();
}
void AppModel::setPowerSettings(std::optional<PowerSettings> settings) {
  if (assign(powerSettings_, std::move(settings))) emit powerSettingsChanged();
}
void AppModel::setCapabilities(std::optional<PowerCapabilities> capabilities) {
  if (assign(capabilities_, std::move(capabilities))) emit capabilitiesChanged();
}
void AppModel::setFindings(std::vector<SettingFinding> findings) {
  if (assign(findings_, std::move(findings))) emit findingsChanged();
}
void AppModel::setSystemSettings(std::optional<SystemSettings> settings) {
  if (assign(systemSettings_, std::move(settings))) emit systemSettingsChanged();
}
void AppModel::setBattery(std::optional<BatteryHealth> battery) {
  if (assign(battery_, std::move(battery))) emit batteryChanged();
}
void AppModel::setHistory(std::vector<ArchivedNight> history) {
  if (assign(history_, std::move(history))) emit historyChanged();
}
void AppModel::setState(LoadState state) {
  if (assign(state_, std::move(state))) emit stateChanged();
}
void AppModel::setLastRefresh(std::optional<Instant> date) {
  if (assign(lastRefresh_, std::move(date))) emit lastRefreshChanged();
}
void AppModel::setArchiveProblem(std::optional<ArchiveProblem> problem) {
  if (assign(archiveProblem_, std::move(problem))) emit archiveProblemChanged();
}
void AppModel::setNotice(std::optional<std::string> notice) {
  if (assign(notice_, std::move(notice))) emit noticeChanged();
}

bool AppModel::refresh() {
  if (state_.isLoading()) return false;
  setState(LoadState::loading());
  // The worker gets copies only; the reader copy replaces ours only when the
  // step succeeds.
  loading_ = QtConcurrent::run(&worker_, [this, source = source_, reader = reader_, journal = systemJournal_,
                                          options = loadOptions()]() mutable {
    // Held by pointer: the result is large, and it crosses threads once.
    auto result = std::make_shared<Result<Loaded>>(load(source, std::move(reader), options, std::move(journal)));
    QMetaObject::invokeMethod(
        this, [this, result]() { finishRefresh(std::move(*result)); }, Qt::QueuedConnection);
  });
  return true;
}

void AppModel::finishRefresh(Result<Loaded> result) {
  if (result) {
    publishLoaded(std::move(result).value());
  } else {
    // Everything published before stays as it was.
    setState(LoadState::failed(result.error().description()));
  }
  emit refreshFinished();
}

void AppModel::publishLoaded(Loaded loaded) {
  reader_ = std::move(loaded.reader);
  systemJournal_ = std::move(loaded.journal);
  publish(std::move(loaded));
  relieveMemoryPressure();
}

void AppModel::publish(Loaded loaded) {
  std::optional<Instant> previousNight;
  if (analysis_) {
    if (const NightReport* last = analysis_->lastNight()) previousNight = last->start();
  }

  setAnalysis(std::move(loaded.analysis));
  setPowerSettings(std::move(loaded.settings));
  setCapabilities(std::move(loaded.capabilities));
  recentSleeps_ = std::move(loaded.recentSleeps);
  setSystemSettings(std::move(loaded.system));
  setFindings(explained());
  setBattery(std::move(loaded.battery));
  setHistory(std::move(loaded.history));
  setArchiveProblem(std::move(loaded.archiveProblem));
  setLastRefresh(now());
  setState(LoadState::idle());

  const NightReport* latest = analysis_->lastNight();
  if (latest && (!previousNight || *previousNight != latest->start())) {
    // A copy: a slot reacting to a change above must not pull it away.
    offerMorningNotification(NightReport(*latest));
  }
  emit published();
}

void AppModel::offerMorningNotification(const NightReport& night) {
  if (notifier_ == nullptr || !settings_.morningNotification()) return;
  const std::string_view title = mood::title(night.mood, language());
  notifier_->offer(night, QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size())),
                   QString::fromStdString(morningText(night)));
}

void AppModel::adoptSettings(PowerSettings settings) {
  setPowerSettings(std::move(settings));
  setFindings(explained());
}

void AppModel::adoptSystemValues(const SystemValues& values) {
  if (!systemSettings_) return;
  setSystemSettings(systemSettings_->withValues(values));
  setFindings(explained());
}

std::vector<SettingFinding> AppModel::explained() const {
  if (systemSettings_) {
    return SystemReport::findings(*systemSettings_, recentSleeps_, analysis_ ? &*analysis_ : nullptr, format());
  }
  return powerSettings_ ? SettingsReport::findings(*powerSettings_, language()) : std::vector<SettingFinding>{};
}

const NightReport* AppModel::latestNight() const { return analysis_ ? analysis_->lastNight() : nullptr; }

std::vector<Suggestion> AppModel::suggestions(const NightReport& night) const {
  return Advisor::suggestions(night, powerSettings_, capabilities_, format(), nightSource(),
                              systemSettings_ ? &*systemSettings_ : nullptr);
}

std::vector<Fix> AppModel::availableFixes() const {
  if (!powerSettings_ || !capabilities_) return {};
  std::vector<Fix> fixes = FixCatalog::available(*powerSettings_, *capabilities_);
  // A finding row never offers Low Power Mode.
  std::erase_if(fixes, [](const Fix& fix) { return fix.id == FixID::lowPowerModeOn; });
  return fixes;
}

std::vector<SystemFix> AppModel::availableSystemFixes() const {
  if (!systemSettings_) return {};
  const auto counts = kernel_counts::summarize(recentSleeps_);
  return SystemFixes::available(*systemSettings_, counts ? counts->sources : std::vector<SourceWakes>{});
}

namespace {

template <typename Offer, typename Key>
std::optional<Offer> offerFor(const std::vector<Offer>& offers, std::string_view key, Key keyOf) {
  const auto found = std::find_if(offers.begin(), offers.end(), [&](const Offer& o) { return keyOf(o) == key; });
  return found != offers.end() ? std::optional<Offer>(*found) : std::nullopt;
}

std::string_view pmsetKey(const Fix& fix) { return fix.key; }

}  // namespace

std::optional<Fix> AppModel::fixFor(std::string_view key) const { return offerFor(availableFixes(), key, pmsetKey); }

std::optional<SystemFix> AppModel::systemFixFor(std::string_view key) const {
  return offerFor(availableSystemFixes(), key, SystemReport::findingKey);
}

std::vector<presentation::SettingsRow> AppModel::settingsRows() const {
  // What is on offer is worked out once for all the rows.
  const std::vector<Fix> fixes = availableFixes();
  const std::vector<SystemFix> systemFixes = availableSystemFixes();
  std::vector<presentation::SettingsRow> rows;
  for (const SettingFinding& finding : findings_) {
    presentation::SettingsRow row;
    row.finding = finding;
    row.fix = offerFor(fixes, finding.key, pmsetKey);
    row.systemFix = offerFor(systemFixes, finding.key, SystemReport::findingKey);
    if (row.systemFix) row.systemFixTitle = SystemFixes::texts(*row.systemFix, *systemSettings_, language()).title;
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string AppModel::morningText(const NightReport& night) const {
  const Narrator narrator(format(), nightSource());
  return plainMode() ? narrator.plainSummary(night) : narrator.speech(night);
}

bool AppModel::plainMode() const { return settings_.plainMode(); }

}  // namespace snoozlet
