// quizpack check over a quiz source and its pictures received from anyone:
// the input is the TOML text, then each picture's bytes after a separator
// "\0picture\0" (a NUL never reads as a source). The paths the source names
// for a puzzle, an overlay or a mosaic's image, in the order they are read
// (keys in name order, so the puzzle before the questions), each get the
// next picture, and the last picture serves all the paths left; they are
// files in a temporary folder of this process, emptied before each input.
// A source naming anything outside that folder (an absolute path or "..", in
// any of its texts) is read but goes no further, so that nothing of the
// machine's own files is ever looked at.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "judge/quiz_definition.h"
#include "read/source_record.h"
#include "stages.h"
#include "text/text.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSeparator{"\0picture\0", 9};
// The fields whose text is a picture's path, wherever they stand.
constexpr std::string_view kPictureKeys[] = {"puzzle", "overlay", "image"};

// Never destroyed, so that it is still there for the removal at exit.
const fs::path& Folder() {
    static const fs::path* folder = [] {
        std::string name = (fs::temp_directory_path() / "quiz_source_fuzz.XXXXXX").string();
        if (!mkdtemp(name.data())) std::abort();
        const fs::path* made = new fs::path(name);
        std::atexit([] { std::error_code ec; fs::remove_all(Folder(), ec); });
        return made;
    }();
    return *folder;
}

// Whether a text, taken as a path from the source's folder, stays inside it.
bool StaysInside(const std::string& text) {
    const fs::path path = quizpack::PathOfUtf8(text);
    if (path.has_root_path()) return false;
    return std::none_of(path.begin(), path.end(), [](const fs::path& part) { return part == ".."; });
}

bool AllInside(const quizpack::SourceNode& node) {
    if (node.kind == quizpack::SourceNode::Kind::Text && !StaysInside(node.text)) return false;
    for (const quizpack::SourceNode& item : node.items)
        if (!AllInside(item)) return false;
    for (const auto& field : node.fields)
        if (!AllInside(field.second)) return false;
    return true;
}

void PicturePaths(const quizpack::SourceNode& node, std::vector<std::string>* paths) {
    for (const quizpack::SourceNode& item : node.items) PicturePaths(item, paths);
    for (const auto& [key, value] : node.fields) {
        const bool picture = std::find(std::begin(kPictureKeys), std::end(kPictureKeys), key) != std::end(kPictureKeys);
        if (picture && value.kind == quizpack::SourceNode::Kind::Text && !value.text.empty() &&
            std::find(paths->begin(), paths->end(), value.text) == paths->end())
            paths->push_back(value.text);
        PicturePaths(value, paths);
    }
}

void Serve(const std::string& name, std::string_view bytes) {
    const fs::path path = Folder() / quizpack::PathOfUtf8(name);
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    // A name the folder cannot hold (a folder already, a file in the way) is
    // left unserved: the source names a picture that is not there.
    quizpack::WriteFileBytes(quizpack::Utf8OfPath(path), reinterpret_cast<const uint8_t*>(bytes.data()),
                             bytes.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> pieces;
    for (size_t start = 0;;) {
        const size_t end = input.find(kSeparator, start);
        pieces.push_back(input.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + kSeparator.size();
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(Folder(), ec)) fs::remove_all(entry.path(), ec);
    const std::string source = quizpack::Utf8OfPath(Folder() / "quiz.toml");
    if (!quizpack::WriteFileBytes(source, reinterpret_cast<const uint8_t*>(pieces[0].data()), pieces[0].size()))
        std::abort();

    quizpack::Problems readProblems;
    quizpack::SourceRecord record;
    if (!quizpack::ReadSource(source, &record, &readProblems)) {
        if (std::getenv("QUIZ_SOURCE_FUZZ_SAY"))
            for (const quizpack::Problem& p : readProblems.Sorted())
                std::fprintf(stderr, "%d: %s: %s\n", p.line, p.field.c_str(), p.message.c_str());
        // What stops the read is said, once.
        const std::vector<quizpack::Problem> said = readProblems.Sorted();
        if (said.size() != 1 || said[0].message.empty() || !quizpack::HasErrors(said)) std::abort();
        return 0;
    }
    if (quizpack::PathOfUtf8(record.folder) != Folder()) std::abort();
    if (!AllInside(record.root)) return 0;
    std::vector<std::string> paths;
    PicturePaths(record.root, &paths);
    if (pieces.size() > 1)
        for (size_t i = 0; i < paths.size(); ++i) Serve(paths[i], pieces[std::min(i + 1, pieces.size() - 1)]);

    quizpack::QuizDefinition quiz;
    std::vector<quizpack::Resource> resources;
    const std::vector<quizpack::Problem> problems = quizpack::PrepareReadQuiz(record, &quiz, &resources);
    if (std::getenv("QUIZ_SOURCE_FUZZ_SAY")) {  // to read what check says of a seed or a crash
        for (const std::string& path : paths) std::fprintf(stderr, "picture: %s\n", path.c_str());
        for (const quizpack::Problem& p : problems)
            std::fprintf(stderr, "%d: %s: %s\n", p.line, p.field.c_str(), p.message.c_str());
        std::fprintf(stderr, "%zu questions, %zu resources\n", quiz.package.questions.size(), resources.size());
    }
    // Each problem says, in text the author's terminal can show, which field
    // and why; a quiz with none holds the questions the player can show.
    for (const quizpack::Problem& p : problems)
        if (p.line < 0 || p.field.empty() || p.message.empty() ||
            quizpack::FirstInvalidUtf8(p.field) != std::string_view::npos ||
            quizpack::FirstInvalidUtf8(p.message) != std::string_view::npos)
            std::abort();
    if (!quizpack::HasErrors(problems)) {
        const size_t count = quiz.package.questions.size();
        if (count < 1 || count > size_t(quiz::kMaxQuestions) || quiz.questions.size() != count || resources.empty())
            std::abort();
    }
    return 0;
}
