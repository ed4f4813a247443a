// LoadQuizPackage over arbitrary records. The first byte chooses how the rest
// is read: as three stored records, or as three plain records that are
// compressed first so that the parser sees every shape of decoded data.
// Byte 1 and bytes 2-3 give the lengths of the first two records.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "model/lzw.h"
#include "make/lzw_encode.h"
#include "model/package.h"

namespace {

std::vector<uint8_t> Compressed(const uint8_t* data, size_t size) {
    std::vector<uint8_t> stream;
    if (size) quiz::LzwEncode(data, size, &stream);
    return stream;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    bool plain = data[0] & 1;
    bool scramble = data[0] & 2;
    size_t first = data[1] % (quiz::kBuiltInRecordSize + 1);
    size_t second = (static_cast<size_t>(data[2]) << 8) | data[3];
    data += 4;
    size -= 4;
    if (first > size) first = size;
    if (second > size - first) second = size - first;
    std::vector<uint8_t> records[3] = {
        {data, data + first},
        {data + first, data + first + second},
        {data + first + second, data + size},
    };
    if (plain) {
        for (auto& r : records) r = Compressed(r.data(), r.size());
        if (records[0].size() > quiz::kBuiltInRecordSize) records[0].resize(quiz::kBuiltInRecordSize);
        if (scramble) {
            int key = 0;
            for (auto& r : records) quiz::ScrambleRecord(r.data(), r.size(), &key);
        }
    }
    // The built-in record is always its 70-byte array.
    records[0].resize(quiz::kBuiltInRecordSize, 0);

    quiz::QuizState state;
    quiz::QuizStateInit(&state);
    quiz::PackageRecords package;
    package.builtIn = {records[0].data(), records[0].size()};
    package.record104 = {records[1].data(), records[1].size()};
    package.record105 = {records[2].data(), records[2].size()};
    int parsed = quiz::LoadQuizPackage(&state, package);
    if (parsed < 0 || parsed > 3) std::abort();
    if (state.questionCount < 0 || state.questionCount > quiz::kMaxQuestions) std::abort();
    if (parsed == 3 && quiz::QuestionListLength(&state) != state.questionCount) std::abort();
    if (std::strlen(state.linkText) >= sizeof state.linkText) std::abort();
    if (std::strlen(state.statusText) >= sizeof state.statusText) std::abort();
    quiz::QuizStateReleaseQuestions(&state);
    return 0;
}
