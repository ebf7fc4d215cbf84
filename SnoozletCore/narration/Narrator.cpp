#include "narration/Narrator.h"

#include "common/Text.h"

#include <unicode/utf8.h>

#include <cmath>

#include <optional>
#include <vector>

namespace snoozlet {

namespace {

// The short wake sentence leads straight into the calm battery sentence; the
// detailed one stands on its own.
enum class WakeForm { brief, detailed };
enum class Tone { calm, restless, sleepless };
enum class CulpritForm { plain, also };

// Drain at or above this multiple of the normal is worth a comparison.
constexpr double kNotableRatio = 1.3;
// Less time on battery than this tells nothing about the drain.
constexpr double kMeasuredBatteryHours = 0.5;

struct MoodTexts {
  const char* headlineEn;
  const char* headlineTr;
  const char* napHeadlineEn;
  const char* napHeadlineTr;
  const char* closingEn;
  const char* closingTr;
};

const MoodTexts& moodTexts(Mood mood) {
  static const MoodTexts soundAsleep{"Good morning!",
                                     "Günaydın!",
                                     "What a lovely nap!",
                                     "Ne güzel bir şekerlemeydi!",
                                     "The teapot was nice and warm.",
                                     "Çaydanlığım sıcacıktı."};
  static const MoodTexts restless{"Morning… sort of.",
                                  "Günaydın… sayılır.",
                                  "Not much of a nap.",
                                  "Şekerleme dediğin böyle olmaz.",
                                  "I just couldn’t get comfy in the teapot.",
                                  "Çaydanlıkta bir türlü rahat edemedim."};
  static const MoodTexts sleepless{"I didn’t sleep a wink!",          "Gözümü bile kırpmadım!",
                                   "I didn’t sleep a wink!",          "Gözümü bile kırpmadım!",
                                   "I’ve listed the suspects below.", "Şüphelileri aşağıya yazdım."};
  switch (mood) {
    case Mood::restless: return restless;
    case Mood::sleepless: return sleepless;
    case Mood::soundAsleep: break;
  }
  return soundAsleep;
}

class Sentences {
 public:
  Sentences(const NightFormat& format, const NightReport& report, NightSource source)
      : f_(format),
        r_(report),
        tr_(format.language() == Language::turkish),
        batteryRecorded_(report.battery.first || source != NightSource::journal) {
    if (const ReasonGroup* top = report.topGroup())
      cause_ = std::string(wake_category::cause(top->category, format.language()));
  }

  std::string headline() const {
    const MoodTexts& t = moodTexts(r_.mood);
    if (r_.kind == SleepKind::daytimeNap) return tr_ ? t.napHeadlineTr : t.napHeadlineEn;
    return tr_ ? t.headlineTr : t.headlineEn;
  }

  std::string closing() const {
    const MoodTexts& t = moodTexts(r_.mood);
    return tr_ ? t.closingTr : t.closingEn;
  }

  std::string wake(WakeForm form) const { return tr_ ? wakeTurkish(form) : wakeEnglish(form); }

  // False for a Linux laptop's night without a single battery reading:
  // nothing can be said about its battery.
  bool batteryRecorded() const { return batteryRecorded_; }

  std::string battery(Tone tone) const {
    const BatteryTrend& b = r_.battery;
    if (!b.drop || !(b.batteryHours >= kMeasuredBatteryHours)) {
      return tr_ ? "Şarja takılıydım, pilin hiç derdi yoktu."
                 : "I was on the charger, so the battery had nothing to worry about.";
    }
    const int drop = *b.drop;
    const std::string d = std::to_string(drop);
    std::string s;
    switch (tone) {
      case Tone::calm:
        if (drop <= 0) return tr_ ? "pilin yerinden kıpırdamadı." : "your battery didn’t budge.";
        if (tr_) return "pilin sadece " + d + " puan gitti.";
        return drop == 1 ? "your battery lost just 1 point." : "your battery lost just " + d + " points.";
      case Tone::restless:
        if (tr_)
          s = "Pilin " + d + " puan gitti";
        else
          s = drop == 1 ? "Your battery lost 1 point" : "Your battery lost " + d + " points";
        break;
      case Tone::sleepless: {
        const std::string rate = f_.decimal(b.perHour.value_or(drop), 1);
        s = tr_ ? "Pilin saatte " + rate + " puan eridi" : "Your battery drained " + rate + " points an hour";
        break;
      }
    }
    if (r_.ratio && *r_.ratio >= kNotableRatio) {
      s += tr_ ? "; normalin " + f_.ratio(*r_.ratio) + " katı." : ", " + f_.times(*r_.ratio) + " your normal.";
    } else {
      s += ".";
    }
    return s;
  }

