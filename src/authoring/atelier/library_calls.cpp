#include "atelier/library_calls.h"

#include "atelier/draft.h"

#include "judge/fields.h"
#include "sections/section.h"
#include "stages.h"
#include "web/json_string.h"
#include "write/answer_key.h"
#include "write/new_source.h"
#include "write/quiz_exe.h"
#include "write/scorm_package.h"

namespace quizpack {

namespace {

std::string Json(const std::string& utf8) { return quiz::JsonString(utf8, quiz::JsonPlace::kParsed); }

std::string ProblemsJson(const std::string& source, const std::vector<Problem>& problems) {
    std::string out = "[";
    for (const Problem& p : problems) {
        const FieldPlace place = PlaceOfField(p.field);
        out += std::string(out.size() > 1 ? "," : "") + "{\"line\":" + std::to_string(p.line > 0 ? p.line : 1) +
               ",\"field\":" + Json(p.field) + ",\"question\":" + std::to_string(place.where) +
               ",\"key\":" + Json(place.key) + ",\"warning\":" + (p.warning ? "1" : "0") +
               ",\"text\":" + Json(ProblemLine(source, p)) + "}";
    }
    return out + "]";
}

// French counts 0 and 1 in the singular.
std::string Counted(size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count < 2 ? one : many);
}

// What the author reads of the problems: quizpack check's last line.
std::string ProblemsMessage(const std::string& source, const std::vector<Problem>& problems, size_t questions) {
    size_t errors = 0, warnings = 0;
    for (const Problem& p : problems) ++(p.warning ? warnings : errors);
    if (errors == 0 && warnings == 0) return source + " : " + Counted(questions, "question", "questions") + ", aucun problème";
    std::string said = errors ? Counted(errors, "problème", "problèmes") + " dans " + source : "";
    if (warnings)
        said += (errors ? " et " : "") + Counted(warnings, "avertissement", "avertissements") +
                (errors ? "" : " dans " + source + " ; le quiz se construit quand même");
    return said;
}

Made Answer(bool ok, const std::string& name, size_t questions, const std::string& message,
            const std::string& problems, std::vector<uint8_t> bytes = {}) {
    return {"{\"ok\":" + std::string(ok ? "1" : "0") + ",\"name\":" + Json(name) + ",\"questions\":" +
                std::to_string(questions) + ",\"message\":" + Json(message) + ",\"problems\":" + problems + "}",
            ok ? std::move(bytes) : std::vector<uint8_t>()};
}

const char* KindWord(FieldType type) {
    switch (type) {
        case FieldType::Name: return "name";
        case FieldType::Version: return "version";
        case FieldType::Text: return "text";
        case FieldType::Link: return "link";
        case FieldType::Integer: return "integer";
        case FieldType::Boolean: return "boolean";
        case FieldType::Colour: return "colour";
        case FieldType::Picture: return "picture";
        case FieldType::Rectangle: return "rectangle";
        case FieldType::Answers: return "answers";
        case FieldType::List: return "list";
        case FieldType::Questions: return "questions";
    }
    return "";
}

std::string NamesJson(const std::vector<std::string>& names) {
    std::string out = "[";
    for (const std::string& name : names) out += (out.size() > 1 ? "," : "") + Json(name);
    return out + "]";
}

std::string ChoicesJson(const Field& f) {
    std::string out = "[";
    for (const FieldChoice& choice : ChoicesOf(f.name))
        out += std::string(out.size() > 1 ? "," : "") + "{\"value\":" + std::to_string(choice.value) +
               ",\"says\":" + Json(choice.says) + "}";
    return out + "]";
}

std::string RowsJson(const std::vector<Field>& rows) {
    std::string out = "[";
    for (const Field& f : rows)
        out += std::string(out.size() > 1 ? "," : "") + "{\"name\":" + Json(f.name) + ",\"label\":" + Json(f.label) + ",\"choices\":" + ChoicesJson(f) +
               ",\"kind\":" +
               Json(KindWord(f.type)) + ",\"min\":" + std::to_string(f.min) + ",\"max\":" + std::to_string(f.max) +
               ",\"default\":" + (f.fallback ? Json(f.fallback) : "null") + ",\"required\":" +
               (f.required ? "1" : "0") + ",\"help\":" + Json(f.help) + "}";
    return out + "]";
}

}  // namespace

FieldPlace PlaceOfField(const std::string& field) {
    FieldPlace place;
    std::string rest = field;
    if (rest.rfind("question[", 0) == 0) {
        const size_t close = rest.find(']');
        if (close == std::string::npos || close < 10 || close > 12) return {0, field};
        int number = 0;
        for (size_t i = 9; i < close; ++i) {
            if (rest[i] < '0' || rest[i] > '9') return {0, field};
            number = number * 10 + (rest[i] - '0');
        }
        place.where = number;
        rest = close + 2 <= rest.size() ? rest.substr(close + 2) : "";
    } else {
        for (const std::string& key : SectionKeys())
            if (rest.rfind(key + ".", 0) == 0 || rest == key) {
                place.where = kInSection;
                rest = rest == key ? "" : rest.substr(key.size() + 1);
            }
    }
    place.key = rest.substr(0, rest.find_first_of(".["));
    return place;
}

