#pragma once

// The "Sleep settings" page: every explained setting with its status mark,
// value, what it does and what changing it costs, and the fix offered for it;
// then the changes Snoozlet made that are still in force, each with a button
// that reviews putting it back. The findings and the changes update apart,
// each only when its own list differs.

#include "presentation/SettingsRows.h"
#include "settings/Fix.h"
#include "settings/SettingFinding.h"
#include "views/PageFrame.h"

#include <optional>
#include <vector>

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace snoozlet {
class AppModel;
class ChangeController;
}  // namespace snoozlet

namespace snoozlet::views {

// A small mark for a setting's status, in the status's tone and with a
// shape of its own (fine a dot, info a ring, consider a diamond, attention a
// triangle); its word is its tooltip and its accessible name.
class StatusMark : public QWidget {
  Q_OBJECT

 public:
  StatusMark(SettingStatus status, Language language, QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SettingStatus status_;
};

class FindingRow : public QWidget {
  Q_OBJECT

 public:
  FindingRow(ChangeController& changes, const presentation::SettingsRow& row, Language language,
             QWidget* parent = nullptr);
  // The fix's button; only when there is a fix for the finding's key.
  QPushButton* fixButton() const { return fix_; }

 private:
  QPushButton* fix_ = nullptr;
};

class ChangesSection : public QWidget {
  Q_OBJECT

 public:
  ChangesSection(const AppModel& model, ChangeController& changes, QWidget* parent = nullptr);

 private:
  void update();

  const AppModel& model_;
  ChangeController& changes_;
  QLabel* title_;
  QLabel* none_;
  QWidget* entries_ = nullptr;
  std::optional<presentation::ChangesList> shown_;
};

class SettingsPage : public PageFrame {
  Q_OBJECT

 public:
  SettingsPage(AppModel& model, ChangeController& changes, QWidget* parent = nullptr);

 private:
  void update();

  AppModel& model_;
  ChangeController& changes_;
  QWidget* findings_ = nullptr;
  std::vector<presentation::SettingsRow> shown_;
};

}  // namespace snoozlet::views
