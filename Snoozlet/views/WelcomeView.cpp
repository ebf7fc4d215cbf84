#include "views/WelcomeView.h"

#include "app/AppModel.h"
#include "app/PreferencesController.h"
#include "presentation/SourceTexts.h"
#include "views/Theme.h"
#include "views/WelcomeIllustrations.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>

#include <algorithm>

namespace snoozlet::views {

namespace {

constexpr double kDot = 7;

// A "Turn On" button whose state becomes "On" or "Not allowed".
void showState(QPushButton* button, bool on) {
  button->setText(on ? OptionsPanel::tr("On") : OptionsPanel::tr("Not allowed"));
  button->setEnabled(false);
}

QWidget* option(QWidget* parent, const QString& title, const QStringList& lines, QPushButton* button) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(kUnit * 2, kUnit * 1.5, kUnit * 2, kUnit * 1.5);
  auto* text = new QVBoxLayout();
  text->setSpacing(2);
  auto* name = new QLabel(title, row);
  QFont strong = name->font();
  strong.setWeight(QFont::DemiBold);
  name->setFont(strong);
  text->addWidget(name);
  for (const QString& line : lines) {
    auto* label = wrappingLabel(line, row);
    label->setFont(captionFont(label->font()));
    makeSecondary(label);
    text->addWidget(label);
  }
  layout->addLayout(text, 1);
  button->setParent(row);
  layout->addWidget(button, 0, Qt::AlignVCenter);
  row->setAutoFillBackground(true);
  row->setBackgroundRole(QPalette::Base);
  return row;
}

}  // namespace

PageDots::PageDots(int current, int count, QWidget* parent) : QWidget(parent), current_(current), count_(count) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  setCurrent(current);
}

void PageDots::setCurrent(int current) {
  current_ = current;
  setAccessibleName(tr("Page %1 of %2").arg(current + 1).arg(count_));
  update();
}

QSize PageDots::sizeHint() const { return QSize(static_cast<int>(count_ * kDot * 2.2), static_cast<int>(kDot + 4)); }

void PageDots::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QColor on = palette().color(QPalette::WindowText);
  QColor off = on;
  off.setAlphaF(0.22f);
  for (int i = 0; i < count_; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(i == current_ ? on : off);
    p.drawEllipse(QRectF(i * kDot * 2.2 + 1, 2, kDot, kDot));
  }
}

OptionsPanel::OptionsPanel(PreferencesController& preferences, NightSource source, Language language,
                           QWidget* parent)
    : QWidget(parent), notification_(new QPushButton(tr("Turn On"))), login_(new QPushButton(tr("Turn On"))) {
  setObjectName(QStringLiteral("options"));
  auto* column = new QVBoxLayout(this);
  // The cards line up with the page's text.
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit);
  const QString notification = tr("Morning report notification");
  const QString login = tr("Open at login");
  QStringList lines;
  for (const std::string& line : presentation::welcomeNotificationLines(source, language)) {
    lines.push_back(QString::fromStdString(line));
  }
  column->addWidget(option(this, notification, lines, notification_));
  column->addWidget(option(this, login, {}, login_));
  // Two "Turn On" buttons read alike: the name says which.
  notification_->setAccessibleName(tr("Turn On %1").arg(notification));
  login_->setAccessibleName(tr("Turn On %1").arg(login));
  if (preferences.morningNotification()) showState(notification_, true);
  if (preferences.openAtLogin()) showState(login_, true);

  connect(notification_, &QPushButton::clicked, &preferences,
          [&preferences] { preferences.setMorningNotification(true); });
  connect(&preferences, &PreferencesController::notificationAnswered, this,
          [this](bool granted) { showState(notification_, granted); });
  connect(login_, &QPushButton::clicked, this, [this, &preferences] {
    const Status status = preferences.setOpenAtLogin(true);
    showState(login_, status.ok() && preferences.openAtLogin());
    if (!status) login_->setToolTip(QString::fromStdString(status.error().description()));
  });
}

