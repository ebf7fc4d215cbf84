#include "views/FixReviewView.h"

#include "presentation/SettingsRows.h"
#include "views/PageFrame.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace snoozlet::views {

namespace {
QString q(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

CommandRow::CommandRow(const QString& label, const QString& command, bool quiet, QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(kUnit * 1.5);
  auto* name = new QLabel(label, this);
  name->setFont(captionFont(name->font()));
  name->setMinimumWidth(kUnit * 8);
  makeSecondary(name);
  row->addWidget(name, 0, Qt::AlignTop);
  auto* text = new QLabel(command, this);
  text->setObjectName(QStringLiteral("command"));
  text->setFont(digitsFont(QFont().pointSizeF()));
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  text->setWordWrap(true);
  if (quiet) makeSecondary(text);
  row->addWidget(text, 1);
}

ChangeBlock::ChangeBlock(const QString& title, const QList<CommandRow*>& rows, const QString& giveUpLabel,
                         const QString& giveUp, QWidget* parent)
    : QWidget(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit * 2, kUnit * 1.5, kUnit * 2, kUnit * 1.5);
  column->setSpacing(kUnit / 2);
  auto* name = new QLabel(title, this);
  QFont strong = name->font();
  strong.setWeight(QFont::DemiBold);
  name->setFont(strong);
  column->addWidget(name);
  for (CommandRow* row : rows) {
    row->setParent(this);
    column->addWidget(row);
  }
  auto* label = new QLabel(giveUpLabel, this);
  label->setFont(captionFont(label->font()));
  makeSecondary(label);
  column->addSpacing(kUnit / 2);
  column->addWidget(label);
  column->addWidget(wrappingLabel(giveUp, this));
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

FixReviewView::FixReviewView(AppModel& model, AppModel::Review review, QWidget* parent)
    : QDialog(parent), model_(model), review_(std::move(review)) {
  const bool undo = review_.undoing.has_value();
  const presentation::ReviewSheet sheet = presentation::reviewSheet(
      review_.plan, {model.language(), model.pmsetPath(), model.runner().isDryRun(), undo, model.nightSource()});
  setWindowTitle(q(sheet.title));
  setWindowModality(Qt::WindowModal);
  setMinimumWidth(560);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit * 3, kUnit * 3, kUnit * 3, kUnit * 2);
  column->setSpacing(kUnit * 1.5);
  auto* title = new QLabel(q(sheet.title), this);
  title->setFont(pageTitleFont(title->font()));
  column->addWidget(title);
  auto* subtitle = wrappingLabel(q(sheet.subtitle), this);
  makeSecondary(subtitle);
  column->addWidget(subtitle);
  column->addSpacing(kUnit);
  auto* heading = sectionTitle(q(sheet.heading), this);
  heading->setObjectName(QStringLiteral("heading"));
  column->addWidget(heading);
  for (const presentation::ReviewBlock& block : sheet.blocks) {
    column->addWidget(new ChangeBlock(q(block.title),
                                      {new CommandRow(q(block.runs.label), q(block.runs.text), false),
                                       new CommandRow(q(block.undo.label), q(block.undo.text), true)},
                                      q(block.giveUp.label), q(block.giveUp.text), this));
  }
  if (sheet.acknowledgement) {
    acknowledgement_ = new QCheckBox(q(*sheet.acknowledgement), this);
    connect(acknowledgement_, &QCheckBox::toggled, this, &FixReviewView::updateButtons);
    column->addWidget(acknowledgement_);
  }
  if (sheet.dryRunNote) {
    auto* note = wrappingLabel(q(*sheet.dryRunNote), this);
    note->setObjectName(QStringLiteral("dryRun"));
    note->setFont(captionFont(note->font()));
    column->addWidget(note);
  }
  column->addSpacing(kUnit);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  cancel_ = new QPushButton(q(sheet.cancelLabel), this);
  confirm_ = new QPushButton(q(sheet.confirmLabel), this);
  confirm_->setDefault(true);
  buttons->addWidget(cancel_);
  buttons->addWidget(confirm_);
  column->addLayout(buttons);

  connect(cancel_, &QPushButton::clicked, this, &FixReviewView::reject);
  connect(confirm_, &QPushButton::clicked, this, &FixReviewView::confirm);
  connect(&model_, &AppModel::applyFinished, this, [this] {
    if (working_) accept();
  });
  updateButtons();
}

void FixReviewView::reject() {
  // While the model applies the plan the review stays: its outcome is coming.
  if (working_) return;
  model_.declineReview();
  QDialog::reject();
}

void FixReviewView::confirm() {
  if (working_ || (acknowledgement_ != nullptr && !acknowledgement_->isChecked())) return;
  working_ = true;
  updateButtons();
  if (!model_.applyReview(review_)) {
    // Another change is being applied: nothing started here.
    working_ = false;
    updateButtons();
  }
}

void FixReviewView::updateButtons() {
  const bool acknowledged = acknowledgement_ == nullptr || acknowledgement_->isChecked();
  confirm_->setEnabled(!working_ && acknowledged);
  cancel_->setEnabled(!working_);
  if (acknowledgement_ != nullptr) acknowledgement_->setEnabled(!working_);
}

}  // namespace snoozlet::views
