#include "cli/CommandLine.h"

#include <algorithm>
#include <array>

namespace snoozlet::cli {

namespace {

constexpr std::array<std::string_view, 4> kValued = {"--data-dir", "--pmset", "--lang", "--source"};

bool takesValue(std::string_view argument) {
  return std::find(kValued.begin(), kValued.end(), argument) != kValued.end();
}

bool listed(const std::vector<std::string_view>& names, std::string_view argument) {
  return std::find(names.begin(), names.end(), argument) != names.end();
}

Result<CommandLine> failure(std::string message) { return Result<CommandLine>::failure(Error{std::move(message)}); }

// Stores one global switch's value; an error text when it is unusable.
std::optional<std::string> store(CommandLine& line, std::string_view name, const std::string& value) {
  if (name == "--lang") {
    const auto language = languageFromString(value);
    if (!language) return "--lang needs en or tr";
    line.language = *language;
  } else if (name == "--source") {
    const auto source = nightSourceFromString(value);
    if (!source) return "--source needs pmset, journal or simulated";
    line.source = *source;
  } else if (value.empty()) {
    return std::string(name) + (name == "--pmset" ? " needs the path of a pmset executable" : " needs a folder");
  } else if (name == "--pmset") {
    line.pmset = value;
  } else {
    line.dataDir = value;
  }
  return std::nullopt;
}

}  // namespace

Result<CommandLine> parseCommandLine(const std::vector<std::string>& arguments,
                                     const std::vector<std::string_view>& flags,
                                     const std::vector<std::string_view>& valued) {
  CommandLine line;
  // A command's own switch keeps its value as given; the command checks it.
  const auto keep = [&](std::string_view name, std::string value) -> std::optional<std::string> {
    if (value.empty()) return std::string(name) + " needs a value";
    line.values.insert_or_assign(std::string(name), std::move(value));
    return std::nullopt;
  };
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      line.flags.insert("--help");
      continue;
    }
    if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
      const std::string_view name = std::string_view(argument).substr(0, equals);
      std::optional<std::string> problem;
      if (listed(valued, name)) {
        problem = keep(name, argument.substr(equals + 1));
      } else if (takesValue(name)) {
        problem = store(line, name, argument.substr(equals + 1));
      } else {
        return failure("unknown argument '" + argument + "'");
      }
      if (problem) return failure(*problem);
      continue;
    }
    if (listed(valued, argument)) {
      if (auto problem = keep(argument, i + 1 < arguments.size() ? arguments[++i] : std::string())) {
        return failure(*problem);
      }
      continue;
    }
    if (takesValue(argument)) {
      // A missing value reads as empty, which every switch refuses.
      const std::string value = i + 1 < arguments.size() ? arguments[++i] : std::string();
      if (auto problem = store(line, argument, value)) return failure(*problem);
      continue;
    }
    if (argument.starts_with("-") && argument != "-") {
      if (!listed(flags, argument)) return failure("unknown argument '" + argument + "'");
      line.flags.insert(argument);
      continue;
    }
    line.operands.push_back(argument);
  }
  return line;
}

std::optional<std::size_t> commandIndex(const std::vector<std::string>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (takesValue(arguments[i])) {
      ++i;  // its value
    } else if (!arguments[i].starts_with("-")) {
      return i;
    }
  }
  return std::nullopt;
}

}  // namespace snoozlet::cli
