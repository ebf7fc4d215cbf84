#pragma once

// The kernel's wake counts of a Linux laptop's night: on the night page a
// section (which sources woke the laptop and how often, the share of the
// night in hardware sleep, where the counts come from), in the popover one
// line. Both only place what presentation decided.

#include "presentation/KernelRows.h"

#include <QWidget>

namespace snoozlet::views {

class KernelCountsView : public QWidget {
 public:
  // The night page's section.
  explicit KernelCountsView(const presentation::KernelSection& section, QWidget* parent = nullptr);
  // The popover's line.
  KernelCountsView(const std::string& line, QWidget* parent = nullptr);
};

}  // namespace snoozlet::views
