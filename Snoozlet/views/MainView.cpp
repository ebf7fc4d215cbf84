#include "views/MainView.h"

#include "app/AppModel.h"
#include "presentation/PageRows.h"
#include "views/BatteryPage.h"
#include "views/HistoryPage.h"
#include "views/Mascot.h"
#include "views/Navigator.h"
#include "views/NightPage.h"
#include "views/SettingsPage.h"
#include "views/Sidebar.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QStackedWidget>

namespace snoozlet::views {

EmptyNightPage::EmptyNightPage(const AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), title_(new QLabel(this)), line_(wrappingLabel({}, this)) {
  auto* column = new QVBoxLayout(this);
  column->addStretch(1);
  auto* mascot = new MascotView(Mood::soundAsleep, 1.2, this);
  column->addWidget(mascot, 0, Qt::AlignHCenter);
  title_->setObjectName(QStringLiteral("title"));
  title_->setFont(titleFont(title_->font()));
  title_->setAlignment(Qt::AlignHCenter);
  column->addWidget(title_);
  line_->setObjectName(QStringLiteral("line"));
  line_->setAlignment(Qt::AlignHCenter);
  makeSecondary(line_);
  column->addWidget(line_);
  column->addStretch(2);
  connect(&model, &AppModel::stateChanged, this, &EmptyNightPage::update);
  connect(&model, &AppModel::analysisChanged, this, &EmptyNightPage::update);
  update();
}

void EmptyNightPage::update() {
  const presentation::EmptyNight empty =
      presentation::emptyNight(model_.analysis(), model_.state().failure(), model_.language());
  title_->setText(shown(empty.title));
  line_->setText(shown(empty.line.value_or("")));
  line_->setVisible(empty.line.has_value());
}

MainView::MainView(AppModel& model, ChangeController& changes, Navigator& navigator, QWidget* parent)
    : QWidget(parent), model_(model), changes_(changes), navigator_(navigator) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  sidebar_ = new Sidebar(model, navigator, this);
  row->addWidget(sidebar_);
  row->addWidget(new Separator(Qt::Vertical, this));
  auto* column = new QVBoxLayout();
  column->setSpacing(0);
  archive_ = wrappingLabel({}, this);
  archive_->setObjectName(QStringLiteral("archiveProblem"));
  archive_->setContentsMargins(kUnit * 3, kUnit * 1.5, kUnit * 3, kUnit * 1.5);
  setTone(archive_, Tone::warning);
  column->addWidget(archive_);
  pages_ = new QStackedWidget(this);
  column->addWidget(pages_, 1);
  row->addLayout(column, 1);
  connect(&navigator, &Navigator::pageChanged, this, &MainView::showPage);
  connect(&model, &AppModel::analysisChanged, this, &MainView::showPage);
  connect(&model, &AppModel::archiveProblemChanged, this, &MainView::showArchiveProblem);
  showPage();
  showArchiveProblem();
}

void MainView::showArchiveProblem() {
  const auto& problem = model_.archiveProblem();
  archive_->setText(problem ? shown(presentation::archiveProblemSentence(*problem, model_.language())) : QString());
  archive_->setVisible(problem.has_value());
}

QWidget* MainView::currentPage() const { return pages_->currentWidget(); }

void MainView::showPage() {
  const auto show = [this](QWidget*& page, auto make) {
    if (page == nullptr) {
      page = make();
      pages_->addWidget(page);
    }
    pages_->setCurrentWidget(page);
  };
  const auto& page = navigator_.page();
  const auto kind = page ? page->kind() : Page::Kind::night;
  switch (kind) {
    case Page::Kind::settings: show(settings_, [this] { return new SettingsPage(model_, changes_, pages_); }); break;
    case Page::Kind::battery: show(battery_, [this] { return new BatteryPage(model_, pages_); }); break;
    case Page::Kind::history: show(history_, [this] { return new HistoryPage(model_, pages_); }); break;
    case Page::Kind::night:
      if (navigator_.selectedNight() != nullptr) {
        show(night_, [this] { return new NightPage(model_, changes_, navigator_, pages_); });
      } else {
        show(empty_, [this] { return new EmptyNightPage(model_, pages_); });
      }
      break;
  }
}

}  // namespace snoozlet::views
