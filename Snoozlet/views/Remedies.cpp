#include "views/Remedies.h"

#include "app/AppModel.h"
#include "app/ChangeController.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace snoozlet::views {

NoticeLine::NoticeLine(QWidget* parent)
    : QWidget(parent), label_(wrappingLabel({}, this)), dismiss_(new QPushButton(tr("Dismiss"), this)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(kUnit * 1.5, kUnit, kUnit, kUnit);
  row->setSpacing(kUnit);
  label_->setObjectName(QStringLiteral("noticeText"));
  row->addWidget(label_, 1);
  connect(dismiss_, &QPushButton::clicked, this, &NoticeLine::dismissed);
  row->addWidget(dismiss_, 0, Qt::AlignVCenter);
}

void NoticeLine::setText(const QString& text) {
  label_->setText(text);
  dismiss_->setAccessibleDescription(text);
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

SuggestionRow::SuggestionRow(ChangeController& changes, const presentation::RemedyRow& row, QWidget* parent)
    : QWidget(parent) {
  const Suggestion& suggestion = row.suggestion;
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit / 2);
  column->addWidget(strongLabel(shown(suggestion.title), this));
  auto* evidence = wrappingLabel(shown(suggestion.evidence), this);
  makeSecondary(evidence);
  column->addWidget(evidence);
  if (row.whatChanges) column->addWidget(wrappingLabel(shown(*row.whatChanges), this));
  if (row.giveUpLabel && suggestion.tradeOff) {
    auto* giveUp = new QLabel(shown(*row.giveUpLabel), this);
    giveUp->setFont(captionFont(giveUp->font()));
    makeSecondary(giveUp);
    column->addWidget(giveUp);
    column->addWidget(wrappingLabel(shown(*suggestion.tradeOff), this));
  }
  if (row.app) {
    auto* app = wrappingLabel(shown(*row.app), this);
    app->setFont(captionFont(app->font()));
    column->addWidget(app);
  }
  if (const auto id = suggestion.kind.fixID(); id && row.reviewLabel) {
    review_ = new QPushButton(shown(*row.reviewLabel), this);
    review_->setObjectName(QStringLiteral("review-") + QString::fromLatin1(toString(*id)));
    // Three "Review Change…" buttons read alike: the name says which change.
    review_->setAccessibleName(shown(*row.reviewLabel) + QStringLiteral(" ") + shown(suggestion.title));
    connect(review_, &QPushButton::clicked, this, [&changes, id = *id] { changes.reviewFixes({id}); });
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(review_);
    buttons->addStretch(1);
    column->addLayout(buttons);
  } else if (const auto fix = suggestion.kind.systemFix(); fix && row.reviewLabel) {
    review_ = new QPushButton(shown(*row.reviewLabel), this);
    review_->setObjectName(QStringLiteral("review-") + QString::fromStdString(fix->id()));
    review_->setAccessibleName(shown(*row.reviewLabel) + QStringLiteral(" ") + shown(suggestion.title));
    connect(review_, &QPushButton::clicked, this, [&changes, fix = *fix] { changes.reviewFixes({}, {fix}); });
    auto* buttons = new QHBoxLayout();
    buttons->addWidget(review_);
    buttons->addStretch(1);
    column->addLayout(buttons);
  }
}

RemediesSection::RemediesSection(AppModel& model, ChangeController& changes, QWidget* parent)
    : QWidget(parent),
      model_(model),
      changes_(changes),
      title_(new QLabel(this)),
      notice_(new NoticeLine(this)),
      nothing_(wrappingLabel({}, this)),
      reviewAll_(new QPushButton(this)) {
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(kUnit * 2);
  title_->setFont(titleFont(title_->font()));
  column->addWidget(title_);
  column->addWidget(notice_);
  connect(notice_, &NoticeLine::dismissed, this, [this] { model_.setNotice(std::nullopt); });
  connect(&model, &AppModel::noticeChanged, this, &RemediesSection::showNotice);
  showNotice();
  nothing_->setObjectName(QStringLiteral("nothingToFix"));
  column->addWidget(nothing_);
  reviewAll_->setObjectName(QStringLiteral("reviewAll"));
  auto* buttons = new QHBoxLayout();
  buttons->addWidget(reviewAll_);
  buttons->addStretch(1);
  column->addLayout(buttons);
  connect(reviewAll_, &QPushButton::clicked, this, [this] {
    if (shown_) changes_.reviewFixes(shown_->reviewAll, shown_->reviewAllSystem);
  });
}

QPushButton* RemediesSection::reviewAllButton() const { return reviewAll_->isHidden() ? nullptr : reviewAll_; }

void RemediesSection::showNotice() {
  const auto& notice = model_.notice();
  notice_->setText(shown(notice.value_or("")));
  notice_->setVisible(notice.has_value());
}

void RemediesSection::setNight(const NightReport& night) {
  presentation::RemedyList list =
      presentation::remedyList(night, model_.suggestions(night), model_.nightSource(), model_.language());
  if (shown_ == list) return;
  title_->setText(shown(list.title));
  nothing_->setText(shown(list.nothing.value_or("")));
  nothing_->setVisible(list.nothing.has_value());
  reviewAll_->setText(shown(list.reviewAllLabel.value_or("")));
  reviewAll_->setVisible(list.reviewAllLabel.has_value());
  if (!shown_ || shown_->rows != list.rows) {
    // The rows hold buttons of their own: they are made anew only when the suggestions differ.
    delete rows_;
    rows_ = new QWidget(this);
    auto* column = new QVBoxLayout(rows_);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kUnit * 2.5);
    for (const presentation::RemedyRow& row : list.rows) {
      // A thin line between suggestions, so each reads as one.
      if (column->count() > 0) column->addWidget(new Separator(Qt::Horizontal, rows_));
      column->addWidget(new SuggestionRow(changes_, row, rows_));
    }
    static_cast<QVBoxLayout*>(layout())->insertWidget(2, rows_);
  }
  shown_ = std::move(list);
}

}  // namespace snoozlet::views
