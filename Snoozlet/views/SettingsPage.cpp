#include "views/SettingsPage.h"

#include "app/AppModel.h"
#include "presentation/SettingsRows.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace snoozlet::views {

namespace {

constexpr int kMarkSize = 12;
QString q(const std::string& text) { return QString::fromStdString(text); }

QColor statusColour(SettingStatus status, const QPalette& palette) {
  switch (status) {
    case SettingStatus::fine: return isDark(palette) ? QColor(0x5C, 0xC8, 0x8A) : QColor(0x2E, 0x8B, 0x57);
    case SettingStatus::info: return secondaryText(palette);
    case SettingStatus::consider: return ratioColor(presentation::RatioBand::caution, palette);
    case SettingStatus::attention: return ratioColor(presentation::RatioBand::warning, palette);
  }
  return secondaryText(palette);
}

}  // namespace

StatusMark::StatusMark(SettingStatus status, QWidget* parent) : QWidget(parent), status_(status) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setAccessibleName(q(presentation::statusWord(status, Language::english)));
}

QSize StatusMark::sizeHint() const { return QSize(kMarkSize, kMarkSize); }

void StatusMark::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = statusColour(status_, palette());
  const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
  if (status_ == SettingStatus::fine || status_ == SettingStatus::attention) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
  } else {
    // Information and "consider" are rings: worth reading, not alarming.
    p.setPen(QPen(colour, 2));
    p.setBrush(Qt::NoBrush);
  }
  p.drawEllipse(box);
}

FindingRow::FindingRow(AppModel& model, const SettingFinding& finding, const std::optional<Fix>& fix, QWidget* parent)
    : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(kUnit * 1.5);
  grid->setVerticalSpacing(kUnit / 2);
  auto* mark = new StatusMark(finding.status, this);
  grid->addWidget(mark, 0, 0, Qt::AlignTop | Qt::AlignHCenter);
  auto* title = strongLabel(q(finding.title), this);
  grid->addWidget(title, 0, 1);
  auto* value = new QLabel(q(finding.value), this);
  value->setObjectName(QStringLiteral("value"));
  value->setAlignment(Qt::AlignRight | Qt::AlignTop);
  grid->addWidget(value, 0, 2, Qt::AlignRight | Qt::AlignTop);
  int row = 1;
  auto* summary = wrappingLabel(q(finding.summary), this);
  grid->addWidget(summary, row++, 1, 1, 2);
  if (finding.tradeOff) {
    auto* tradeOff = wrappingLabel(q(*finding.tradeOff), this);
    makeSecondary(tradeOff);
    grid->addWidget(tradeOff, row++, 1, 1, 2);
  }
  if (fix) {
    fix_ = new QPushButton(q(fix->title(model.language())) + QStringLiteral("…"), this);
    fix_->setObjectName(QStringLiteral("fix-") + q(std::string(toString(fix->id))));
    connect(fix_, &QPushButton::clicked, this, [&model, id = fix->id] { model.reviewFixes({id}); });
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(fix_);
    buttons->addStretch(1);
    grid->addLayout(buttons, row++, 1, 1, 2);
  }
  grid->setColumnStretch(1, 1);
}

ChangesSection::ChangesSection(AppModel& model, QWidget* parent) : QWidget(parent) {
  const presentation::ChangesList list = presentation::changesList(model.journal(), model.format());
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(sectionTitle(q(list.title), this));
  if (list.empty) {
    auto* none = wrappingLabel(q(*list.empty), this);
    none->setObjectName(QStringLiteral("nothingYet"));
    makeSecondary(none);
    column->addWidget(none);
    return;
  }
  for (const presentation::ChangeEntry& entry : list.entries) {
    auto* block = new QWidget(this);
    block->setObjectName(QStringLiteral("change"));
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    QString date = q(entry.date);
    if (entry.dryRunMark) date += QStringLiteral(" · ") + q(*entry.dryRunMark);
    grid->addWidget(strongLabel(date, block), 0, 0);
    int row = 1;
    for (const std::string& change : entry.changes) {
      auto* line = wrappingLabel(q(change), block);
      makeSecondary(line);
      grid->addWidget(line, row++, 0);
    }
    auto* undo = new QPushButton(tr("Undo…"), block);
    undo->setObjectName(QStringLiteral("undo-") + q(entry.recordId));
    connect(undo, &QPushButton::clicked, this, [&model, id = entry.recordId] { model.reviewUndo(id); });
    grid->addWidget(undo, 0, 1, row, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid->setColumnStretch(0, 1);
    column->addWidget(block);
  }
}

SettingsPage::SettingsPage(AppModel& model, QWidget* parent) : PageFrame(parent), model_(model) {
  for (auto signal : {&AppModel::findingsChanged, &AppModel::journalChanged, &AppModel::powerSettingsChanged,
                      &AppModel::capabilitiesChanged}) {
    connect(&model, signal, this, &SettingsPage::rebuild);
  }
  rebuild();
}

void SettingsPage::rebuild() {
  const presentation::SettingsHeading heading = presentation::settingsHeading(model_.language(), model_.nightSource());
  QVBoxLayout* column = begin(q(heading.title), {q(heading.subtitle), q(heading.macOSOnly.value_or(heading.line))});
  column->setSpacing(kUnit * 3);
  for (const SettingFinding& finding : model_.findings()) {
    column->addWidget(new FindingRow(model_, finding, model_.fixFor(finding.key), content()));
  }
  column->addSpacing(kUnit);
  column->addWidget(new ChangesSection(model_, content()));
  column->addStretch(1);
}

}  // namespace snoozlet::views
