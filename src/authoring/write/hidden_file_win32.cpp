// Windows hides a file by an attribute, which its folder listing through
// std::filesystem does not carry: asked here of each file.
#include <windows.h>

#include "write/new_source.h"

namespace quizpack {

bool HiddenBySystem(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

}  // namespace quizpack
