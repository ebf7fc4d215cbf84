#pragma once

// The kernel's wake counts of a Linux laptop's night on the night page:
// which sources woke the laptop and how often, the share of the night in
// hardware sleep, and where the counts come from. It only places what
// presentation decided, updates in place, and hides itself for a night
// around which nothing was read.

#include "presentation/KernelRows.h"

#include <QWidget>

#include <optional>

class QLabel;

namespace snoozlet::views {

class RowList;

class KernelCountsView : public QWidget {
  Q_OBJECT

 public:
  explicit KernelCountsView(QWidget* parent = nullptr);

  void setSection(const std::optional<presentation::KernelSection>& section);

 private:
  RowList* rows_;
  QLabel* hardware_;
  QLabel* footnote_;
};

}  // namespace snoozlet::views
