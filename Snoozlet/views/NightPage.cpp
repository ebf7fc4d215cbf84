#include "views/NightPage.h"

#include "app/AppModel.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"
#include "presentation/SourceTexts.h"
#include "views/KernelCountsView.h"
#include "views/MorningReportView.h"
#include "views/NightRibbon.h"
#include "views/PageFrame.h"
#include "views/Remedies.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>

namespace snoozlet::views {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }
QString q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// One big figure over its caption, with optional lines under it.
QWidget* figureTile(const presentation::Figure& figure, QWidget* parent, const QString& name) {
  auto* tile = new QWidget(parent);
  tile->setObjectName(name);
  auto* column = new QVBoxLayout(tile);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  auto* value = new QLabel(q(figure.value), tile);
  value->setObjectName(QStringLiteral("value"));
  value->setFont(figureFont(value->font()));
  column->addWidget(value);
  auto* caption = wrappingLabel(q(figure.caption), tile);
  caption->setObjectName(QStringLiteral("caption"));
  caption->setFont(captionFont(caption->font()));
  makeSecondary(caption);
  column->addWidget(caption);
  return tile;
}

QLabel* tileLine(QWidget* tile, const QString& text, const QString& name) {
  auto* line = wrappingLabel(text, tile);
  line->setObjectName(name);
  line->setFont(captionFont(line->font()));
  static_cast<QVBoxLayout*>(tile->layout())->addWidget(line);
  return line;
}

QWidget* figuresRow(const NightReport& night, const NightFormat& format, NightSource source, QWidget* parent) {
  const presentation::FiguresRow figures = presentation::figuresRow(night, format, source);
  auto* row = new QWidget(parent);
  row->setObjectName(QStringLiteral("figures"));
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(kUnit * 4);
  layout->addWidget(figureTile(figures.asleep, row, QStringLiteral("asleep")), 1, Qt::AlignTop);
  QWidget* wakes = figureTile(figures.darkWakes, row, QStringLiteral("darkWakes"));
  if (figures.awakeLine) makeSecondary(tileLine(wakes, q(*figures.awakeLine), QStringLiteral("awakeLine")));
  layout->addWidget(wakes, 1, Qt::AlignTop);
  QWidget* battery = figureTile(figures.battery.figure, row, QStringLiteral("battery"));
  if (figures.battery.perHour) makeSecondary(tileLine(battery, q(*figures.battery.perHour), QStringLiteral("perHour")));
  if (figures.battery.ratio) {
    QLabel* ratio = tileLine(battery, q(*figures.battery.ratio), QStringLiteral("ratio"));
    QFont font = ratio->font();
    font.setWeight(QFont::DemiBold);
    ratio->setFont(font);
    QPalette palette = ratio->palette();
    palette.setColor(QPalette::WindowText, ratioColor(figures.battery.band, palette));
    ratio->setPalette(palette);
  }
  layout->addWidget(battery, 1, Qt::AlignTop);
  return row;
}

// A row of an explanation section: a title and a second line on the left,
// a figure on the right.
QWidget* detailRow(const QString& title, const QString& detail, const QString& trailing, QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* grid = new QGridLayout(row);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(kUnit * 2);
  grid->setVerticalSpacing(2);
  auto* name = wrappingLabel(title, row);
  QFont strong = name->font();
  strong.setWeight(QFont::DemiBold);
  name->setFont(strong);
  grid->addWidget(name, 0, 0);
  if (!detail.isEmpty()) {
    auto* second = wrappingLabel(detail, row);
    makeSecondary(second);
    grid->addWidget(second, 1, 0);
  }
  if (!trailing.isEmpty()) {
    auto* figure = new QLabel(trailing, row);
    figure->setFont(digitsFont(12));
    figure->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(figure, 0, 1, Qt::AlignRight | Qt::AlignTop);
  }
  grid->setColumnStretch(0, 1);
  return row;
}

// A small rounded label that sets a row apart.
class Badge : public QLabel {
 public:
  Badge(const QString& text, QColor colour, QWidget* parent) : QLabel(text, parent), colour_(colour) {
    setFont(captionFont(font()));
    setContentsMargins(kUnit, 2, kUnit, 2);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QColor fill = colour_;
    fill.setAlphaF(0.14f);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), height() / 2.0, height() / 2.0);
    p.end();
    QLabel::paintEvent(event);
  }

 private:
  QColor colour_;
};

