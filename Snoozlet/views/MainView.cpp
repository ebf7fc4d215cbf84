#include "views/MainView.h"

#include "app/AppModel.h"
#include "presentation/NightFigures.h"
#include "presentation/PageRows.h"
#include "views/BatteryPage.h"
#include "views/HistoryPage.h"
#include "views/Mascot.h"
#include "views/NightPage.h"
#include "views/SettingsPage.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QStackedWidget>

namespace snoozlet::views {

namespace {

constexpr int kSidebarWidth = 248;
constexpr int kKindRole = Qt::UserRole;
constexpr int kStartRole = Qt::UserRole + 1;

QString q(const std::string& text) { return QString::fromStdString(text); }

AppModel::Page pageOf(const QListWidgetItem* item) {
  switch (item->data(kKindRole).toInt()) {
    case 1: return AppModel::Page::settings();
    case 2: return AppModel::Page::battery();
    case 3: return AppModel::Page::history();
    default: return AppModel::Page::night(item->data(kStartRole).toDouble());
  }
}

int kindOf(const AppModel::Page& page) {
  switch (page.kind()) {
    case AppModel::Page::Kind::night: return 0;
    case AppModel::Page::Kind::settings: return 1;
    case AppModel::Page::Kind::battery: return 2;
    case AppModel::Page::Kind::history: return 3;
  }
  return 0;
}

}  // namespace

PlainRow::PlainRow(const QString& title, const QString& detail, QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(kUnit, kUnit / 2, kUnit, kUnit / 2);
  row->addWidget(new QLabel(title, this), 1);
  auto* right = new QLabel(detail, this);
  right->setObjectName(QStringLiteral("detail"));
  right->setFont(captionFont(right->font()));
  makeSecondary(right);
  row->addWidget(right);
}

NightRow::NightRow(const QString& date, const QString& drain, Mood mood, QWidget* parent) : QWidget(parent) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(kUnit, kUnit / 2, kUnit, kUnit / 2);
  row->setSpacing(kUnit);
  row->addWidget(new MoodMoon(mood, 14, this));
  row->addWidget(new QLabel(date, this), 1);
  auto* right = new QLabel(drain, this);
  right->setObjectName(QStringLiteral("drain"));
  right->setFont(captionFont(right->font()));
  makeSecondary(right);
  row->addWidget(right);
}

Sidebar::Sidebar(AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), list_(new QListWidget(this)), span_(new QLabel(this)) {
  setFixedWidth(kSidebarWidth);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(kUnit, kUnit * 2, 0, kUnit);
  column->setSpacing(2);
  auto* name = new QLabel(QStringLiteral("Snoozlet"), this);
  name->setFont(titleFont(name->font()));
  name->setContentsMargins(kUnit, 0, 0, 0);
  column->addWidget(name);
  auto* mac = new QLabel(q(presentation::thisMachine(model.nightSource(), model.language())), this);
  mac->setContentsMargins(kUnit, 0, 0, 0);
  makeSecondary(mac);
  column->addWidget(mac);
  span_->setObjectName(QStringLiteral("span"));
  span_->setFont(captionFont(span_->font()));
  span_->setWordWrap(true);
  span_->setContentsMargins(kUnit, kUnit / 2, kUnit, kUnit);
  makeSecondary(span_);
  column->addWidget(span_);
  list_->setFrameShape(QFrame::NoFrame);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setAccessibleName(tr("Nights and pages"));
  column->addWidget(list_, 1);
  connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
    if (!selecting_ && item != nullptr && (item->flags() & Qt::ItemIsSelectable)) model_.setPage(pageOf(item));
  });
  for (auto signal :
       {&AppModel::analysisChanged, &AppModel::findingsChanged, &AppModel::batteryChanged, &AppModel::historyChanged}) {
    connect(&model, signal, this, &Sidebar::rebuild);
  }
  connect(&model, &AppModel::pageChanged, this, &Sidebar::selectModelPage);
  rebuild();
}

void Sidebar::rebuild() {
  const NightFormat& format = model_.format();
  const Language language = format.language();
  span_->setText(q(presentation::logSpan(model_.analysis(), format)));
  selecting_ = true;
  list_->clear();
  const auto header = [this](const QString& text) {
    auto* item = new QListWidgetItem(text, list_);
    item->setFlags(Qt::NoItemFlags);
    QFont font = captionFont(list_->font());
    font.setWeight(QFont::DemiBold);
    item->setFont(font);
  };
  const auto add = [this](QWidget* row, int kind, double start) {
    auto* item = new QListWidgetItem(list_);
    item->setData(kKindRole, kind);
    item->setData(kStartRole, start);
    item->setSizeHint(row->sizeHint());
    list_->setItemWidget(item, row);
  };
  const auto nights = [&](const std::vector<NightReport>& reports, const QString& title) {
    if (reports.empty()) return;
    header(title);
    for (const NightReport& night : reports) {
      const QString drain = q(presentation::perHourText(night.battery.perHour, format).value_or(""));
      add(new NightRow(q(format.shortDay(format.nightDay(night.start()))), drain, night.mood), 0, night.start());
    }
  };
  if (const auto& analysis = model_.analysis()) {
    nights(analysis->nights(), tr("Nights"));
    nights(analysis->naps(), tr("Daytime naps"));
  }
  header(QString());
  add(new PlainRow(tr("Sleep settings"),
                   q(presentation::settingsDetail(model_.findings(), language, model_.nightSource()))),
      1, 0);
  add(new PlainRow(tr("Battery"), q(presentation::batteryDetail(model_.battery(), format).value_or(""))), 2, 0);
  add(new PlainRow(tr("History"), q(presentation::historyDetail(model_.history().size(), language))), 3, 0);
  selecting_ = false;
  selectModelPage();
}

