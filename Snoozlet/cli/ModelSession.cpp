#include "cli/ModelSession.h"
#include <QEventLoop>

#include <filesystem>
#include <ostream>

namespace snoozlet::cli {

ModelSession::ModelSession(const Setup& setup)
    : store_(),
      settings_(store_),
      model_(makeModel(settings_, nullptr, setup)),
      changes_(makeChangeController(*model_, setup)) {}

Status ModelSession::refresh() {
  QEventLoop loop;
  QObject::connect(model_.get(), &AppModel::refreshFinished, &loop, &QEventLoop::quit);
  // The end is posted to this thread, so it cannot arrive before exec().
  if (!model_->refresh()) return Status::failure(Error{"a refresh is already running"});
  loop.exec();
  if (const auto failure = model_->state().failure()) return Status::failure(Error{*failure});
  return {};
}

void ModelSession::apply() {
  QEventLoop loop;
  QObject::connect(changes_.get(), &ChangeController::applyFinished, &loop, &QEventLoop::quit);
  // The end is posted to this thread, so it cannot arrive before exec().
  if (!changes_->applyReview()) return;
  loop.exec();
}

std::unique_ptr<ModelSession> startSession(const CommandLine& line, bool dryRun) {
  prepareApplication(*QCoreApplication::instance(), line.language);
  ModelSession::Setup setup;
  if (line.dataDir) setup.dataDir = *line.dataDir;
  setup.pmset = line.pmset;
  setup.source = line.source;
  setup.dryRun = dryRun;
  if (const auto journal = line.value("--journal")) {
    setup.journal = JournalPaths{std::filesystem::path(*journal), std::nullopt};
    if (const auto upower = line.value("--upower")) setup.journal->upower = std::filesystem::path(*upower);
  }
  return std::make_unique<ModelSession>(setup);
}

bool refreshFor(ModelSession& session, std::string_view command, std::ostream& err) {
  const Status status = session.refresh();
  if (!status) err << "snoozlet " << command << ": " << status.error().description() << "\n";
  return status.ok();
}

NightFormat formatOf(const AppModel& model) { return model.format(); }

}  // namespace snoozlet::cli
