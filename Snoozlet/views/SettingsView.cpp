#include "views/SettingsView.h"

#include "app/AppModel.h"
#include "common/Version.h"
#include "presentation/SourceTexts.h"
#include "views/Mascot.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QPointer>
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
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, ratioColor(presentation::RatioBand::warning, palette));
  label->setPalette(palette);
  label->hide();
  return label;
}

void say(QLabel* label, const QString& text) {
  label->setText(text);
  label->setVisible(!text.isEmpty());
}

}  // namespace

SettingsView::SettingsView(AppModel& model, QWidget* parent)
    : QWidget(parent),
      model_(model),
      plain_(new QCheckBox(tr("Plain mode"), this)),
      notification_(new QCheckBox(tr("Morning report notification"), this)),
      login_(new QCheckBox(tr("Open at login"), this)),
      notificationReason_(problem(this, QStringLiteral("notificationReason"))),
      loginError_(problem(this, QStringLiteral("loginError"))) {
  setWindowTitle(tr("Snoozlet Settings"));
  setMinimumWidth(480);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit * 3, kUnit * 3, kUnit * 3, kUnit * 3);
  column->setSpacing(kUnit);
  AppSettings& settings = model.settings();

  plain_->setChecked(settings.plainMode());
  column->addWidget(plain_);
  column->addWidget(
      explanation(tr("The Snoozlet stays quiet: the morning report becomes a plain one-line summary."), this));
  connect(plain_, &QCheckBox::toggled, &settings, &AppSettings::setPlainMode);
  column->addSpacing(kUnit);

  notification_->setChecked(settings.morningNotification());
  column->addWidget(notification_);
  column->addWidget(explanation(
      QString::fromStdString(presentation::settingsNotificationLine(model.nightSource(), model.language())), this));
  column->addWidget(notificationReason_);
  connect(notification_, &QCheckBox::toggled, this, [this](bool on) {
    AppSettings& settings = model_.settings();
    say(notificationReason_, {});
    if (!on) {
      settings.setMorningNotification(false);
      return;
    }
    MorningNotifier* notifier = model_.notifier();
    const auto refused = [box = QPointer<SettingsView>(this)] {
      if (!box) return;
      const QSignalBlocker quiet(box->notification_);
      box->notification_->setChecked(false);
      say(box->notificationReason_, tr("No notification service answered, so the morning report can’t be posted."));
    };
    if (notifier == nullptr) {
      settings.setMorningNotification(false);
      refused();
      return;
    }
    notifier->requestPermission(settings, [refused](bool granted) {
      if (!granted) refused();
    });
  });
  column->addSpacing(kUnit);

  login_->setChecked(model.loginItem().isEnabled());
  column->addWidget(login_);
  column->addWidget(loginError_);
  connect(login_, &QCheckBox::toggled, this, [this](bool on) {
    const Status status = model_.loginItem().setEnabled(on);
    const QSignalBlocker quiet(login_);
    login_->setChecked(model_.loginItem().isEnabled());
    say(loginError_, status ? QString() : QString::fromStdString(status.error().description()));
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

AboutView::AboutView(QWidget* parent) : QWidget(parent) {
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
  what->setMinimumWidth(360);
  column->addWidget(what);
  auto* licence = new QLabel(tr("Free software under the MIT License."), this);
  licence->setAlignment(Qt::AlignHCenter);
  licence->setFont(captionFont(licence->font()));
  makeSecondary(licence);
  column->addWidget(licence);
}

}  // namespace snoozlet::views
