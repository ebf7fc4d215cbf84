#include "views/SettingsPage.h"

#include "app/AppModel.h"
#include "app/ChangeController.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace snoozlet::views {

namespace {


Tone statusTone(SettingStatus status) {
  switch (status) {
    case SettingStatus::fine: return Tone::fine;
    case SettingStatus::info: return Tone::secondary;
    case SettingStatus::consider: return Tone::caution;
    case SettingStatus::attention: return Tone::warning;
  }
  return Tone::secondary;
}

}  // namespace

StatusMark::StatusMark(SettingStatus status, Language language, QWidget* parent)
    : QWidget(parent), status_(status) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  const QString word = shown(presentation::statusWord(status, language));
  setAccessibleName(word);
  setToolTip(word);
}

QSize StatusMark::sizeHint() const {
  const int side = QFontMetrics(font()).ascent();
  return QSize(side, side);
}

void StatusMark::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor colour = toneColour(statusTone(status_), palette());
  const QRectF box = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
  // Each status has a shape of its own, so it reads without its colour too:
  // fine a filled dot, info a ring, consider a diamond, attention a triangle.
  QPainterPath shape;
  switch (status_) {
    case SettingStatus::fine:
    case SettingStatus::info: shape.addEllipse(box); break;
    case SettingStatus::consider:
      shape.moveTo(box.center().x(), box.top());
      shape.lineTo(box.right(), box.center().y());
      shape.lineTo(box.center().x(), box.bottom());
      shape.lineTo(box.left(), box.center().y());
      shape.closeSubpath();
      break;
    case SettingStatus::attention:
      shape.moveTo(box.center().x(), box.top());
      shape.lineTo(box.right(), box.bottom());
      shape.lineTo(box.left(), box.bottom());
      shape.closeSubpath();
      break;
  }
  const bool filled = status_ == SettingStatus::fine || status_ == SettingStatus::attention;
  p.setPen(filled ? Qt::NoPen : QPen(colour, 1.8));
  p.setBrush(filled ? QBrush(colour) : Qt::NoBrush);
  p.drawPath(shape);
}

FindingRow::FindingRow(ChangeController& changes, const presentation::SettingsRow& row, Language language,
                       QWidget* parent)
    : QWidget(parent) {
  const SettingFinding& finding = row.finding;
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(kUnit * 1.5);
  grid->setVerticalSpacing(kUnit / 2);
  grid->addWidget(new StatusMark(finding.status, language, this), 0, 0, Qt::AlignTop | Qt::AlignHCenter);
  grid->addWidget(strongLabel(shown(finding.title), this), 0, 1);
  auto* value = new QLabel(shown(finding.value), this);
  value->setObjectName(QStringLiteral("value"));
  value->setAlignment(Qt::AlignRight | Qt::AlignTop);
  grid->addWidget(value, 0, 2, Qt::AlignRight | Qt::AlignTop);
  int line = 1;
  grid->addWidget(wrappingLabel(shown(finding.summary), this), line++, 1, 1, 2);
  if (finding.tradeOff) {
    auto* tradeOff = wrappingLabel(shown(*finding.tradeOff), this);
    makeSecondary(tradeOff);
    grid->addWidget(tradeOff, line++, 1, 1, 2);
  }
  if (const auto& fix = row.fix) {
    fix_ = new QPushButton(shown(fix->title(language)) + QStringLiteral("…"), this);
    fix_->setObjectName(QStringLiteral("fix-") + QString::fromLatin1(toString(fix->id)));
    connect(fix_, &QPushButton::clicked, this, [&changes, id = fix->id] { changes.reviewFixes({id}); });
  } else if (const auto& system = row.systemFix) {
    // A Linux laptop's fix: reviewed the same way, run through the helper.
    fix_ = new QPushButton(shown(row.systemFixTitle) + QStringLiteral("…"), this);
    fix_->setObjectName(QStringLiteral("fix-") + QString::fromStdString(system->id()));
    connect(fix_, &QPushButton::clicked, this, [&changes, fix = *system] { changes.reviewFixes({}, {fix}); });
  }
  if (fix_ != nullptr) {
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(fix_);
    buttons->addStretch(1);
    grid->addLayout(buttons, line++, 1, 1, 2);
  }
  grid->setColumnStretch(1, 1);
}

