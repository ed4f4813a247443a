#include "sections/word_search/word_search_section.h"

#include <algorithm>
#include <tuple>

#include "judge/text_rules.h"
#include "model/quiz_state.h"
#include "text/text.h"

namespace quizpack {

namespace {

const std::string kPrefix = "motsmeles.";

// The grid's size, the seed and the directions. False when the words cannot
// be judged against them.
bool JudgeGrid(FieldJudge& judge, const SourceNode& table, int line, WordSearchRequest* request) {
    Problems& problems = judge.problems();
    long value;
    bool ok = true;
    for (auto [key, out, most] :
         {std::tuple<const char*, int*, int>{"columns", &request->columns, PuzzleGeometry::kMaxColumns},
          std::tuple<const char*, int*, int>{"rows", &request->rows, PuzzleGeometry::kMaxRows}}) {
        if (!table.Get(key)) {
            judge.Missing(line, kPrefix + key);
            ok = false;
        } else if (judge.Integer(table.Get(key), kPrefix + key, 2, most, &value)) {
            *out = static_cast<int>(value);
        } else {
            ok = false;
        }
    }
    if (const SourceNode* seed = table.Get("seed")) {
        if (judge.Integer(seed, kPrefix + "seed", 0, 2147483647, &value))
            request->seed = static_cast<uint64_t>(value);
        else
            ok = false;
    }
    const SourceNode* directions = table.Get("directions");
    if (!directions) {
        request->directions = {0, 1, 2, 3, 4, 5, 6, 7};
        return ok;
    }
    std::string names;
    for (const Direction& d : kDirections) names += std::string(names.empty() ? "" : ", ") + d.name;
    const bool list = directions->kind == SourceNode::Kind::Array;
    if (!list || directions->items.empty()) {
        problems.Report(directions->line, kPrefix + "directions", "doit être une liste de directions parmi " + names);
        ok = false;
    }
    for (size_t i = 0; list && i < directions->items.size(); ++i) {
        const SourceNode& item = directions->items[i];
        const bool text = item.kind == SourceNode::Kind::Text;
        int found = -1;
        for (int d = 0; d < 8 && text; ++d)
            if (item.text == kDirections[d].name) found = d;
        if (found < 0) {
            problems.Report(item.line, kPrefix + "directions",
                            (text ? "« " + item.text + " » n'est pas une direction" : std::string("une direction s'écrit entre guillemets")) +
                                " ; les directions : " + names);
            ok = false;
        } else if (std::find(request->directions.begin(), request->directions.end(), found) != request->directions.end()) {
            problems.Report(item.line, kPrefix + "directions",
                            "« " + item.text + " » est donnée deux fois ; vouliez-vous une autre direction ?");
            ok = false;
        } else {
            request->directions.push_back(found);
        }
    }
    return ok;
}

// The cell size and the colours; letters must show on the ground and on the
// tint of a found word, and the ruled lines on the ground.
void JudgeStyle(FieldJudge& judge, const SourceNode& table, int line, PuzzleStyle* style, bool* cellOk,
                bool* coloursOk) {
    long value;
    *cellOk = true;
    if (const SourceNode* cell = table.Get("cellSize")) {
        if (judge.Integer(cell, kPrefix + "cellSize", PuzzleGeometry::kMinCell, PuzzleGeometry::kMaxCell, &value))
            style->cellSize = static_cast<int>(value);
        else
            *cellOk = false;
    }
    bool ok = judge.Colour(table.Get("lines"), kPrefix + "lines", &style->lines);
    ok = judge.Colour(table.Get("ground"), kPrefix + "ground", &style->ground) & ok;
    ok = judge.Colour(table.Get("ink"), kPrefix + "ink", &style->ink) & ok;
    ok = judge.Colour(table.Get("tint"), kPrefix + "tint", &style->tint) & ok;
    *coloursOk = ok;
    if (!ok) return;
    struct Pair {
        const char* field;
        Rgb a, b;
        const char* what;
    } pairs[] = {{"ink", style->ink, style->ground, "du fond des cases (ground)"},
                 {"ink", style->ink, style->tint, "de la teinte des mots trouvés (tint)"},
                 {"lines", style->lines, style->ground, "du fond des cases (ground)"}};
    for (const Pair& pair : pairs) {
        const double distance = ColourDistance(pair.a, pair.b);
        if (distance >= kMinColourDistance) continue;
        const SourceNode* given = table.Get(pair.field);
        judge.problems().Report(given ? given->line : line, kPrefix + pair.field,
                                ColourText(pair.a) + " se distingue mal " + pair.what + " " + ColourText(pair.b) +
                                    " : écart de " + std::to_string(static_cast<int>(distance)) + ", il en faut " +
                                    std::to_string(static_cast<int>(kMinColourDistance)) + " au moins");
    }
}

std::string AnswerField(size_t k) { return "question[" + std::to_string(k + 1) + "].answer"; }

// Each answer's letters, then every word that cannot go in and a grid too
// small for them all, before any search. True when the words can be placed.
bool JudgeAnswers(Problems& problems, const QuizDefinition& quiz, WordSearchRequest* request) {
    const auto& questions = quiz.package.questions;
    bool lettersOk = true, allRead = true;
    for (size_t k = 0; k < questions.size(); ++k) {
        std::string letters, error;
        allRead = allRead && quiz.questions[k].answersRead;
        if (quiz.questions[k].answersRead && !GridLetters(questions[k].answer1, &letters, &error)) {
            problems.Report(quiz.questions[k].answerLine, AnswerField(k), error);
            lettersOk = false;
        }
        request->words.push_back(letters);
    }
    return lettersOk && allRead && !questions.empty();
}

bool JudgePlacing(Problems& problems, const QuizDefinition& quiz, int line, const WordSearchRequest& request) {
    const std::vector<WordProblem> words = JudgeWords(request);
    for (const WordProblem& p : words) problems.Report(quiz.questions[p.word].answerLine, AnswerField(p.word), p.message);
    if (!words.empty()) return false;
    if (std::string crowded = CrowdedGrid(request); !crowded.empty()) {
        problems.Report(line, "motsmeles", crowded);
        return false;
    }
    return true;
}

void Judge(FieldJudge& judge, const SourceNode&, const SourceNode& node, QuizDefinition* quiz) {
    const int line = node.line;
    Problems& problems = judge.problems();
    if (node.kind != SourceNode::Kind::Table) {
        problems.Report(line, "motsmeles", "doit être une table [motsmeles]");
        return;
    }
    judge.UnknownKeys(node, {}, NamesOf(kWordSearchSection.ownFields),
                      kPrefix);
    WordSearchPlan plan;
    const bool gridOk = JudgeGrid(judge, node, line, &plan.request);
    bool cellOk = true, coloursOk = true;
    JudgeStyle(judge, node, line, &plan.style, &cellOk, &coloursOk);
    const bool wordsOk = JudgeAnswers(problems, *quiz, &plan.request);
    // The grid's size and directions are all the words are judged against.
    if (!gridOk) return;
    std::string error;
    if (cellOk && !MakePuzzleGeometry(plan.request.columns, plan.request.rows, plan.style.cellSize,
                                      &plan.geometry, &error)) {
        problems.Report(line, "motsmeles", error);
        cellOk = false;
    }
    if (!wordsOk || !JudgePlacing(problems, *quiz, line, plan.request)) return;
    plan.makeable = cellOk && coloursOk;
    quiz->sectionPlan = plan;
}

// The words placed, the puzzle and the overlays drawn and read back.
void Make(Problems& problems, QuizDefinition* quiz) {
    WordSearchPlan* plan = std::any_cast<WordSearchPlan>(&quiz->sectionPlan);
    if (!plan || !plan->makeable) return;
    const int line = quiz->sectionLine;
    std::string error;
    int failed = 0;
    if (!MakeWordSearch(plan->request, &plan->search, &failed, &error)) {
        if (failed < 0) problems.Report(line, "motsmeles", error);
        else problems.Report(quiz->questions[failed].answerLine, AnswerField(failed), error);
        return;
    }
    RgbImage puzzle;
    if (!DrawPuzzle(plan->search, plan->geometry, plan->style, &puzzle, &error)) {
        problems.Report(line, "motsmeles", error);
        return;
    }
    const std::string unread = "l'image dessinée ne se relit pas à l'identique avec le décodeur du lecteur";
    quiz->puzzle.path = "(motsmeles)";
    if (!MadePicture(puzzle, &quiz->puzzle)) {
        problems.Report(line, "motsmeles", unread);
        return;
    }
    for (size_t k = 0; k < quiz->questions.size(); ++k) {
        const WordPlace& place = plan->search.places[k];
        QuestionDefinition& def = quiz->questions[k];
        RgbImage overlay;
        if (!DrawOverlay(plan->search, place, plan->geometry, plan->style, puzzle, &overlay, &error)) {
            problems.Report(line, "motsmeles", error);
            return;
        }
        def.overlay.path = "(motsmeles)";
        if (!MadePicture(overlay, &def.overlay)) {
            problems.Report(def.answerLine, AnswerField(k), unread);
            return;
        }
        def.hasOverlay = true;
        def.place = plan->geometry.Block(place.left(), place.top(), place.width(), place.height());
        def.letters = place.length;
    }
}

// The words outlined over the plain puzzle (tints would cover it all), and
// where each lies, columns and rows counted from 1 as an author counts them.
bool AnswerKey(const QuizDefinition& quiz, RgbImage* key, std::vector<std::string>* lines, std::string* error) {
    const WordSearchPlan* plan = WordSearchPlanOf(quiz);
    RgbImage puzzle;
    if (!plan || !DecodePicture(quiz.puzzle.bytes, &puzzle, error) ||
        !DrawAnswerKey(plan->search, plan->geometry, puzzle, key, error))
        return false;
    for (size_t k = 0; k < plan->search.places.size(); ++k) {
        const WordPlace& place = plan->search.places[k];
        std::string letters, ignored;
        GridLetters(quiz.package.questions[k].answer1, &letters, &ignored);
        lines->push_back("  " + std::to_string(k + 1) + ". " + letters + " : colonne " +
                         std::to_string(place.column + 1) + ", rangée " + std::to_string(place.row + 1) + ", " +
                         DirectionInFrench(place.direction));
    }
    return true;
}

}  // namespace

const SectionKind kWordSearchSection = {
    .key = "motsmeles",
    .puzzleGiven = "avec [motsmeles], quizpack dessine la grille lui-même ; retirez ce champ",
    .questionFieldGiven = "avec [motsmeles], quizpack le calcule lui-même ; retirez ce champ",
    .madeQuestionFields = {"letters", "overlay", "place"},
    .ownQuestionFields = {},
    .ownFields =
        {{.name = "columns", .label = "Colonnes", .type = FieldType::Integer, .min = 2, .max = PuzzleGeometry::kMaxColumns,
          .required = true, .help = "le nombre de colonnes de la grille"},
         {.name = "rows", .label = "Rangées", .type = FieldType::Integer, .min = 2, .max = PuzzleGeometry::kMaxRows,
          .required = true, .help = "le nombre de rangées de la grille"},
         {.name = "directions", .label = "Directions des mots", .type = FieldType::List,
          .help = "facultatif : les sens où les mots se lisent, parmi right, left, down, up, down-right, up-left, up-right, down-left ; tous sinon"},
         {.name = "seed", .label = "Graine de la grille", .type = FieldType::Integer, .min = 0, .max = 2147483647,
          .help = "une autre graine, une autre grille"},
         {.name = "cellSize", .label = "Taille des cases", .type = FieldType::Integer, .min = PuzzleGeometry::kMinCell,
          .max = PuzzleGeometry::kMaxCell, .help = "facultatif : le côté d'une case, en pixels"},
         {.name = "lines", .label = "Couleur des traits", .type = FieldType::Colour, .min = 0, .max = 255,
          .help = "facultatif : la couleur des traits de la grille"},
         {.name = "ground", .label = "Fond des cases", .type = FieldType::Colour, .min = 0, .max = 255,
          .help = "facultatif : la couleur du fond des cases"},
         {.name = "ink", .label = "Couleur des lettres", .type = FieldType::Colour, .min = 0, .max = 255,
          .help = "facultatif : la couleur des lettres"},
         {.name = "tint", .label = "Teinte des mots trouvés", .type = FieldType::Colour, .min = 0, .max = 255,
          .help = "facultatif : la couleur d'un mot trouvé"}},
    .defaultLayout = -1,
    .fewestQuestions = 1,
    .mostQuestions = quiz::kMaxQuestions,
    .judge = Judge,
    .make = Make,
    .answerKey = AnswerKey,
};

const WordSearchPlan* WordSearchPlanOf(const QuizDefinition& quiz) {
    return quiz.section == &kWordSearchSection ? std::any_cast<WordSearchPlan>(&quiz.sectionPlan) : nullptr;
}

}  // namespace quizpack
