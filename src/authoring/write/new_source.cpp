#include "write/new_source.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>

#include "judge/text_rules.h"
#include "sections/mosaic/mosaic_layout.h"
#include "sections/word_search/word_search.h"
#include "text/french.h"
#include "text/text.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

// A name as people sort it: letters folded to capitals without accents.
std::string SortKey(const std::string& utf8) {
    std::string cp1252, key;
    if (!Utf8ToCp1252(utf8, &cp1252, nullptr)) return utf8;
    for (char c : cp1252) {
        const char* folded = FoldedLetters(static_cast<uint8_t>(c));
        key += folded && *folded ? folded : std::string(1, c);
    }
    return key;
}

// A name with hyphens and underscores as spaces, the first letter a capital.
std::string Words(const std::string& utf8) {
    std::string cp1252, words;
    if (!Utf8ToCp1252(utf8, &cp1252, nullptr)) cp1252 = utf8;
    for (char c : cp1252) {
        const char space = c == '-' || c == '_' ? ' ' : c;
        if (space == ' ' && (words.empty() || words.back() == ' ')) continue;
        words += space;
    }
    while (!words.empty() && words.back() == ' ') words.pop_back();
    if (!words.empty()) {
        const uint8_t b = static_cast<uint8_t>(words[0]);
        if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) words[0] = static_cast<char>(b - 0x20);
    }
    return Cp1252ToUtf8(words);
}

// A TOML basic string.
std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string AnswerOfFileName(const std::string& fileName) { return Words(Utf8OfPath(PathOfUtf8(fileName).stem())); }

std::vector<std::string> PicturesOfFolder(const std::string& folder) {
    std::vector<std::string> pictures;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(PathOfUtf8(folder), ec)) {
        const std::string name = Utf8OfPath(entry.path().filename());
        if (entry.is_regular_file(ec) && FormatOfName(name) != PictureFormat::Unknown) pictures.push_back(name);
    }
    std::sort(pictures.begin(), pictures.end(), [](const std::string& a, const std::string& b) {
        const std::string ka = SortKey(a), kb = SortKey(b);
        return ka != kb ? ka < kb : a < b;
    });
    return pictures;
}

std::string ExecutableOfFolder(const std::string& folderName) {
    std::string name = AsciiProgramName(folderName);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c != '-' && c != '_' && !std::isalnum(static_cast<unsigned char>(c)); }),
               name.end());
    if (name.size() > 64) name.resize(64);
    return name.empty() ? "quiz" : name;
}

std::string NewQuizSource(const std::string& folderName, const std::vector<std::string>& pictures) {
    std::string source =
        "# Quiz fait par quizpack new à partir des images de ce dossier : une question par image.\n"
        "# Chaque réponse vient du nom de son image ; changez-la ici si besoin (le joueur doit\n"
        "# pouvoir la taper), comme le titre. Un texte par question (text = \"...\") s'affiche\n"
        "# une fois la question trouvée si vous ajoutez layoutType = 3.\n"
        "# Puis faites glisser ce fichier sur quizpack.exe (ou : quizpack exe quiz.toml).\n\n"
        "executable = " + Quoted(ExecutableOfFolder(folderName)) + "\n"
        "title = " + Quoted(Words(folderName)) + "\n\n"
        "[mosaique]\n# columns = 3  # facultatif : le nombre de colonnes de la mosaïque\n";
    for (const std::string& picture : pictures)
        source += "\n[[question]]\nimage = " + Quoted(picture) + "\nanswer = " + Quoted(AnswerOfFileName(picture)) + "\n";
    return source;
}

bool WriteNewSource(const std::string& folder, std::string* sourcePath, bool* kept, size_t* pictures,
                    std::string* error) {
    const fs::path dir = PathOfUtf8(folder);
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        *error = folder + " n'est pas un dossier";
        return false;
    }
    *sourcePath = Utf8OfPath(dir / "quiz.toml");
    *kept = fs::exists(dir / "quiz.toml", ec);
    if (*kept) return true;
    const std::vector<std::string> found = PicturesOfFolder(folder);
    *pictures = found.size();
    if (found.size() < size_t(MosaicLayout::kMinPictures) || found.size() > size_t(MosaicLayout::kMaxPictures)) {
        *error = folder + " contient " + std::to_string(found.size()) + " image(s) GIF, JPEG, BMP ou PNG ; une mosaïque en assemble " +
                 std::to_string(MosaicLayout::kMinPictures) + " à " + std::to_string(MosaicLayout::kMaxPictures);
        return false;
    }
    const fs::path name = fs::weakly_canonical(dir, ec).filename();
    const std::string source = NewQuizSource(Utf8OfPath(name), found);
    errno = 0;
    if (WriteFileBytes(*sourcePath, reinterpret_cast<const uint8_t*>(source.data()), source.size())) return true;
    *error = "impossible d'écrire " + *sourcePath + " (" + SystemErrorInFrench(errno) + ")";
    return false;
}

}  // namespace quizpack
