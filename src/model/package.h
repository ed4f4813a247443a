// The quiz package: three LZW records, optionally scrambled with a text key,
// parsed into the QuizState; and the writer that makes them from a quiz held
// in memory.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/quiz_state.h"

namespace quiz {

constexpr size_t kBuiltInRecordSize = 70;
// The built-in record travels as "PATCH" 103, beside records 104 and 105.
constexpr int kBuiltInRecordResourceId = 103;
constexpr int kPackageKeyLength = 21;
// "Grille vide à remplir" in CP1252, without its NUL.
extern const uint8_t kPackageKey[kPackageKeyLength];

constexpr uint8_t kStringSeparator = '|';

struct RecordBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;  // 0 stands for a missing record
};

struct PackageRecords {
    RecordBytes builtIn;    // the 70-byte built-in record
    RecordBytes record104;  // "PATCH" 104
    RecordBytes record105;  // "PATCH" 105
};

// Exclusive-or of bytes 1..length-1 with the key, continuing the key cycle at
// *keyPosition and leaving it where the record ends. Its own inverse.
void ScrambleRecord(uint8_t* data, size_t length, int* keyPosition);

// How many strings each question takes in the layout section of record 104:
// one for layouts 1, 2, 4, 7, 8; two for 3, 6, 9; none otherwise.
int LayoutStringsPerQuestion(int layoutType);

// Fills the state from the three records in order. A record that decodes
// neither as stored nor unscrambled, or that is malformed, raises the alert
// "Erreur dans le déchiffrage" / "Zarlo", sets questionCount to 0 and stops
// the load; what earlier records set stays. Returns the number of records
// parsed (0..3): from 2 on, the background colour was replaced and the
// caller makes the new background brush. The record bytes are not changed.
int LoadQuizPackage(QuizState* state, const PackageRecords& records);

}  // namespace quiz
