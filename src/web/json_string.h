// JSON strings of UTF-8 text: the page's data, which quizpack writes into the
// page, and the view the core gives the page's script.
#pragma once

#include <string>
#include <string_view>

namespace quiz {

// Where a JSON string goes: to JSON.parse as it stands, or inside the page's
// <script> element, where a text holding "</script>" would end it.
enum class JsonPlace { kParsed, kInScript };

// `utf8` as a JSON string, its quotes included: '"' and '\' escaped, the C0
// controls as \u00XX, and in a script '<' as \u003c too.
std::string JsonString(std::string_view utf8, JsonPlace place);

}  // namespace quiz
