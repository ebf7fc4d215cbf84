#pragma once

// The frame the main window's pages share: a scrolling area whose content
// sits in a column of reading width, from the left, under the page's title
// and the lines below it. The frame and its heading are made once; a page fills the
// column once and then updates what it placed there.

#include <QScrollArea>

class QLabel;
class QVBoxLayout;

namespace snoozlet::views {

class PageFrame : public QScrollArea {
  Q_OBJECT

 public:
  explicit PageFrame(QWidget* parent = nullptr);

 protected:
  // Sets the title and the lines under it (none when empty).
  void setHeading(const QString& title, const QStringList& lines);
  // The column under the heading, to fill.
  QVBoxLayout* column() const { return column_; }
  // The widget the column lives in, the parent of what goes into it.
  QWidget* content() const { return content_; }

 private:
  QWidget* content_;
  QVBoxLayout* column_;
  QLabel* title_;
  QWidget* lines_;
};

// A section title inside a page.
QLabel* sectionTitle(const QString& text, QWidget* parent);

}  // namespace snoozlet::views
