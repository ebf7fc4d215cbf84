#pragma once

// Reports, under the logging category "snoozlet.timing" (off unless
// QT_LOGGING_RULES="snoozlet.timing.debug=true"), how long a window took from
// the user's request to its first paint on screen. The tray benchmark reads
// these lines; they cost one event filter per window until it is painted.

#include <QElapsedTimer>
#include <QLoggingCategory>

class QWidget;

namespace snoozlet::shell {

Q_DECLARE_LOGGING_CATEGORY(lcTiming)

// Logs "<what> painted N ms after the request" once `window` is first painted.
// Call it after show(); nothing happens when the category is off.
void reportFirstPaint(QWidget* window, QElapsedTimer since, const char* what);

}  // namespace snoozlet::shell
