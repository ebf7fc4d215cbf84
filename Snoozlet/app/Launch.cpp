#include "app/Launch.h"

#include "app/AppLanguage.h"
#include "app/LogindReader.h"
#include "platform/AdminPromptRunner.h"
#include "platform/PowerDataSource.h"
#include "platform/battery/BatteryReader.h"
#include "platform/linux/HelperRunner.h"
#include "settings/DryRunRunner.h"

#include <QLocale>

#include <unistd.h>

#include <cstdlib>

namespace snoozlet {

void prepareApplication(QCoreApplication& app, std::optional<Language> language) {
  // The preferences store: ~/.config/Snoozlet/Snoozlet.conf on Linux.
  QCoreApplication::setOrganizationName(QStringLiteral("Snoozlet"));
  QCoreApplication::setApplicationName(QStringLiteral("Snoozlet"));
  if (language) {
    QLocale::setDefault(*language == Language::turkish ? QLocale(QLocale::Turkish, QLocale::Turkey)
                                                       : QLocale(QLocale::English, QLocale::UnitedKingdom));
  }
  installTranslations(app);
}

std::string configuredPmset(const std::optional<std::string>& override) {
  std::string pmset = PowerDataSource::resolvePmset(override);
  // A bare name is left for the process runner to find in PATH.
  if (pmset.find('/') != std::string::npos && !std::filesystem::path(pmset).is_absolute()) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(pmset, error);
    if (!error) pmset = absolute.lexically_normal().string();
  }
  return pmset;
}

std::shared_ptr<PrivilegedRunner> makeRunner(const std::string& pmset, bool dryRun) {
  if (dryRun) return std::make_shared<DryRunRunner>();
  PkexecRunner::Options options;
  options.pmsetPath = pmset;
  if (const char* elevator = std::getenv("SNOOZLET_ELEVATOR"); elevator != nullptr && *elevator != '\0') {
    options.elevator = elevator;
    return std::make_shared<PkexecRunner>(options);
  }
  if (PowerDataSource::isSimulator(pmset) || ::geteuid() == 0) {
    options.elevate = false;
    return std::make_shared<PkexecRunner>(options);
  }
#if defined(__APPLE__)
  OsascriptRunner::Options script;
  script.pmsetPath = pmset;
  return std::make_shared<AdminPromptRunner>(script);
#else
  return std::make_shared<AdminPromptRunner>(options);
#endif
}

std::string launcherPath() {
  const std::filesystem::path self = QCoreApplication::applicationFilePath().toStdString();
  const std::filesystem::path launcher = self.parent_path() / "snoozlet";
  return ::access(launcher.c_str(), X_OK) == 0 ? launcher.string() : self.string();
}

std::optional<NightSource> savedNightSource(const AppSettings& settings) {
  return nightSourceFromString(settings.store().value(QStringLiteral("nightSource")).toString().toStdString());
}

std::unique_ptr<AppModel> makeModel(AppSettings& settings, MorningNotifier* notifier, const LaunchOptions& options) {
  const std::string pmset = configuredPmset(options.pmset);
  const std::optional<NightSource> asked = options.source ? options.source : savedNightSource(settings);
  const bool pmsetNamed = options.pmset || !qEnvironmentVariableIsEmpty("SNOOZLET_PMSET");
  auto chosen = options.journal ? chooseNightSource(NightSource::journal, std::nullopt, *options.journal)
                                : chooseNightSource(asked, pmsetNamed ? std::optional<std::string>(pmset) : std::nullopt, {});
  std::optional<std::string> notice;
  if (!chosen) {
    notice = chosen.error().description();
    chosen = chooseNightSource(NightSource::simulated, std::nullopt, {});
  } else {
    notice = chosen->notice;
  }
  PowerDataSource source = std::move(chosen->source);
  AppModel::Options modelOptions;
  // Changes run through the pmset the nights come from (none for a journal).
  const std::string changes = source.nightSource() == NightSource::journal ? pmset : source.pmset();
  modelOptions.pmsetPath = changes;
  // A Linux laptop's lid actions, inhibitors and hibernation come from logind.
  if (source.nightSource() == NightSource::journal) modelOptions.logind = logindReader(modelOptions.systemRoot);
  auto model = std::make_unique<AppModel>(settings, notifier,
                                          options.dataDir ? Storage::in(*options.dataDir) : Storage::standard(),
                                          std::move(source), modelOptions);
  if (notice) model->setNotice(std::move(notice));
  return model;
}

std::shared_ptr<PrivilegedRunner> makeLaptopRunner(std::shared_ptr<PrivilegedRunner> pmset, const SystemRoot& root) {
  if (pmset->isDryRun()) return pmset;
  HelperRunner::Options options;
  options.helper = HelperRunner::locate();
  options.root = root;
  // A tree of files standing for the system is changed as this user, never the machine.
  options.elevate = root.isMachine() && ::geteuid() != 0;
  if (const char* elevator = std::getenv("SNOOZLET_ELEVATOR"); elevator != nullptr && *elevator != '\0') {
    options.elevator = elevator;
  }
  return std::make_shared<HelperRunner>(std::move(pmset), std::move(options));
}

std::unique_ptr<ChangeController> makeChangeController(AppModel& model, const LaunchOptions& options) {
  auto runner = makeRunner(model.pmsetPath(), options.dryRun);
  // A Linux laptop's own changes run through snoozlet-helper.
  if (model.nightSource() == NightSource::journal) runner = makeLaptopRunner(std::move(runner), model.systemRoot());
  return std::make_unique<ChangeController>(model, std::move(runner));
}

}  // namespace snoozlet
