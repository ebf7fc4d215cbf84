// snoozlet-screenshots FOLDER: the night page of each demonstration mood in
// English and Turkish at 1× and 2× (and in a dark theme), the popover in its
// three states, the main window's pages, the review, welcome, settings and
// about windows, the tray, ribbons of a nap, a night on the charger and a
// night with a charger stretch, and (States.cpp) every state that is not
// ordinary, as PNG files named after what they show.

#include "PreviewModel.h"
#include "Shots.h"
#include "States.h"
#include "analysis/NightAnalyzer.h"
#include "shell/StatusItemController.h"
#include "shell/TeapotIcon.h"
#include "shell/WindowManager.h"
#include "views/FixReviewView.h"
#include "views/MainView.h"
#include "views/MenuBarView.h"
#include "views/Navigator.h"
#include "views/NightPage.h"
#include "views/NightRibbon.h"
#include "views/Accessibility.h"
#include "views/Style.h"
#include "views/WelcomeView.h"

#include <QMenu>
#include <QPainter>
#include <QSettings>
#include <QTemporaryDir>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QStyleFactory>

#include <iostream>

namespace {

using namespace snoozlet;
using shots::Theme;

QString tag(Language language) { return language == Language::turkish ? QStringLiteral("tr") : QStringLiteral("en"); }
QString tag(Theme theme) { return theme == Theme::dark ? QStringLiteral("-dark") : QString(); }

void nightPages(shots::Writer& out) {
  for (const Mood mood : {Mood::soundAsleep, Mood::restless, Mood::sleepless}) {
    for (const Language language : kAllLanguages) {
      for (const Theme theme : {Theme::light, Theme::dark}) {
        shots::applyTheme(theme);
        shots::applyLanguage(language);
        preview::PreviewModel preview(preview::Contents::of(preview::week(mood)));
        const QString name =
            QStringLiteral("night-%1-%2").arg(QString::fromStdString(std::string(toString(mood))), tag(language));
        for (const double ratio : {1.0, 2.0}) {
          if (theme == Theme::dark && ratio > 1) continue;
          out.save(shots::nightPageImage(preview, ratio), name + QStringLiteral("-%1x").arg(ratio) + tag(theme));
        }
      }
    }
  }
}

void popovers(shots::Writer& out) {
  for (const Language language : kAllLanguages) {
    for (const Theme theme : {Theme::light, Theme::dark}) {
      shots::applyTheme(theme);
      shots::applyLanguage(language);
      const QString suffix = QStringLiteral("-") + tag(language) + tag(theme);
      {
        preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
        views::MenuBarView view(preview.model(), {});
        view.show();
        out.save(shots::render(view, 2), QStringLiteral("popover-night") + suffix);
      }
      if (theme == Theme::dark) continue;
      {
        preview::PreviewModel preview(preview::Contents{});  // read, but no long sleep in it
        views::MenuBarView view(preview.model(), {});
        view.show();
        out.save(shots::render(view, 2), QStringLiteral("popover-empty") + suffix);
      }
      {
        preview::Contents nothing;
        nothing.publish = false;
        preview::PreviewModel preview(nothing);
        preview.model().refresh();  // still reading: its end is not delivered before the picture
        views::MenuBarView view(preview.model(), {});
        view.show();
        out.save(shots::render(view, 2), QStringLiteral("popover-loading") + suffix);
      }
    }
  }
}

// The main window on each page, and the empty page.
void mainWindow(shots::Writer& out) {
  for (const Language language : kAllLanguages) {
    for (const Theme theme : {Theme::light, Theme::dark}) {
      shots::applyTheme(theme);
      shots::applyLanguage(language);
      const QString suffix = QStringLiteral("-") + tag(language) + tag(theme);
      preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
      preview.apply({FixID::powerNapOff});  // a change listed on the settings page
      preview.model().setNotice(std::nullopt);
      views::Navigator navigator(preview.model());
      views::MainView view(preview.model(), preview.changes(), navigator);
      view.resize(1120, 780);
      view.show();
      const std::pair<const char*, views::Page> pages[] = {
          {"main-night", views::Page::night(preview.model().latestNight()->start())},
          {"main-settings", views::Page::settings()},
          {"main-battery", views::Page::battery()},
          {"main-history", views::Page::history()}};
      for (const auto& [name, page] : pages) {
        navigator.choose(page);
        out.save(shots::render(view, 1), QString::fromLatin1(name) + suffix);
      }
      // A Linux laptop's nights: its own name, and settings that are macOS's.
      preview::Contents laptop = preview::Contents::of(preview::week(Mood::restless));
      laptop.linuxLaptop = true;
      preview::PreviewModel linux(laptop);
      views::Navigator linuxNavigator(linux.model());
      views::MainView linuxView(linux.model(), linux.changes(), linuxNavigator);
      linuxView.resize(1120, 780);
      linuxView.show();
      for (const auto& [name, page] :
           {std::pair{"main-night-linux", views::Page::night(linux.model().latestNight()->start())},
            std::pair{"main-settings-linux", views::Page::settings()}}) {
        linuxNavigator.choose(page);
        out.save(shots::render(linuxView, 1), QString::fromLatin1(name) + suffix);
      }
      if (theme == Theme::dark) continue;
      // One archive: the week's own nights, as the sidebar shows them, then 193 older ones.
      preview::Contents many = preview::Contents::of(preview::week(Mood::restless));
      const Loaded week = preview::loaded(many);
      std::vector<ArchivedNight> archive;
      for (auto it = week.analysis.reports.rbegin(); it != week.analysis.reports.rend(); ++it) {
        archive.push_back(ArchivedNight::from(*it));
      }
      for (const ArchivedNight& older : preview::archivedNights(220)) {
        if (archive.size() < 200 && older.start < archive.back().start - 12 * 3600) archive.push_back(older);
      }
      many.history = archive;
      preview.publish(many);
      out.save(shots::render(view, 1), QStringLiteral("main-history-200") + suffix);

      preview::Contents none;
      none.battery = false;
      preview::PreviewModel empty(none);
      views::Navigator emptyNavigator(empty.model());
      views::MainView nothing(empty.model(), empty.changes(), emptyNavigator);
      nothing.resize(1120, 780);
      nothing.show();
      out.save(shots::render(nothing, 1), QStringLiteral("main-empty") + suffix);
      emptyNavigator.choose(views::Page::battery());
      out.save(shots::render(nothing, 1), QStringLiteral("main-battery-none") + suffix);
    }
  }
}

// The review window: a change that needs the acknowledgement, an undo, a dry run.
void reviews(shots::Writer& out) {
  for (const Language language : kAllLanguages) {
    shots::applyTheme(Theme::light);
    shots::applyLanguage(language);
    const QString suffix = QStringLiteral("-") + tag(language);
    preview::Contents real = preview::Contents::of(preview::week(Mood::restless));
    real.dryRun = false;
    {
      preview::PreviewModel preview(real);
      preview.changes().reviewFixes({FixID::tcpKeepAliveOff, FixID::powerNapOff});
      views::FixReviewView review(preview.changes());
      review.show();
      out.save(shots::render(review, 2), QStringLiteral("review-change") + suffix);
    }
    {
      // An undo, as the real runner would put a recorded change back.
      FixJournal journal;
      const FixRecord record = journal.record(
          {PlannedChange{FixID::tcpKeepAliveOff, "tcpkeepalive", PowerScope::battery, "1", "0"}}, 1796500000, false);
      preview::Contents earlier = real;
      earlier.journal = journal;
      preview::PreviewModel preview(earlier);
      preview.changes().reviewUndo(record.id);
      views::FixReviewView review(preview.changes());
      review.show();
      out.save(shots::render(review, 2), QStringLiteral("review-undo") + suffix);
    }
    {
      preview::PreviewModel dry(preview::Contents::of(preview::week(Mood::restless)));
      dry.changes().reviewFixes({FixID::powerNapOff});
      views::FixReviewView simulated(dry.changes());
      simulated.show();
      out.save(shots::render(simulated, 2), QStringLiteral("review-dry-run") + suffix);
    }
  }
}

// The five pages of "How It Works".
void welcome(shots::Writer& out) {
  for (const Language language : kAllLanguages) {
    shots::applyTheme(Theme::light);
    shots::applyLanguage(language);
    preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
    views::WelcomeView view(preview.model(), preview.preferences());
    view.resize(view.minimumSize().expandedTo(view.sizeHint()));
    view.show();
    for (int page = 0; page < views::WelcomeView::kPages; ++page) {
      view.setPage(page);
      out.save(shots::render(view, 1), QStringLiteral("welcome-%1-%2").arg(page + 1).arg(tag(language)));
    }
  }
}

// The tray: the teapot of a light theme (dark, ringed in light) on light and
// dark panels at 1× and 2×, the popover under it, the right-click menu, and
// the settings and about windows.
void tray(shots::Writer& out) {
  const shell::TeapotTones ink{QColor(0x1E, 0x1E, 0x1E), QColor(0xF2, 0xF2, 0xF2)};
  for (const auto& [panel, name] :
       {std::pair{QColor(0xEC, 0xEC, 0xEC), "light"}, std::pair{QColor(0x24, 0x24, 0x28), "dark"}}) {
    for (const int ratio : {1, 2}) {
      QImage image(QSize(72, 28) * ratio, QImage::Format_ARGB32_Premultiplied);
      image.setDevicePixelRatio(ratio);
      image.fill(panel);
      QPainter painter(&image);
      painter.translate(27, 5);
      shell::paintTeapot(painter, 18, ink);
      painter.end();
      out.save(image, QStringLiteral("tray-icon-%1-%2x").arg(QString::fromLatin1(name)).arg(ratio));
    }
  }
  for (const Language language : kAllLanguages) {
    shots::applyTheme(Theme::light);
    shots::applyLanguage(language);
    const QString suffix = QStringLiteral("-") + tag(language);
    preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("preferences.ini")), QSettings::IniFormat);
    shell::WindowManager windows(preview.model(), preview.changes(), preview.preferences(), store);
    shell::StatusItemController status(preview.model(), windows, QDBusConnection(QStringLiteral("no bus")));
    // The popover under an icon in a top panel: a panel strip above the popover.
    status.toggle();
    QWidget* popover = status.popover();
    QImage shot(QSize(popover->width() + 80, popover->height() + 40) * 2, QImage::Format_ARGB32_Premultiplied);
    shot.setDevicePixelRatio(2);
    shot.fill(QColor(0xC8, 0xCC, 0xD4));
    {
      QPainter painter(&shot);
      painter.fillRect(QRectF(0, 0, popover->width() + 80, 28), QColor(0x24, 0x24, 0x28));
      painter.save();
      painter.translate(40 + popover->width() / 2.0 - 9, 5);
      shell::paintTeapot(painter, 18, ink);
      painter.restore();
      painter.drawImage(QPointF(40, 32), shots::render(*popover, 2));
    }
    out.save(shot, QStringLiteral("tray-popover") + suffix);
    status.toggle();
    status.menu()->adjustSize();
    out.save(shots::render(*status.menu(), 2), QStringLiteral("tray-menu") + suffix);
    windows.showSettingsWindow();
    out.save(shots::render(*windows.settingsWindow(), 2), QStringLiteral("settings-window") + suffix);
    windows.showAboutWindow();
    out.save(shots::render(*windows.aboutWindow(), 2), QStringLiteral("about-window") + suffix);
  }
}

