#include "web/web_game.h"

#include <cstdio>
#include <cstring>

#include "answers/answer_compare.h"
#include "answers/answer_rules.h"
#include "answers/play_steps.h"
#include "answers/progress_file.h"
#include "grid/grid_layout.h"
#include "model/cp1252.h"
#include "shell/link_address.h"
#include "web/json_string.h"

namespace quiz {

WebGame::WebGame() { QuizStateInit(&state); }
WebGame::~WebGame() { QuizStateReleaseQuestions(&state); }

namespace {

// The fields as the steps of play see them: each verdict is kept as the
// player's result label would read it.
WebGame& GameOf(void* context) { return *static_cast<WebGame*>(context); }

void CopyText(const std::string& from, char* text) {
    std::strncpy(text, from.c_str(), kTextSize - 1);
    text[kTextSize - 1] = '\0';
}

// A field the grid never built (a quiz of another kind) reads empty, as a
// missing control does in the player.
const WebField* FieldOf(void* context, int a) {
    const std::vector<WebField>& fields = GameOf(context).fields;
    return a >= 1 && a <= int(fields.size()) ? &fields[size_t(a - 1)] : nullptr;
}

void FieldText(void* context, int a, char* text) {
    const WebField* field = FieldOf(context, a);
    CopyText(field ? field->text : std::string(), text);
}

void VerdictText(void* context, int a, char* text) {
    const WebField* field = FieldOf(context, a);
    CopyText(field ? field->verdict : std::string(), text);
}
void SetVerdict(void* context, int a, const char* verdict) { GameOf(context).fields[size_t(a - 1)].verdict = verdict; }
void MarkFound(void* context, int q) { GameOf(context).questions[size_t(q)].found = true; }
void HideHint(void* context, int q) { GameOf(context).questions[size_t(q)].hintShown = false; }

// "Cacher" hides a found question in the view: the hint shows again with it.
void RevealHint(void* context, int q) {
    WebQuestion& question = GameOf(context).questions[size_t(q)];
    question.hintShown = question.hintShown || question.hasHint;
}

void ShowPicture(void* context, int q) { GameOf(context).questions[size_t(q)].marked = true; }
void ShowExtraText(void* context, int q, const char* text) { GameOf(context).questions[size_t(q)].hintText = text; }

void TypeAndJudge(void* context, int a, const char* text) { TypeAndCheck(&GameOf(context), a, text); }

PlayBoard BoardOf(WebGame* game) {
    return {game,       FieldText,   VerdictText,   SetVerdict,  MarkFound,
            HideHint,   RevealHint,  ShowPicture,   ShowExtraText, TypeAndJudge};
}

// The player's answer check of field a, over the fields instead of windows.
void Check(WebGame* game, int a) { CheckField(&game->state, BoardOf(game), a); }

void StartHint(const QuizState& state, const QuestionEntry* entry, WebQuestion* question) {
    const StartingHint hint = StartingHintOf(&state, entry);
    question->hasHint = hint.has;
    question->hintShown = hint.shown;
    question->hintText = hint.text;
}

void AppendJsonString(std::string* out, const std::string& cp1252) {
    *out += JsonString(Cp1252ToUtf8Text(cp1252), JsonPlace::kParsed);
}

// What a result label's brush says of its verdict; the page's style gives
// each kind its colour. An anagram has a brush of its own, apart from the
// hints', so it has a kind of its own.
const char* VerdictKind(LabelBrush brush) {
    switch (brush) {
        case LabelBrush::kGreen: return "right";
        case LabelBrush::kRed: return "wrong";
        case LabelBrush::kOrange: return "anagram";
        case LabelBrush::kAmber: return "hint";
        default: return "unjudged";
    }
}

}  // namespace

bool StartWebGame(WebGame* game, const PackageRecords& records, const uint8_t* letters, size_t lettersSize,
                  const uint8_t* places, size_t placesSize, const uint8_t* progress, size_t progressSize) {
    game->fingerprint = QuizFingerprint(records);
    const int parsed = LoadQuizPackage(&game->state, records);
    game->tables = ReadQuizTables(letters, lettersSize, places, placesSize);
    RestoreProgress(game, progress, progressSize);
    return parsed == 3;
}

void RestoreProgress(WebGame* game, const uint8_t* progress, size_t progressSize) {
    QuizState& state = game->state;
    for (int k = 0; k < state.questionCount; ++k)
        if (QuestionEntry* entry = QuestionAt(&state, k)) entry->found = 0;
    state.allFound = 0;
    // The grid builds rows for a picture quiz only: a quiz of another kind
    // has no question to show and no field to type in.
    const int count = state.quizKind == 1 ? state.questionCount : 0, perQuestion = state.answersPerQuestion;
    game->questions.assign(size_t(count > 0 ? count : 0), WebQuestion{});
    game->fields.assign(size_t(count > 0 ? count * perQuestion : 0), WebField{});
    size_t position = 0;
    for (int k = 1; k <= count; ++k) {
        const QuestionEntry* entry = QuestionAt(&state, k - 1);
        StartHint(state, entry, &game->questions[size_t(k - 1)]);
        for (int j = 1; j <= perQuestion; ++j) {
            const int a = AnswerNumber(k, j, perQuestion);
            const StartingField start = StartingFieldOf(&state, a, progress, progressSize, &position);
            game->fields[size_t(a - 1)].text = start.text;
            game->fields[size_t(a - 1)].hidden = start.hidden;
            Check(game, a);
        }
    }
}

std::string QuizFingerprint(const PackageRecords& records) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (const RecordBytes& record : {records.builtIn, records.record104, records.record105})
        for (size_t i = 0; i < record.size; ++i) hash = (hash ^ record.data[i]) * 16777619u;
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", unsigned(hash));
    return hex;
}

