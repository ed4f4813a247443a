#include "shell/link_address.h"

#include <algorithm>
#include <cstdint>

namespace quiz {

namespace {

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
    return text.size() > prefix.size() &&  // something must follow the prefix
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
               return p == ((t >= 'A' && t <= 'Z') ? static_cast<char>(t + 32) : t);
           });
}

// No address holds a space, a control character, a quote or an angle bracket.
bool AddressByte(char c) {
    const auto b = static_cast<uint8_t>(c);
    return b > 0x20 && b != 0x7F && c != '"' && c != '<' && c != '>' && c != '\\';
}

}  // namespace

std::string LinkAddress(std::string_view linkText) {
    if (!std::all_of(linkText.begin(), linkText.end(), AddressByte)) return "";
    for (std::string_view scheme : {"http://", "https://", "mailto:"})
        if (StartsWithFolded(linkText, scheme)) return std::string(linkText);
    if (StartsWithFolded(linkText, "www.")) return "https://" + std::string(linkText);
    return "";
}

}  // namespace quiz
