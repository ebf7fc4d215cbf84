#include "sessions/Language.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace snoozlet {
namespace {

TEST(LanguageTest, FromLocaleName) {
  const std::pair<const char*, Language> cases[] = {
      {"tr_TR.UTF-8", Language::turkish}, {"tr:en", Language::turkish},  {"tr", Language::turkish},
      {"en:tr", Language::english},       {"en_US", Language::english},  {"C", Language::english},
      {"", Language::english},            {"TR", Language::english},     {"en_tr", Language::english},
  };
  for (const auto& [name, language] : cases) EXPECT_EQ(language::fromLocaleName(name), language) << name;
}

TEST(LanguageTest, PreferredReadsTheFirstNonEmptyVariableInOrder) {
  const char* const variables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
  std::vector<std::unique_ptr<testing::ScopedEnv>> unset;
  for (const char* name : variables) unset.push_back(std::make_unique<testing::ScopedEnv>(name, nullptr));
  EXPECT_EQ(language::preferred(), Language::english);
  // Each variable set in turn, in reverse order of precedence, decides.
  const char* const values[] = {"en:tr", "tr_TR", "en_GB.UTF-8", "tr_TR.UTF-8"};
  std::vector<std::unique_ptr<testing::ScopedEnv>> set;
  for (int i = 3; i >= 0; --i) {
    set.push_back(std::make_unique<testing::ScopedEnv>(variables[i], values[i]));
    EXPECT_EQ(language::preferred(), language::fromLocaleName(values[i])) << variables[i];
  }
  // An empty variable is skipped.
  testing::ScopedEnv empty("LANGUAGE", "");
  EXPECT_EQ(language::preferred(), Language::turkish);
}

}  // namespace
}  // namespace snoozlet
