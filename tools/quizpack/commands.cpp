#include "commands.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <nlohmann/json.hpp>
#include <ostream>
#include <vector>

#include "answers/answer_compare.h"
#include "model/alert.h"
#include "model/lzw.h"
#include "make/lzw_encode.h"
#include "model/package.h"
#include "model/stored_form.h"
#include "text/text.h"

namespace quizpack {

namespace {

constexpr size_t kMaxText = quiz::kTextSize - 1;

}  // namespace

namespace {

std::string Verdict(const std::string& expected, const std::string& typed) {
    return Cp1252ToUtf8(PlayerVerdict(expected, typed));
}

// A text the verdict can take: CP1252, no NUL, at most 259 bytes.
bool CheckVerdictText(const std::string& text, const char* what, std::string* error) {
    if (text.find('\0') != std::string::npos) {
        *error = std::string(what) + " contient un octet NUL";
        return false;
    }
    if (text.size() > kMaxText) {
        *error = std::string(what) + " fait " + std::to_string(text.size()) +
                 " octets ; une réponse en tient " + std::to_string(kMaxText) + " au plus";
        return false;
    }
    return true;
}

}  // namespace

int VerdictCommand(const std::string& expectedUtf8, const std::string& typedUtf8,
                   std::ostream& out, std::ostream& err) {
    std::string expected, typed, error;
    if (!Utf8ToCp1252(expectedUtf8, &expected, &error) ||
        !CheckVerdictText(expected, "EXPECTED", &error)) {
        err << "quizpack verdict : EXPECTED : " << error << "\n";
        return 2;
    }
    if (!Utf8ToCp1252(typedUtf8, &typed, &error) || !CheckVerdictText(typed, "TYPED", &error)) {
        err << "quizpack verdict : TYPED : " << error << "\n";
        return 2;
    }
    out << Verdict(expected, typed) << "\n";
    return 0;
}

int VerdictBatchCommand(std::istream& in, std::ostream& out, std::ostream& err) {
    // Every line is checked before anything is printed.
    std::vector<std::pair<std::string, std::string>> pairs;
    std::string line;
    for (size_t number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t tab = line.find('\t');
        std::string expected, typed, error;
        bool ok = tab != std::string::npos && line.find('\t', tab + 1) == std::string::npos;
        if (!ok) {
            error = "attendu ATTENDUHEX<TAB>TAPEHEX";
        } else if (!FromHex(std::string_view(line).substr(0, tab), &expected) ||
                   !FromHex(std::string_view(line).substr(tab + 1), &typed)) {
            error = "pas un nombre pair de chiffres hexadécimaux";
        } else if (CheckVerdictText(expected, "EXPECTED", &error) &&
                   CheckVerdictText(typed, "TYPED", &error)) {
            pairs.emplace_back(std::move(expected), std::move(typed));
            continue;
        }
        err << "quizpack verdict --batch : ligne " << number << " : " << error << "\n";
        return 2;
    }
    if (in.bad()) {
        err << "quizpack verdict --batch : impossible de lire l'entrée standard\n";
        return 2;
    }
    for (const auto& [expected, typed] : pairs) out << Verdict(expected, typed) << "\n";
    return 0;
}

int LzwEncodeCommand(const std::string& inPath, const std::string& outPath, std::ostream& err) {
    std::vector<uint8_t> data, stream;
    if (!ReadFileBytes(inPath, &data)) {
        err << "quizpack lzw encode : impossible de lire " << inPath << "\n";
        return 2;
    }
    if (!quiz::LzwEncode(data.data(), data.size(), &stream)) {
        err << "quizpack lzw encode : " << inPath
            << " est vide ; un flux contient toujours au moins un octet\n";
        return 1;
    }
    if (!WriteFileBytes(outPath, stream.data(), stream.size())) {
        err << "quizpack lzw encode : impossible d'écrire " << outPath << "\n";
        return 2;
    }
    if (data.size() > quiz::kLzwMaxOutput || stream.size() > quiz::kLzwMaxInput)
        err << "quizpack lzw encode : attention : le lecteur décode au plus "
            << quiz::kLzwMaxOutput << " octets tirés d'au plus " << quiz::kLzwMaxInput
            << " octets de flux ; celui-ci en fait " << data.size() << " tirés de "
            << stream.size() << "\n";
    return 0;
}

int LzwDecodeCommand(const std::string& inPath, const std::string& outPath, std::ostream& err) {
    std::vector<uint8_t> stream;
    if (!ReadFileBytes(inPath, &stream)) {
        err << "quizpack lzw decode : impossible de lire " << inPath << "\n";
        return 2;
    }
    uint8_t* out = nullptr;
    size_t length = 0;
    int result = quiz::LzwDecode(stream.data(), stream.size(), &out, &length);
    bool written = WriteFileBytes(outPath, out, length);
    std::free(out);
    if (!written) {
        err << "quizpack lzw decode : impossible d'écrire " << outPath << "\n";
        return 2;
    }
    if (result != quiz::kLzwOk) {
        err << "LzwDecode : résultat " << result << " après " << length
            << (length < 2 ? " octet\n" : " octets\n");
        return 1;
    }
    return 0;
}

namespace {

int CollectAlert(void* context, const char* text, const char* caption, unsigned) {
    static_cast<nlohmann::ordered_json*>(context)->push_back(
        {{"text", Cp1252ToUtf8(text)}, {"caption", Cp1252ToUtf8(caption)}});
    return quiz::kAlertOk;
}

// The plain text behind a stored answer, for people to read.
std::string UnstoredAnswer(const char* stored) {
    uint8_t inverse[256] = {};
    for (int b = 0; b < 256; ++b) inverse[quiz::EncodeAnswerByte(static_cast<uint8_t>(b))] =
        static_cast<uint8_t>(b);
    std::string plain;
    for (const char* p = stored; *p; ++p) plain.push_back(static_cast<char>(inverse[static_cast<uint8_t>(*p)]));
    return Cp1252ToUtf8(plain);
}

}  // namespace

namespace {

// The state the player would load from the three records, and its alerts.
void LoadRecords(const std::vector<uint8_t> (&files)[3], quiz::QuizState* state, nlohmann::ordered_json* alerts) {
    quiz::AlertHandler previous;
    void* previousContext;
    quiz::SetAlertHandler(&CollectAlert, alerts, &previous, &previousContext);
    quiz::PackageRecords records;
    records.builtIn = {files[0].data(), files[0].size()};
    records.record104 = {files[1].data(), files[1].size()};
    records.record105 = {files[2].data(), files[2].size()};
    quiz::LoadQuizPackage(state, records);
    quiz::SetAlertHandler(previous, previousContext);
}

nlohmann::ordered_json ReportOf(const quiz::QuizState& state, const nlohmann::ordered_json& alerts) {
    nlohmann::ordered_json report;
    report["alerts"] = alerts;
    report["linkText"] = Cp1252ToUtf8(state.linkText);
    report["statusText"] = Cp1252ToUtf8(state.statusText);
    report["quizKind"] = state.quizKind;
    report["title"] = Cp1252ToUtf8(state.title);
    report["author"] = Cp1252ToUtf8(state.author);
    report["subtitle"] = Cp1252ToUtf8(state.subtitle);
    report["answerCaption1"] = Cp1252ToUtf8(state.answerCaption1);
    report["answerCaption2"] = Cp1252ToUtf8(state.answerCaption2);
    report["questionCount"] = state.questionCount;
    report["answersPerQuestion"] = state.answersPerQuestion;
    report["layoutType"] = state.layoutType;
    report["background"] = {state.backRed, state.backGreen, state.backBlue};
    nlohmann::ordered_json questions = nlohmann::ordered_json::array();
    for (const quiz::QuestionEntry* e = state.firstQuestion; e; e = e->next)
        questions.push_back({{"answer1Hex", ToHex(e->answer1)},
                             {"answer2Hex", ToHex(e->answer2)},
                             {"answer1", UnstoredAnswer(e->answer1)},
                             {"answer2", UnstoredAnswer(e->answer2)},
                             {"spareText", Cp1252ToUtf8(e->spareText)},
                             {"extraText", Cp1252ToUtf8(e->extraText)}});
    report["questions"] = questions;
    nlohmann::ordered_json lines = nlohmann::ordered_json::array();
    for (int i = 0; i < state.questionCount && i < quiz::kMaxQuestions; ++i)
        lines.push_back(Cp1252ToUtf8(state.questionLines[i]));
    report["questionLines"] = lines;
    return report;
}

void PrintForPeople(const quiz::QuizState& state, const nlohmann::ordered_json& report, std::ostream& out) {
    out << "Alertes :";
    if (report["alerts"].empty()) out << " aucune";
    out << "\n";
    for (const auto& a : report["alerts"])
        out << "  " << a["caption"].get<std::string>() << " : " << a["text"].get<std::string>() << "\n";
    out << "Titre :             " << report["title"].get<std::string>() << "\n"
        << "Auteur :            " << report["author"].get<std::string>() << "\n"
        << "Sous-titre :        " << report["subtitle"].get<std::string>() << "\n"
        << "Texte du lien :     " << report["linkText"].get<std::string>() << "\n"
        << "Texte d'état :      " << report["statusText"].get<std::string>() << "\n"
        << "Genre de quiz :     " << state.quizKind << "\n"
        << "Questions :         " << state.questionCount << ", " << state.answersPerQuestion
        << " réponse(s) chacune\n"
        << "Titres des champs : " << report["answerCaption1"].get<std::string>() << " / "
        << report["answerCaption2"].get<std::string>() << "\n"
        << "Mise en page :      " << state.layoutType << "\n"
        << "Fond :              RVB(" << state.backRed << ", " << state.backGreen << ", " << state.backBlue << ")\n";
    int k = 1;
    for (const quiz::QuestionEntry* e = state.firstQuestion; e; e = e->next, ++k) {
        out << "Question " << k << " :\n"
            << "  réponse 1 :     " << UnstoredAnswer(e->answer1) << "  (stockée " << ToHex(e->answer1) << ")\n";
        if (state.answersPerQuestion == 2)
            out << "  réponse 2 :     " << UnstoredAnswer(e->answer2) << "  (stockée " << ToHex(e->answer2) << ")\n";
        if (e->spareText[0]) out << "  réserve :       " << Cp1252ToUtf8(e->spareText) << "\n";
        if (e->extraText[0]) out << "  texte :         " << Cp1252ToUtf8(e->extraText) << "\n";
        if (k <= state.questionCount && k <= quiz::kMaxQuestions)
            out << "  ligne de code : " << Cp1252ToUtf8(state.questionLines[k - 1]) << "\n";
    }
}

}  // namespace

int InspectCommand(const std::string& builtInPath, const std::string& record104Path,
                   const std::string& record105Path, bool json, std::ostream& out, std::ostream& err) {
    std::vector<uint8_t> files[3];
    const std::string* paths[3] = {&builtInPath, &record104Path, &record105Path};
    for (int i = 0; i < 3; ++i) {
        if (!ReadFileBytes(*paths[i], &files[i])) {
            err << "quizpack inspect : impossible de lire " << *paths[i] << "\n";
            return 2;
        }
    }
    // The player always reads 70 built-in bytes; a shorter file is the start
    // of the array, the rest zero. An empty file is a missing record.
    if (files[0].size() > quiz::kBuiltInRecordSize) {
        err << "quizpack inspect : " << builtInPath << " contient " << files[0].size()
            << " octets ; l'enregistrement intégré en tient " << quiz::kBuiltInRecordSize << "\n";
        return 2;
    }
    quiz::QuizState state;
    quiz::QuizStateInit(&state);
    nlohmann::ordered_json alerts = nlohmann::ordered_json::array();
    LoadRecords(files, &state, &alerts);
    const nlohmann::ordered_json report = ReportOf(state, alerts);
    if (json)
        out << report.dump(2) << "\n";
    else
        PrintForPeople(state, report, out);
    quiz::QuizStateReleaseQuestions(&state);
    return 0;
}

}  // namespace quizpack
