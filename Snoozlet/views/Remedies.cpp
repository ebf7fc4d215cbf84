#include "views/Remedies.h"

#include "app/AppModel.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace snoozlet::views {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

NoticeLine::NoticeLine(const QString& text, std::function<void()> dismiss, QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(kUnit * 1.5, kUnit, kUnit, kUnit);
  row->setSpacing(kUnit);
  auto* label = wrappingLabel(text, this);
  label->setObjectName(QStringLiteral("noticeText"));
  row->addWidget(label, 1);
  auto* button = new QPushButton(tr("Dismiss"), this);
  connect(button, &QPushButton::clicked, this, [dismiss = std::move(dismiss)] { dismiss(); });
  row->addWidget(button, 0, Qt::AlignVCenter);
}

void NoticeLine::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QColor fill = palette().color(QPalette::Highlight);
  fill.setAlphaF(0.14f);
  p.setPen(Qt::NoPen);
  p.setBrush(fill);
  p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
}

SuggestionRow::SuggestionRow(AppModel& model, const Suggestion& suggestion, QWidget* parent) : QWidget(parent) {
  const Language language = model.language();
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit / 2);
  column->addWidget(strongLabel(q(suggestion.title), this));
  auto* evidence = wrappingLabel(q(suggestion.evidence), this);
  makeSecondary(evidence);
  column->addWidget(evidence);

  switch (suggestion.kind.type()) {
    case Suggestion::Kind::Case::fix: {
      const Fix fix = *suggestion.fix();
      column->addWidget(wrappingLabel(q(fix.whatChanges(language)), this));
      if (suggestion.tradeOff) {
        auto* giveUp = new QLabel(tr("What you give up"), this);
        giveUp->setFont(captionFont(giveUp->font()));
        makeSecondary(giveUp);
        column->addWidget(giveUp);
        column->addWidget(wrappingLabel(q(*suggestion.tradeOff), this));
      }
      review_ = new QPushButton(tr("Review Change…"), this);
      review_->setObjectName(QStringLiteral("review-") + q(std::string(toString(fix.id))));
      connect(review_, &QPushButton::clicked, this, [&model, id = fix.id] { model.reviewFixes({id}); });
      auto* buttons = new QHBoxLayout();
      buttons->addWidget(review_);
      buttons->addStretch(1);
      column->addLayout(buttons);
      break;
    }
    case Suggestion::Kind::Case::quitApp: {
      auto* app = wrappingLabel(tr("App: %1").arg(q(*suggestion.kind.process())), this);
      app->setFont(captionFont(app->font()));
      column->addWidget(app);
      break;
    }
    case Suggestion::Kind::Case::info: break;
  }
}

RemediesSection::RemediesSection(AppModel& model, const NightReport& night, QWidget* parent) : QWidget(parent) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 2);
  auto* title = new QLabel(tr("What you can do"), this);
  title->setFont(titleFont(title->font()));
  column->addWidget(title);

  if (const auto& notice = model.notice()) {
    column->addWidget(new NoticeLine(
        *notice, [&model] { model.setNotice(std::nullopt); }, this));
  }

  const std::vector<Suggestion> suggestions = model.suggestions(night);
  std::vector<FixID> fixes;
  for (const Suggestion& suggestion : suggestions) {
    column->addWidget(new SuggestionRow(model, suggestion, this));
    if (const auto id = suggestion.kind.fixID()) fixes.push_back(*id);
  }
  if (suggestions.empty()) {
    const bool laptop = model.nightSource() == NightSource::journal;
    const QString normal = laptop ? tr("Nothing to fix: this was a normal night for this laptop.")
                                  : tr("Nothing to fix: this was a normal night for this Mac.");
    auto* none = wrappingLabel(
        night.mood == Mood::soundAsleep ? normal : tr("Nothing I can change from here; the reasons are below."), this);
    none->setObjectName(QStringLiteral("nothingToFix"));
    column->addWidget(none);
  }
  if (fixes.size() >= 2) {
    reviewAll_ = new QPushButton(tr("Review All %1").arg(static_cast<qlonglong>(fixes.size())), this);
    reviewAll_->setObjectName(QStringLiteral("reviewAll"));
    connect(reviewAll_, &QPushButton::clicked, this, [&model, fixes] { model.reviewFixes(fixes); });
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(reviewAll_);
    buttons->addStretch(1);
    column->addLayout(buttons);
  }
}

}  // namespace snoozlet::views
