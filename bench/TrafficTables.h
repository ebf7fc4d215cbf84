#pragma once

// The texts the generated traffic is drawn from, copied in shape from real
// power logs: which processes take which assertions for how long, which
// drivers acknowledge slowly, which wakes are scheduled.

#include <array>
#include <string_view>

namespace snoozlet::bench::tables {

// One kind of assertion a process takes. A '#' in the name becomes a number.
struct AssertionKind {
  std::string_view process;
  int pid;
  std::string_view type;
  std::string_view name;
  double minSeconds;
  double maxSeconds;
  bool timesOut;  // ends with TimedOut rather than Released
  double weight;
};

// Daytime assertions, weighted by how often each shows up in a day of use.
inline constexpr std::array<AssertionKind, 24> kDaytime = {{
    {"WindowServer", 149, "UserIsActive",
     "com.apple.iohideventsystem.queue.tickle serviceID:10000044f service:AppleMultitouchDevice product:Apple "
     "Internal Keyboard / Trackpad eventType:11",
     60, 900, true, 9},
    {"WindowServer", 149, "UserIsActive",
     "com.apple.iohideventsystem.queue.tickle serviceID:100000446 service:AppleUserHIDEventService product:Apple "
     "Internal Keyboard / Trackpad eventType:3",
     60, 900, true, 7},
    {"coreaudiod", 195, "PreventUserIdleSystemSleep", "com.apple.audio.context#.preventuseridlesleep", 5, 2400, false,
     6},
    {"coreaudiod", 195, "PreventUserIdleDisplaySleep", "com.apple.audio.context#.preventuseridledisplaysleep", 5, 2400,
     false, 4},
    {"Google Chrome", 35723, "NoDisplaySleepAssertion", "Video Wake Lock", 3, 1800, false, 8},
    {"Google Chrome", 35723, "PreventUserIdleSystemSleep", "Playing audio", 10, 3000, false, 5},
    {"mds_stores", 412, "PreventUserIdleSystemSleep", "com.apple.metadata.mds_stores.power", 1, 180, false, 7},
    {"backupd", 1287, "PreventUserIdleSystemSleep", "Backup in progress", 60, 900, false, 2},
    {"backupd", 1287, "BackgroundTask", "com.apple.backupd.autoBackup", 30, 600, false, 1},
    {"apsd", 109, "ApplePushServiceTask", "com.apple.apsd-connectionestablish-push.apple.com", 1, 30, false, 5},
    {"nsurlsessiond", 388, "NetworkClientActive", "com.apple.nsurlsessiond.handlesession#", 2, 300, false, 4},
    {"cloudd", 521, "NetworkClientActive", "com.apple.cloudd.sync.zone#", 1, 60, false, 4},
    {"sharingd", 433, "PreventUserIdleSystemSleep", "Handoff", 5, 120, false, 2},
    {"Slack Helper", 8842, "PreventUserIdleDisplaySleep", "WebRTC has active PeerConnections", 60, 3000, false, 2},
    {"zoom.us", 9120, "PreventUserIdleDisplaySleep", "Zoom is in a meeting", 600, 3600, false, 1},
    {"powerd", 95, "InternalPreventSleep", "com.apple.powermanagement.acwakelinger", 1, 30, true, 2},
    {"financed", 430, "NetworkClientActive", "Wallet Refreshing Orders", 1, 10, false, 1},
    {"hidd", 93, "UserIsActive", "com.apple.iohideventsystem.queue.tickle.4294968377.#", 60, 600, true, 2},
    {"softwareupdated", 641, "PreventSystemSleep", "com.apple.softwareupdate.downloading", 60, 1200, false, 0.5},
    {"photoanalysisd", 702, "BackgroundTask", "com.apple.photoanalysisd.backgroundanalysis", 30, 900, false, 1},
    {"Spotify", 7733, "PreventUserIdleSystemSleep", "Spotify is playing", 60, 3600, false, 1.5},
    {"useractivityd", 377, "PreventUserIdleSystemSleep", "com.apple.useractivityd.advertisement", 1, 60, false, 1.5},
    {"com.apple.WebKit.WebContent", 5530, "NoDisplaySleepAssertion", "WebKit Media Playback", 30, 1800, false, 2},
    {"bluetoothd", 128, "PreventUserIdleSystemSleep", "com.apple.BTStack", 1, 20, false, 1.5},
}};

// Short assertions taken inside a dark wake, besides mDNSResponder's and powerd's own.
inline constexpr std::array<AssertionKind, 6> kDarkWake = {{
    {"apsd", 109, "ApplePushServiceTask", "com.apple.apsd-datareceived-push.apple.com", 1, 5, false, 4},
    {"cloudd", 521, "NetworkClientActive", "com.apple.cloudd.sync.zone#", 1, 8, false, 2},
    {"dasd", 302, "BackgroundTask", "com.apple.dasd.com.apple.fileproviderd.background-download", 1, 8, false, 2},
    {"backupd", 1287, "BackgroundTask", "com.apple.backupd.darkwake", 1, 8, false, 1},
    {"locationd", 181, "PreventUserIdleSystemSleep", "com.apple.locationd.wifi.scan", 1, 4, false, 1},
    {"nsurlsessiond", 388, "NetworkClientActive", "com.apple.nsurlsessiond.handlesession#", 1, 6, false, 1},
}};

// The system state printed in brackets after an assertion.
inline constexpr std::array<std::string_view, 8> kSystemFlags = {
    "[System: DeclUser kDisp]",
    "[System: PrevIdle DeclUser kDisp]",
    "[System: PrevIdle PrevDisp PrevSleep DeclUser IntPrevDisp kCPU kDisp]",
    "[System: DeclUser BGTask SRPrevSleep IPushSrvc kCPU kDisp]",
    "[System: PrevIdle DeclUser NetAcc kCPU kDisp]",
    "[System: PrevIdle PushSrvc SRPrevSleep kCPU]",
    "[System: DeclUser SRPrevSleep kCPU kDisp]",
    "[System: No Assertions]",
};

// Drivers that acknowledge power changes slowly ("<driver> driver is slow(msg: …)").
inline constexpr std::array<std::string_view, 18> kDrivers = {
    "Codec Output",
    "RTBuddy(GFX)",
    "AppleConvergedIPCOLYBTControl",
    "AppleMultiFunctionManager",
    "RTBuddy(ANS2)",
    "usb-drd2-port-ss",
    "AppleCS42L84Audio",
    "Port-USB-C",
    "AppleIntelFramebuffer",
    "AppleDeviceManagementHIDEventService",
    "IOSCSIPeripheralDeviceType00",
    "IOUSBMassStorageInterfaceNub",
    "AppleT8103PCIeC",
    "AppleBCMWLANCore",
    "AppleSmartBatteryManager",
    "AppleH13CamIn",
    "IOThunderboltSwitchType5",
    "AppleDCPDPTXProxy",
};
inline constexpr std::array<std::string_view, 3> kDriverMessages = {"SetState", "DidChangeState", "WillChangeState"};

// Daemons that acknowledge sleep slowly.
inline constexpr std::array<std::string_view, 7> kClients = {
    "com.apple.apsd",
    "mDNSResponder",
    "com.apple.bluetooth.sleep",
    "com.apple.networkd",
    "configd",
    "UserEventAgent",
    "com.apple.iokit.IOBluetoothSerialManager",
};

// Background activities scheduled through dasd.
inline constexpr std::array<std::string_view, 8> kActivities = {
    "com.apple.duetexpertd.everydayshortcuts",     "com.apple.fileproviderd.background-download",
    "com.apple.filevault.healthanalytics",         "com.apple.searchd.heartbeat",
    "com.apple.photoanalysisd.backgroundanalysis", "com.apple.softwareupdate.automatic-check",
    "com.apple.mobileassetd.auto-asset-download",  "com.apple.icloud.fmfd.heartbeat",
};

// What the wake-details line names as the driver that woke the machine.
inline constexpr std::array<std::string_view, 5> kDriverReasons = {
    "SMC.OutboxNotEmpty", "AOP.OutboxNotEmpty", "rtc", "wifibt", "NUB.SPMI0.SW3",
};

}  // namespace snoozlet::bench::tables