  // What the kernel counted around the night's sleeps (a Linux laptop with
  // the tray application running); nothing when nothing was read.
  std::optional<std::string> kernel() const {
    const auto counts = kernel_counts::summarize(r_.kernelSleeps);
    if (!counts) return std::nullopt;
    const Language l = f_.language();
    std::string s;
    const std::string n = std::to_string(counts->wakeups);
    const std::string top = counts->sources.empty() ? "" : kernel_counts::phrase(counts->sources.front(), l);
    if (tr_) {
      s = counts->wakeups == 0   ? "Çekirdek hiç uyanma saymadı"
          : counts->wakeups == 1 ? "Çekirdek 1 uyanma saydı; o da " + top + " yüzünden"
                                 : "Çekirdek " + n + " uyanma saydı, çoğu " + top + " yüzünden";
    } else {
      s = counts->wakeups == 0   ? "The kernel counted no wakes"
          : counts->wakeups == 1 ? "The kernel counted 1 wake, from " + top
                                 : "The kernel counted " + n + " wakes, mostly from " + top;
    }
    if (counts->hardwareShare) {
      const std::string percent = f_.share(*counts->hardwareShare);
      s += tr_ ? "; gecenin " + percent + " kadarını donanım uykusunda geçirdim"
               : "; I was in hardware sleep for " + percent + " of the night";
    }
    return s + ".";
  }

  std::string culprit(const HolderGroup& holder, CulpritForm form) const {
    const std::string d = f_.spokenDuration(holder.heldSeconds);
    const bool also = form == CulpritForm::also;
    if (tr_) {
      std::string s = holder.process;
      if (also) (s += " ") += Narrator::alsoParticle(holder.process);
      return s + " beni " + d + " ayakta tuttu.";
    }
    return holder.process + " " + (also ? "also " : "") + "kept me up for " + d + ".";
  }

 private:
  std::string wakeEnglish(WakeForm form) const {
    const int n = r_.darkWakeCount;
    const bool brief = form == WakeForm::brief;
    const char* lastNight = f_.isNight(r_.start()) ? " last night" : "";
    if (n <= 0) return std::string("I didn’t wake up once") + lastNight + (brief ? "; " : "");
    std::string s = "I woke up " + (n == 1 ? std::string("once") : std::to_string(n) + " times") + lastNight;
    if (!brief) s += " and lay awake for " + f_.spokenDuration(r_.awakeSeconds) + " in total";
    if (cause_) s += (n == 1 ? ", because of " : ", mostly because of ") + *cause_;
    if (brief) s += "; ";
    return s;
  }

  std::string wakeTurkish(WakeForm form) const {
    const int n = r_.darkWakeCount;
    const bool brief = form == WakeForm::brief;
    const std::string prefix = f_.isNight(r_.start()) ? "Gece" : "Uykumda";
    if (n <= 0) return prefix + " bir kez bile uyanmadım" + (brief ? "; " : "");
    std::string s = prefix + " " + std::to_string(n) + " kez uyandım";
    if (!brief) s += ", toplam " + f_.spokenDuration(r_.awakeSeconds) + " gözüm açık kaldı";
    if (cause_) {
      const char* lead = n == 1 ? "; o da " : (brief ? ", çoğu " : "; çoğu ");
      s += lead + *cause_ + " yüzünden";
    }
    if (brief) s += "; ";
    return s;
  }

