#include "views/NightPage.h"

#include "app/AppModel.h"
#include "presentation/KernelRows.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"
#include "presentation/SourceTexts.h"
#include "views/KernelCountsView.h"
#include "views/MorningReportView.h"
#include "views/Navigator.h"
#include "views/NightRibbon.h"
#include "views/PageParts.h"
#include "views/Remedies.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QScrollBar>

namespace snoozlet::views {

NightPage::NightPage(AppModel& model, ChangeController& changes, Navigator& navigator, QWidget* parent)
    : PageFrame(parent),
      model_(model),
      navigator_(navigator),
      report_(new MorningReportView(false, content())),
      asleep_(new FigureTile(QStringLiteral("asleep"), content())),
      wakes_(new FigureTile(QStringLiteral("darkWakes"), content())),
      battery_(new FigureTile(QStringLiteral("battery"), content())),
      ribbon_(new NightRibbon(content())),
      remedies_(new RemediesSection(model, changes, content())),
      woke_(new RowList(QStringLiteral("wokeMe"), content())),
      kernel_(new KernelCountsView(content())),
      alarms_(new RowList(QStringLiteral("alarms"), content())),
      lamp_(new RowList(QStringLiteral("lamp"), content())),
      footnote_(wrappingLabel({}, content())) {
  QVBoxLayout* page = column();
  page->setSpacing(kUnit * 4);
  page->addWidget(report_);
  auto* figures = new QWidget(content());
  figures->setObjectName(QStringLiteral("figures"));
  auto* row = new QHBoxLayout(figures);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(kUnit * 4);
  for (FigureTile* tile : {asleep_, wakes_, battery_}) row->addWidget(tile, 1, Qt::AlignTop);
  page->addWidget(figures);
  page->addWidget(ribbon_);
  page->addWidget(remedies_);
  page->addWidget(woke_);
  page->addWidget(kernel_);
  page->addWidget(alarms_);
  page->addWidget(lamp_);
  woke_->setTitle(tr("What woke me"));
  alarms_->setTitle(tr("Who set the alarm"));
  lamp_->setTitle(tr("Who held the lamp"));
  footnote_->setFont(captionFont(footnote_->font()));
  makeSecondary(footnote_);
  page->addWidget(footnote_);
  page->addStretch(1);

  connect(&navigator, &Navigator::pageChanged, this, &NightPage::update);
  connect(&model, &AppModel::analysisChanged, this, &NightPage::update);
  connect(&model, &AppModel::morningTextChanged, this, &NightPage::showReport);
  // The suggestions depend on the settings, too.
  for (auto signal : {&AppModel::powerSettingsChanged, &AppModel::capabilitiesChanged}) {
    connect(&model, signal, this, [this] {
      if (night_) remedies_->setNight(*night_);
    });
  }
  update();
}

void NightPage::update() {
  const NightReport* selected = navigator_.selectedNight();
  if (selected == nullptr) {
    night_.reset();
    return;
  }
  if (night_ && *night_ == *selected) return;
  const bool another = !night_ || night_->start() != selected->start();
  night_ = *selected;
  showNight(*night_);
  // Another night starts at the top; the same night read again stays where the reader was.
  if (another) verticalScrollBar()->setValue(0);
}

void NightPage::showReport() {
  if (!night_) return;
  const QString title = shown(model_.format().nightTitle(night_->start()));
  setAccessibleName(title);
  report_->setReport(night_->mood, shown(model_.morningText(*night_)), title, model_.plainMode());
}

void NightPage::showNight(const NightReport& night) {
  const NightFormat& format = model_.format();
  const Language language = format.language();
  showReport();

  const presentation::FiguresRow figures = presentation::figuresRow(night, format, model_.nightSource());
  asleep_->setFigure(shown(figures.asleep.value), shown(figures.asleep.caption));
  wakes_->setFigure(shown(figures.darkWakes.value), shown(figures.darkWakes.caption));
  wakes_->setLine(QStringLiteral("awakeLine"), shown(figures.awakeLine.value_or("")));
  battery_->setFigure(shown(figures.battery.figure.value), shown(figures.battery.figure.caption));
  battery_->setLine(QStringLiteral("perHour"), shown(figures.battery.perHour.value_or("")));
  QLabel* ratio = battery_->line(QStringLiteral("ratio"), std::nullopt);
  QFont strong = ratio->font();
  strong.setWeight(QFont::DemiBold);
  ratio->setFont(strong);
  battery_->setLine(QStringLiteral("ratio"), shown(figures.battery.ratio.value_or("")), toneOf(figures.battery.band));

  ribbon_->setNight(night, format);
  remedies_->setNight(night);

  std::vector<DetailContent> rows;
  for (const ReasonGroup& group : night.groups) {
    rows.push_back({shown(wake_category::title(group.category, language)),
                    shown(wake_category::explanation(group.category, language, model_.nightSource())),
                    shown(presentation::reasonFigure(group, format)),
                    {},
                    {}});
  }
  woke_->setRows(rows, tr("I didn’t wake up once."));
  kernel_->setSection(presentation::kernelSection(night, format));
  rows.clear();
  for (const RequesterGroup& requester : night.requesters) {
    rows.push_back({shown(presentation::requesterTitle(requester, language)), shown(requester.process), {}, {}, {}});
  }
  alarms_->setRows(rows, tr("No scheduled wakes matched."));
  rows.clear();
  for (const HolderGroup& holder : night.holders) {
    const bool keeps = presentation::keepsMacAwake(holder);
    rows.push_back({shown(holder.process), shown(presentation::holderLine(holder, language)),
                    shown(format.duration(holder.heldSeconds)),
                    keeps ? shown(presentation::keptAwakeBadge(model_.nightSource(), language)) : QString(),
                    keeps ? QStringLiteral("keepsMacAwake") : QString()});
  }
  lamp_->setRows(rows, tr("Nobody kept me up."));
  footnote_->setText(shown(presentation::nightFootnote(model_.nightSource(), language)));
}

}  // namespace snoozlet::views
