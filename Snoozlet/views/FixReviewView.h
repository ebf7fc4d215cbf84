#pragma once

// The review every change and undo passes through: what will change, the
// exact commands that will run and the ones that put the values back, what
// you give up, the acknowledgement a notable change needs, and the buttons.
// Nothing runs until the confirm button is pressed; the change controller
// then applies the plan and the model's notice tells the outcome. The window
// is as large as its content (every command whole) up to the screen, and
// scrolls beyond that.

#include "presentation/SettingsRows.h"

#include <QDialog>

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QScrollArea;

namespace snoozlet {
class ChangeController;
}

namespace snoozlet::views {

// One planned change: the fix's title, its commands ("Runs" and the exact
// pmset line, selectable, in a fixed-width font; the undo in the secondary
// colour) and what you give up.
class ChangeBlock : public QWidget {
  Q_OBJECT

 public:
  explicit ChangeBlock(const presentation::ReviewBlock& block, QWidget* parent = nullptr);
};

class FixReviewView : public QDialog {
  Q_OBJECT

 public:
  // Reviews the controller's pending review.
  explicit FixReviewView(ChangeController& changes, QWidget* parent = nullptr);

  QPushButton* confirmButton() const { return confirm_; }
  QPushButton* cancelButton() const { return cancel_; }
  // Only when the review needs the acknowledgement.
  QCheckBox* acknowledgement() const { return acknowledgement_; }
  bool isWorking() const { return working_; }

  // Cancel, Escape or closing the window: nothing runs, the review is declined.
  void reject() override;

 protected:
  // A click on the acknowledgement's sentence ticks its box.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void confirm();
  void updateButtons();
  // The first size: the content's, bounded by the screen.
  void fitToContent();

  ChangeController& changes_;
  QScrollArea* scroll_ = nullptr;
  QWidget* sheet_ = nullptr;
  QPushButton* confirm_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QCheckBox* acknowledgement_ = nullptr;
  QLabel* acknowledgementText_ = nullptr;
  bool working_ = false;
};

}  // namespace snoozlet::views
