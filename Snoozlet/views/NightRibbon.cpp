#include "views/NightRibbon.h"

#include "views/Theme.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace snoozlet::views {

namespace {

constexpr double kFullBand = 72;
constexpr double kCompactBand = 44;
// The widest lane title before it is elided, in average characters.
constexpr double kLaneTitleColumns = 19;

const presentation::RibbonLayout kEmpty{};

QString text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

NightRibbon::NightRibbon(QWidget* parent) : QWidget(parent) {
  setAccessibleName(tr("Night ribbon"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void NightRibbon::setNight(const NightReport& night, const NightFormat& format) {
  night_ = night;
  format_ = format;
  setAccessibleDescription(shown(presentation::ribbonSummary(night, format)));
  invalidate();
}

void NightRibbon::setCompact(bool compact) {
  compact_ = compact;
  invalidate();
}

void NightRibbon::setLaneLimit(int lanes) {
  laneLimit_ = std::max(lanes, 0);
  invalidate();
}

void NightRibbon::invalidate() {
  layout_.reset();
  column_.reset();
  updateGeometry();
  update();
}

presentation::RibbonOptions NightRibbon::options(double bandWidth) const {
  presentation::RibbonOptions o;
  o.width = std::max(bandWidth, 0.0);
  o.compact = compact_;
  o.bandHeight = compact_ ? kCompactBand : kFullBand;
  o.laneLimit = compact_ ? 0 : laneLimit_;
  const QFontMetricsF caption(captionFont(font()));
  o.tickArea = caption.height() + 6;
  o.laneHeight = std::ceil(caption.height()) + 2;
  o.labelWidth = [caption](std::string_view label) {
    return caption.horizontalAdvance(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())));
  };
  // Labels keep at least a label's width between them: an hour left out rather than crowded.
  o.labelGap = caption.horizontalAdvance(QStringLiteral("00"));
  return o;
}

double NightRibbon::labelColumn() const {
  if (compact_ || !night_) return 0;
  if (!column_) {
    // Labels and lane titles do not depend on the band's width: a one-point layout has them all.
    const QFontMetricsF metrics(captionFont(font()));
    const auto probe = presentation::layoutRibbon(*night_, *format_, options(1));
    double widest = 0;
    for (const auto& label : probe.rowLabels) widest = std::max(widest, metrics.horizontalAdvance(text(label.text)));
    for (const auto& lane : probe.lanes) {
      widest = std::max(widest, std::min<double>(metrics.horizontalAdvance(text(lane.title)),
                                                 columns(captionFont(font()), kLaneTitleColumns)));
    }
    column_ = std::ceil(widest) + kUnit;
  }
  return *column_;
}

QFont NightRibbon::batteryFont() const { return figuresFont(captionFont(font())); }

double NightRibbon::batteryMargin() const {
  return std::ceil(QFontMetricsF(batteryFont()).horizontalAdvance(QStringLiteral("100%"))) + 6;
}

QRectF NightRibbon::bandRect() const {
  const double left = labelColumn();
  const double margin = batteryMargin();
  return QRectF(left + margin, 0, std::max(width() - left - 2 * margin, 0.0), options(0).bandHeight);
}

const presentation::RibbonLayout& NightRibbon::layout() const {
  if (!night_) return kEmpty;
  if (!layout_) layout_ = presentation::layoutRibbon(*night_, *format_, options(bandRect().width()));
  return *layout_;
}

double NightRibbon::totalHeight() const {
  if (!night_) return options(0).bandHeight + options(0).tickArea;
  const presentation::RibbonOptions o = options(1);
  const auto lanes = std::min<std::size_t>(night_->groups.size(), static_cast<std::size_t>(o.laneLimit));
  return o.bandHeight + o.tickArea + static_cast<double>(lanes) * o.laneHeight;
}

QSize NightRibbon::sizeHint() const { return QSize(640, static_cast<int>(std::ceil(totalHeight()))); }

QSize NightRibbon::minimumSizeHint() const { return QSize(160, static_cast<int>(std::ceil(totalHeight()))); }

void NightRibbon::resizeEvent(QResizeEvent* event) {
  layout_.reset();
  QWidget::resizeEvent(event);
}

void NightRibbon::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) invalidate();
  QWidget::changeEvent(event);
}

