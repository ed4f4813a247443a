// The one JSON string writer of the page's data and of the core's view,
// read back by nlohmann's parser, a reader of its own.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "web/json_string.h"

namespace quiz {
namespace {

TEST(JsonString, EveryTextReadsBackAsItWasInBothPlaces) {
    std::vector<std::string> texts = {"", "caf\xC3\xA9 \xE2\x82\xAC", "a\"b\\c/d", "</script><!--", "\xF0\x9F\x98\x80"};
    for (int b = 1; b < 0x80; ++b) texts.push_back(std::string("x") + char(b) + "y");
    for (const JsonPlace place : {JsonPlace::kParsed, JsonPlace::kInScript})
        for (const std::string& text : texts) {
            SCOPED_TRACE(text);
            const std::string json = JsonString(text, place);
            EXPECT_EQ(nlohmann::json::parse(json).get<std::string>(), text) << json;
            if (place == JsonPlace::kInScript) {
                EXPECT_EQ(json.find('<'), std::string::npos) << json;
            }
        }
}

TEST(JsonString, TheBytesThePageAndTheViewCarry) {
    EXPECT_EQ(JsonString("a\x01\n\x1F" "b", JsonPlace::kParsed), "\"a\\u0001\\u000a\\u001fb\"");
    EXPECT_EQ(JsonString("\"\\", JsonPlace::kParsed), "\"\\\"\\\\\"");
    EXPECT_EQ(JsonString("</p>", JsonPlace::kParsed), "\"</p>\"");  // JSON.parse needs no more
    EXPECT_EQ(JsonString("</p>", JsonPlace::kInScript), "\"\\u003c/p>\"");
    EXPECT_EQ(JsonString("\x7F\xC3\xA9", JsonPlace::kInScript), "\"\x7F\xC3\xA9\"");  // UTF-8 stays as it is
}

}  // namespace
}  // namespace quiz