NightReport ribbonNight(double hours, bool chargerAllNight, bool chargerStretch) {
  SleepSession s;
  s.start = 1796511600;  // 23:00 in London
  s.end = s.start + hours * 3600;
  s.sleepReason = "Clamshell Sleep";
  s.ending = SessionEnd::fullWake(WakeReason(std::string(DemoLog::lid)));
  const double step = hours * 3600 / 9;
  for (int i = 1; i < 9; ++i) {
    DarkWakeEvent w;
    w.date = s.start + i * step;
    w.duration = 6.0 * i;
    w.reason = WakeReason(std::string(i % 2 ? DemoLog::wifi : DemoLog::task));
    s.darkWakes.push_back(w);
  }
  if (chargerAllNight) {
    s.battery = {{s.start, 100, true}, {s.end, 100, true}};
  } else if (chargerStretch) {
    s.battery = {{s.start, 64, false},
                 {s.start + hours * 1200, 60, false},
                 {s.start + hours * 1200 + 1, 60, true},
                 {s.start + hours * 2400, 88, false},
                 {s.end, 85, false}};
  } else {
    s.battery = {{s.start, 80, false}, {s.end, 78, false}};
  }
  return NightAnalyzer::report(s, hours < 1 ? SleepKind::daytimeNap : SleepKind::night);
}

