#include "views/Style.h"

#include "views/Theme.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOption>

namespace snoozlet::views {

RoomyStyle::RoomyStyle(const QString& base) : QProxyStyle(QStyleFactory::create(base)) {}

QSize RoomyStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const {
  QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
  // A unit and a half on each side of a button's words.
  if (type == CT_PushButton) result.rwidth() += kUnit * 2;
  return result;
}

void useRoomyStyle() {
  if (qobject_cast<RoomyStyle*>(QApplication::style()) != nullptr) return;
  QApplication::setStyle(new RoomyStyle(QApplication::style()->name()));
}

}  // namespace snoozlet::views
