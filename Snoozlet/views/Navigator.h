#pragma once

// Which page the main window shows: a night, sleep settings, battery or
// history. The shell owns one navigator for the life of the application, so
// the choice outlives a closed window, and both the sidebar and the popover's
// "Open Snoozlet" set it.
//
// Until the user chooses, the page follows the nights: after every refresh
// it is the latest night (sleep settings when there is none). A night page
// whose night has dropped out of the analysis falls back the same way. While
// the first refresh runs there is no page, and the window says it is reading.

#include "analysis/NightReport.h"
#include "common/Instant.h"

#include <QObject>

#include <functional>
#include <optional>

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class Page {
 public:
  enum class Kind { night, settings, battery, history };

  // The night starting at `start`.
  static Page night(Instant start) { return Page(Kind::night, start); }
  static Page settings() { return Page(Kind::settings, 0); }
  static Page battery() { return Page(Kind::battery, 0); }
  static Page history() { return Page(Kind::history, 0); }

  Kind kind() const { return kind_; }
  // The night's start; only for a night page.
  std::optional<Instant> nightStart() const {
    return kind_ == Kind::night ? std::optional<Instant>(start_) : std::nullopt;
  }

  bool operator==(const Page&) const = default;

 private:
  Page(Kind kind, Instant start) : kind_(kind), start_(start) {}
  Kind kind_;
  Instant start_;
};

class Navigator : public QObject {
  Q_OBJECT

 public:
  // The model must outlive the navigator.
  explicit Navigator(const AppModel& model, QObject* parent = nullptr);

  const std::optional<Page>& page() const { return page_; }
  // The page the user chose; kept over refreshes while it is valid.
  void choose(Page page);
  // A night page is valid while the analysis has a report starting exactly
  // then; the other pages always are; no page is not.
  bool isValid(const std::optional<Page>& page) const;
  // The night the night page shows: the report starting at the page's date,
  // else the latest night. Null without an analysis or off a night page.
  const NightReport* selectedNight() const;

 signals:
  void pageChanged();

 private:
  void follow();
  void setPage(std::optional<Page> page);

  const AppModel& model_;
  std::optional<Page> page_;
  // The user chose the page: refreshes keep it while it is valid.
  bool chosen_ = false;
};

}  // namespace snoozlet::views

template <>
struct std::hash<snoozlet::views::Page> {
  std::size_t operator()(const snoozlet::views::Page& page) const noexcept {
    return std::hash<double>()(page.nightStart().value_or(0)) * 4 + static_cast<std::size_t>(page.kind());
  }
};
