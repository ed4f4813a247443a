#include "make/make_resources.h"

#include "exe/version_resource.h"
#include "grid/quiz_tables.h"
#include "make/picture_puzzle.h"
#include "pictures/raster.h"
#include "sections/section.h"
#include "text/text.h"

namespace quizpack {

namespace {

// PNG pictures go to the player's own decoder, as RT_RCDATA under the same
// id, and so do opaque GIF pictures, stored as the PNG of the same pixels: the
// platform's GIF loader costs a start-up about ten times as much per picture.
// A JPEG, a BMP and a GIF with transparent pixels go to the platform's loader,
// as "IMG".
Resource PictureResource(int id, const PictureSource& picture) {
    Resource r;
    r.name = ResourceId(static_cast<uint16_t>(id));
    std::vector<uint8_t> png;
    if (picture.info.format == PictureFormat::Gif) png = GifAsPng(picture.bytes);
    if (picture.info.format == PictureFormat::Png || !png.empty()) {
        r.type = ResourceId(kRtRcdata);
        r.data = png.empty() ? picture.bytes : std::move(png);
    } else {
        r.type = ResourceName("IMG");
        r.data = picture.bytes;
    }
    return r;
}

Resource DataResource(const char* type, int id, std::vector<uint8_t> data) {
    Resource r;
    r.type = ResourceName(type);
    r.name = ResourceId(static_cast<uint16_t>(id));
    r.data = std::move(data);
    return r;
}

std::u16string Utf16Of(const std::string& cp1252) { return Utf8ToUtf16(Cp1252ToUtf8(cp1252)); }

}  // namespace

std::vector<Problem> MakeQuizResources(const QuizDefinition& quiz, std::vector<Resource>* resources) {
    resources->clear();
    quiz::StoredRecords records;
    std::string error;
    quiz::ScrambleChoice scramble{quiz.scrambled, quiz.scrambled, quiz.scrambled};
    if (!quiz::WritePackageRecords(quiz.package, scramble, &records, &error)) {
        auto lineOf = [&](const char* key) {
            auto found = quiz.lines.find(key);
            return found == quiz.lines.end() ? 1 : found->second;
        };
        if (error.find("brouillé,") != std::string::npos)
            return {{lineOf("scrambled"), "scrambled", error}};
        if (error.rfind("enregistrement intégré", 0) == 0)

            return {{lineOf(quiz.lines.count("linkText") ? "linkText" : "statusText"),
                     "linkText, statusText", error}};
        return {{lineOf("question"), "question", error}};
    }
    resources->push_back(PictureResource(kPuzzleId, quiz.puzzle));
    std::vector<int> counts;
    std::vector<quiz::AnswerPlace> places;
    for (size_t k = 0; k < quiz.questions.size(); ++k) {
        const QuestionDefinition& q = quiz.questions[k];
        if (q.hasOverlay)
            resources->push_back(PictureResource(kOverlayBase + static_cast<int>(k) + 1, q.overlay));
        counts.push_back(q.letters);
        const std::array<int, 4> p = q.hasOverlay ? q.place : std::array<int, 4>{0, 0, 0, 0};
        places.push_back({p[0], p[1], p[2], p[3]});
    }
    resources->push_back(DataResource("PATCH", quiz::kBuiltInRecordResourceId,
                                      {records.builtIn.begin(), records.builtIn.end()}));
    resources->push_back(DataResource("PATCH", 104, records.record104));
    resources->push_back(DataResource("PATCH", 105, records.record105));
    resources->push_back(DataResource(quiz::kTableResourceType, quiz::kLetterCountTableId,
                                      quiz::LetterCountTable(counts)));
    resources->push_back(DataResource(quiz::kTableResourceType, quiz::kAnswerPlaceTableId,
                                      quiz::AnswerPlaceTable(places)));

    VersionStrings strings;
    strings.product = Utf16Of(quiz.package.title);
    strings.company = Utf16Of(quiz.package.author);
    strings.version = Utf8ToUtf16(quiz.version);
    strings.fileName = Utf8ToUtf16(quiz.executable + ".exe");
    strings.comments = Utf8ToUtf16("Fait avec quizpack " QUIZPACK_VERSION);
    std::vector<uint16_t> numbers;
    ParseVersion(quiz.version, &numbers);
    Resource version;
    version.type = ResourceId(kRtVersion);
    version.name = ResourceId(1);
    version.data = VersionResource(strings, numbers);
    resources->push_back(std::move(version));
    return {};
}

void MakePictures(QuizDefinition* quiz, Problems* problems) {
    if (quiz->section) {
        if (quiz->sectionMayMake) quiz->section->make(*problems, quiz);
    } else if (!problems->HasErrors()) {
        MakePicturePuzzle(quiz, problems);
    }
}

}  // namespace quizpack
