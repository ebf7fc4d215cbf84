#include "views/WelcomeIllustrations.h"

#include "app/AppModel.h"
#include "presentation/SourceTexts.h"
#include "presentation/WelcomeSample.h"
#include "views/FixReviewView.h"
#include "views/Mascot.h"
#include "views/NightRibbon.h"
#include "views/Theme.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPainter>

namespace snoozlet::views {

namespace {


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

MoodsIllustration::MoodsIllustration(const AppModel& model, QWidget* parent) : QWidget(parent) {
  QWidget* row = this;
  auto* layout = new QHBoxLayout(row);
  layout->setSpacing(kUnit * 3);
  layout->addStretch(1);
  for (const Mood mood : {Mood::soundAsleep, Mood::restless, Mood::sleepless}) {
    auto* mascot = new MascotView(mood, 1.0, row);
    layout->addWidget(column(row, mascot, shown(mood::title(mood, model.language())), QString()));
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
  layout->addWidget(column(row, new Notebook(7, false, row), shown(log.name), shown(log.keeps)));
  auto* arrow = new QLabel(QStringLiteral("→"), row);
  arrow->setFont(titleFont(arrow->font()));
  layout->addWidget(arrow);
  layout->addWidget(
      column(row, new Notebook(9, true, row), QObject::tr("My notebook"), QObject::tr("every night I’ve read")));
  layout->addStretch(1);
  setObjectName(QStringLiteral("notebook"));
}

RibbonIllustration::RibbonIllustration(const AppModel& model, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("ribbonSample"));
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(kUnit);
  const std::optional<NightReport> night = presentation::welcomeNight(model.timeZone());
  if (!night) return;
  auto* ribbon = new NightRibbon(this);
  ribbon->setLaneLimit(0);
  ribbon->setNight(*night, model.format());
  layout->addWidget(ribbon);
  layout->addWidget(centred(shown(presentation::welcomeNightCaption(*night, model.format())), this));
}

CommandIllustration::CommandIllustration(const AppModel& model, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new ChangeBlock(presentation::welcomeFix(model.language()), this));
}

}  // namespace snoozlet::views
