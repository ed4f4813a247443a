// Makes the three stored records from a quiz held in memory. Its messages are
// for quiz authors: French, in UTF-8.
#include <cstdlib>

#include "model/alert.h"
#include "model/lzw.h"
#include "make/lzw_encode.h"
#include "model/stored_form.h"
#include "make/package_writer.h"

namespace quiz {

namespace {

bool Fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

// Appends `text` and its separator; checks it fits a field of `size` bytes.
bool AppendString(std::vector<uint8_t>* out, const std::string& text, size_t size,
                  const char* what, std::string* error) {
    if (text.find('|') != std::string::npos)
        return Fail(error, std::string(what) + " : un texte ne peut pas contenir « | »");
    if (text.find('\0') != std::string::npos)
        return Fail(error, std::string(what) + " : un texte ne peut pas contenir d'octet NUL");
    if (text.size() > size - 1)
        return Fail(error, std::string(what) + " : " + std::to_string(text.size()) +
                               " octets, " + std::to_string(size - 1) + " au plus");
    out->insert(out->end(), text.begin(), text.end());
    out->push_back(kStringSeparator);
    return true;
}

bool Compress(const std::vector<uint8_t>& plain, const char* what, std::vector<uint8_t>* out,
              std::string* error) {
    if (plain.size() > kLzwMaxOutput)
        return Fail(error, std::string(what) + " : " + std::to_string(plain.size()) +
                               " octets une fois décodé, " + std::to_string(kLzwMaxOutput) +
                               " au plus");
    LzwEncode(plain.data(), plain.size(), out);
    if (out->size() > kLzwMaxInput)
        return Fail(error, std::string(what) + " : " + std::to_string(out->size()) +
                               " octets une fois compressé, " + std::to_string(kLzwMaxInput) +
                               " au plus");
    return true;
}

bool DecodesAsStored(const uint8_t* data, size_t length) {
    uint8_t* out = nullptr;
    size_t outLength = 0;
    int result = LzwDecode(data, length, &out, &outLength);
    std::free(out);
    return result == kLzwOk;
}

}  // namespace

bool PlainBuiltInRecord(const QuizPackage& quiz, std::vector<uint8_t>* out, std::string* error) {
    out->assign(2, 0);  // two bytes the loader does not read
    return AppendString(out, quiz.linkText, kLinkTextSize, "linkText", error) &&
           AppendString(out, quiz.statusText, kStatusTextSize, "statusText", error);
}

bool PlainRecord104(const QuizPackage& quiz, std::vector<uint8_t>* out, std::string* error) {
    out->clear();
    if (quiz.questions.size() > static_cast<size_t>(kMaxQuestions))
        return Fail(error, "questions : " + std::to_string(quiz.questions.size()) + ", " +
                               std::to_string(kMaxQuestions) + " au plus");
    if (quiz.answersPerQuestion != 1 && quiz.answersPerQuestion != 2)
        return Fail(error, "answersPerQuestion : doit valoir 1 ou 2");
    if (quiz.quizKind < -1 || quiz.quizKind > 254)
        return Fail(error, "quizKind : doit valoir de -1 à 254");
    if (quiz.layoutType < 0 || quiz.layoutType > 255)
        return Fail(error, "layoutType : doit valoir de 0 à 255");
    out->push_back(0);  // not read by the loader
    out->push_back(static_cast<uint8_t>(quiz.quizKind + 1));
    out->push_back(static_cast<uint8_t>(quiz.questions.size()));
    out->push_back(static_cast<uint8_t>(quiz.answersPerQuestion));
    if (!AppendString(out, quiz.title, kTextSize, "title", error) ||
        !AppendString(out, quiz.author, kTextSize, "author", error) ||
        !AppendString(out, quiz.subtitle, kTextSize, "subtitle", error) ||
        !AppendString(out, quiz.answerCaption1, kTextSize, "answerCaption1", error) ||
        !AppendString(out, quiz.answerCaption2, kTextSize, "answerCaption2", error))
        return false;
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        const QuestionSource& q = quiz.questions[k];
        std::string where = "question " + std::to_string(k + 1) + " ";
        if (!AppendString(out, q.answer1, kTextSize, (where + "answer1").c_str(), error))
            return false;
        if (quiz.answersPerQuestion == 2 &&
            !AppendString(out, q.answer2, kTextSize, (where + "answer2").c_str(), error))
            return false;
        if (!AppendString(out, q.spareText, kTextSize, (where + "spareText").c_str(), error))
            return false;
    }
    out->push_back(static_cast<uint8_t>(quiz.layoutType));
    int strings = LayoutStringsPerQuestion(quiz.layoutType);
    for (size_t k = 0; k < quiz.questions.size() && strings > 0; ++k) {
        const QuestionSource& q = quiz.questions[k];
        std::string where = "question " + std::to_string(k + 1) + " ";
        if (!AppendString(out, q.extraText, kTextSize, (where + "extraText").c_str(), error))
            return false;
        if (strings == 2 &&
            !AppendString(out, q.extraText2, kTextSize, (where + "extraText2").c_str(), error))
            return false;
    }
    out->push_back(quiz.red);
    out->push_back(quiz.green);
    out->push_back(quiz.blue);
    return true;
}

