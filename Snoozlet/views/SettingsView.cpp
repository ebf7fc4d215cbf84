#include "views/SettingsView.h"

#include "app/PreferencesController.h"
#include "common/Version.h"
#include "presentation/SourceTexts.h"
#include "views/Mascot.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace snoozlet::views {

namespace {

QLabel* explanation(const QString& text, QWidget* parent) {
  auto* label = wrappingLabel(text, parent);
  label->setFont(captionFont(label->font()));
  label->setContentsMargins(kUnit * 3, 0, 0, 0);
  makeSecondary(label);
  return label;
}

QLabel* problem(QWidget* parent, const QString& name) {
  auto* label = wrappingLabel(QString(), parent);
  label->setObjectName(name);
  label->setFont(captionFont(label->font()));
  label->setContentsMargins(kUnit * 3, 0, 0, 0);
  setTone(label, Tone::warning);
  label->hide();
  return label;
}

void say(QLabel* label, const QString& text) {
  label->setText(text);
  label->setVisible(!text.isEmpty());
}

}  // namespace

SettingsView::SettingsView(PreferencesController& preferences, NightSource source, Language language,
                           QWidget* parent)
    : QDialog(parent),
      preferences_(preferences),
      plain_(new QCheckBox(tr("Plain mode"), this)),
      notification_(new QCheckBox(tr("Morning report notification"), this)),
      login_(new QCheckBox(tr("Open at login"), this)),
      notificationReason_(problem(this, QStringLiteral("notificationReason"))),
      loginError_(problem(this, QStringLiteral("loginError"))) {
  setWindowTitle(tr("Snoozlet Settings"));
  setMinimumWidth(columns(font(), 68));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit * 3, kUnit * 3, kUnit * 3, kUnit * 3);
  column->setSpacing(kUnit);

  plain_->setChecked(preferences.plainMode());
  column->addWidget(plain_);
  auto* plainText =
      explanation(tr("The Snoozlet stays quiet: the morning report becomes a plain one-line summary."), this);
  plain_->setAccessibleDescription(plainText->text());
  column->addWidget(plainText);
  connect(plain_, &QCheckBox::toggled, &preferences, &PreferencesController::setPlainMode);
  column->addSpacing(kUnit);

  notification_->setChecked(preferences.morningNotification());
  column->addWidget(notification_);
  auto* notificationText =
      explanation(QString::fromStdString(presentation::settingsNotificationLine(source, language)), this);
  notification_->setAccessibleDescription(notificationText->text());
  column->addWidget(notificationText);
  column->addWidget(notificationReason_);
  connect(notification_, &QCheckBox::toggled, this, [this](bool on) {
    say(notificationReason_, {});
    preferences_.setMorningNotification(on);
  });
  // The answer may come from the welcome window's button too: the box follows it.
  connect(&preferences, &PreferencesController::notificationAnswered, this, [this](bool granted) {
    const QSignalBlocker quiet(notification_);
    notification_->setChecked(granted);
    say(notificationReason_,
        granted ? QString() : tr("No notification service answered, so the morning report can’t be posted."));
  });
  column->addSpacing(kUnit);

  login_->setChecked(preferences.openAtLogin());
  column->addWidget(login_);
  column->addWidget(loginError_);
  connect(login_, &QCheckBox::toggled, this, [this](bool on) {
    const Status status = preferences_.setOpenAtLogin(on);
    const QSignalBlocker quiet(login_);
    login_->setChecked(preferences_.openAtLogin());
    say(loginError_, status ? QString() : QString::fromStdString(status.error().description()));
  });
  connect(&preferences, &PreferencesController::openAtLoginChanged, this, [this](bool on) {
    const QSignalBlocker quiet(login_);
    login_->setChecked(on);
  });
  column->addSpacing(kUnit * 2);

  auto* version = new QLabel(tr("Version %1").arg(QString::fromLatin1(kVersionText)), this);
  version->setObjectName(QStringLiteral("version"));
  makeSecondary(version);
  column->addWidget(version);
  auto* buttons = new QHBoxLayout();
  auto* welcome = new QPushButton(tr("How It Works"), this);
  auto* about = new QPushButton(tr("About Snoozlet"), this);
  connect(welcome, &QPushButton::clicked, this, &SettingsView::welcomeRequested);
  connect(about, &QPushButton::clicked, this, &SettingsView::aboutRequested);
  buttons->addWidget(welcome);
  buttons->addWidget(about);
  buttons->addStretch(1);
  column->addLayout(buttons);
  column->addStretch(1);
}

AboutView::AboutView(QWidget* parent) : QDialog(parent) {
  setWindowTitle(tr("About Snoozlet"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit * 5, kUnit * 4, kUnit * 5, kUnit * 4);
  column->setSpacing(kUnit);
  column->addWidget(new MascotView(Mood::soundAsleep, 1.2, this), 0, Qt::AlignHCenter);
  auto* name = new QLabel(QStringLiteral("Snoozlet"), this);
  name->setFont(pageTitleFont(name->font()));
  name->setAlignment(Qt::AlignHCenter);
  column->addWidget(name);
  auto* version = new QLabel(tr("Version %1").arg(QString::fromLatin1(kVersionText)), this);
  version->setAlignment(Qt::AlignHCenter);
  makeSecondary(version);
  column->addWidget(version);
  column->addSpacing(kUnit);
  auto* what = wrappingLabel(tr("Every morning Snoozlet tells you how your laptop slept: who woke it in the dark, "
                                "who kept it awake, and where the battery went."),
                             this);
  what->setAlignment(Qt::AlignHCenter);
  what->setMinimumWidth(columns(font(), 50));
  column->addWidget(what);
  auto* licence = new QLabel(tr("Free software under the MIT License."), this);
  licence->setAlignment(Qt::AlignHCenter);
  licence->setFont(captionFont(licence->font()));
  makeSecondary(licence);
  column->addWidget(licence);
}

}  // namespace snoozlet::views
