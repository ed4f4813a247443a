#include "judge/code_field.h"
#include "judge/judge.h"
#include "judge/text_rules.h"
#include "model/package.h"
#include "model/quiz_state.h"
#include "sections/section.h"
#include "text/text.h"

namespace quizpack {

namespace {

// One question's judge: the problems it says are prefixed "question[k].".
struct QuestionJudge {
    FieldJudge& judge;
    const SourceNode& table;
    const JudgedHeader& header;
    QuizDefinition* quiz;
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
    } else {
        problems().Report(def.line, prefix + "answer", "manquant");
    }
    const int perQuestion = quiz->package.answersPerQuestion;
    if (answers.size() == 2 && perQuestion == 1 && header.answersKnown)
        problems().Report(answers[1].first->line, prefix + "answers", "deux réponses, mais answersPerQuestion vaut 1");
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
        for (const SourceNode* node : {text, text2})
            if (node)
                problems().Report(node->line, prefix + (node == text ? "text" : "text2"),
                                  "la mise en page " + std::to_string(layout) +
                                      " n'affiche aucun texte ; celui-ci serait perdu");
    } else {
        // Layout 1 keeps a text a question never shows: it may be left out.
        q.extraText = Text("text", layout != 1);
        if (strings == 2)
            q.extraText2 = Text("text2");
        else if (text2)
            problems().Report(text2->line, prefix + "text2",
                              "la mise en page " + std::to_string(layout) + " prend un seul texte par question");
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
        problems().Report(def.line, prefix + "place", "manquant : l'endroit où va la surimpression");
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

void JudgeQuestion(FieldJudge& judge, const SourceNode& table, size_t k, const JudgedHeader& header,
                   QuizDefinition* quiz) {
    QuestionJudge question{judge, table, header, quiz, "question[" + std::to_string(k + 1) + "].", {}, {}};
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
    for (size_t k = 0; k < count; ++k) JudgeQuestion(judge, questions->items[k], k, header, quiz);
    if (count == 0 && (!node || questions))
        judge.problems().Report(node ? node->line : 1, "question",
                                "aucune question : ajoutez au moins un bloc [[question]]");
}

}  // namespace quizpack