ChangesSection::ChangesSection(const AppModel& model, ChangeController& changes, QWidget* parent)
    : QWidget(parent),
      model_(model),
      changes_(changes),
      title_(sectionTitle({}, this)),
      none_(wrappingLabel({}, this)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  column->addWidget(title_);
  none_->setObjectName(QStringLiteral("nothingYet"));
  makeSecondary(none_);
  column->addWidget(none_);
  connect(&changes, &ChangeController::journalChanged, this, &ChangesSection::update);
  update();
}

void ChangesSection::update() {
  presentation::ChangesList list = presentation::changesList(changes_.journal(), model_.format());
  if (shown_ == list) return;
  title_->setText(shown(list.title));
  // Nothing yet, or why the earlier changes cannot be listed.
  none_->setText(shown(list.unreadable.value_or(list.empty.value_or(""))));
  none_->setVisible(list.unreadable || list.empty);
  setTone(none_, list.unreadable ? Tone::warning : Tone::secondary);
  delete entries_;
  entries_ = new QWidget(this);
  auto* column = new QVBoxLayout(entries_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 1.5);
  for (const presentation::ChangeEntry& entry : list.entries) {
    auto* block = new QWidget(entries_);
    block->setObjectName(QStringLiteral("change"));
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    grid->addWidget(strongLabel(shown(entry.heading), block), 0, 0);
    int row = 1;
    for (const std::string& change : entry.changes) {
      auto* line = wrappingLabel(shown(change), block);
      makeSecondary(line);
      grid->addWidget(line, row++, 0);
    }
    auto* undo = new QPushButton(shown(list.undoLabel), block);
    undo->setObjectName(QStringLiteral("undo-") + QString::fromStdString(entry.recordId));
    undo->setAccessibleName(shown(list.undoLabel) + QStringLiteral(" ") + shown(entry.heading));
    connect(undo, &QPushButton::clicked, this, [this, id = entry.recordId] { changes_.reviewUndo(id); });
    grid->addWidget(undo, 0, 1, row, 1, Qt::AlignRight | Qt::AlignVCenter);
    grid->setColumnStretch(0, 1);
    column->addWidget(block);
  }
  static_cast<QVBoxLayout*>(layout())->addWidget(entries_);
  shown_ = std::move(list);
}

SettingsPage::SettingsPage(AppModel& model, ChangeController& changes, QWidget* parent)
    : PageFrame(parent), model_(model), changes_(changes) {
  const presentation::SettingsHeading heading = presentation::settingsHeading(model.language(), model.nightSource());
  setHeading(shown(heading.title), {shown(heading.subtitle), shown(heading.line)});
  column()->setSpacing(kUnit * 3);
  column()->addSpacing(kUnit);
  column()->addWidget(new ChangesSection(model, changes, content()));
  column()->addStretch(1);
  for (auto signal : {&AppModel::findingsChanged, &AppModel::powerSettingsChanged, &AppModel::capabilitiesChanged}) {
    connect(&model, signal, this, &SettingsPage::update);
  }
  update();
}

void SettingsPage::update() {
  std::vector<presentation::SettingsRow> rows = model_.settingsRows();
  if (rows == shown_ && findings_ != nullptr) return;
  delete findings_;
  findings_ = new QWidget(content());
  auto* list = new QVBoxLayout(findings_);
  list->setContentsMargins(0, 0, 0, 0);
  list->setSpacing(kUnit * 3);
  for (const presentation::SettingsRow& row : rows)
    list->addWidget(new FindingRow(changes_, row, model_.language(), findings_));
  column()->insertWidget(0, findings_);
  shown_ = std::move(rows);
}

}  // namespace snoozlet::views
