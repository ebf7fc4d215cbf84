#pragma once

// The main window's sidebar: the application's name, the machine and the
// log's span above a list of the nights, the daytime naps and the three other
// pages. The list is an item model under a list view: each row's display
// text is its words (so type-ahead finds a night by its date), its accessible
// text adds the mood, section headers are not selectable, and Home and End go
// to the first and last page a user can choose. A refresh updates the rows in
// place; the selection follows the navigator, and only a user's selection
// changes the navigator's page.

#include "analysis/Mood.h"
#include "views/Navigator.h"

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;

namespace snoozlet {
class AppModel;
}

namespace snoozlet::views {

class SidebarModel : public QAbstractListModel {
  Q_OBJECT

 public:
  enum class Kind { header, night, page };
  enum Role { kindRole = Qt::UserRole, detailRole, moodRole, gapRole };

  struct Row {
    Kind kind = Kind::header;
    QString text;
    // The drain per hour, or the page's short state; right-aligned.
    QString detail;
    QString accessible;
    std::optional<Page> page;
    std::optional<Mood> mood;
    // Extra room above the row: the first of the pages.
    bool gap = false;
    bool operator==(const Row&) const = default;
  };

  explicit SidebarModel(const AppModel& model, QObject* parent = nullptr);

  // Reads the rows from the model again: changed words are data changes, a
  // changed set of rows a reset.
  void update();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The row of the page: a night page's night, or the page itself.
  QModelIndex indexOf(const Page& page) const;
  std::optional<Page> pageAt(const QModelIndex& index) const;

 private:
  std::vector<Row> rows() const;

  const AppModel& model_;
  std::vector<Row> rows_;
};

// Draws a row: a header in the caption font, a night with its moon, the
// detail on the right in the secondary colour.
class SidebarDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// A list view whose Home and End skip the section headers.
class SidebarList : public QListView {
  Q_OBJECT

 public:
  using QListView::QListView;

 protected:
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
};

class Sidebar : public QWidget {
  Q_OBJECT

 public:
  Sidebar(const AppModel& model, Navigator& navigator, QWidget* parent = nullptr);

  QListView* list() const { return list_; }
  SidebarModel* rows() const { return rows_; }

 private:
  void update();
  void selectPage();

  const AppModel& model_;
  Navigator& navigator_;
  SidebarModel* rows_;
  SidebarList* list_;
  QLabel* machine_;
  QLabel* span_;
  bool selecting_ = false;
};

}  // namespace snoozlet::views
