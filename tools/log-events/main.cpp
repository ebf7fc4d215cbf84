// snoozlet-events: prints the events of a captured power log with the wake
// category of every dark wake and full wake. A small inspection tool for
// support work and for checking new log captures.

#include "log/PowerLogParser.h"
#include "sessions/WakeClassifier.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

std::string shortened(const std::string& s, std::size_t width) {
  if (s.size() <= width) return s;
  std::size_t cut = width;
  while (cut > 0 && (static_cast<unsigned char>(s[cut]) & 0xC0) == 0x80) --cut;  // whole characters only
  return s.substr(0, cut) + "…";
}

std::string stamp(const snoozlet::LogEvent& e) {
  const auto local = static_cast<long long>(e.date) + e.utcOffset;
  const long long days = local >= 0 ? local / 86400 : (local - 86399) / 86400;
  const long long secs = local - days * 86400;
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%02lld:%02lld:%02lld", secs / 3600, secs / 60 % 60, secs % 60);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace snoozlet;
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
    std::cerr << "usage: snoozlet-events LOG...\n"
                 "Prints every event of a captured power log (pmset -g log) and the\n"
                 "category of each dark wake and full wake.\n";
    return argc < 2 ? 2 : 0;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream in(argv[i], std::ios::binary);
    if (!in) {
      std::cerr << "snoozlet-events: cannot read " << argv[i] << ": " << std::strerror(errno) << "\n";
      status = 2;
      continue;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const auto events = PowerLogParser::parse(bytes.str());
    std::cout << "== " << argv[i] << ": " << events.size() << " events\n";
    for (const auto& e : events) {
      const auto kind = e.domain.kind();
      std::string domain(e.domain.kind() == LogDomain::Kind::other ? e.domain.text() : toString(kind));
      std::cout << stamp(e) << "  " << shortened(domain, 14);
      for (std::size_t pad = std::min<std::size_t>(domain.size(), 15); pad < 15; ++pad) std::cout << ' ';
      std::cout << " " << shortened(e.message, 90) << "\n";
      if (kind == LogDomain::Kind::darkWake || kind == LogDomain::Kind::wake) {
        const std::string reason = PowerLogParser::dueReason(e);
        const WakeCategory category = WakeClassifier::classify(reason);
        std::cout << "          ↳ " << toString(category) << " — " << wake_category::title(category, Language::english)
                  << " (" << shortened(reason, 60) << ")\n";
      }
    }
  }
  return status;
}
