#pragma once

// The "Sleep settings" page: every explained setting with its status mark,
// value, what it does and what changing it costs, and the fix the model
// offers for it; then the changes Snoozlet made that are still in force,
// each with a button that reviews putting it back.

#include "settings/Fix.h"
#include "settings/SettingFinding.h"
#include "views/PageFrame.h"

#include <optional>

class QPushButton;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

// A small coloured mark for a setting's status.
class StatusMark : public QWidget {
  Q_OBJECT

 public:
  explicit StatusMark(SettingStatus status, QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  SettingStatus status_;
};

class FindingRow : public QWidget {
  Q_OBJECT

 public:
  FindingRow(AppModel& model, const SettingFinding& finding, const std::optional<Fix>& fix, QWidget* parent = nullptr);
  // The fix's button; only when the model has a fix for the finding's key.
  QPushButton* fixButton() const { return fix_; }

 private:
  QPushButton* fix_ = nullptr;
};

class ChangesSection : public QWidget {
  Q_OBJECT

 public:
  explicit ChangesSection(AppModel& model, QWidget* parent = nullptr);
};

class SettingsPage : public PageFrame {
  Q_OBJECT

 public:
  explicit SettingsPage(AppModel& model, QWidget* parent = nullptr);
  void rebuild();

 private:
  AppModel& model_;
};

}  // namespace snoozlet::views
