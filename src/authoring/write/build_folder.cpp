#include "write/build_folder.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <set>
#include <sstream>

#include "grid/quiz_tables.h"
#include "make/make_resources.h"
#include "model/package.h"
#include "text/french.h"
#include "text/text.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

// The list of the files a build wrote, kept in its folder.
const char* const kManifest = "quizpack-fichiers.txt";

std::vector<uint8_t> TextFile(const std::string& text) { return {text.begin(), text.end()}; }

const char* PictureEnding(PictureFormat format) {
    switch (format) {
        case PictureFormat::Gif: return ".gif";
        case PictureFormat::Jpeg: return ".jpg";
        case PictureFormat::Bmp: return ".bmp";
        default: return ".png";
    }
}

// The file a resource goes to in a build folder, and its line in the
// resource script (the version block stays the player's own there).
bool BuildFileOf(const Resource& r, std::string* name, std::string* line) {
    const std::string id = std::to_string(r.name.id);
    if (r.type == ResourceName("PATCH")) {
        *name = r.name.id == quiz::kBuiltInRecordResourceId ? "builtin.bin" : "record" + id + ".bin";
        *line = id + " PATCH \"" + *name + "\"\n";
    } else if (r.type == ResourceName(quiz::kTableResourceType)) {
        *name = r.name.id == quiz::kLetterCountTableId ? "letter_counts.bin" : "answer_places.bin";
        *line = id + " TABLE \"" + *name + "\"\n";
    } else if (r.type == ResourceId(kRtRcdata) || r.type == ResourceName("IMG")) {
        const bool png = r.type == ResourceId(kRtRcdata);
        PictureFormat format = png ? PictureFormat::Png : ReadPictureInfo(r.data).format;
        *name = "img_" + id + PictureEnding(format);
        *line = id + (png ? " RCDATA \"" : " IMG \"") + *name + "\"\n";
    } else {
        return false;
    }
    return true;
}

// What an earlier build wrote and this one does not (`stale`), and what
// quizpack never wrote (`foreign`). False with `error` when the folder
// cannot be listed.
bool FolderContents(const fs::path& dir, const std::map<std::string, std::vector<uint8_t>>& files,
                    const std::string& folder, std::vector<std::string>* stale,
                    std::vector<std::string>* foreign, std::string* error) {
    std::set<std::string> earlier;
    std::vector<uint8_t> manifest;
    if (ReadFileBytes(Utf8OfPath(dir / kManifest), &manifest)) {
        std::istringstream names(std::string(manifest.begin(), manifest.end()));
        for (std::string name; std::getline(names, name);)
            if (!name.empty()) earlier.insert(name);
    }
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        const std::string name = Utf8OfPath(entry.path().filename());
        if (name == kManifest || files.count(name)) continue;
        (earlier.count(name) && entry.is_regular_file() ? *stale : *foreign).push_back(name);
    }
    if (!ec) return true;
    *error = "impossible de lire le dossier " + folder + " (" + SystemErrorInFrench(ec.value()) + ")";
    return false;
}

bool WriteIfChanged(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    // Unchanged files keep their time, so that the player build does not redo them.
    std::vector<uint8_t> old;
    if (ReadFileBytes(path, &old) && old == bytes) return true;
    errno = 0;
    if (WriteFileBytes(path, bytes.data(), bytes.size())) return true;
    *error = "impossible d'écrire " + path + " (" + SystemErrorInFrench(errno) + ")";
    return false;
}

}  // namespace

std::map<std::string, std::vector<uint8_t>> BuildFolderFiles(const QuizDefinition& quiz,
                                                             const std::vector<Resource>& resources,
                                                             const std::string& sourcePath) {
    std::map<std::string, std::vector<uint8_t>> files;
    const std::string source = Utf8OfPath(PathOfUtf8(sourcePath).filename());
    std::string rc = "// Made by quizpack build from " + source + "; do not edit.\nLANGUAGE 9, 1\n\n";
    for (const Resource& r : resources) {
        std::string name, line;
        if (!BuildFileOf(r, &name, &line)) continue;
        files[name] = r.data;
        rc += line;
    }
    files["quiz_pictures.rc"] = TextFile(rc);
    files["quiz.cmake"] = TextFile("# Made by quizpack build from " + source +
                                   "; do not edit.\nset(QUIZ_EXECUTABLE_NAME \"" + quiz.executable + "\")\n");
    return files;
}

bool WriteBuildFolder(const std::map<std::string, std::vector<uint8_t>>& files, const std::string& folder,
                      std::string* error) {
    std::error_code ec;
    const fs::path dir = PathOfUtf8(folder);
    if (fs::exists(dir, ec) && !fs::is_directory(dir, ec)) {
        *error = folder + " est un fichier ; --out attend un dossier";
        return false;
    }
    fs::create_directories(dir, ec);
    if (ec) {
        *error = "impossible de créer le dossier " + folder + " (" + SystemErrorInFrench(ec.value()) + ")";
        return false;
    }
    std::vector<std::string> stale, foreign;
    if (!FolderContents(dir, files, folder, &stale, &foreign, error)) return false;
    if (!foreign.empty()) {
        std::sort(foreign.begin(), foreign.end());
        *error = "le dossier " + folder + " contient des fichiers que quizpack n'y a pas écrits (" + foreign[0] +
                 (foreign.size() > 1 ? ", …" : "") + ") ; donnez un dossier vide, ou celui d'une construction précédente";
        return false;
    }
    std::string written;
    for (const auto& [name, bytes] : files) {
        written += name + "\n";
        if (!WriteIfChanged(Utf8OfPath(dir / name), bytes, error)) return false;
    }
    for (const std::string& name : stale) fs::remove(dir / name, ec);
    errno = 0;
    if (WriteFileBytes(Utf8OfPath(dir / kManifest), reinterpret_cast<const uint8_t*>(written.data()), written.size()))
        return true;
    *error = "impossible d'écrire " + Utf8OfPath(dir / kManifest) + " (" + SystemErrorInFrench(errno) + ")";
    return false;
}

}  // namespace quizpack
