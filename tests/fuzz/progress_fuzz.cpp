// The progress file's reader over arbitrary bytes, as the .exe reads the file
// beside it and the web page a file the player picks ("Reprendre"): its
// lines, then a game of 96 two-answer questions (192 fields, every fifth
// question with one visible field) restored from them; and the same bytes as
// the answers a learning platform hands back to the page (its suspend data).
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "answers/progress_file.h"
#include "make/package_writer.h"
#include "model/stored_form.h"
#include "web/suspend_data.h"
#include "web/web_game.h"

namespace {

constexpr int kQuestions = 96;

struct Package {
    quiz::StoredRecords stored;
    std::vector<uint8_t> letters, places;
    quiz::PackageRecords records;
};

const Package& TheQuiz() {
    static const Package made = [] {
        Package p;
        uint8_t hidden = 0;  // the raw byte whose stored form is "-"
        for (int b = 1; b < 256 && !hidden; ++b)
            if (quiz::StoredByte(uint8_t(b)) == '-') hidden = uint8_t(b);
        quiz::QuizPackage package;
        package.title = "Progression";
        package.layoutType = 3;
        package.answersPerQuestion = 2;
        std::vector<quiz::AnswerPlace> where;
        std::vector<int> counts;
        for (int k = 1; k <= kQuestions; ++k) {
            quiz::QuestionSource question;
            question.answer1 = "Ville " + std::to_string(k);
            question.answer2 = k % 5 == 0 ? std::string(1, char(hidden)) : "Pays " + std::to_string(k);
            question.extraText = "Indice " + std::to_string(k);
            package.questions.push_back(question);
            package.questionLines.push_back("C" + std::to_string(k));
            where.push_back({10, 20, 30, 40});
            counts.push_back(int(question.answer1.size()));
        }
        if (!quiz::WritePackageRecords(package, {false, false, false}, &p.stored, nullptr)) std::abort();
        p.letters = quiz::LetterCountTable(counts);
        p.places = quiz::AnswerPlaceTable(where);
        p.records.builtIn = {p.stored.builtIn.data(), p.stored.builtIn.size()};
        p.records.record104 = {p.stored.record104.data(), p.stored.record104.size()};
        p.records.record105 = {p.stored.record105.data(), p.stored.record105.size()};
        return p;
    }();
    return made;
}

bool Start(quiz::WebGame* game, const uint8_t* data, size_t size) {
    const Package& p = TheQuiz();
    return quiz::StartWebGame(game, p.records, p.letters.data(), p.letters.size(), p.places.data(),
                              p.places.size(), data, size);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Every line of the file: at most 85 bytes, none with a CR, each read
    // moving on, and the lines written back as the player writes them read
    // back the same.
    std::vector<std::string> lines;
    std::string written;
    for (size_t position = 0; position < size;) {
        char text[quiz::kAnswerFieldLimit + 1];
        std::memset(text, 'x', sizeof text);
        const size_t before = position;
        quiz::ReadProgressLine(data, size, &position, text);
        const size_t length = strnlen(text, sizeof text);
        if (length > size_t(quiz::kAnswerFieldLimit) || position <= before || position > size) std::abort();
        if (std::memchr(text, '\r', length) || std::memcmp(text, data + before, length) != 0) std::abort();
        lines.emplace_back(text, length);
        written += lines.back() + "\r\n";
    }
    char end[quiz::kAnswerFieldLimit + 1];
    size_t past = size;
    quiz::ReadProgressLine(data, size, &past, end);
    if (end[0] != '\0' || past != size) std::abort();  // past the end, nothing
    size_t position = 0;
    for (const std::string& line : lines) {
        char text[quiz::kAnswerFieldLimit + 1];
        quiz::ReadProgressLine(reinterpret_cast<const uint8_t*>(written.data()), written.size(), &position, text);
        if (line != text) std::abort();
    }

    // The game restored from the file: every field within what an answer
    // field holds, and what the player saves restores the very same game. A
    // file the player wrote (printable ASCII, each line ended by CR LF) gives
    // each field its line, as the .exe does.
    bool writtenByPlayer = true;
    for (size_t i = 0; i < size && writtenByPlayer; ++i)
        writtenByPlayer = (data[i] >= 0x20 && data[i] < 0x7F) ||
                            (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') ||
                            (data[i] == '\n' && i > 0 && data[i - 1] == '\r');
    quiz::WebGame game;
    if (!Start(&game, data, size) || game.fields.size() != size_t(2 * kQuestions)) std::abort();
    for (size_t f = 0; f < game.fields.size(); ++f) {
        const quiz::WebField& field = game.fields[f];
        if (field.text.size() > size_t(quiz::kAnswerFieldLimit) || field.verdict.empty()) std::abort();
        const bool hiddenSecond = f % 2 == 1 && (f / 2 + 1) % 5 == 0;
        if (field.hidden != hiddenSecond || (field.hidden && field.text != "-")) std::abort();
        if (writtenByPlayer && !field.hidden && field.text != (f < lines.size() ? lines[f] : "")) std::abort();
    }
    const std::string saved = quiz::ProgressBytes(game);
    quiz::WebGame again;
    if (!Start(&again, reinterpret_cast<const uint8_t*>(saved.data()), saved.size())) std::abort();
    for (size_t f = 0; f < game.fields.size(); ++f)
        if (again.fields[f].text != game.fields[f].text || again.fields[f].verdict != game.fields[f].verdict)
            std::abort();
    if (quiz::ScoreText(again) != quiz::ScoreText(game) || quiz::CodeText(again) != quiz::CodeText(game) ||
        quiz::GameViewJson(again) != quiz::GameViewJson(game))
        std::abort();

    // The same bytes picked with "Reprendre": a file refused says why and
    // gives nothing to restore; one taken gives a progress file whose every
    // line an answer field holds, which restores as such.
    const quiz::ChosenFile picked = quiz::ReadChosenFile(game, data, size);
    if (picked.message.empty() || (!picked.ok && !picked.progress.empty())) std::abort();
    if (picked.ok) {
        quiz::WebGame resumed;
        const auto* bytes = reinterpret_cast<const uint8_t*>(picked.progress.data());
        if (!Start(&resumed, bytes, picked.progress.size())) std::abort();
        for (size_t position = 0; position < picked.progress.size();) {
            char text[quiz::kAnswerFieldLimit + 1];
            const size_t before = position;
            quiz::ReadProgressLine(bytes, picked.progress.size(), &position, text);
            if (position - before != std::strlen(text) + 2) std::abort();  // every line ends CR LF
        }
    }
    
    // As a platform's suspend data: restored or refused as a whole, every
    // field within what a field holds, and what the page then keeps for the
    // platform (within its 4,096 characters) gives back the same fields.
    quiz::WebGame platform;
    if (!Start(&platform, nullptr, 0)) std::abort();
    if (quiz::RestoreSuspendData(&platform, std::string(reinterpret_cast<const char*>(data), size))) {
        for (const quiz::WebField& field : platform.fields)
            if (field.text.size() > size_t(quiz::kAnswerFieldLimit)) std::abort();
        const quiz::SuspendData kept = quiz::EncodeSuspendData(platform);
        if (kept.text.size() > quiz::kSuspendDataLimit || kept.fieldsKept > platform.fields.size()) std::abort();
        quiz::WebGame back;
        if (!Start(&back, nullptr, 0) || !quiz::RestoreSuspendData(&back, kept.text)) std::abort();
        for (size_t f = 0; f < kept.fieldsKept; ++f)
            if (back.fields[f].text != platform.fields[f].text) std::abort();
    }
    return 0;
}
