#include "sessions/ActivityNames.h"

#include "common/Pattern.h"
#include "common/Text.h"

#include <algorithm>
#include <array>
#include <vector>

namespace snoozlet::ActivityNames {

namespace {

constexpr std::string_view kDasdPrefix = "com.apple.dasd:";
constexpr std::string_view kInvisibleAlarmPrefix = "com.apple.alarm.user-invisible-";

// The job name of "com.apple.dasd:<uid>:<job>": the third of at most three
// non-empty ":"-separated pieces (empty pieces are skipped and do not count
// as a split, so the job keeps any further colons). Nothing unless there are
// exactly three pieces.
std::optional<std::string_view> dasdJob(std::string_view identifier) {
  std::size_t pieces = 0, start = 0;
  while (pieces < 2) {
    const std::size_t colon = identifier.find(':', start);
    if (colon == std::string_view::npos) return std::nullopt;
    if (colon > start) ++pieces;
    start = colon + 1;
  }
  if (start >= identifier.size()) return std::nullopt;
  return identifier.substr(start);
}

// Drops a trailing "," followed only by digits (or by nothing).
std::string_view withoutCounter(std::string_view s) {
  const std::size_t comma = s.rfind(',');
  if (comma == std::string_view::npos) return s;
  const std::string_view after = s.substr(comma + 1);
  const bool allDigits = std::all_of(after.begin(), after.end(), [](char c) { return c >= '0' && c <= '9'; });
  return allDigits ? s.substr(0, comma) : s;
}

struct FriendlyRow {
  std::string_view key;
  std::string_view english;
  std::string_view turkish;
};

constexpr std::array<FriendlyRow, 24> kFriendly{{
    {"fileproviderd.background-download", "iCloud Drive downloads", "iCloud Drive indirmeleri"},
    {"filevault.healthanalytics", "FileVault health check", "FileVault sağlık denetimi"},
    {"searchd.heartbeat", "Spotlight heartbeat", "Spotlight yoklaması"},
    {"calaccessd.travelEngine", "Calendar travel-time refresh", "Takvim yol süresi tazeleme"},
    {"DHCP lease renewal", "Network address renewal (DHCP)", "Ağ adresi yenileme (DHCP)"},
    {"com.apple.obc", "Optimised Battery Charging", "Optimize Pil Şarjı"},
    {"mediaanalysisd", "Photos media analysis", "Fotoğraflar medya analizi"},
    {"osanalytics", "Analytics reports", "Analiz raporları"},
    {"CoreAnalytics", "Analytics reports", "Analiz raporları"},
    {"IntelligencePlatform", "Apple Intelligence indexing", "Apple Intelligence dizinleme"},
    {"biomesyncd", "Siri & app suggestions sync", "Siri ve öneri eşzamanlama"},
    {"Safari.SafeBrowsing", "Safari Safe Browsing update", "Safari güvenli tarama güncellemesi"},
    {"dataaccessd.fetch", "Mail & calendar fetch", "Posta ve takvim çekme"},
    {"Weekly Usage Report", "Screen Time weekly report", "Ekran Süresi haftalık raporu"},
    {"mlhostd", "On-device learning", "Cihaz üstü öğrenme"},
    {"coredata.cloudkit", "iCloud app data sync", "iCloud uygulama verisi eşzamanlama"},
    {"transparencyd", "Key transparency check", "Anahtar şeffaflığı denetimi"},
    {"cache_delete", "Disk space cleanup", "Disk alanı temizliği"},
    {"airportd", "Wi-Fi housekeeping", "Wi-Fi bakım işi"},
    {"softwareupdate", "Software Update", "Yazılım Güncelleme"},
    {"backupd", "Time Machine", "Time Machine"},
    {"CSPNEvaluation", "Periodic power check (powerd)", "powerd’nin periyodik denetimi"},
    {"TCPKATurnOff", "TCP keepalive switch-off", "TCP keepalive kapanışı"},
    {"hardhighengagementtimer", "Analytics timer", "Analiz zamanlayıcısı"},
}};

// The table's keys case-folded, built once.
const std::vector<std::string>& foldedKeys() {
  static const std::vector<std::string> keys = [] {
    std::vector<std::string> out;
    out.reserve(kFriendly.size());
    for (const auto& row : kFriendly) out.push_back(text::foldCase(row.key));
    return out;
  }();
  return keys;
}

}  // namespace

std::optional<std::string> activity(const std::optional<std::string>& identifier) {
  if (!identifier || identifier->empty()) return std::nullopt;
  std::string_view text = *identifier;
  if (text.starts_with(kDasdPrefix)) {
    if (const auto job = dasdJob(text)) text = *job;
  }
  if (text.starts_with(kInvisibleAlarmPrefix)) text.remove_prefix(kInvisibleAlarmPrefix.size());
  text = withoutCounter(text);

  static const Pattern uuid(R"(\.?[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12})");
  return uuid.replaceAll(text, "");
}

std::optional<std::string_view> friendly(std::string_view activity, Language language) {
  const std::string folded = text::foldCase(activity);
  const auto& keys = foldedKeys();
  for (std::size_t i = 0; i < kFriendly.size(); ++i) {
    if (folded.find(keys[i]) != std::string::npos)
      return language == Language::turkish ? kFriendly[i].turkish : kFriendly[i].english;
  }
  return std::nullopt;
}

}  // namespace snoozlet::ActivityNames
