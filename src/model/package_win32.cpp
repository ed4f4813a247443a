#include "model/package_win32.h"

#include "model/builtin_record.h"
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

int LoadQuizPackage(QuizState* state, HMODULE module) {
    PackageRecords records;
    records.builtIn = {kBuiltInRecord, kBuiltInRecordSize};
    HGLOBAL resource104, resource105;
    records.record104 = FindRecord(module, 104, &resource104);
    records.record105 = FindRecord(module, 105, &resource105);
    // The loader works on copies, so the resources stay as they are.
    int parsed = LoadQuizPackage(state, records);
    if (resource104) FreeResource(resource104);
    if (resource105) FreeResource(resource105);
    if (parsed >= 2) ReplaceBackBrush(state);
    return parsed;
}

}  // namespace quiz
