#include "views/WelcomeIllustrations.h"

#include "app/AppModel.h"
#include "demo/DemoLog.h"
#include "presentation/NightFigures.h"
#include "presentation/SourceTexts.h"
#include "settings/FixCatalog.h"
#include "views/FixReviewView.h"
#include "views/Mascot.h"
#include "views/NightRibbon.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>

namespace snoozlet::views {

namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }
QString q(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QLabel* centred(const QString& text, QWidget* parent, bool strong = false) {
  auto* label = new QLabel(text, parent);
  label->setAlignment(Qt::AlignHCenter);
  label->setWordWrap(true);
  if (strong) {
    QFont font = label->font();
    font.setWeight(QFont::DemiBold);
    label->setFont(font);
  } else {
    label->setFont(captionFont(label->font()));
    makeSecondary(label);
  }
  return label;
}

// A small stack of pages: one line per night kept.
class Notebook : public QWidget {
 public:
  Notebook(int lines, bool open, QWidget* parent) : QWidget(parent), lines_(lines), open_(open) {
    setFixedSize(120, 96);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF page(14, 6, 92, 84);
    QColor paper = palette().color(QPalette::Base);
    QColor edge = palette().color(QPalette::WindowText);
    edge.setAlphaF(0.25f);
    if (open_) {
      // Pages behind: the notebook goes on.
      for (int i = 2; i >= 1; --i) {
        p.setPen(QPen(edge, 1));
        p.setBrush(paper);
        p.drawRoundedRect(page.translated(i * 4, -i * 3), 6, 6);
      }
    }
    p.setPen(QPen(edge, 1));
    p.setBrush(paper);
    p.drawRoundedRect(page, 6, 6);
    QColor ink = night::wake();
    for (int i = 0; i < lines_; ++i) {
      const double y = page.top() + 12 + i * 9.5;
      if (y > page.bottom() - 8) break;
      ink.setAlphaF(open_ ? 0.9f : 0.35f + 0.09f * static_cast<float>(i));
      p.fillRect(QRectF(page.left() + 12, y, page.width() - 24 - (i % 3) * 10, 3.5), ink);
    }
  }

 private:
  int lines_;
  bool open_;
};

QWidget* column(QWidget* parent, QWidget* art, const QString& title, const QString& caption) {
  auto* box = new QWidget(parent);
  auto* layout = new QVBoxLayout(box);
  layout->setSpacing(kUnit / 2);
  layout->addWidget(art, 0, Qt::AlignHCenter);
  layout->addWidget(centred(title, box, true));
  layout->addWidget(centred(caption, box));
  return box;
}

}  // namespace

MoodsIllustration::MoodsIllustration(AppModel& model, QWidget* parent) : QWidget(parent) {
  QWidget* row = this;
  auto* layout = new QHBoxLayout(row);
  layout->setSpacing(kUnit * 3);
  layout->addStretch(1);
  for (const Mood mood : {Mood::soundAsleep, Mood::restless, Mood::sleepless}) {
    auto* mascot = new MascotView(mood, 1.0, row);
    layout->addWidget(column(row, mascot, q(mood::title(mood, model.language())), QString()));
  }
  layout->addStretch(1);
  setObjectName(QStringLiteral("moods"));
}

NotebookIllustration::NotebookIllustration(NightSource source, Language language, QWidget* parent) : QWidget(parent) {
  QWidget* row = this;
  auto* layout = new QHBoxLayout(row);
  layout->setSpacing(kUnit * 4);
  layout->addStretch(1);
  const presentation::LogCaption log = presentation::systemLogCaption(source, language);
  layout->addWidget(column(row, new Notebook(7, false, row), q(log.name), q(log.keeps)));
  auto* arrow = new QLabel(QStringLiteral("→"), row);
  arrow->setFont(titleFont(arrow->font()));
  layout->addWidget(arrow);
  layout->addWidget(
      column(row, new Notebook(9, true, row), QObject::tr("My notebook"), QObject::tr("every night I’ve read")));
  layout->addStretch(1);
  setObjectName(QStringLiteral("notebook"));
}

RibbonIllustration::RibbonIllustration(AppModel& model, QWidget* parent) : QWidget(parent) {
  DemoLog::Night night;
  night.start.year = 2026;
  night.start.month = 10;
  night.start.day = 24;
  night.start.hour = 23;
  night.start.minute = 31;
  night.hours = 8;
  night.batteryFrom = 64;
  night.batteryTo = 55;
  night.wakes = {{std::string(DemoLog::wifi), 160, 11},
                 {std::string(DemoLog::task), 30, 9},
                 {std::string(DemoLog::maintenance), 10, 14}};
  night.endReason = std::string(DemoLog::lid);
  const SleepAnalysis analysis = NightAnalyzer::analyze(DemoLog::text({night}, model.timeZone()), model.timeZone(), {});
  QWidget* box = this;
  setObjectName(QStringLiteral("ribbonSample"));
  auto* layout = new QVBoxLayout(box);
  layout->setSpacing(kUnit);
  if (analysis.reports.empty()) return;
  const NightReport& report = analysis.reports.back();
  auto* ribbon = new NightRibbon(box);
  ribbon->setLaneLimit(0);
  ribbon->setNight(report, model.format());
  layout->addWidget(ribbon);
  const presentation::FiguresRow figures = presentation::figuresRow(report, model.format());
  QString caption = q(figures.battery.figure.value + " " + figures.battery.figure.caption);
  if (figures.battery.perHour) caption += QStringLiteral(" · ") + q(*figures.battery.perHour);
  layout->addWidget(centred(caption, box));
}

CommandIllustration::CommandIllustration(AppModel& model, QWidget* parent) : QWidget(parent) {
  const Language language = model.language();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(
      new ChangeBlock(q(FixCatalog::title(FixID::powerNapOff, language)),
                      {new CommandRow(QObject::tr("Runs"), QStringLiteral("/usr/bin/pmset -b powernap 0"), false),
                       new CommandRow(QObject::tr("Undo"), QStringLiteral("/usr/bin/pmset -b powernap 1"), true)},
                      QObject::tr("What you give up"), q(FixCatalog::giveUp(FixID::powerNapOff, language)), this));
}

}  // namespace snoozlet::views
