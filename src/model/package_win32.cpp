#include "model/package_win32.h"

#include "model/quiz_state_win32.h"

namespace quiz {

namespace {

// A missing resource reads as an empty record.
RecordBytes FindRecord(HMODULE module, int id, HGLOBAL* loaded) {
    *loaded = nullptr;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "PATCH");
    if (!found) return {};
    *loaded = LoadResource(module, found);
    if (!*loaded) return {};
    const void* bytes = LockResource(*loaded);
    if (!bytes) return {};
    return {static_cast<const uint8_t*>(bytes), SizeofResource(module, found)};
}

}  // namespace

ResourceBytes FindResourceBytes(HMODULE module, int id, const char* type) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {};
    return {static_cast<const uint8_t*>(bytes), SizeofResource(module, found)};
}

int LoadQuizPackage(QuizState* state, HMODULE module) {
    PackageRecords records;
    HGLOBAL builtIn, resource104, resource105;
    records.builtIn = FindRecord(module, kBuiltInRecordResourceId, &builtIn);
    records.record104 = FindRecord(module, 104, &resource104);
    records.record105 = FindRecord(module, 105, &resource105);
    // The loader works on copies, so the resources stay as they are.
    int parsed = LoadQuizPackage(state, records);
    for (HGLOBAL loaded : {builtIn, resource104, resource105})
        if (loaded) FreeResource(loaded);
    if (parsed >= 2) ReplaceBackBrush(state);
    return parsed;
}

bool CarriesQuiz(HMODULE module) {
    for (int id : {kBuiltInRecordResourceId, 104, 105})
        if (FindResourceA(module, MAKEINTRESOURCEA(id), "PATCH")) return true;
    return false;
}

}  // namespace quiz
