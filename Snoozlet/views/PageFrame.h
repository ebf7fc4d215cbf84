#pragma once

// The frame the main window's pages share: a scrolling area whose content
// sits in a column of reading width, centred, under the page's title and
// subtitle. A page fills the column anew whenever the model changes.

#include <QScrollArea>

class QLabel;
class QVBoxLayout;

namespace snoozlet::views {

class PageFrame : public QScrollArea {
  Q_OBJECT

 public:
  explicit PageFrame(QWidget* parent = nullptr);

 protected:
  // Starts a fresh column (the old content is deleted) with the title and
  // the lines under it (none when empty); returns the column to fill.
  QVBoxLayout* begin(const QString& title, const QStringList& lines);
  // The widget the column lives in, the parent of what goes into it.
  QWidget* content() const { return content_; }

 private:
  QWidget* content_ = nullptr;
};

// A section title inside a page.
QLabel* sectionTitle(const QString& text, QWidget* parent);

}  // namespace snoozlet::views
