#include "settings/Advisor.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <string>

#include "settings/FixCatalog.h"
#include "settings/SystemFixes.h"

namespace snoozlet::Advisor {

namespace {

// Holders at least this long are worth a suggestion.
constexpr double kHolderSeconds = 600;
// Floor on the night's length in hours, so that a very short session does not
// divide by (nearly) zero.
constexpr double kMinimumHoursAsleep = 0.1;
constexpr double kNetworkWakesPerHour = 12;
constexpr double kNetworkAwakeSeconds = 1200;
constexpr int kBackgroundWakes = 30;
constexpr double kBackgroundAwakeSeconds = 600;
// A device that woke a Linux laptop once may have been the user waking it in
// the morning; twice or more is worth a fix.
constexpr std::uint64_t kDeviceWakes = 2;

// The suggestions under construction, with the context every rule needs.
struct Builder {
  const NightFormat& format;
  // The fixes that could still change something on this Mac.
  std::set<FixID> available;
  std::vector<Suggestion> out;

  bool turkish() const { return format.language() == Language::turkish; }

  // Appends a fix suggestion unless the fix is unavailable or already listed.
  void offer(FixID id, const std::string& evidence) {
    if (!available.contains(id)) return;
    const bool listed = std::any_of(out.begin(), out.end(), [id](const Suggestion& s) { return s.kind.fixID() == id; });
    if (listed) return;
    const Language language = format.language();
    out.push_back({std::string(toString(id)), Suggestion::Kind::fix(id), FixCatalog::title(id, language), evidence,
                   FixCatalog::giveUp(id, language)});
  }
};

std::set<FixID> availableFixes(const std::optional<PowerSettings>& settings,
                               const std::optional<PowerCapabilities>& capabilities) {
  std::set<FixID> ids;
  if (!settings || !capabilities) return ids;
  for (const Fix& fix : FixCatalog::available(*settings, *capabilities)) ids.insert(fix.id);
  return ids;
}

void addCulprit(Builder& b, const NightReport& report, NightSource source) {
  const auto culprit = report.culprit();
  if (!culprit) return;
  const std::string held = b.format.duration(culprit->heldSeconds);
  Suggestion s{"quit-" + culprit->process, Suggestion::Kind::quitApp(culprit->process), {}, {}, std::nullopt};
  if (b.turkish()) {
    s.title = "Kapağı kapatmadan önce " + culprit->process + " uygulamasından çık";
    s.evidence = (source == NightSource::journal ? "Dizüstünün uyumasını " : "Mac’in uyumasını ") + held +
                 " engelledi (" + culprit->name + ").";
  } else {
    s.title = "Quit " + culprit->process + " before closing the lid";
    s.evidence = "It kept the " + std::string(source == NightSource::journal ? "laptop" : "Mac") +
                 " from sleeping for " + held + " (" + culprit->name + ").";
  }
  b.out.push_back(std::move(s));
}

void addNetworkFixes(Builder& b, const NightReport& report) {
  const ReasonGroup* network = report.group(WakeCategory::network);
  if (network == nullptr) return;
  double hours = (report.session.end - report.session.start) / 3600;
  if (!(hours >= kMinimumHoursAsleep)) hours = kMinimumHoursAsleep;
  const bool qualifies =
      network->count / hours >= kNetworkWakesPerHour || network->awakeSeconds >= kNetworkAwakeSeconds;
  if (!qualifies) return;
  const std::string count = std::to_string(network->count);
  const std::string awake = b.format.duration(network->awakeSeconds);
  const std::string evidence = b.turkish() ? count + " Wi-Fi ve Bluetooth uyanması, " + awake + " uyanık."
                                           : count + " Wi-Fi & Bluetooth wakes, " + awake + " awake.";
  for (FixID id : {FixID::wakeForNetworkOff, FixID::proximityWakeOff, FixID::tcpKeepAliveOff}) b.offer(id, evidence);
}

void addBackgroundFix(Builder& b, const NightReport& report) {
  int count = 0;
  double awakeSeconds = 0;
  for (WakeCategory category : {WakeCategory::backgroundTask, WakeCategory::maintenance}) {
    if (const ReasonGroup* group = report.group(category)) {
      count += group->count;
      awakeSeconds += group->awakeSeconds;
    }
  }
  if (count < kBackgroundWakes && awakeSeconds < kBackgroundAwakeSeconds) return;
  const std::string awake = b.format.duration(awakeSeconds);
  const std::string evidence =
      b.turkish() ? "Arka plan işleri ve bakım için " + std::to_string(count) + " uyanma, " + awake + " uyanık."
                  : std::to_string(count) + " wakes for background tasks and maintenance, " + awake + " awake.";
  b.offer(FixID::powerNapOff, evidence);
}

// A Linux fix, when it would change something here and is not yet listed.
void offerSystem(Builder& b, const SystemSettings& system, const SystemFix& fix, const std::string& evidence) {
  if (!SystemFixes::plan({fix}, system).systemSkipped.empty()) return;
  const bool listed =
      std::any_of(b.out.begin(), b.out.end(), [&](const Suggestion& s) { return s.kind.systemFix() == fix; });
  if (listed) return;
  const SystemFixes::Texts texts = SystemFixes::texts(fix, system, b.format.language());
  Suggestion s{fix.id(), Suggestion::Kind::systemFix(fix), texts.title, evidence, texts.giveUp};
  s.whatChanges = texts.whatChanges;
  b.out.push_back(std::move(s));
}

void addLinuxFixes(Builder& b, const NightReport& report, const SystemSettings& system) {
  const auto counts = kernel_counts::summarize(report.kernelSleeps);
  if (!counts) return;
  for (const SourceWakes& source : counts->sources) {
    if (source.wakeups < kDeviceWakes) continue;
    const std::string times = std::to_string(source.wakeups);
    offerSystem(b, system, {SystemFix::Kind::wakeupOff, source.device.empty() ? source.name : source.device},
                b.turkish() ? "Bu gece dizüstünü " + times + " kez uyandırdı (çekirdeğin sayımı)."
                            : "It woke the laptop " + times + " times this night (the kernel’s count).");
  }
  if (counts->hardwareShare && *counts->hardwareShare < SystemFixes::kPoorHardwareShare && system.memSleep == "s2idle") {
    const std::string percent = b.format.share(*counts->hardwareShare);
    offerSystem(b, system, {SystemFix::Kind::deepSleep, {}},
                b.turkish() ? "Gecenin yalnızca " + percent + " kadarı donanım uykusundaydı: s2idle’da donanım pek "
                                                              "uyumadı."
                            : "Only " + percent + " of the night was in hardware sleep: in s2idle the hardware hardly "
                                                  "slept.");
  }
}

void addUserTools(Builder& b, const NightReport& report) {
  std::set<std::string> suggested;
  for (const HolderGroup& holder : report.holders) {
    if (holder.origin != HolderOrigin::userTool || !(holder.heldSeconds >= kHolderSeconds)) continue;
    // A tool holding several assertions is one suggestion (its longest-held
    // group comes first), so that every suggestion keeps a distinct id.
    if (!suggested.insert(holder.process).second) continue;
    const std::string held = b.format.duration(holder.heldSeconds);
    Suggestion s{"tool-" + holder.process, Suggestion::Kind::info(), {}, {}, std::nullopt};
    if (b.turkish()) {
      s.title = holder.process + " uyanık kalmak istedi";
      s.evidence = "Bunu ya sen ya da bir betik istedi; " + held + " sürdü.";
    } else {
      s.title = holder.process + " asked to stay awake";
      s.evidence = "You or a script asked for this; it held on for " + held + ".";
    }
    b.out.push_back(std::move(s));
  }
}

void addFailure(Builder& b, const NightReport& report, NightSource source) {
  if (report.session.failures.empty()) return;
  if (source == NightSource::journal) {
    b.out.push_back(b.turkish() ? Suggestion{"failure", Suggestion::Kind::info(), "Linux bir uyku hatası kaydetti",
                                             "Dizüstünü yeniden başlat. Tekrarlarsa aynı satırlar “journalctl -b "
                                             "-u systemd-suspend” ile görülür.",
                                             std::nullopt}
                                : Suggestion{"failure", Suggestion::Kind::info(), "Linux logged a sleep failure",
                                             "Restart the laptop. If it happens again, “journalctl -b -u "
                                             "systemd-suspend” shows the same lines.",
                                             std::nullopt});
    return;
  }
  if (b.turkish()) {
    b.out.push_back({"failure", Suggestion::Kind::info(), "macOS bir uyku hatası kaydetti",
                     "Mac’i yeniden başlat. Tekrarlarsa Apple Destek aynı kaydı okuyabilir.", std::nullopt});
  } else {
    b.out.push_back({"failure", Suggestion::Kind::info(), "macOS logged a sleep failure",
                     "Restart the Mac. If it happens again, Apple Support can read the same log.", std::nullopt});
  }
}

}  // namespace

std::vector<Suggestion> suggestions(const NightReport& report, const std::optional<PowerSettings>& settings,
                                    const std::optional<PowerCapabilities>& capabilities, const NightFormat& format,
                                    NightSource source, const SystemSettings* system) {
  Builder b{format, availableFixes(settings, capabilities), {}};
  addCulprit(b, report, source);
  if (report.mood > Mood::soundAsleep) {
    addNetworkFixes(b, report);
    addBackgroundFix(b, report);
    if (system != nullptr) addLinuxFixes(b, report, *system);
  }
  addUserTools(b, report);
  addFailure(b, report, source);
  return std::move(b.out);
}

}  // namespace snoozlet::Advisor
