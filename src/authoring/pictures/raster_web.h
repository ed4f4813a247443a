// JPEG in a browser: the page's own decoder, which works in the background,
// so a call that meets a JPEG not yet decoded says so, the page decodes what
// it asked for, one picture at a time and at the size asked, and calls again.
#pragma once

namespace quizpack {

// Whether the last calls met JPEG pictures the page has still to decode;
// forgotten by ForgetJpegsToDecode.
bool JpegsToDecode();
void ForgetJpegsToDecode();

}  // namespace quizpack