namespace {

bool HoldsAnswers(const WebGame& game) {
    for (const WebField& field : game.fields)
        if (!field.hidden && !field.text.empty()) return true;
    return false;
}

}  // namespace

void NoteQuizChange(WebGame* game, const std::string& keptFingerprint) {
    game->notice.clear();
    if (keptFingerprint.empty() || keptFingerprint == game->fingerprint || !HoldsAnswers(*game)) return;
    game->notice = "Ce quiz a chang\xE9 depuis que vos r\xE9ponses ont \xE9t\xE9 gard\xE9" "es : elles sont reprises "
                   "et jug\xE9" "es \xE0 nouveau.";
}

ChosenFile ReadChosenFile(const WebGame& game, const uint8_t* data, size_t size) {
    ChosenFile out;
    const size_t fields = game.fields.size();
    if (fields == 0) {
        out.message = "Ce quiz n'a pas de champ de r\xE9ponse : il n'y a rien \xE0 reprendre.";
        return out;
    }
    const ChosenProgress read = ReadChosenProgress(data, size);
    const char* refused = read.kind == ChosenProgressKind::kTooLarge ? "Ce fichier est trop grand pour \xEAtre un fichier de r\xE9ponses"
                        : read.kind == ChosenProgressKind::kBinary   ? "Ce fichier n'est pas du texte : ce n'est pas un fichier de r\xE9ponses"
                        : read.kind == ChosenProgressKind::kEmpty    ? "Ce fichier ne porte aucune r\xE9ponse"
                                                                     : nullptr;
    const std::vector<std::string>& lines = read.lines;
    // A line for every field, and none with text beyond them, is the shape
    // of this quiz's file. Another shape may still be this quiz's, from
    // before the author added or removed a question: then some answer in it
    // is right here.
    bool shaped = lines.size() >= fields;
    for (size_t i = fields; i < lines.size(); ++i) shaped = shaped && lines[i].empty();
    int right = 0;
    for (size_t i = 0; i < fields && i < lines.size(); ++i)
        right += !game.fields[i].hidden && VerdictFor(&game.state, int(i + 1), lines[i].c_str()) == std::string(kVerdictBravo);
    char said[200];
    if (!refused && !shaped && right == 0) {
        std::snprintf(said, sizeof said, "Ce fichier vient sans doute d'un autre quiz : %zu ligne%s pour les %zu champs de "
                      "celui-ci, et pas une r\xE9ponse juste", lines.size(), lines.size() > 1 ? "s" : "", fields);
        refused = said;
    }
    if (refused) {
        out.message = std::string(refused) + " ; rien n'a chang\xE9.";
        return out;
    }
    out.ok = true;
    out.replaces = HoldsAnswers(game);
    for (size_t i = 0; i < fields; ++i) out.progress += (i < lines.size() ? lines[i] : std::string()) + "\r\n";
    std::snprintf(said, sizeof said, "r\xE9ponses reprises, %d juste%s", right, right > 1 ? "s" : "");
    out.message = said;
    return out;
}

void TypeAndCheck(WebGame* game, int a, const std::string& text) {
    if (a < 1 || a > int(game->fields.size())) return;
    game->fields[size_t(a - 1)].text = text.substr(0, kAnswerFieldLimit);
    Check(game, a);
}

