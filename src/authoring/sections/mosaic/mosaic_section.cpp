#include "sections/mosaic/mosaic_section.h"

#include <algorithm>

#include "pictures/font.h"
#include "pictures/marks.h"
#include "pictures/scaling.h"

namespace quizpack {

namespace {

const char kKey[] = "mosaique";

// The number of pictures, then the columns: false when there is no layout.
bool JudgeLayout(FieldJudge& judge, const SourceNode& node, size_t count, MosaicLayout* layout) {
    Problems& problems = judge.problems();
    if (count < size_t(MosaicLayout::kMinPictures) || count > size_t(MosaicLayout::kMaxPictures)) {
        problems.Report(node.line, kKey,
                        std::to_string(count) + (count < 2 ? " image" : " images") + " : une mosaïque en assemble " +
                            std::to_string(MosaicLayout::kMinPictures) + " à " +
                            std::to_string(MosaicLayout::kMaxPictures) +
                            (count < 2 ? ", une seule ne demande rien à chercher"
                                       : ", pour que chaque case reste lisible dans la colonne de 510 pixels"));
        return false;
    }
    long columns = 0;
    if (const SourceNode* given = node.Get("columns"))
        if (!judge.Integer(given, "mosaique.columns", 1, long(count), &columns)) return false;
    std::string error;
    if (LayOutMosaic(int(count), int(columns), layout, &error)) return true;
    problems.Report(node.Get("columns") ? node.Get("columns")->line : node.line, "mosaique.columns", error);
    return false;
}

// Each question's picture, read at the size of its tile, one at a time.
bool JudgePictures(FieldJudge& judge, const SourceNode& root, QuizDefinition* quiz, MosaicPlan* plan) {
    const SourceNode* questions = root.Get("question");
    bool ok = true;
    std::vector<size_t> missing;
    for (size_t k = 0; k < quiz->questions.size(); ++k) {
        const SourceNode& table = questions->items[k];
        const std::string field = "question[" + std::to_string(k + 1) + "].image";
        const SourceNode* image = table.Get("image");
        PictureSource picture;
        if (!image) {
            if (!judge.StoodFor(field)) missing.push_back(k + 1);
            ok = false;
            continue;
        }
        if (!judge.Picture(image, table.line, field, &picture, true)) {
            ok = false;
            continue;
        }
        int width = 0, height = 0;
        const int tile = plan->layout.tile;
        FitInto(picture.info.UprightWidth(), picture.info.UprightHeight(), tile, tile, &width, &height);
        RgbImage decoded;
        std::string error;
        // A transparent picture shows the background the tiles lie on.
        const Rgb ground = {quiz->package.red, quiz->package.green, quiz->package.blue};
        if (!DecodeUpright(picture.bytes, width, height, ground, &decoded, &error)) {
            judge.problems().Report(image->line, field, image->text + " ne se décode pas : " + error);
            ok = false;
            continue;
        }
        plan->pictures[k] = ScaleImage(decoded, width, height);
    }
    if (!missing.empty())
        judge.problems().Report(quiz->sectionLine, kKey,
                                "[mosaique] assemble la grille des images des questions : il faut une image "
                                "(image = \"...\", à côté du fichier du quiz) à chaque question, et " +
                                    QuestionsNamed(missing) + (missing.size() == 1 ? " n'en a pas" : " n'en ont pas"));
    return ok;
}

void Judge(FieldJudge& judge, const SourceNode& root, const SourceNode& node, QuizDefinition* quiz) {
    if (node.kind != SourceNode::Kind::Table) {
        judge.problems().Report(node.line, kKey, "doit être une table [mosaique]");
        return;
    }
    judge.UnknownKeys(node, {}, NamesOf(kMosaicSection.ownFields), "mosaique.");
    MosaicPlan plan;
    plan.pictures.resize(quiz->questions.size());
    if (!JudgeLayout(judge, node, quiz->questions.size(), &plan.layout)) return;
    if (JudgePictures(judge, root, quiz, &plan)) quiz->sectionPlan = std::move(plan);
}

// The puzzle, then a mark per tile with its answer across the foot.
void Make(Problems& problems, QuizDefinition* quiz) {
    const MosaicPlan* plan = MosaicPlanOf(*quiz);
    if (!plan) return;
    const std::string unread = "l'image composée ne se relit pas à l'identique avec le décodeur du lecteur";
    RgbImage puzzle;
    std::string error;
    if (!ComposeMosaic(*plan, {quiz->package.red, quiz->package.green, quiz->package.blue}, &puzzle, &error) ||
        !MadePicture(puzzle, &quiz->puzzle)) {
        problems.Report(quiz->sectionLine, kKey, error.empty() ? unread : error);
        return;
    }
    quiz->puzzle.path = "(mosaique)";
    for (size_t k = 0; k < quiz->questions.size(); ++k) {
        QuestionDefinition& def = quiz->questions[k];
        def.place = plan->layout.Tile(int(k));
        RgbImage mark;
        if (!DrawMark(puzzle, def.place, quiz->package.questions[k].answer1, MarkStyle{}, &mark, &error) ||
            !MadePicture(mark, &def.overlay)) {
            problems.Report(def.line, "question[" + std::to_string(k + 1) + "].image", error.empty() ? unread : error);
            return;
        }
        def.overlay.path = "(mosaique)";
        def.hasOverlay = true;
    }
}

}  // namespace

bool ComposeMosaic(const MosaicPlan& plan, Rgb ground, RgbImage* puzzle, std::string* error) {
    const MosaicLayout& layout = plan.layout;
    *puzzle = RgbImage(layout.width, layout.height, ground);
    Font font;
    const int pixels = std::clamp(layout.tile / 6, 10, 18);
    if (!font.Open(pixels, error)) return false;
    for (size_t k = 0; k < plan.pictures.size(); ++k) {
        const auto tile = layout.Tile(int(k));
        const RgbImage& picture = plan.pictures[k];
        const int left = tile[0] + (tile[2] - picture.width) / 2, top = tile[1] + (tile[3] - picture.height) / 2;
        for (int y = 0; y < picture.height; ++y) std::copy_n(&picture.At(0, y), picture.width, &puzzle->At(left, top + y));
        // The number in a dark tab at the tile's corner.
        const std::string number = std::to_string(k + 1);
        const int width = font.Width(number) + 6, height = pixels + 4;
        puzzle->Fill(tile[0], tile[1], width, height, {20, 20, 40});
        font.Write(puzzle, number, tile[0] + 3, tile[1] + 2 + font.Ascent() - pixels / 6, {255, 255, 255});
    }
    return true;
}

const SectionKind kMosaicSection = {
    .key = kKey,
    .puzzleGiven = "avec [mosaique], quizpack compose l'image lui-même à partir des images des questions ; retirez ce champ",
    .questionFieldGiven = "avec [mosaique], quizpack le fait lui-même ; retirez ce champ",
    .madeQuestionFields = {"overlay", "place"},
    .ownQuestionFields = {"image"},
    .ownFields = {{.name = "columns", .label = "Colonnes", .type = FieldType::Integer, .min = 1,
                   .max = MosaicLayout::kMaxPictures,
                   .help = "facultatif : le nombre de colonnes de la mosaïque ; sans lui, quizpack le choisit"}},
    .defaultLayout = 1,
    .fewestQuestions = MosaicLayout::kMinPictures,
    .mostQuestions = MosaicLayout::kMaxPictures,
    .judge = Judge,
    .make = Make,
    .answerKey = nullptr,
};

const MosaicPlan* MosaicPlanOf(const QuizDefinition& quiz) {
    return quiz.section == &kMosaicSection ? std::any_cast<MosaicPlan>(&quiz.sectionPlan) : nullptr;
}

}  // namespace quizpack