void ribbons(shots::Writer& out) {
  shots::applyTheme(Theme::light);
  shots::applyLanguage(Language::english);
  const NightFormat format(Language::english, preview::zone());
  const struct {
    const char* name;
    NightReport night;
  } cases[] = {{"ribbon-nap", ribbonNight(0.1, false, false)},
               {"ribbon-charger-all-night", ribbonNight(8, true, false)},
               {"ribbon-charger-stretch", ribbonNight(8, false, true)},
               {"ribbon-long-night", ribbonNight(14, false, false)}};
  for (const auto& c : cases) {
    for (const bool compact : {false, true}) {
      views::NightRibbon ribbon;
      ribbon.setCompact(compact);
      ribbon.setNight(c.night, format);
      ribbon.resize(compact ? 328 : 760, ribbon.sizeHint().height());
      ribbon.show();
      out.save(shots::render(ribbon, 2),
               QString::fromLatin1(c.name) + (compact ? QStringLiteral("-compact") : QString()));
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_FONT_DPI", "96");
  QApplication app(argc, argv);
  if (argc != 2) {
    std::cerr << "usage: snoozlet-screenshots FOLDER\n";
    return 2;
  }
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  views::useRoomyStyle();
  views::installAccessibleRoles();
  QFont font(QStringLiteral("Inter"));
  font.setFamilies({QStringLiteral("Inter"), QStringLiteral("Noto Sans"), QStringLiteral("DejaVu Sans")});
  font.setPointSizeF(10);
  QApplication::setFont(font);
  shots::Writer out{QString::fromLocal8Bit(argv[1])};
  QDir().mkpath(out.folder);
  nightPages(out);
  popovers(out);
  mainWindow(out);
  reviews(out);
  welcome(out);
  tray(out);
  ribbons(out);
  shots::states(out);
  std::cout << "snoozlet-screenshots: " << out.written << " images in " << out.folder.toStdString() << "\n";
  return out.failed == 0 ? 0 : 1;
}
