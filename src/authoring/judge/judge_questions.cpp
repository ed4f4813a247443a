#include "judge/code_field.h"
#include "judge/judge.h"
#include "judge/text_rules.h"
#include "model/package.h"
#include "model/quiz_state.h"
#include "sections/section.h"
#include "text/text.h"

namespace quizpack {

namespace {

// The questions one header choice asks something of, said once for them all.
struct Concerned {
    std::vector<size_t> numbers;  // from 1
    int line = 0;                 // the first one's
    void Add(size_t number, int at) {
        if (numbers.empty()) line = at;
        numbers.push_back(number);
    }
};

// What a layout that shows texts shows, and the layout that shows the same
// without them. Layouts 1, 6 and 9 keep a text but never show it (the hint
// label stays hidden), so a question may leave it out.
struct TextLayout {
    int layout;
    const char* shows;
    int without;
    const char* withoutShows;
};
const TextLayout kTextLayouts[] = {
    {2, "le texte d'une question sous son image quand elle est trouvée", 0, "ne montre aucun texte"},
    {3, "le texte d'une question sous son image, et son image marquée, quand elle est trouvée", 1,
     "montre l'image marquée seule"},
    {4, "le texte et l'image marquée de chaque question quand toutes sont trouvées", 0, "ne montre aucun texte"},
    {7, "sous chaque image le nombre de mots de la réponse, puis le texte de la question quand elle est trouvée", 5,
     "montre le nombre de mots seul"},
    {8, "le texte de chaque question sous son image dès le début, et les images marquées quand toutes sont trouvées", 0,
     "ne montre aucun texte"},
};

const TextLayout* TextLayoutOf(int layout) {
    for (const TextLayout& row : kTextLayouts)
        if (row.layout == layout) return &row;
    return nullptr;
}


}  // namespace

bool LayoutShowsTexts(int layout) { return TextLayoutOf(layout) != nullptr; }

namespace {

struct HeaderDemands {
    Concerned noText;     // the layout shows texts; these have none
    Concerned lostTexts;  // the layout shows none; these have one
    Concerned lostText2;  // the layout keeps one a question; these give text2
    Concerned twoAnswers; // one field a question; these give two answers
};

// One question's judge: the problems it says are prefixed "question[k].".
struct QuestionJudge {
    FieldJudge& judge;
    const SourceNode& table;
    const JudgedHeader& header;
    QuizDefinition* quiz;
    HeaderDemands& demands;
    size_t number;
    std::string prefix;
    quiz::QuestionSource q;
    QuestionDefinition def;

