#include "model/stored_form.h"

namespace quiz {

void TransformAnswerText(char* text) {
    for (; *text; ++text)
        *text = static_cast<char>(StoredByte(static_cast<uint8_t>(*text)));
}

}  // namespace quiz
