#include "cli/JsonWriter.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace snoozlet {
namespace {

TEST(JsonWriterTest, PrettyLayoutNestsEscapesAndRefusesNonNumbers) {
  std::ostringstream out;
  {
    JsonWriter json(out);
    json.beginObject().member("a", 1).key("b").beginArray().value(true).null().value("x\"y").endArray();
    json.key("c").beginObject().endObject().member("d", 3.0).member("nan", std::nan(""));
    json.member("none", std::optional<int>()).key("e").beginArray().endArray();
    json.key("f").beginArray().beginObject().endObject().endArray().endObject();
  }
  EXPECT_EQ(out.str(),
            "{\n  \"a\": 1,\n  \"b\": [\n    true,\n    null,\n    \"x\\\"y\"\n  ],\n  \"c\": {},\n  \"d\": 3.0,\n"
            "  \"nan\": null,\n  \"none\": null,\n  \"e\": [],\n  \"f\": [\n    {}\n  ]\n}\n");
}

TEST(JsonWriterTest, CompactDocumentsLargerThanTheBufferRoundTrip) {
  // Strings longer than the writer's block, every control character, quotes,
  // backslashes and UTF-8; numbers JSON cannot hold become null.
  std::string awkward;
  for (int c = 1; c < 0x20; ++c) awkward.push_back(static_cast<char>(c));
  awkward += "\"\\ çay ☕";
  std::string huge;
  while (huge.size() < 300000) huge += awkward;
  std::ostringstream out;
  {
    JsonWriter json(out, JsonWriter::Style::compact);
    json.beginObject().member("huge", huge).key("numbers").beginArray();
    for (int i = 0; i < 20000; ++i) json.value(i * 0.25).value(static_cast<long long>(i) << 40);
    json.value(std::nan("")).value(1e300).value(-0.5).endArray().endObject();
  }
  const std::string text = out.str();
  EXPECT_EQ(text.find('\n'), text.size() - 1);
  const auto doc = nlohmann::json::parse(text);
  EXPECT_EQ(doc["huge"].get<std::string>(), huge);
  const auto& numbers = doc["numbers"];
  ASSERT_EQ(numbers.size(), 40003u);
  EXPECT_EQ(numbers[2 * 4001].get<double>(), 1000.25);
  EXPECT_EQ(numbers[2 * 4001 + 1].get<long long>(), 4001LL << 40);
  EXPECT_TRUE(numbers[40000].is_null());
  EXPECT_EQ(numbers[40001].get<double>(), 1e300);
  EXPECT_EQ(numbers[40002].get<double>(), -0.5);
  EXPECT_NE(text.find("\"numbers\":[0.0,0,0.25,"), std::string::npos);

  // Every ASCII byte at every place of a string as long as two words.
  for (int byte = 0; byte < 0x80; ++byte) {
    for (std::size_t at = 0; at < 16; ++at) {
      std::string s(16, 'a');
      s[at] = static_cast<char>(byte);
      std::ostringstream one;
      JsonWriter(one, JsonWriter::Style::compact).beginArray().value(s).endArray();
      ASSERT_EQ(nlohmann::json::parse(one.str())[0].get<std::string>(), s) << byte << " at " << at;
    }
  }
}

}  // namespace
}  // namespace snoozlet
