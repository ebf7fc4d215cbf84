#include "shell/StatusNotifierItem.h"

#include "shell/TeapotIcon.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QImage>
#include <QLoggingCategory>
#include <QMenu>
#include <QtEndian>

namespace snoozlet::shell {

Q_LOGGING_CATEGORY(lcTray, "snoozlet.tray")

QDBusArgument& operator<<(QDBusArgument& argument, const NotifierPixmap& pixmap) {
  argument.beginStructure();
  argument << pixmap.width << pixmap.height << pixmap.argb;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotifierPixmap& pixmap) {
  argument.beginStructure();
  argument >> pixmap.width >> pixmap.height >> pixmap.argb;
  argument.endStructure();
  return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const NotifierToolTip& tip) {
  argument.beginStructure();
  argument << tip.iconName << tip.pixmaps << tip.title << tip.text;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotifierToolTip& tip) {
  argument.beginStructure();
  argument >> tip.iconName >> tip.pixmaps >> tip.title >> tip.text;
  argument.endStructure();
  return argument;
}

namespace {

constexpr const char* kItemPath = "/StatusNotifierItem";
constexpr const char* kMenuPath = "/MenuBar";

// org.kde.StatusNotifierItem on the item's object.
class NotifierAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ category)
  Q_PROPERTY(QString Id READ id)
  Q_PROPERTY(QString Title READ title)
  Q_PROPERTY(QString Status READ status)
  Q_PROPERTY(int WindowId READ windowId)
  Q_PROPERTY(QString IconThemePath READ iconThemePath)
  Q_PROPERTY(QString IconName READ iconName)
  Q_PROPERTY(snoozlet::shell::NotifierPixmaps IconPixmap READ iconPixmap)
  Q_PROPERTY(QString OverlayIconName READ empty)
  Q_PROPERTY(snoozlet::shell::NotifierPixmaps OverlayIconPixmap READ noPixmaps)
  Q_PROPERTY(QString AttentionIconName READ empty)
  Q_PROPERTY(snoozlet::shell::NotifierPixmaps AttentionIconPixmap READ noPixmaps)
  Q_PROPERTY(QString AttentionMovieName READ empty)
  Q_PROPERTY(snoozlet::shell::NotifierToolTip ToolTip READ toolTip)
  Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
  Q_PROPERTY(QDBusObjectPath Menu READ menu)

 public:
  explicit NotifierAdaptor(StatusNotifierItem* item) : QDBusAbstractAdaptor(item), item_(item) {
    connect(item, &StatusNotifierItem::iconChanged, this, &NotifierAdaptor::NewIcon);
    connect(item, &StatusNotifierItem::toolTipChanged, this, &NotifierAdaptor::NewToolTip);
  }

  QString category() const { return QStringLiteral("ApplicationStatus"); }
  QString id() const { return QStringLiteral("snoozlet"); }
  QString title() const { return QStringLiteral("Snoozlet"); }
  QString status() const { return QStringLiteral("Active"); }
  int windowId() const { return 0; }
  QString iconThemePath() const { return {}; }
  QString iconName() const { return item_->iconName(); }
  NotifierPixmaps iconPixmap() const { return item_->pixmaps(); }
  QString empty() const { return {}; }
  NotifierPixmaps noPixmaps() const { return {}; }
  NotifierToolTip toolTip() const { return {{}, {}, item_->toolTip(), {}}; }
  bool itemIsMenu() const { return false; }
  QDBusObjectPath menu() const { return QDBusObjectPath(QString::fromLatin1(kMenuPath)); }

 public Q_SLOTS:
  void Activate(int x, int y) {
    // (0, 0) is what hosts send when they know no position (a keyboard, a list of hidden items).
    emit item_->activated(x == 0 && y == 0 ? std::nullopt : std::optional<QPoint>(QPoint(x, y)));
  }
  void SecondaryActivate(int, int) {}
  void ContextMenu(int x, int y) { emit item_->contextMenuRequested(QPoint(x, y)); }
  void Scroll(int, const QString&) {}

 Q_SIGNALS:
  void NewTitle();
  void NewIcon();
  void NewAttentionIcon();
  void NewOverlayIcon();
  void NewToolTip();
  void NewStatus(const QString& status);

 private:
  StatusNotifierItem* item_;
};

}  // namespace

StatusNotifierItem::StatusNotifierItem(QDBusConnection bus, QMenu* menu, QObject* parent)
    : QObject(parent), bus_(std::move(bus)), menu_(new DBusMenu(menu, this)) {
  static int instances = 0;
  qDBusRegisterMetaType<NotifierPixmap>();
  qDBusRegisterMetaType<NotifierPixmaps>();
  qDBusRegisterMetaType<NotifierToolTip>();
  service_ =
      QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(QCoreApplication::applicationPid()).arg(++instances);
  new NotifierAdaptor(this);
  if (!bus_.registerObject(QString::fromLatin1(kItemPath), this, QDBusConnection::ExportAdaptors) ||
      !bus_.registerObject(
          QString::fromLatin1(kMenuPath), menu_,
          QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals | QDBusConnection::ExportAllProperties) ||
      !bus_.registerService(service_)) {
    qCWarning(lcTray) << "cannot publish the status item on the session bus:" << bus_.lastError().message();
  }
}

StatusNotifierItem::~StatusNotifierItem() {
  bus_.unregisterService(service_);
  bus_.unregisterObject(QString::fromLatin1(kMenuPath));
  bus_.unregisterObject(QString::fromLatin1(kItemPath));
}

void StatusNotifierItem::registerWithWatcher() {
  QDBusMessage call = QDBusMessage::createMethodCall(
      QString::fromLatin1(kWatcherService), QString::fromLatin1(kWatcherPath), QString::fromLatin1(kWatcherService),
      QStringLiteral("RegisterStatusNotifierItem"));
  call << service_;
  auto* pending = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(pending, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* done) {
    if (done->isError()) qCWarning(lcTray) << "the tray did not take the status item:" << done->error().message();
    done->deleteLater();
  });
}

void StatusNotifierItem::setIcon(const QString& name, const QIcon& icon) {
  iconName_ = name;
  pixmaps_ = pixmapsOf(icon, teapotPixmapSizes());
  emit iconChanged();
}

void StatusNotifierItem::setToolTip(const QString& title) {
  if (title == toolTip_) return;
  toolTip_ = title;
  emit toolTipChanged();
}

NotifierPixmaps StatusNotifierItem::pixmapsOf(const QIcon& icon, const QList<int>& sizes) {
  NotifierPixmaps pixmaps;
  for (const int side : sizes) {
    const QImage image =
        icon.pixmap(QSize(side, side), 1.0).toImage().convertToFormat(QImage::Format_ARGB32).scaled(side, side);
    NotifierPixmap pixmap{image.width(), image.height(), {}};
    pixmap.argb.resize(qsizetype(image.width()) * image.height() * 4);
    auto* out = reinterpret_cast<uchar*>(pixmap.argb.data());
    for (int y = 0; y < image.height(); ++y) {
      const auto* line = reinterpret_cast<const quint32*>(image.constScanLine(y));
      for (int x = 0; x < image.width(); ++x, out += 4) qToBigEndian<quint32>(line[x], out);
    }
    pixmaps << pixmap;
  }
  return pixmaps;
}

}  // namespace snoozlet::shell

#include "StatusNotifierItem.moc"