    Problems& problems() { return judge.problems(); }
    std::string Text(const char* key, bool required = false) {
        return judge.Text(table.Get(key), def.line, prefix + key, size_t(QuestionField(key).max), required);
    }
    void Answers();
    void LayoutTexts();
    void CodeAndLetters();
    void Overlay();
};

// `answer = "..."` or `answers = ["...", "..."]`. In a quiz with two answers
// a question, a single answer leaves one visible field.
void QuestionJudge::Answers() {
    std::vector<std::pair<const SourceNode*, std::string>> answers;
    const SourceNode* one = table.Get("answer");
    const SourceNode* many = table.Get("answers");
    if (one && many) {
        problems().Report(many->line, prefix + "answers", "donnez answer ou answers, pas les deux");
    } else if (one) {
        answers.push_back({one, "answer"});
    } else if (many) {
        if (many->kind != SourceNode::Kind::Array || many->items.empty() ||
            many->items.size() > size_t(QuestionField("answers").max))
            problems().Report(many->line, prefix + "answers", "doit contenir une ou deux réponses");
        else
            for (size_t a = 0; a < many->items.size(); ++a)
                answers.push_back({&many->items[a], "answers[" + std::to_string(a + 1) + "]"});
    } else if (!judge.StoodFor(prefix + "answers")) {
        judge.Missing(def.line, prefix + "answer");
    }
    const int perQuestion = quiz->package.answersPerQuestion;
    if (answers.size() == 2 && perQuestion == 1 && header.answersKnown) demands.twoAnswers.Add(number, answers[1].first->line);
    def.answerLine = answers.empty() ? def.line : answers[0].first->line;
    def.answersRead = !answers.empty();
    for (size_t a = 0; a < answers.size() && a < 2; ++a) {
        const auto& [node, name] = answers[a];
        const std::string field = prefix + name;
        bool read = false;
        std::string text = judge.Text(node, def.line, field, quiz::kTextSize - 1, false, false, &read);
        def.answersRead = def.answersRead && read;
        if (!read) continue;  // already said why; nothing follows from it
        text = KeyboardApostrophes(problems(), node->line, field, text);
        CheckTypable(problems(), node->line, field, text);
        // The count under the picture says "%d lettres": an answer must give it one.
        if (!text.empty() && CountLetters(text) == 0)
            problems().Report(node->line, field,
                              "« " + Cp1252ToUtf8(text) +
                                  " » n'a aucune lettre, et le lecteur annonce sous l'image le nombre de lettres "
                                  "de la réponse : écrivez-la en lettres (« quatorze » plutôt que « 14 »)");
        WarnUnfoldedLetters(problems(), node->line, field, text);
        if (a == 1 && StoredFormOf(text) == "-")
            problems().Report(node->line, field,
                              "cette réponse cacherait le second champ ; pour un seul champ visible, donnez une "
                              "seule réponse");
        (a == 0 ? q.answer1 : q.answer2) = text;
    }
    if (perQuestion == 2 && answers.size() == 1) q.answer2 = std::string(1, static_cast<char>(SingleFieldMarker()));
}

// The texts the layout shows: none, one or two a question.
void QuestionJudge::LayoutTexts() {
    const SourceNode* text = table.Get("text");
    const SourceNode* text2 = table.Get("text2");
    const int layout = quiz->package.layoutType;
    const int strings = quiz::LayoutStringsPerQuestion(layout);
    if (!header.layoutKnown) {
        q.extraText = Text("text");
        q.extraText2 = Text("text2");
    } else if (strings == 0) {
        if (text || text2) demands.lostTexts.Add(number, (text ? text : text2)->line);
    } else {
        if (!text && LayoutShowsTexts(layout) && !judge.StoodFor(prefix + "text")) demands.noText.Add(number, def.line);
        q.extraText = Text("text");
        if (strings == 2)
            q.extraText2 = Text("text2");
        else if (text2)
            demands.lostText2.Add(number, text2->line);
    }
}

void QuestionJudge::CodeAndLetters() {
    quiz->package.questionLines.push_back(Text("code"));
    if (const std::string& code = quiz->package.questionLines.back(); VisibleCodeText(code).size() < code.size())
        problems().Warn(table.Get("code")->line, prefix + "code",
                        "le champ du code, large de 53 pixels, n'en montre que « " +
                            Cp1252ToUtf8(VisibleCodeText(code)) + " » ; environ 8 caractères y tiennent");
    def.letters = CountLetters(q.answer1);
    long value;
    const Field& letters = QuestionField("letters");
    if (judge.Integer(table.Get("letters"), prefix + "letters", letters.min, letters.max, &value))
        def.letters = static_cast<int>(value);
}

// The overlay and its place: both or neither, the picture the size of its
// place, the place inside the puzzle.
void QuestionJudge::Overlay() {
    const SourceNode* overlay = table.Get("overlay");
    const SourceNode* place = table.Get("place");
    if (!overlay && !place) return;
    // A place alone: quizpack draws its mark from the puzzle.
    def.hasOverlay = overlay ? judge.Picture(overlay, def.line, prefix + "overlay", &def.overlay) : true;
    bool placeOk = false;
    const Field& rectangle = QuestionField("place");
    if (!place) {
        judge.Missing(def.line, prefix + "place", "manquant : l'endroit où va la surimpression");
    } else if (place->kind == SourceNode::Kind::Array && place->items.size() == 4) {
        placeOk = true;
        const char* names[] = {"left", "top", "width", "height"};
        for (int i = 0; i < 4; ++i) {
            long v;
            if (judge.Integer(&place->items[i], prefix + "place." + names[i], i < 2 ? rectangle.min : 1,
                              rectangle.max, &v))
                def.place[i] = static_cast<int>(v);
            else
                placeOk = false;
        }
    } else {
        problems().Report(place->line, prefix + "place", "doit être [gauche, haut, largeur, hauteur]");
    }
    if (def.hasOverlay && placeOk) {
        const PictureInfo& info = def.overlay.info;
        const int puzzleWidth = quiz->puzzle.info.UprightWidth(), puzzleHeight = quiz->puzzle.info.UprightHeight();
        if (overlay && (info.width != def.place[2] || info.height != def.place[3]))
            problems().Report(overlay->line, prefix + "overlay",
                              "l'image fait " + std::to_string(info.width) + " x " + std::to_string(info.height) +
                                  ", sa place " + std::to_string(def.place[2]) + " x " + std::to_string(def.place[3]));
        if (header.puzzleRead &&
            (def.place[0] + def.place[2] > puzzleWidth || def.place[1] + def.place[3] > puzzleHeight))
            problems().Report(place->line, prefix + "place",
                              "sort de l'image de la grille (" + std::to_string(puzzleWidth) + " x " +
                                  std::to_string(puzzleHeight) + ")");
    }
    def.hasOverlay = def.hasOverlay && placeOk;
    def.drawnMark = def.hasOverlay && !overlay;
}

// Each header choice that asks something of the questions, said once, on
// the choice's line (or the first question's, for a default), naming them all.
void SayHeaderDemands(Problems& problems, const SourceNode& root, const QuizDefinition& quiz,
                      const HeaderDemands& demands) {
    auto say = [&](const char* field, const Concerned& concerned, const std::string& message) {
        if (concerned.numbers.empty()) return;
        const SourceNode* given = root.Get(field);
        problems.Report(given ? given->line : concerned.line, field, message);
    };
    const int layout = quiz.package.layoutType;
    const std::string layoutIs = root.Get("layoutType") ? "layoutType = " + std::to_string(layout)
                                                        : "sans layoutType, la mise en page " + std::to_string(layout);
    auto named = [](const Concerned& c) { return QuestionsNamed(c.numbers); };
    auto one = [](const Concerned& c) { return c.numbers.size() == 1; };
    if (const TextLayout* row = TextLayoutOf(layout); row && !demands.noText.numbers.empty())
        say("layoutType", demands.noText,
            layoutIs + " montre " + row->shows + " : il faut un texte (text = \"...\") à chaque question, et " +
                named(demands.noText) + (one(demands.noText) ? " n'en a pas" : " n'en ont pas") +
                " ; sans textes, choisissez layoutType = " + std::to_string(row->without) + ", qui " + row->withoutShows);
    const Concerned& lost = demands.lostTexts;
    if (!lost.numbers.empty()) {
        const std::string shows = layout == 5 ? " montre sous chaque image le nombre de mots de la réponse, et aucun texte : "
                                              : " ne montre aucun texte : ";
        const std::string alternative =
            layout == 5 ? "layoutType = 7, qui montre le nombre de mots, puis le texte quand la question est trouvée"
                        : "layoutType = 2, qui montre le texte d'une question sous son image quand elle est trouvée";
        say("layoutType", lost,
            layoutIs + shows +
                (one(lost) ? "le texte de " + named(lost) + " serait perdu ; retirez-le"
                           : "les textes des " + named(lost).substr(4) + " seraient perdus ; retirez-les") +
                ", ou choisissez " + alternative);
    }
    const Concerned& text2 = demands.lostText2;
    say("layoutType", text2,
        layoutIs + " garde un seul texte par question, text : le text2 de" +
            (one(text2) ? " " + named(text2) + " serait perdu ; mettez-le dans text, ou retirez-le"
                        : "s " + named(text2).substr(4) + " seraient perdus ; mettez-les dans text, ou retirez-les"));
    const Concerned& two = demands.twoAnswers;
    say("answersPerQuestion", two,
        std::string(root.Get("answersPerQuestion") ? "avec answersPerQuestion = 1" : "sans answersPerQuestion") +
            ", chaque question a un seul champ de réponse, mais " + named(two) +
            (one(two) ? " donne" : " donnent") +
            " deux réponses ; gardez-en une, ou choisissez answersPerQuestion = 2 pour deux champs par question "
            "(une question qui ne donne qu'une réponse a alors un seul champ)");
}

void JudgeQuestion(FieldJudge& judge, const SourceNode& table, size_t k, const JudgedHeader& header,
                   QuizDefinition* quiz, HeaderDemands& demands) {
    QuestionJudge question{judge, table, header, quiz, demands, k + 1, "question[" + std::to_string(k + 1) + "].", {}, {}};
    question.def.line = table.line;
    judge.UnknownKeys(table, kQuestionFields, quiz->section ? quiz->section->ownQuestionFields : std::vector<std::string>{},
                      question.prefix);
    question.Answers();
    question.q.spareText = question.Text("spare");
    question.LayoutTexts();
    question.CodeAndLetters();
    if (quiz->section) {
        for (const std::string& key : quiz->section->madeQuestionFields)
            if (const SourceNode* node = table.Get(key))
                judge.problems().Report(node->line, question.prefix + key, quiz->section->questionFieldGiven);
    } else {
        question.Overlay();
    }
    quiz->package.questions.push_back(question.q);
    quiz->questions.push_back(question.def);
}

}  // namespace

void JudgeQuestions(FieldJudge& judge, const SourceNode& root, const JudgedHeader& header, QuizDefinition* quiz) {
    const SourceNode* node = root.Get("question");
    const SourceNode* questions = node;
    if (node && !node->IsArrayOfTables()) {
        judge.problems().Report(node->line, "question", "écrivez chaque question sous la forme [[question]]");
        questions = nullptr;
    }
    const size_t count = questions ? questions->items.size() : 0;
    const size_t most = size_t(HeaderField("question").max);
    if (count > most)
        judge.problems().Report(questions->items[most].line, "question",
                                std::to_string(count) + " questions, " + std::to_string(most) + " au plus");
    HeaderDemands demands;
    for (size_t k = 0; k < count; ++k) JudgeQuestion(judge, questions->items[k], k, header, quiz, demands);
    SayHeaderDemands(judge.problems(), root, *quiz, demands);
    if (count == 0 && (!node || questions))
        judge.problems().Report(node ? node->line : 1, "question",
                                "aucune question : ajoutez au moins un bloc [[question]]");
}

}  // namespace quizpack
