#include "sessions/Language.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace snoozlet {
namespace {

TEST(LanguageTest, RawValues) {
  EXPECT_EQ(toString(Language::english), "en");
  EXPECT_EQ(toString(Language::turkish), "tr");
  EXPECT_EQ(languageFromString("en"), Language::english);
  EXPECT_EQ(languageFromString("tr"), Language::turkish);
  EXPECT_EQ(languageFromString("TR"), std::nullopt);
  EXPECT_EQ(languageFromString("tr_TR"), std::nullopt);
  EXPECT_EQ(languageFromString(""), std::nullopt);
}

TEST(LanguageTest, FromLocaleName) {
  EXPECT_EQ(language::fromLocaleName("tr_TR.UTF-8"), Language::turkish);
  EXPECT_EQ(language::fromLocaleName("tr:en"), Language::turkish);
  EXPECT_EQ(language::fromLocaleName("tr"), Language::turkish);
  EXPECT_EQ(language::fromLocaleName("en:tr"), Language::english);
  EXPECT_EQ(language::fromLocaleName("en_US"), Language::english);
  EXPECT_EQ(language::fromLocaleName("C"), Language::english);
  EXPECT_EQ(language::fromLocaleName(""), Language::english);
}

// Saves the locale variables and restores them when the test ends.
class PreferredLanguageTest : public ::testing::Test {
 protected:
  static constexpr const char* kVariables[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};

  void SetUp() override {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      const char* value = std::getenv(kVariables[i]);
      saved_[i] = value ? std::optional<std::string>(value) : std::nullopt;
      ::unsetenv(kVariables[i]);
    }
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) {
      if (saved_[i])
        ::setenv(kVariables[i], saved_[i]->c_str(), 1);
      else
        ::unsetenv(kVariables[i]);
    }
  }

 private:
  std::optional<std::string> saved_[std::size(kVariables)];
};

TEST_F(PreferredLanguageTest, ReadsTheFirstNonEmptyVariableInOrder) {
  EXPECT_EQ(language::preferred(), Language::english);

  ::setenv("LANG", "tr_TR.UTF-8", 1);
  EXPECT_EQ(language::preferred(), Language::turkish);
  ::setenv("LC_MESSAGES", "en_GB.UTF-8", 1);
  EXPECT_EQ(language::preferred(), Language::english);
  ::setenv("LC_ALL", "tr_TR", 1);
  EXPECT_EQ(language::preferred(), Language::turkish);
  ::setenv("LANGUAGE", "en:tr", 1);
  EXPECT_EQ(language::preferred(), Language::english);

  // An empty variable is skipped.
  ::setenv("LANGUAGE", "", 1);
  EXPECT_EQ(language::preferred(), Language::turkish);
}

}  // namespace
}  // namespace snoozlet
