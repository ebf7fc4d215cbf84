// The views' costs: painting the full ribbon of the busiest demonstration
// night (354 wakes) at 1120 points into an image, building the whole night
// page for a report and showing another night on it, opening the main window
// on the history page with 1,000 archived nights to its first paint, a
// refresh of that open history page, and the popover from nothing to its
// first paint. Runs in a QApplication on the offscreen platform.

#include "PreviewModel.h"
#include "views/HistoryPage.h"
#include "views/MainView.h"
#include "views/MenuBarView.h"
#include "views/Navigator.h"
#include "views/NightPage.h"
#include "views/NightRibbon.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

using namespace snoozlet;

void BM_PaintFullRibbon(benchmark::State& state) {
  preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
  const NightReport night = *preview.model().analysis()->lastNight();
  views::NightRibbon ribbon;
  ribbon.setNight(night, NightFormat(Language::english, preview::zone()));
  ribbon.resize(1120, ribbon.sizeHint().height());
  QImage image(ribbon.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    image.fill(Qt::white);
    QPainter painter(&image);
    ribbon.render(&painter);
  }
  state.counters["wakes"] = static_cast<double>(night.darkWakeCount);
}
BENCHMARK(BM_PaintFullRibbon)->Unit(benchmark::kMillisecond);

void BM_BuildNightPage(benchmark::State& state) {
  preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
  views::Navigator navigator(preview.model());
  for (auto _ : state) {
    views::NightPage page(preview.model(), preview.changes(), navigator);
    page.resize(1120, 780);
    // Laid out, as a first paint would need it.
    page.widget()->adjustSize();
    benchmark::DoNotOptimize(page.widget()->sizeHint());
  }
}
BENCHMARK(BM_BuildNightPage)->Unit(benchmark::kMillisecond);

void BM_ShowAnotherNight(benchmark::State& state) {
  preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
  views::Navigator navigator(preview.model());
  views::NightPage page(preview.model(), preview.changes(), navigator);
  page.resize(1120, 780);
  const auto nights = preview.model().analysis()->nights();
  std::size_t next = 0;
  for (auto _ : state) {
    // The sidebar's next night, on the page already open.
    navigator.choose(views::Page::night(nights[next++ % nights.size()].start()));
    page.widget()->adjustSize();
    benchmark::DoNotOptimize(page.widget()->sizeHint());
  }
}
BENCHMARK(BM_ShowAnotherNight)->Unit(benchmark::kMillisecond);

void BM_OpenMainWindowOnHistory(benchmark::State& state) {
  preview::Contents contents = preview::Contents::of(preview::week(Mood::restless));
  contents.history = preview::archivedNights(1000);
  preview::PreviewModel preview(contents);
  views::Navigator navigator(preview.model());
  navigator.choose(views::Page::history());
  QImage image(1120, 780, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    // From nothing to the first paint of the window.
    views::MainView view(preview.model(), preview.changes(), navigator);
    view.resize(1120, 780);
    view.show();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QPainter painter(&image);
    view.render(&painter);
  }
}
BENCHMARK(BM_OpenMainWindowOnHistory)->Unit(benchmark::kMillisecond);

void BM_RefreshOpenHistoryPage(benchmark::State& state) {
  // Two mornings: the archive before and after a night was added (and its oldest dropped).
  preview::Contents contents = preview::Contents::of(preview::week(Mood::restless));
  contents.history = preview::archivedNights(1000);
  const Loaded before = preview::loaded(contents);
  ArchivedNight newer = contents.history->front();
  newer.start += 86400;
  newer.end += 86400;
  contents.history->insert(contents.history->begin(), newer);
  contents.history->pop_back();
  const Loaded after = preview::loaded(contents);
  preview::PreviewModel preview(contents);
  views::HistoryPage page(preview.model());
  page.resize(1120, 780);
  page.show();
  QImage image(1120, 780, QImage::Format_ARGB32_Premultiplied);
  bool next = false;
  for (auto _ : state) {
    // What the main thread does when a refresh is published, to the page's next paint.
    preview.model().publishLoaded(next ? after : before);
    next = !next;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QPainter painter(&image);
    page.render(&painter);
  }
}
BENCHMARK(BM_RefreshOpenHistoryPage)->Unit(benchmark::kMillisecond);

void BM_OpenPopover(benchmark::State& state) {
  preview::PreviewModel preview(preview::Contents::of(preview::week(Mood::restless)));
  QImage image(400, 700, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    // What a click on the tray icon does before the pixels reach the screen.
    views::MenuBarView view(preview.model(), {});
    view.adjustSize();
    view.show();
    QPainter painter(&image);
    view.render(&painter);
  }
}
BENCHMARK(BM_OpenPopover)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
