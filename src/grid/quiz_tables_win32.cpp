#include "grid/quiz_tables_win32.h"

#include "model/package_win32.h"

namespace quiz {

QuizTables LoadQuizTables(HMODULE module) {
    const ResourceBytes letters = FindResourceBytes(module, kLetterCountTableId, kTableResourceType);
    const ResourceBytes places = FindResourceBytes(module, kAnswerPlaceTableId, kTableResourceType);
    return ReadQuizTables(letters.data, letters.size, places.data, places.size);
}

const QuizTables& CarriedTables() {
    // Read once: the tables never change while the program runs.
    static const QuizTables tables = LoadQuizTables(GetModuleHandleA(nullptr));
    return tables;
}

}  // namespace quiz
