// snoozlet-loggen: writes a generated power log for benchmarks and for
// timing the snoozlet command against wc and grep.
//
//   snoozlet-loggen week|storm|weeks N [--out FILE] [--seed N] [--tz ZONE] [--stats]

#include "LogGenerator.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

namespace {

int usage(const char* problem) {
  if (problem) std::fprintf(stderr, "snoozlet-loggen: %s\n", problem);
  std::fprintf(stderr,
               "usage: snoozlet-loggen week|storm|weeks N [--out FILE] [--seed N] [--tz ZONE] [--stats]\n"
               "  week      one week of a laptop in ordinary use\n"
               "  storm     one week whose nights are storms of dark wakes\n"
               "  weeks N   N consecutive ordinary weeks\n"
               "  --out     file to write (default: standard output)\n"
               "  --seed    seed of the generator (the same seed gives the same log)\n"
               "  --tz      IANA time zone of the stamps (default Europe/Istanbul)\n"
               "  --stats   print lines and bytes per domain to standard error\n");
  return 2;
}

std::optional<long long> number(const char* text) {
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, 0);
  if (errno != 0 || end == text || *end != '\0') return std::nullopt;
  return value;
}

void printStats(const snoozlet::bench::LogCensus& census) {
  std::fprintf(stderr, "%zu lines, %zu bytes (%.1f MB), %.0f bytes per line\n", census.lines, census.bytes,
               static_cast<double>(census.bytes) / 1e6,
               census.lines ? static_cast<double>(census.bytes) / static_cast<double>(census.lines) : 0.0);
  for (const auto& [domain, lines] : census.linesByDomain) {
    const std::size_t bytes = census.bytesByDomain.at(domain);
    std::fprintf(stderr, "  %-42s %8zu lines %5.1f%%  %10zu bytes %5.1f%%\n", domain.c_str(), lines,
                 100.0 * static_cast<double>(lines) / static_cast<double>(census.lines), bytes,
                 100.0 * static_cast<double>(bytes) / static_cast<double>(census.bytes));
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace snoozlet::bench;
  if (argc < 2) return usage(nullptr);
  LogPlan plan;
  int next = 2;
  const std::string shape = argv[1];
  if (shape == "week") {
    plan = ordinaryWeek();
  } else if (shape == "storm") {
    plan = stormWeek();
  } else if (shape == "weeks") {
    if (argc < 3) return usage("weeks needs a count");
    const auto count = number(argv[2]);
    if (!count || *count < 1 || *count > 520) return usage("the count of weeks must be 1 to 520");
    plan = ordinaryWeeks(static_cast<int>(*count));
    next = 3;
  } else if (shape == "-h" || shape == "--help") {
    usage(nullptr);
    return 0;
  } else {
    return usage(("unknown log '" + shape + "'").c_str());
  }

  std::string out;
  bool stats = false;
  for (int i = next; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--out" && hasValue) {
      out = argv[++i];
    } else if (argument == "--seed" && hasValue) {
      const auto seed = number(argv[++i]);
      if (!seed) return usage("--seed needs a number");
      plan.seed = static_cast<std::uint64_t>(*seed);
    } else if (argument == "--tz" && hasValue) {
      plan.timeZone = argv[++i];
    } else if (argument == "--stats") {
      stats = true;
    } else {
      return usage(("unknown or incomplete argument '" + argument + "'").c_str());
    }
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(nullptr, &std::fclose);
  std::FILE* target = stdout;
  if (!out.empty() && out != "-") {
    file.reset(std::fopen(out.c_str(), "wb"));
    if (!file) {
      std::fprintf(stderr, "snoozlet-loggen: cannot write %s: %s\n", out.c_str(), std::strerror(errno));
      return 1;
    }
    target = file.get();
  }
  LogCensus census;
  bool written = true;
  const bool known = writeLog(plan, [&](std::string_view block) {
    if (std::fwrite(block.data(), 1, block.size(), target) != block.size()) written = false;
    if (stats) census.add(block);
  });
  if (!known) {
    std::fprintf(stderr, "snoozlet-loggen: unknown time zone '%s'\n", plan.timeZone.c_str());
    return 2;
  }
  if (std::fflush(target) != 0 || !written) {
    std::fprintf(stderr, "snoozlet-loggen: write failed: %s\n", std::strerror(errno));
    return 1;
  }
  if (file && std::fclose(file.release()) != 0) {
    std::fprintf(stderr, "snoozlet-loggen: cannot close %s: %s\n", out.c_str(), std::strerror(errno));
    return 1;
  }
  if (stats) printStats(census);
  return 0;
}
