#include "views/Navigator.h"

#include "app/AppModel.h"

#include <algorithm>

namespace snoozlet::views {

Navigator::Navigator(const AppModel& model, QObject* parent) : QObject(parent), model_(model) {
  connect(&model, &AppModel::published, this, &Navigator::follow);
  follow();
}

void Navigator::choose(Page page) {
  chosen_ = true;
  setPage(page);
}

void Navigator::setPage(std::optional<Page> page) {
  if (page_ == page) return;
  page_ = page;
  emit pageChanged();
}

void Navigator::follow() {
  if (!model_.analysis() || (chosen_ && isValid(page_))) return;
  const NightReport* latest = model_.latestNight();
  setPage(latest ? Page::night(latest->start()) : Page::settings());
}

bool Navigator::isValid(const std::optional<Page>& page) const {
  if (!page) return false;
  const auto start = page->nightStart();
  if (!start) return true;
  const auto& analysis = model_.analysis();
  return analysis && std::any_of(analysis->reports.begin(), analysis->reports.end(),
                                 [&](const NightReport& report) { return report.start() == *start; });
}

const NightReport* Navigator::selectedNight() const {
  const auto& analysis = model_.analysis();
  if (!page_ || !analysis) return nullptr;
  const auto start = page_->nightStart();
  if (!start) return nullptr;
  for (const NightReport& report : analysis->reports) {
    if (report.start() == *start) return &report;
  }
  return analysis->lastNight();
}

}  // namespace snoozlet::views