  const NightFormat& f_;
  const NightReport& r_;
  bool tr_;
  bool batteryRecorded_;
  std::optional<std::string> cause_;
};

}  // namespace

std::string_view Narrator::alsoParticle(std::string_view name) {
  const std::string lower = text::toLower(name);
  const auto* bytes = reinterpret_cast<const uint8_t*>(lower.data());
  int32_t i = static_cast<int32_t>(lower.size());
  // Walk back over whole code points: "ı", "ö" and "ü" are two bytes each.
  while (i > 0) {
    UChar32 c = 0;
    U8_PREV(bytes, 0, i, c);
    switch (c) {
      case U'a':
      case U'ı':
      case U'o':
      case U'u': return "da";
      case U'e':
      case U'i':
      case U'ö':
      case U'ü': return "de";
      default: break;
    }
  }
  return "de";
}

std::string Narrator::speech(const NightReport& report) const {
  const Sentences s(format_, report, source_);
  std::vector<std::string> parts{s.headline()};
  const std::optional<HolderGroup> culprit = report.culprit();
  const bool battery = s.batteryRecorded();
  switch (report.mood) {
    case Mood::soundAsleep:
      // The short wake sentence ends in "; " and runs straight into the
      // battery; without one it ends there.
      if (battery) {
        parts.push_back(s.wake(WakeForm::brief) + s.battery(Tone::calm));
      } else {
        std::string wake = s.wake(WakeForm::brief);
        parts.push_back(wake.substr(0, wake.size() - 2) + ".");
      }
      break;
    case Mood::restless:
      parts.push_back(s.wake(WakeForm::detailed) + ".");
      if (battery) parts.push_back(s.battery(Tone::restless));
      if (culprit) parts.push_back(s.culprit(*culprit, CulpritForm::also));
      break;
    case Mood::sleepless:
      parts.push_back(culprit ? s.culprit(*culprit, CulpritForm::plain) : s.wake(WakeForm::detailed) + ".");
      if (battery) parts.push_back(s.battery(Tone::sleepless));
      break;
  }
  if (auto kernel = s.kernel()) parts.push_back(std::move(*kernel));
  parts.push_back(s.closing());
  return text::join(parts, " ");
}

std::string Narrator::plainSummary(const NightReport& report) const {
  const NightFormat& f = format_;
  const bool tr = f.language() == Language::turkish;
  std::vector<std::string> lines;

  lines.push_back(f.shortDay(report.start()) + " " + f.clock(report.start()) + "–" + f.clock(report.end()) + ": " +
                  f.duration(report.duration()) + (tr ? " uyku." : " asleep."));

  const ReasonGroup* top = report.topGroup();
  const std::string awake = f.duration(report.awakeSeconds);
  std::string wakes = std::to_string(report.darkWakeCount) + (tr ? " karanlık uyanma, toplam " + awake + " uyanık"
                                                                 : " dark wakes, " + awake + " awake in total");
  if (top != nullptr) {
    const std::string cause(wake_category::cause(top->category, f.language()));
    wakes += tr ? "; en çok " + cause + " yüzünden" : "; mostly " + cause;
  }
  lines.push_back(wakes + ".");

  const BatteryTrend& b = report.battery;
  const bool laptop = source_ == NightSource::journal;
  if (laptop && !b.first) {
    // No reading at all: nothing to say about the battery.
  } else if (b.first && b.last && b.drop) {
    std::string battery = (tr ? "Pil " : "Battery ") + f.percent(b.first->percent) + " → " + f.percent(b.last->percent);
    if (b.perHour) {
      const std::string rate = f.decimal(*b.perHour, 1);
      battery += tr ? ", saatte " + rate + " puan" : ", " + rate + " pts/h";
      if (report.ratio)
        battery += tr ? " (normalin " + f.ratio(*report.ratio) + " katı)" : " (" + f.times(*report.ratio) + " normal)";
    }
    lines.push_back(battery + ".");
  } else {
    lines.push_back(tr ? "Şarjdaydı." : "On the charger.");
  }

  if (const auto counts = kernel_counts::summarize(report.kernelSleeps)) {
    std::string line = (tr ? "Çekirdek: " : "Kernel: ") + std::to_string(counts->wakeups) +
                       (tr                     ? " uyanma"
                        : counts->wakeups == 1 ? " wake"
                                               : " wakes");
    if (!counts->sources.empty()) {
      line += (tr ? ", en çok " : ", mostly ") + kernel_counts::phrase(counts->sources.front(), f.language());
    }
    if (counts->hardwareShare) {
      const std::string percent = f.share(*counts->hardwareShare);
      line += tr ? "; donanım uykusu oranı " + percent : "; " + percent + " in hardware sleep";
    }
    lines.push_back(line + ".");
  }

  if (const std::optional<HolderGroup> culprit = report.culprit()) {
    const std::string held = f.duration(culprit->heldSeconds);
    lines.push_back(tr ? culprit->process + (laptop ? ", dizüstünü " : ", Mac’i ") + held + " uyanık tuttu."
                       : "Kept awake by " + culprit->process + " for " + held + ".");
  }
  return text::join(lines, " ");
}

}  // namespace snoozlet
