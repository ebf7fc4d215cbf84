#pragma once

// The review every change and undo passes through: what will change, the
// exact commands that will run and the ones that put the values back, what
// you give up, the acknowledgement a notable change needs, and the buttons.
// Nothing runs until the confirm button is pressed; the model then applies
// the plan and tells the outcome as its notice.

#include "app/AppModel.h"

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace snoozlet::views {

// A labelled command: "Runs" and the exact pmset line, selectable, in a
// fixed-width font; quiet rows are drawn in the secondary colour.
class CommandRow : public QWidget {
  Q_OBJECT

 public:
  CommandRow(const QString& label, const QString& command, bool quiet, QWidget* parent = nullptr);
};

// One planned change: the fix's title, its commands and what you give up.
class ChangeBlock : public QWidget {
  Q_OBJECT

 public:
  ChangeBlock(const QString& title, const QList<CommandRow*>& rows, const QString& giveUpLabel, const QString& giveUp,
              QWidget* parent = nullptr);
};

class FixReviewView : public QDialog {
  Q_OBJECT

 public:
  FixReviewView(AppModel& model, AppModel::Review review, QWidget* parent = nullptr);

  QPushButton* confirmButton() const { return confirm_; }
  QPushButton* cancelButton() const { return cancel_; }
  // Only when the review needs the acknowledgement.
  QCheckBox* acknowledgement() const { return acknowledgement_; }
  bool isWorking() const { return working_; }

  // Cancel, Escape or closing the window: nothing runs, the review is declined.
  void reject() override;

 private:
  void confirm();
  void updateButtons();

  AppModel& model_;
  AppModel::Review review_;
  QPushButton* confirm_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QCheckBox* acknowledgement_ = nullptr;
  bool working_ = false;
};

}  // namespace snoozlet::views
