#include "views/FixReviewView.h"

#include <utility>
#include <vector>

#include "app/ChangeController.h"
#include "views/PageFrame.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace snoozlet::views {

namespace {


// The narrowest the sheet gets, in average characters: a pmset command and its label on one line.
constexpr double kSheetColumns = 72;

}  // namespace

ChangeBlock::ChangeBlock(const presentation::ReviewBlock& block, QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(kUnit * 2, kUnit * 1.5, kUnit * 2, kUnit * 1.5);
  grid->setHorizontalSpacing(kUnit * 1.5);
  grid->setVerticalSpacing(kUnit / 2);
  grid->addWidget(strongLabel(shown(block.title), this), 0, 0, 1, 2);
  int row = 1;
  // A Linux change also says what keeps its value after a restart.
  std::vector<std::pair<presentation::LabelledText, bool>> rows{{block.runs, false}};
  if (block.keeps) rows.emplace_back(*block.keeps, false);
  rows.emplace_back(block.undo, true);
  for (const auto& [labelled, quiet] : rows) {
    auto* name = new QLabel(shown(labelled.label), this);
    name->setFont(captionFont(name->font()));
    makeSecondary(name);
    // The label stands on the command's first line.
    grid->addWidget(name, row, 0, Qt::AlignLeft | Qt::AlignBaseline);
    auto* command = wrappingLabel(shown(labelled.text), this);
    command->setObjectName(QStringLiteral("command"));
    command->setFont(commandFont(font()));
    command->setAccessibleName(shown(labelled.label));
    command->setAccessibleDescription(shown(labelled.text));
    if (quiet) makeSecondary(command);
    grid->addWidget(command, row++, 1, Qt::AlignBaseline);
  }
  auto* label = new QLabel(shown(block.giveUp.label), this);
  label->setFont(captionFont(label->font()));
  makeSecondary(label);
  grid->addWidget(label, row++, 0, 1, 2);
  grid->addWidget(wrappingLabel(shown(block.giveUp.text), this), row++, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Base);
}

FixReviewView::FixReviewView(ChangeController& changes, QWidget* parent) : QDialog(parent), changes_(changes) {
  const presentation::ReviewSheet sheet =
      presentation::reviewSheet(changes.review() ? changes.review()->plan : FixPlan{}, changes.reviewContext());
  setWindowTitle(shown(sheet.title));
  setWindowModality(Qt::WindowModal);

  sheet_ = new QWidget();
  auto* column = new QVBoxLayout(sheet_);
  column->setContentsMargins(kUnit * 3, kUnit * 3, kUnit * 3, kUnit);
  column->setSpacing(kUnit * 1.5);
  auto* title = new QLabel(shown(sheet.title), sheet_);
  title->setFont(pageTitleFont(title->font()));
  column->addWidget(title);
  auto* subtitle = wrappingLabel(shown(sheet.subtitle), sheet_);
  makeSecondary(subtitle);
  column->addWidget(subtitle);
  column->addSpacing(kUnit);
  auto* heading = sectionTitle(shown(sheet.heading), sheet_);
  heading->setObjectName(QStringLiteral("heading"));
  column->addWidget(heading);
  for (const presentation::ReviewBlock& block : sheet.blocks) column->addWidget(new ChangeBlock(block, sheet_));
  if (sheet.acknowledgement) {
    // The box and its sentence side by side: the sentence wraps, where a check
    // box's own text would be cut at the window's edge. The box carries the
    // sentence as its name, and a click on the sentence ticks it.
    auto* row = new QHBoxLayout();
    acknowledgement_ = new QCheckBox(sheet_);
    acknowledgement_->setAccessibleName(shown(*sheet.acknowledgement));
    connect(acknowledgement_, &QCheckBox::toggled, this, &FixReviewView::updateButtons);
    acknowledgementText_ = wrappingLabel(shown(*sheet.acknowledgement), sheet_);
    acknowledgementText_->setObjectName(QStringLiteral("acknowledgementText"));
    acknowledgementText_->setBuddy(acknowledgement_);
    acknowledgementText_->installEventFilter(this);
    row->addWidget(acknowledgement_, 0, Qt::AlignTop);
    row->addWidget(acknowledgementText_, 1);
    column->addLayout(row);
  }
  if (sheet.journalNote) {
    auto* note = wrappingLabel(shown(*sheet.journalNote), sheet_);
    note->setObjectName(QStringLiteral("journalNote"));
    setTone(note, Tone::warning);
    column->addWidget(note);
  }
  if (sheet.dryRunNote) {
    auto* note = wrappingLabel(shown(*sheet.dryRunNote), sheet_);
    note->setObjectName(QStringLiteral("dryRun"));
    note->setFont(captionFont(note->font()));
    column->addWidget(note);
  }
  column->addStretch(1);
  sheet_->setMinimumWidth(columns(font(), kSheetColumns));

  scroll_ = new QScrollArea(this);
  scroll_->setAccessibleName(shown(sheet.heading));
  scroll_->setWidget(sheet_);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, kUnit * 2);
  outer->setSpacing(kUnit);
  outer->addWidget(scroll_, 1);
  auto* buttons = new QHBoxLayout();
  buttons->setContentsMargins(kUnit * 3, 0, kUnit * 3, 0);
  buttons->addStretch(1);
  cancel_ = new QPushButton(shown(sheet.cancelLabel), this);
  confirm_ = new QPushButton(shown(sheet.confirmLabel), this);
  confirm_->setDefault(true);
  buttons->addWidget(cancel_);
  buttons->addWidget(confirm_);
  outer->addLayout(buttons);

  connect(cancel_, &QPushButton::clicked, this, &FixReviewView::reject);
  connect(confirm_, &QPushButton::clicked, this, &FixReviewView::confirm);
  connect(&changes_, &ChangeController::applyFinished, this, [this] {
    if (working_) accept();
  });
  updateButtons();
  fitToContent();
}

void FixReviewView::fitToContent() {
  const int width = sheet_->minimumWidth();
  const int sheetHeight = sheet_->layout()->hasHeightForWidth() ? sheet_->layout()->totalHeightForWidth(width)
                                                                : sheet_->sizeHint().height();
  QSize wanted(width + scroll_->verticalScrollBar()->sizeHint().width(),
               sheetHeight + confirm_->sizeHint().height() + kUnit * 3);
  const QScreen* screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
  if (screen != nullptr) {
    // Beyond nine tenths of the screen the sheet scrolls.
    const QSize room = screen->availableGeometry().size() * 0.9;
    wanted = wanted.boundedTo(room);
  }
  resize(wanted);
}

bool FixReviewView::eventFilter(QObject* watched, QEvent* event) {
  if (watched == acknowledgementText_ && event->type() == QEvent::MouseButtonRelease &&
      acknowledgement_->isEnabled()) {
    acknowledgement_->toggle();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void FixReviewView::reject() {
  // While the controller applies the plan the review stays: its outcome is coming.
  if (working_) return;
  changes_.declineReview();
  QDialog::reject();
}

void FixReviewView::confirm() {
  if (working_ || (acknowledgement_ != nullptr && !acknowledgement_->isChecked())) return;
  working_ = true;
  updateButtons();
  if (!changes_.applyReview()) {
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