void NightRibbon::paintEvent(QPaintEvent*) {
  if (!night_) return;
  const QRectF band = bandRect();
  if (band.width() < 1 || band.height() < 1) return;
  const presentation::RibbonLayout& r = layout();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.translate(band.topLeft());

  // The band, and everything in it clipped to its rounded outline.
  QPainterPath outline;
  outline.addRoundedRect(QRectF(0.5, 0.5, r.band.width - 1, r.band.height - 1), r.cornerRadius, r.cornerRadius);
  p.fillPath(outline, night::band());
  p.save();
  p.setClipPath(outline);
  for (const auto& stretch : r.stretches) {
    p.fillRect(QRectF(stretch.rect.x, stretch.rect.y, stretch.rect.width, stretch.rect.height), night::charger());
    p.setPen(QPen(night::hatching(), 1));
    for (const auto& line : stretch.hatching)
      p.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
  }
  QColor amber = night::wake();
  for (const auto& wake : r.wakes) {
    amber.setAlphaF(static_cast<float>(wake.opacity));
    p.fillRect(QRectF(wake.rect.x, wake.rect.y, wake.rect.width, wake.rect.height), amber);
  }
  if (r.battery.size() > 1) {
    std::vector<QPointF> points;
    points.reserve(r.battery.size());
    for (const auto& point : r.battery) points.emplace_back(point.x, point.y);
    p.setPen(QPen(night::batteryLine(), r.batteryLineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(points.data(), static_cast<int>(points.size()));
  }
  p.restore();
  p.setPen(QPen(night::bandOutline(), 1));
  p.drawPath(outline);

  // The battery's first and last percentages beside the band.
  const QColor text = palette().color(QPalette::WindowText);
  const QColor quiet = secondaryText(palette());
  p.setFont(batteryFont());
  p.setPen(text);
  const QFontMetricsF digits(p.font());
  for (const auto* label : {&r.firstBattery, &r.lastBattery}) {
    if (!*label) continue;
    const QString value = QString::fromStdString((*label)->text);
    const double w = digits.horizontalAdvance(value);
    const bool leading = (*label)->side == presentation::BatteryLabel::Side::leading;
    // Beside the reading, outside the band when the reading is at its edge.
    double x = leading ? std::min((*label)->anchor.x, 0.0) - 5 - w : std::max((*label)->anchor.x, r.band.width) + 5;
    const double y = std::clamp((*label)->anchor.y, digits.height() / 2, r.band.height - digits.height() / 2);
    p.drawText(QRectF(x, y - digits.height() / 2, w + 1, digits.height()), Qt::AlignVCenter, value);
  }

  // Ticks, then the start and end labels and the hour labels the layout placed between them.
  const QFont caption = captionFont(font());
  const QFontMetricsF metrics(caption);
  p.setFont(caption);
  p.setPen(QPen(quiet, 1));
  for (const auto& tick : r.ticks)
    p.drawLine(QPointF(tick.x, r.band.height), QPointF(tick.x, r.band.height + r.tickLength));
  const double labelTop = r.band.height + r.tickLength + 1;
  const double labelHeight = metrics.height();
  const QString start = QString::fromStdString(r.startLabel);
  const QString end = QString::fromStdString(r.endLabel);
  p.drawText(QRectF(0, labelTop, metrics.horizontalAdvance(start) + 1, labelHeight), Qt::AlignLeft, start);
  if (r.endLabelled) p.drawText(QRectF(0, labelTop, r.band.width, labelHeight), Qt::AlignRight, end);
  for (const auto& tick : r.ticks) {
    if (!tick.labelled) continue;
    const QString hour = QString::fromStdString(tick.label);
    const double w = metrics.horizontalAdvance(hour);
    p.drawText(QRectF(tick.x - w / 2, labelTop, w + 1, labelHeight), Qt::AlignLeft, hour);
  }

  // Row labels and lane titles in the column left of the band.
  const double column = band.left() - batteryMargin();
  for (const auto& label : r.rowLabels) {
    p.drawText(QRectF(-band.left(), label.y - labelHeight / 2, column - kUnit, labelHeight),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(label.text));
  }
  QColor track = text;
  track.setAlphaF(0.07f);
  for (const auto& lane : r.lanes) {
    const QRectF row(lane.row.x, lane.row.y + 2, lane.row.width, lane.row.height - 4);
    p.setPen(quiet);
    const QString title = metrics.elidedText(QString::fromStdString(lane.title), Qt::ElideRight, column - kUnit);
    p.drawText(QRectF(-band.left(), lane.row.y, column - kUnit, lane.row.height), Qt::AlignRight | Qt::AlignVCenter,
               title);
    p.fillRect(row, track);
    for (const auto& mark : lane.marks) p.fillRect(QRectF(mark.x, row.top(), mark.width, row.height()), night::wake());
  }
}

}  // namespace snoozlet::views