void Sidebar::selectModelPage() {
  const auto page = model_.page();
  const auto selected = model_.selectedNight();
  QListWidgetItem* match = nullptr;
  for (int i = 0; i < list_->count() && match == nullptr; ++i) {
    QListWidgetItem* item = list_->item(i);
    if (!(item->flags() & Qt::ItemIsSelectable)) continue;
    const int kind = item->data(kKindRole).toInt();
    if (page && page->kind() != AppModel::Page::Kind::night) {
      if (kind == kindOf(*page)) match = item;
    } else if (kind == 0 && selected && item->data(kStartRole).toDouble() == selected->start()) {
      match = item;
    }
  }
  selecting_ = true;
  list_->setCurrentItem(match);
  selecting_ = false;
}

EmptyNightPage::EmptyNightPage(AppModel& model, QWidget* parent)
    : QWidget(parent), model_(model), title_(new QLabel(this)), line_(new QLabel(this)) {
  auto* column = new QVBoxLayout(this);
  column->addStretch(1);
  auto* mascot = new MascotView(Mood::soundAsleep, 1.2, this);
  column->addWidget(mascot, 0, Qt::AlignHCenter);
  title_->setObjectName(QStringLiteral("title"));
  title_->setFont(titleFont(title_->font()));
  title_->setAlignment(Qt::AlignHCenter);
  column->addWidget(title_);
  line_->setObjectName(QStringLiteral("line"));
  line_->setWordWrap(true);
  line_->setAlignment(Qt::AlignHCenter);
  makeSecondary(line_);
  column->addWidget(line_);
  column->addStretch(2);
  connect(&model, &AppModel::stateChanged, this, &EmptyNightPage::rebuild);
  connect(&model, &AppModel::analysisChanged, this, &EmptyNightPage::rebuild);
  rebuild();
}

void EmptyNightPage::rebuild() {
  if (model_.state().isLoading()) {
    title_->setText(tr("Reading last night’s log…"));
    line_->clear();
    line_->hide();
    return;
  }
  title_->setText(tr("No long sleep in the log yet"));
  line_->setText(tr("Close the lid tonight; I’ll tell you all about it in the morning."));
  line_->show();
}

MainView::MainView(AppModel& model, QWidget* parent) : QWidget(parent), model_(model) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  sidebar_ = new Sidebar(model, this);
  row->addWidget(sidebar_);
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::VLine);
  rule->setFrameShadow(QFrame::Plain);
  QPalette palette = rule->palette();
  QColor line = palette.color(QPalette::WindowText);
  line.setAlphaF(0.12f);
  palette.setColor(QPalette::WindowText, line);
  rule->setPalette(palette);
  row->addWidget(rule);
  pages_ = new QStackedWidget(this);
  row->addWidget(pages_, 1);
  connect(&model, &AppModel::pageChanged, this, &MainView::showPage);
  connect(&model, &AppModel::analysisChanged, this, &MainView::showPage);
  showPage();
}

QWidget* MainView::currentPage() const { return pages_->currentWidget(); }

void MainView::showPage() {
  // Each page is made the first time it is shown, then kept and kept current
  // by the model's signals.
  const auto show = [this](QWidget*& page, auto make) {
    if (page == nullptr) {
      page = make();
      pages_->addWidget(page);
    }
    pages_->setCurrentWidget(page);
  };
  const auto& page = model_.page();
  const auto kind = page ? page->kind() : AppModel::Page::Kind::night;
  switch (kind) {
    case AppModel::Page::Kind::settings: show(settings_, [this] { return new SettingsPage(model_, pages_); }); break;
    case AppModel::Page::Kind::battery: show(battery_, [this] { return new BatteryPage(model_, pages_); }); break;
    case AppModel::Page::Kind::history: show(history_, [this] { return new HistoryPage(model_, pages_); }); break;
    case AppModel::Page::Kind::night:
      if (model_.selectedNight()) {
        show(night_, [this] { return new NightPage(model_, pages_); });
      } else {
        show(empty_, [this] { return new EmptyNightPage(model_, pages_); });
      }
      break;
  }
}

}  // namespace snoozlet::views
