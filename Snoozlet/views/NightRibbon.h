#pragma once

// The night ribbon: a time line of one night. Its geometry comes whole from
// presentation::layoutRibbon; this widget only places the band in its
// rectangle, with room for the labels around it, and paints the records.
//
//   [row labels] [first %] [ band: stretches, wakes, battery line ] [last %]
//                          [ start label   hour ticks    end label ]
//   [lane title]           [ lane marks ...                        ]

#include "narration/NightFormat.h"
#include "presentation/RibbonLayout.h"

#include <QWidget>

#include <optional>

namespace snoozlet::views {

class NightRibbon : public QWidget {
  Q_OBJECT

 public:
  explicit NightRibbon(QWidget* parent = nullptr);

  void setNight(const NightReport& night, const NightFormat& format);
  // The popover's form: a lower band, no row labels.
  void setCompact(bool compact);
  // The most wake-category lanes drawn under the band.
  void setLaneLimit(int lanes);

  bool isCompact() const { return compact_; }
  // Where the band lies in the widget, and its layout at the current size.
  QRectF bandRect() const;
  const presentation::RibbonLayout& layout() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  presentation::RibbonOptions options(double bandWidth) const;
  // The widths of the row-label column and of the battery labels' margins.
  double labelColumn() const;
  double batteryMargin() const;
  // The battery percentages' font: the caption's, its digits of one width.
  QFont batteryFont() const;
  double totalHeight() const;
  void invalidate();

  std::optional<NightReport> night_;
  std::optional<NightFormat> format_;
  bool compact_ = false;
  int laneLimit_ = 4;
  mutable std::optional<presentation::RibbonLayout> layout_;
  mutable std::optional<double> column_;
};

}  // namespace snoozlet::views
