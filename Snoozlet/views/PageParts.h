#pragma once

// Parts the pages build once and update in place: a big figure over its
// caption, and a titled list of rows (a title and a second line on the left,
// a figure on the right, a mark under them) that reuses its rows when the
// contents change and says so when the list is empty.

#include "views/Theme.h"

#include <QLabel>
#include <QWidget>

#include <optional>
#include <vector>

class QVBoxLayout;

namespace snoozlet::views {

// One big figure over its caption, with optional lines under it.
class FigureTile : public QWidget {
  Q_OBJECT

 public:
  FigureTile(const QString& name, QWidget* parent = nullptr);

  void setFigure(const QString& value, const QString& caption);
  // The line of this name under the caption; hidden when the text is empty.
  QLabel* line(const QString& name, std::optional<Tone> tone = Tone::secondary);
  void setLine(const QString& name, const QString& text, std::optional<Tone> tone = Tone::secondary);

 private:
  QLabel* value_;
  QLabel* caption_;
};

// A small rounded mark under a row, in a tone that follows the palette.
class Badge : public QLabel {
  Q_OBJECT

 public:
  Badge(Tone tone, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  Tone tone_;
};

struct DetailContent {
  QString title;
  QString detail;
  QString trailing;
  // A mark under the row; none when empty.
  QString badge;
  QString name;
  bool operator==(const DetailContent&) const = default;
};

// A row of an explanation section.
class DetailRow : public QWidget {
  Q_OBJECT

 public:
  explicit DetailRow(QWidget* parent = nullptr);
  void setContent(const DetailContent& content);

 private:
  QLabel* title_;
  QLabel* detail_;
  QLabel* trailing_;
  Badge* badge_;
};

// A section title over its rows, or over the sentence for no rows.
class RowList : public QWidget {
  Q_OBJECT

 public:
  explicit RowList(const QString& name, QWidget* parent = nullptr);

  void setTitle(const QString& title);
  void setRows(const std::vector<DetailContent>& rows, const QString& none);

 private:
  QLabel* title_;
  QVBoxLayout* rowsLayout_;
  std::vector<DetailRow*> rows_;
  QLabel* none_;
};

}  // namespace snoozlet::views