void FillOpenFields(WebGame* game, int a) {
    if (a >= 1 && a <= int(game->fields.size())) FillOpenFields(&game->state, BoardOf(game), a);
}

void SetHideFound(WebGame* game, bool hide) { game->hideFound = hide; }

bool QuestionHidden(const WebGame& game, int k) {
    return game.hideFound && k >= 1 && k <= int(game.questions.size()) && game.questions[size_t(k - 1)].found;
}

// The score only reads the board: nothing of the game changes.
std::string ScoreText(const WebGame& game) { return ScoreOf(&game.state, BoardOf(const_cast<WebGame*>(&game))).score; }

// Without fields no score update ever runs: the code field stays empty.
std::string CodeText(const WebGame& game) {
    return game.fields.empty() ? "" : ScoreOf(&game.state, BoardOf(const_cast<WebGame*>(&game))).code;
}

std::string ProgressBytes(const WebGame& game) {
    std::string bytes;
    for (const WebField& field : game.fields) bytes += field.text + "\r\n";
    return bytes;
}

std::string GameViewJson(const WebGame& game) {
    const QuizState& s = game.state;
    std::string out = "{";
    auto text = [&](const char* key, const std::string& value) {
        out += std::string(out.size() > 1 ? "," : "") + "\"" + key + "\":";
        AppendJsonString(&out, value);
    };
    auto number = [&](const char* key, long value) {
        out += std::string(out.size() > 1 ? "," : "") + "\"" + key + "\":" + std::to_string(value);
    };
    text("title", s.title), text("subtitle", s.subtitle), text("author", s.author), text("link", s.linkText);
    text("href", LinkAddress(s.linkText));  // "": the page shows no link
    text("status", s.statusText), text("caption1", s.answerCaption1), text("caption2", s.answerCaption2);
    text("score", ScoreText(game)), text("code", CodeText(game)), text("alert", game.alert);
    text("fingerprint", game.fingerprint), text("notice", game.notice);
    number("quizKind", s.quizKind), number("perQuestion", s.answersPerQuestion), number("layout", s.layoutType);
    number("background", (long(s.backRed) << 16) | (s.backGreen << 8) | s.backBlue);
    number("hideFound", game.hideFound);
    // The labels' ink on the background, as the grid paints its number labels.
    text("ink", ChooseGridLabelPaint(&s, kNumberLabelBase + 1, nullptr).textColour == 0 ? "dark" : "light");
    out += ",\"questions\":[";
    for (size_t q = 0; q < game.questions.size(); ++q) {
        const WebQuestion& question = game.questions[q];
        AnswerPlace place{};
        const bool placed = AnswerPlaceOf(game.tables, int(q + 1), &place);
        out += std::string(q ? "," : "") + "{\"found\":" + (question.found ? "1" : "0") +
               ",\"marked\":" + (question.marked && placed ? "1" : "0") +
               ",\"hidden\":" + (QuestionHidden(game, int(q + 1)) ? "1" : "0") +
               ",\"letters\":" + std::to_string(LetterCountOf(game.tables, int(q + 1))) +
               ",\"place\":" + (placed ? "[" + std::to_string(place.left) + "," + std::to_string(place.top) + "," +
                                             std::to_string(place.width) + "," + std::to_string(place.height) + "]"
                                       : std::string("null")) +
               ",\"hint\":" + (question.hasHint ? (question.hintShown ? "1" : "0") : "-1") + ",\"hintText\":";
        // A hint's text reaches the page only once its label shows.
        AppendJsonString(&out, question.hintShown ? question.hintText : std::string());
        out += "}";
    }
    out += "],\"fields\":[";
    for (size_t a = 0; a < game.fields.size(); ++a) {
        const WebField& field = game.fields[a];
        const LabelPaint paint = ChooseGridLabelPaint(&s, kResultLabelBase + int(a + 1), field.verdict.c_str());
        out += std::string(a ? "," : "") + "{\"text\":";
        AppendJsonString(&out, field.text);
        out += ",\"verdict\":";
        AppendJsonString(&out, field.verdict);
        out += std::string(",\"kind\":\"") + VerdictKind(paint.brush) + "\",\"hidden\":" + (field.hidden ? "1" : "0") + "}";
    }
    return out + "]}";
}

std::string ChosenFileJson(const ChosenFile& file) {
    std::string out = std::string("{\"ok\":") + (file.ok ? "1" : "0") + ",\"replaces\":" + (file.replaces ? "1" : "0") +
                      ",\"message\":";
    AppendJsonString(&out, file.message);
    return out + "}";
}

}  // namespace quiz
