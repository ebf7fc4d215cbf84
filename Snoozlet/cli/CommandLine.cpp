#include "cli/CommandLine.h"

#include <algorithm>
#include <array>

namespace snoozlet::cli {

namespace {

constexpr std::array<std::string_view, 3> kValued = {"--data-dir", "--pmset", "--lang"};

bool takesValue(std::string_view argument) {
  return std::find(kValued.begin(), kValued.end(), argument) != kValued.end();
}

Result<CommandLine> failure(std::string message) { return Result<CommandLine>::failure(Error{std::move(message)}); }

// Stores one global switch's value; an error text when it is unusable.
std::optional<std::string> store(CommandLine& line, std::string_view name, const std::string& value) {
  if (name == "--lang") {
    const auto language = languageFromString(value);
    if (!language) return "--lang needs en or tr";
    line.language = *language;
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
                                     const std::vector<std::string_view>& flags) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--help" || argument == "-h") {
      line.flags.insert("--help");
      continue;
    }
    if (const auto equals = argument.find('='); argument.starts_with("--") && equals != std::string::npos) {
      const std::string_view name = std::string_view(argument).substr(0, equals);
      if (!takesValue(name)) return failure("unknown argument '" + argument + "'");
      if (auto problem = store(line, name, argument.substr(equals + 1))) return failure(*problem);
      continue;
    }
    if (takesValue(argument)) {
      // A missing value reads as empty, which every switch refuses.
      const std::string value = i + 1 < arguments.size() ? arguments[++i] : std::string();
      if (auto problem = store(line, argument, value)) return failure(*problem);
      continue;
    }
    if (argument.starts_with("-") && argument != "-") {
      if (std::find(flags.begin(), flags.end(), argument) == flags.end()) {
        return failure("unknown argument '" + argument + "'");
      }
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
