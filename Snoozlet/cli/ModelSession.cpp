#include "cli/ModelSession.h"

#include "app/AppLanguage.h"
#include "platform/AdminPromptRunner.h"
#include "platform/PowerDataSource.h"
#include "platform/battery/BatteryReader.h"
#include "settings/DryRunRunner.h"

#include <QEventLoop>
#include <QLocale>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <ostream>

namespace snoozlet::cli {

namespace {

AppModel::Options modelOptions(const std::string& pmset) {
  AppModel::Options options;
  options.pmsetPath = pmset;
  return options;
}

// The login item starts `snoozlet`, the command beside this program that
// hands over to it, so the autostart entry names the program people know.
std::string launcherPath() {
  const std::filesystem::path self = QCoreApplication::applicationFilePath().toStdString();
  const std::filesystem::path launcher = self.parent_path() / "snoozlet";
  return ::access(launcher.c_str(), X_OK) == 0 ? launcher.string() : self.string();
}

}  // namespace

ModelSession::ModelSession(const Setup& setup) : store_(), settings_(store_), loginItem_(launcherPath()) {
  const std::string pmset = configuredPmset(setup.pmset);
  model_ =
      std::make_unique<AppModel>(settings_, makeRunner(pmset, setup.dryRun), loginItem_, nullptr,
                                 setup.dataDir ? AppModel::Storage::in(*setup.dataDir) : AppModel::Storage::standard(),
                                 PowerDataSource(pmset, makeSystemBatteryReader()), modelOptions(pmset));
}

Status ModelSession::refresh() {
  QEventLoop loop;
  QObject::connect(model_.get(), &AppModel::refreshFinished, &loop, &QEventLoop::quit);
  // The end is posted to this thread, so it cannot arrive before exec().
  if (!model_->refresh()) return Status::failure(Error{"a refresh is already running"});
  loop.exec();
  if (model_->state().kind() == AppModel::LoadState::Kind::failed) {
    return Status::failure(Error{model_->state().message()});
  }
  return {};
}

void ModelSession::apply(const AppModel::Review& review) {
  QEventLoop loop;
  QObject::connect(model_.get(), &AppModel::applyFinished, &loop, &QEventLoop::quit);
  if (!model_->applyReview(review)) return;
  loop.exec();
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

std::unique_ptr<ModelSession> startSession(const CommandLine& line, bool dryRun) {
  prepareApplication(*QCoreApplication::instance(), line.language);
  ModelSession::Setup setup;
  if (line.dataDir) setup.dataDir = *line.dataDir;
  setup.pmset = line.pmset;
  setup.dryRun = dryRun;
  return std::make_unique<ModelSession>(setup);
}

bool refreshFor(ModelSession& session, std::string_view command, std::ostream& err) {
  const Status status = session.refresh();
  if (!status) err << "snoozlet " << command << ": " << status.error().description() << "\n";
  return status.ok();
}

NightFormat formatOf(const AppModel& model) { return NightFormat(model.language(), model.timeZone()); }

}  // namespace snoozlet::cli