std::string FieldsTable() {
    std::string sections = "[";
    for (const SectionKind* kind : SectionKinds())
        sections += std::string(sections.size() > 1 ? "," : "") + "{\"key\":" + Json(kind->key) +
                    ",\"fewestQuestions\":" + std::to_string(kind->fewestQuestions) +
                    ",\"mostQuestions\":" + std::to_string(kind->mostQuestions) +
                    ",\"fields\":" + RowsJson(kind->ownFields) + ",\"made\":" + NamesJson(kind->madeQuestionFields) +
                    ",\"own\":" + NamesJson(kind->ownQuestionFields) + "}";
    return "{\"header\":" + RowsJson(kHeaderFields) + ",\"question\":" + RowsJson(kQuestionFields) +
           ",\"sections\":" + sections + "]}";
}

PreparedQuiz PrepareInMemory(const FilesInMemory& files, const std::string& source) {
    const ReadingFromMemory reading(&files);
    PreparedQuiz prepared;
    prepared.source = source;
    prepared.problems = PrepareQuiz(source, &prepared.quiz, &prepared.resources);
    return prepared;
}

Made CheckQuiz(const FilesInMemory& files, const std::string& source) { return CheckPrepared(PrepareInMemory(files, source)); }

Made CheckPrepared(const PreparedQuiz& p) {
    const size_t questions = p.quiz.questions.size();
    return Answer(!HasErrors(p.problems), "", questions, ProblemsMessage(p.source, p.problems, questions),
                  ProblemsJson(p.source, p.problems));
}

Made MakeQuiz(const FilesInMemory& files, const std::string& source, Making what, const CarriedFiles& carried) {
    return MakePrepared(PrepareInMemory(files, source), what, carried);
}

Made MakePrepared(const PreparedQuiz& prepared, Making what, const CarriedFiles& carried) {
    const QuizDefinition& quiz = prepared.quiz;
    const std::vector<Resource>& resources = prepared.resources;
    const std::vector<Problem>& problems = prepared.problems;
    const std::string& source = prepared.source;
    const size_t questions = quiz.questions.size();
    const std::string listed = ProblemsJson(source, problems);
    if (HasErrors(problems)) return Answer(false, "", questions, ProblemsMessage(source, problems, questions), listed);
    std::string error;
    std::vector<uint8_t> bytes;
    std::string name;
    bool made = false;
    switch (what) {
        case Making::kExe:
            name = quiz.executable + ".exe";
            made = MakeQuizExe(carried.stub, resources, &bytes, &error) && VerifyQuizExe(bytes, quiz, resources, &error);
            break;
        case Making::kPage: {
            name = quiz.executable + ".html";
            std::string html;
            made = MakeWebPage(quiz, resources, carried.core, carried.page, false, &html, &error);
            if (made && !PageCarriesTheQuiz(html, resources)) {
                error = "relue, la page ne porte pas les octets du quiz";
                made = false;
            }
            bytes.assign(html.begin(), html.end());
            break;
        }
        case Making::kScorm: {
            name = quiz.executable + ".zip";
            std::string html;
            made = MakeWebPage(quiz, resources, carried.core, carried.page, false, &html, &error);
            if (!made) break;
            bytes = MakeScormPackage(quiz, html);
            std::string why;
            made = PackageCarriesTheQuiz(bytes, quiz, resources, &why);
            if (!made) error = "relu, " + why;
            break;
        }
        case Making::kKey: {
            name = quiz.executable + "-corrige.png";
            RgbImage key;
            std::vector<std::string> lines;
            made = ComposeAnswerKey(quiz, &key, &lines, &error);
            if (made) bytes = EncodePng(key);
            made = made && !bytes.empty();
            break;
        }
    }
    if (!made) return Answer(false, "", questions, name + " : " + error, listed);
    return Answer(true, name, questions, name + " : " + Counted(questions, "question", "questions") + ", " +
                  std::to_string(bytes.size()) + " octets, relu", listed, std::move(bytes));
}

Made NewQuiz(const std::string& folderName, const std::vector<std::string>& names) {
    const std::vector<std::string> pictures = PicturesAmong(names);
    const std::string refusal = NewSourceRefusal(folderName, folderName, pictures);
    if (!refusal.empty()) return Answer(false, "", 0, refusal, "[]");
    const std::string source = NewQuizSource(folderName, pictures);
    return Answer(true, "quiz.toml", pictures.size(), "quiz.toml : " + Counted(pictures.size(), "question", "questions") +
                  ", une par image", "[]", std::vector<uint8_t>(source.begin(), source.end()));
}

}  // namespace quizpack
