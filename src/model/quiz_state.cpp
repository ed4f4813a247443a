#include "model/quiz_state.h"

#include <cstring>
#include <new>

namespace quiz {

namespace {
QuizState* g_currentState = nullptr;
}

void CopyText(char* dest, int size, const char* source) {
    if (size <= 0) return;
    size_t length = source ? strnlen(source, static_cast<size_t>(size - 1)) : 0;
    std::memcpy(dest, source, length);
    dest[length] = '\0';
}

void QuizStateInit(QuizState* state) {
    std::memset(state, 0, sizeof *state);
    state->quizKind = 1;
    CopyText(state->title, kTextSize, "nom du zarlo");
    CopyText(state->author, kTextSize, " createur");
    state->questionCount = 2;
    state->backRed = 90;
    state->backGreen = 95;
    state->backBlue = 150;
    state->answersPerQuestion = 1;
    state->layoutType = 0;
    state->allFound = 0;
}

void QuizStateReleaseQuestions(QuizState* state) {
    QuestionEntry* entry = state->firstQuestion;
    while (entry) {
        QuestionEntry* next = entry->next;
        delete entry;
        entry = next;
    }
    state->firstQuestion = nullptr;
    state->lastQuestion = nullptr;
}

bool AddQuestion(QuizState* state, const char* answer1, const char* answer2,
                 const char* spareText) {
    auto* entry = new (std::nothrow) QuestionEntry;
    if (!entry) return false;
    std::memset(entry, 0, sizeof *entry);
    CopyText(entry->answer1, kTextSize, answer1);
    CopyText(entry->answer2, kTextSize, answer2);
    CopyText(entry->spareText, kTextSize, spareText);
    entry->previous = state->lastQuestion;
    if (state->lastQuestion)
        state->lastQuestion->next = entry;
    else
        state->firstQuestion = entry;
    state->lastQuestion = entry;
    return true;
}

QuestionEntry* QuestionAt(const QuizState* state, int k) {
    QuestionEntry* entry = state->firstQuestion;
    if (!entry) return nullptr;
    for (int i = 0; i < k && entry->next; ++i) entry = entry->next;
    return entry;
}

int QuestionListLength(const QuizState* state) {
    int count = 0;
    for (const QuestionEntry* e = state->firstQuestion; e; e = e->next) ++count;
    return count;
}

QuizState* CurrentQuizState() { return g_currentState; }
void SetCurrentQuizState(QuizState* state) { g_currentState = state; }

}  // namespace quiz
