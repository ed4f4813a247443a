// What the header's link may open: a web or mail address, nothing else. The
// link text goes to the shell's "open" verb, where a program's name or a
// share's path would start a program, and into a page's href, where
// "javascript:" would run.
#pragma once

#include <string>
#include <string_view>

namespace quiz {

// The address `linkText` opens: http://, https:// and mailto: as written,
// www. as https://www. (what the shell makes of it too), letters in any case;
// "" for anything else, an empty text included.
std::string LinkAddress(std::string_view linkText);

}  // namespace quiz