QWidget* section(const QString& title, const QString& name, QWidget* parent, QVBoxLayout** rows) {
  auto* box = new QWidget(parent);
  box->setObjectName(name);
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(sectionTitle(title, box));
  *rows = column;
  return box;
}

QLabel* emptyLine(const QString& text, QWidget* parent) {
  auto* label = wrappingLabel(text, parent);
  label->setObjectName(QStringLiteral("none"));
  makeSecondary(label);
  return label;
}

}  // namespace

NightPage::NightPage(AppModel& model, QWidget* parent) : PageFrame(parent), model_(model) {
  for (auto signal : {&AppModel::analysisChanged, &AppModel::pageChanged, &AppModel::noticeChanged,
                      &AppModel::powerSettingsChanged, &AppModel::capabilitiesChanged}) {
    connect(&model, signal, this, &NightPage::rebuild);
  }
  connect(&model.settings(), &AppSettings::plainModeChanged, this, &NightPage::rebuild);
  rebuild();
}

void NightPage::rebuild() {
  night_ = model_.selectedNight();
  if (night_) {
    build(*night_);
  } else {
    setWidget(new QWidget());  // deletes the previous content
  }
}

void NightPage::build(const NightReport& night) {
  const NightFormat& format = model_.format();
  const Language language = format.language();
  QVBoxLayout* column = begin({}, {});
  QWidget* page = content();
  column->setSpacing(kUnit * 4);

  MorningReportView::Options report;
  report.plain = model_.settings().plainMode();
  column->addWidget(
      new MorningReportView(night, q(model_.morningText(night)), q(format.nightTitle(night.start())), report, page));
  column->addWidget(figuresRow(night, format, model_.nightSource(), page));
  auto* ribbon = new NightRibbon(page);
  ribbon->setNight(night, format);
  column->addWidget(ribbon);
  column->addWidget(new RemediesSection(model_, night, page));

  QVBoxLayout* rows = nullptr;
  column->addWidget(section(tr("What woke me"), QStringLiteral("wokeMe"), page, &rows));
  for (const ReasonGroup& group : night.groups) {
    rows->addWidget(
        detailRow(q(wake_category::title(group.category, language)),
                  q(wake_category::explanation(group.category, language, model_.nightSource())),
                  QString::number(group.count) + QStringLiteral(" · ") + q(format.duration(group.awakeSeconds)), page));
  }
  if (night.groups.empty()) rows->addWidget(emptyLine(tr("I didn’t wake up once."), page));
  if (auto kernel = presentation::kernelSection(night, format)) column->addWidget(new KernelCountsView(*kernel, page));

  column->addWidget(section(tr("Who set the alarm"), QStringLiteral("alarms"), page, &rows));
  for (const RequesterGroup& requester : night.requesters) {
    rows->addWidget(detailRow(q(presentation::requesterTitle(requester, language)), q(requester.process), {}, page));
  }
  if (night.requesters.empty()) rows->addWidget(emptyLine(tr("No scheduled wakes matched."), page));

  column->addWidget(section(tr("Who held the lamp"), QStringLiteral("lamp"), page, &rows));
  for (const HolderGroup& holder : night.holders) {
    QWidget* row = detailRow(q(holder.process), q(presentation::holderLine(holder, language)),
                             q(format.duration(holder.heldSeconds)), page);
    if (presentation::keepsMacAwake(holder)) {
      row->setObjectName(QStringLiteral("keepsMacAwake"));
      auto* badge = new Badge(q(presentation::keptAwakeBadge(model_.nightSource(), language)),
                              ratioColor(presentation::RatioBand::caution, palette()), row);
      static_cast<QGridLayout*>(row->layout())->addWidget(badge, 2, 0, Qt::AlignLeft);
    }
    rows->addWidget(row);
  }
  if (night.holders.empty()) rows->addWidget(emptyLine(tr("Nobody kept me up."), page));

  auto* footnote = wrappingLabel(q(presentation::nightFootnote(model_.nightSource(), language)), page);
  footnote->setFont(captionFont(footnote->font()));
  makeSecondary(footnote);
  column->addWidget(footnote);
  column->addStretch(1);
}

}  // namespace snoozlet::views
