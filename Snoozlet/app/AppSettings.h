#pragma once

#include <QObject>
#include <QSettings>

namespace snoozlet {

// The user's preferences, over a QSettings store (the application's own
// store in use, a temporary INI file in tests). Each flag is read once, when
// the object is created (a missing key reads as false), and written back as
// a Boolean under the same key every time it is set; the change signals fire
// only when a value really changes.
class AppSettings : public QObject {
  Q_OBJECT

 public:
  static constexpr const char* kPlainMode = "plainMode";
  static constexpr const char* kMorningNotification = "morningNotification";
  static constexpr const char* kWelcomeCompleted = "welcomeCompleted";

  // The store must outlive this object.
  explicit AppSettings(QSettings& store, QObject* parent = nullptr);

  // The morning report as a plain one-line summary instead of the mascot's speech.
  bool plainMode() const { return plainMode_; }
  // The once-a-night morning notification is allowed.
  bool morningNotification() const { return morningNotification_; }
  // The welcome window has been finished or closed.
  bool welcomeCompleted() const { return welcomeCompleted_; }

  void setPlainMode(bool on);
  void setMorningNotification(bool on);
  void setWelcomeCompleted(bool done);

  QSettings& store() const { return store_; }

 signals:
  void plainModeChanged(bool on);
  void morningNotificationChanged(bool on);
  void welcomeCompletedChanged(bool done);

 private:
  bool read(const char* key) const;
  void write(const char* key, bool value);

  QSettings& store_;
  bool plainMode_;
  bool morningNotification_;
  bool welcomeCompleted_;
};

}  // namespace snoozlet
