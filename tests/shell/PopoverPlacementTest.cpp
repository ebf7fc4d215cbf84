// Where the popover opens: under (or over) the tray icon, at the pointer, or
// as an ordinary window at the top of the screen, always on the screen.

#include "shell/PopoverPlacement.h"

#include <gtest/gtest.h>

namespace snoozlet::shell {
namespace {

TEST(PopoverPlacementTest, Table) {
  const QRect screen(0, 28, 1920, 1052);  // a top panel of 28 pixels
  const QSize size(360, 420);
  struct Row {
    const char* what;
    PopoverAnchor anchor;
    PopoverPlacement expected;
  };
  const std::vector<Row> rows = {
      {"under an icon in a top panel",
       {QRect(1000, 2, 24, 24), std::nullopt, screen},
       {QRect(1011 - 180, 26 + kPopoverGap, 360, 420), true}},
      {"kept on the screen at its right edge",
       {QRect(1890, 2, 24, 24), std::nullopt, screen},
       {QRect(1920 - 360, 26 + kPopoverGap, 360, 420), true}},
      {"over an icon in a bottom panel",
       {QRect(100, 1052, 24, 24), QPoint(5, 5), QRect(0, 0, 1920, 1050)},
       {QRect(0, 1052 - 1 - kPopoverGap - 419, 360, 420), true}},
      {"the pointer when the icon's place is unknown",
       {std::nullopt, QPoint(700, 10), screen},
       {QRect(520, 28, 360, 420), true}},
      {"under the pointer, clear of it",
       {std::nullopt, QPoint(700, 300), screen},
       {QRect(520, 300 + kPopoverGap, 360, 420), true}},
      {"pulled up to end at the screen's bottom edge",
       {std::nullopt, QPoint(700, 200), QRect(0, 28, 1920, 500)},
       {QRect(520, 528 - 420, 360, 420), true}},
      {"above the pointer low on the screen",
       {std::nullopt, QPoint(700, 1000), screen},
       {QRect(520, 1000 - kPopoverGap - 419, 360, 420), true}},
      {"an ordinary window with nothing known",
       {std::nullopt, std::nullopt, screen},
       {QRect(959 - 180 + 1, 28 + 8 * kPopoverGap, 360, 420), false}},
      {"an empty icon rectangle counts as unknown",
       {QRect(), std::nullopt, screen},
       {QRect(959 - 180 + 1, 28 + 8 * kPopoverGap, 360, 420), false}},
      {"a screen smaller than the popover: its top left corner",
       {QRect(10, 10, 20, 20), std::nullopt, QRect(0, 0, 300, 300)},
       {QRect(0, 0, 360, 420), true}},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(placePopover(size, row.anchor), row.expected) << row.what;
  }
}

}  // namespace
}  // namespace snoozlet::shell