WelcomeView::WelcomeView(const AppModel& model, PreferencesController& preferences, QWidget* parent)
    : QDialog(parent),
      preferences_(preferences),
      header_(new QLabel(this)),
      pages_(new QStackedWidget(this)),
      dots_(new PageDots(0, kPages, this)),
      skip_(new QPushButton(tr("Skip"), this)),
      back_(new QPushButton(tr("Back"), this)),
      next_(new QPushButton(tr("Next"), this)) {
  setWindowTitle(tr("How It Works"));
  // As wide as a comfortable line; as tall as the tallest page needs.
  setMinimumWidth(columns(font(), 100));
  // The texts follow the night source (a Mac's, or a Linux laptop's words).
  const std::vector<presentation::WelcomePage> texts =
      presentation::welcomePages(model.nightSource(), model.language());
  QWidget* const art[kPages] = {
      new MoodsIllustration(model, pages_), new NotebookIllustration(model.nightSource(), model.language(), pages_),
      new RibbonIllustration(model, pages_), new CommandIllustration(model, pages_), new OptionsPanel(preferences, model.nightSource(), model.language(), pages_)};
  for (int i = 0; i < kPages; ++i) {
    const struct {
      QString title, body;
      QWidget* art;
    } page{QString::fromStdString(texts.at(static_cast<std::size_t>(i)).title),
           QString::fromStdString(texts.at(static_cast<std::size_t>(i)).body), art[i]};
    auto* widget = new QWidget(pages_);
    auto* column = new QVBoxLayout(widget);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kUnit * 2);
    auto* title = new QLabel(page.title, widget);
    title->setObjectName(QStringLiteral("title"));
    title->setFont(pageTitleFont(title->font()));
    column->addWidget(title);
    auto* body = wrappingLabel(page.body, widget);
    body->setObjectName(QStringLiteral("body"));
    QFont text = body->font();
    text.setPointSizeF(text.pointSizeF() * 1.08);
    body->setFont(text);
    column->addWidget(body);
    column->addSpacing(kUnit);
    page.art->setParent(widget);
    column->addWidget(page.art);
    column->addStretch(1);
    pages_->addWidget(widget);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kUnit * 4, kUnit * 3, kUnit * 4, kUnit * 3);
  layout->setSpacing(kUnit * 2);
  header_->setObjectName(QStringLiteral("header"));
  header_->setFont(captionFont(header_->font()));
  makeSecondary(header_);
  layout->addWidget(header_);
  layout->addWidget(pages_, 1);
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(skip_);
  buttons->addStretch(1);
  buttons->addWidget(dots_);
  buttons->addStretch(1);
  buttons->addWidget(back_);
  buttons->addWidget(next_);
  layout->addLayout(buttons);
  next_->setDefault(true);
  // The dots stay put when Skip goes away on the last page.
  QSizePolicy keep = skip_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  skip_->setSizePolicy(keep);

  connect(skip_, &QPushButton::clicked, this, &WelcomeView::finish);
  connect(back_, &QPushButton::clicked, this, [this] { setPage(page_ - 1); });
  connect(next_, &QPushButton::clicked, this, [this] {
    if (page_ == kPages - 1) {
      finish();
    } else {
      setPage(page_ + 1);
    }
  });
  setPage(0);
  // The window opens on Next, its default: Space or Enter goes on, never skips the tour.
  for (QPushButton* button : {skip_, back_}) button->setAutoDefault(false);
  next_->setFocus(Qt::OtherFocusReason);
}

void WelcomeView::setPage(int page) {
  page_ = std::clamp(page, 0, kPages - 1);
  pages_->setCurrentIndex(page_);
  header_->setText(tr("How it works · %1 of %2").arg(page_ + 1).arg(kPages));
  dots_->setCurrent(page_);
  back_->setEnabled(page_ > 0);
  next_->setText(page_ == kPages - 1 ? tr("Start") : tr("Next"));
  skip_->setVisible(page_ < kPages - 1);
}

void WelcomeView::closeEvent(QCloseEvent* event) {
  preferences_.setWelcomeCompleted();
  QDialog::closeEvent(event);
}

void WelcomeView::reject() {
  // Escape, or the window closing: the welcome is done, and the dialog goes away as any does.
  preferences_.setWelcomeCompleted();
  QDialog::reject();
}

void WelcomeView::finish() {
  preferences_.setWelcomeCompleted();
  emit finished();
}

}  // namespace snoozlet::views
