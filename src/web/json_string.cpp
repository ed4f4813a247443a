#include "web/json_string.h"

#include <cstdio>

namespace quiz {

std::string JsonString(std::string_view utf8, JsonPlace place) {
    std::string out = "\"";
    for (char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '<' && place == JsonPlace::kInScript) {
            out += "\\u003c";
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

}  // namespace quiz
