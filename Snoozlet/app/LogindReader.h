#pragma once

// logind's part of a Linux laptop's settings, asked over D-Bus: the lid
// actions it has in force (HandleLidSwitch, HandleLidSwitchExternalPower,
// HandleLidSwitchDocked, as it read its configuration, not a guess from the
// files), the inhibitors programs hold now (ListInhibitors) and whether it
// could suspend and then hibernate (CanSuspendThenHibernate).

#include "platform/linux/SystemRoot.h"
#include "settings/SystemSettings.h"

#include <QDBusConnection>

#include <functional>
#include <optional>

namespace snoozlet {

// What logind on `bus` answers; nothing when it isn't on the bus (it is
// never started for this) or doesn't answer its properties. Every call
// waits at most `timeoutMs`. Blocks: call it off the thread of the bus's
// own objects.
std::optional<LogindState> readLogind(const QDBusConnection& bus, int timeoutMs = 2000);

// The model's reader on a Linux laptop: the system bus's logind when the
// settings are the machine's own, or when the system bus was named for this
// run ($DBUS_SYSTEM_BUS_ADDRESS, a stand-in's); a tree of files standing
// for another laptop gets no answer from this machine's logind.
std::function<std::optional<LogindState>()> logindReader(const SystemRoot& root);

}  // namespace snoozlet