bool PlainRecord105(const QuizPackage& quiz, std::vector<uint8_t>* out, std::string* error) {
    out->clear();
    if (quiz.questionLines.size() > quiz.questions.size())
        return Fail(error, "questionLines : " + std::to_string(quiz.questionLines.size()) +
                               " lignes pour " + std::to_string(quiz.questions.size()) +
                               " questions");
    for (size_t i = 0; i < quiz.questionLines.size(); ++i) {
        const std::string& line = quiz.questionLines[i];
        std::string where = "questionLines " + std::to_string(i + 1);
        if (line.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            return Fail(error, where + " : une ligne de code ne peut pas contenir de saut de "
                                       "ligne ni d'octet NUL");
        if (line.size() > kTextSize - 1)
            return Fail(error, where + " : " + std::to_string(line.size()) + " octets, " +
                                   std::to_string(kTextSize - 1) + " au plus");
        out->insert(out->end(), line.begin(), line.end());
        out->push_back('\r');
        out->push_back('\n');
    }
    // A stream always holds at least one byte; a quiz without code lines
    // stores an empty line, which no question reads.
    if (out->empty()) {
        out->push_back('\r');
        out->push_back('\n');
    }
    return true;
}

bool WritePackageRecords(const QuizPackage& quiz, ScrambleChoice scramble, StoredRecords* out,
                         std::string* error) {
    std::vector<uint8_t> plain, stream;
    if (!PlainBuiltInRecord(quiz, &plain, error) ||
        !Compress(plain, "enregistrement intégré", &stream, error))
        return false;
    if (stream.size() > kBuiltInRecordSize)
        return Fail(error, "enregistrement intégré : " + std::to_string(stream.size()) +
                               " octets une fois compressé, " +
                               std::to_string(kBuiltInRecordSize) +
                               " au plus (raccourcissez linkText ou statusText)");
    out->builtIn.fill(0);
    std::copy(stream.begin(), stream.end(), out->builtIn.begin());

    if (!PlainRecord104(quiz, &plain, error) ||
        !Compress(plain, "enregistrement 104", &out->record104, error))
        return false;
    if (!PlainRecord105(quiz, &plain, error) ||
        !Compress(plain, "enregistrement 105", &out->record105, error))
        return false;

    // The loader's key position moves only over the records it unscrambles.
    int keyPosition = 0;
    struct Target {
        bool chosen;
        uint8_t* data;
        size_t size;
        const char* name;
    } targets[] = {
        {scramble.builtIn, out->builtIn.data(), out->builtIn.size(), "enregistrement intégré"},
        {scramble.record104, out->record104.data(), out->record104.size(), "enregistrement 104"},
        {scramble.record105, out->record105.data(), out->record105.size(), "enregistrement 105"},
    };
    for (const Target& t : targets) {
        if (!t.chosen) continue;
        ScrambleRecord(t.data, t.size, &keyPosition);
        if (DecodesAsStored(t.data, t.size))
            return Fail(error, std::string(t.name) +
                                   " : brouillé, il se décode encore tel quel, le lecteur le "
                                   "lirait donc sans le débrouiller ; changez un texte ou "
                                   "stockez-le en clair");
    }
    // Nothing counts as written before the player's own loader reads it back.
    return VerifyStoredRecords(quiz, *out, error);
}

namespace {

int SilentAlert(void*, const char*, const char*, unsigned) { return kAlertOk; }

std::string Stored(const std::string& text) {
    char buffer[kTextSize];
    CopyText(buffer, kTextSize, text.c_str());
    TransformAnswerText(buffer);
    return buffer;
}

}  // namespace

bool VerifyStoredRecords(const QuizPackage& quiz, const StoredRecords& stored, std::string* error) {
    // The loader's own copies: it must not change the bytes it is given.
    StoredRecords copy = stored;
    PackageRecords records;
    records.builtIn = {copy.builtIn.data(), copy.builtIn.size()};
    records.record104 = {copy.record104.data(), copy.record104.size()};
    records.record105 = {copy.record105.data(), copy.record105.size()};
    QuizState* state = new QuizState;
    QuizStateInit(state);
    AlertHandler previous = nullptr;
    void* previousContext = nullptr;
    SetAlertHandler(&SilentAlert, nullptr, &previous, &previousContext);
    const int parsed = LoadQuizPackage(state, records);
    SetAlertHandler(previous, previousContext);

    std::string field;
    auto differs = [&](bool same, const std::string& name) {
        if (!same && field.empty()) field = name;
    };
    differs(parsed == 3, "enregistrements (le lecteur n'en relit que " + std::to_string(parsed) + ")");
    differs(quiz.linkText == state->linkText, "linkText");
    differs(quiz.statusText == state->statusText, "statusText");
    differs(quiz.quizKind == state->quizKind, "quizKind");
    differs(quiz.title == state->title, "title");
    differs(quiz.author == state->author, "author");
    differs(quiz.subtitle == state->subtitle, "subtitle");
    differs(quiz.answerCaption1 == state->answerCaption1, "answerCaption1");
    differs(quiz.answerCaption2 == state->answerCaption2, "answerCaption2");
    differs(static_cast<int>(quiz.questions.size()) == state->questionCount, "nombre de questions");
    differs(quiz.answersPerQuestion == state->answersPerQuestion, "answersPerQuestion");
    differs(quiz.layoutType == state->layoutType, "layoutType");
    differs(quiz.red == state->backRed && quiz.green == state->backGreen &&
                quiz.blue == state->backBlue,
            "background");
    const bool section = LayoutStringsPerQuestion(quiz.layoutType) > 0;
    const QuestionEntry* entry = state->firstQuestion;
    for (size_t k = 0; k < quiz.questions.size() && field.empty(); ++k) {
        const QuestionSource& q = quiz.questions[k];
        const std::string name = "question[" + std::to_string(k + 1) + "].";
        if (!entry) {
            differs(false, name + "answer");
            break;
        }
        differs(Stored(q.answer1) == entry->answer1, name + "answer");
        if (quiz.answersPerQuestion == 2) differs(Stored(q.answer2) == entry->answer2, name + "answers[2]");
        differs(q.spareText == entry->spareText, name + "spare");
        differs((section ? q.extraText : std::string()) == entry->extraText, name + "text");
        entry = entry->next;
    }
    for (size_t i = 0; i < quiz.questions.size() && i < kMaxQuestions && field.empty(); ++i) {
        const std::string line = i < quiz.questionLines.size() ? quiz.questionLines[i] : "";
        differs(line == state->questionLines[i], "question[" + std::to_string(i + 1) + "].code");
    }
    QuizStateReleaseQuestions(state);
    delete state;
    if (field.empty()) return true;
    return Fail(error, "le paquet relu comme le lecteur le lit diffère de la source : " + field);

}

std::vector<uint8_t> LetterCountTable(const std::vector<int>& counts) {
    std::vector<uint8_t> out;
    for (int count : counts) {
        out.push_back(static_cast<uint8_t>(count));
        out.push_back(static_cast<uint8_t>(count >> 8));
    }
    return out;
}

std::vector<uint8_t> AnswerPlaceTable(const std::vector<AnswerPlace>& places) {
    std::vector<uint8_t> out;
    for (const AnswerPlace& place : places)
        for (int32_t value : {place.left, place.top, place.width, place.height})
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
    return out;
}

}  // namespace quiz
