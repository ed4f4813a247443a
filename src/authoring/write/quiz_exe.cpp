#include "write/quiz_exe.h"

#include <cerrno>
#include <filesystem>

#include "text/french.h"
#include "grid/quiz_tables.h"
#include "text/text.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

constexpr uint16_t kRtDialog = 5;

const Resource* Find(const std::vector<Resource>& list, const Resource& wanted) {
    for (const Resource& r : list)
        if (r.type == wanted.type && r.name == wanted.name && r.language == wanted.language) return &r;
    return nullptr;
}

const Resource* FindData(const std::vector<Resource>& list, const char* type, int id) {
    Resource wanted;
    wanted.type = ResourceName(type);
    wanted.name = ResourceId(static_cast<uint16_t>(id));
    return Find(list, wanted);
}

std::string KeyText(const ResourceKey& key) {
    if (!key.named) return std::to_string(key.id);
    std::string ascii;
    for (char16_t c : key.name) ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return "\"" + ascii + "\"";
}

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

}  // namespace

bool CheckPlayerStub(const std::vector<uint8_t>& stub, std::string* error) {
    std::vector<Resource> own;
    std::string why;
    if (!ReadResources(stub, &own, &why)) {
        *error = "le lecteur n'est pas un programme Windows que quizpack sache compléter (" + why + ")";
        return false;
    }
    for (int id : {1001, 1002}) {
        Resource dialog;
        dialog.type = ResourceId(kRtDialog);
        dialog.name = ResourceId(static_cast<uint16_t>(id));
        if (!Find(own, dialog)) {
            *error = "ce programme n'est pas le lecteur de quiz (il n'a pas les fenêtres du lecteur)";
            return false;
        }
    }
    for (const Resource& r : own)
        if (r.type == ResourceName("PATCH")) {
            *error = "ce lecteur contient déjà un quiz ; donnez le lecteur vide (player-stub.exe)";
            return false;
        }
    return true;
}

bool MakeQuizExe(const std::vector<uint8_t>& stub, const std::vector<Resource>& resources,
                 std::vector<uint8_t>* exe, std::string* error, std::vector<std::string>* notes) {
    if (!CheckPlayerStub(stub, error)) return false;
    return WriteResources(stub, resources, exe, error, notes);
}

bool VerifyQuizExe(const std::vector<uint8_t>& exe, const QuizDefinition& quiz,
                   const std::vector<Resource>& resources, std::string* error) {
    std::vector<Resource> found;
    std::string why;
    if (!ReadResources(exe, &found, &why)) {
        *error = "relu, l'exécutable ne se lit plus (" + why + ")";
        return false;
    }
    for (const Resource& r : resources) {
        const Resource* back = Find(found, r);
        if (!back || back->data != r.data) {
            *error = "relu, l'exécutable " + std::string(back ? "n'a pas les octets" : "n'a pas") +
                     " de la ressource " + KeyText(r.type) + " " + KeyText(r.name);
            return false;
        }
    }
    // The header's checksum, where the loader and the tools look for it.
    const uint32_t pe = Get32(exe, 0x3C);
    if (Get32(exe, pe + 24 + 64) != PeChecksum(exe)) {
        *error = "relu, la somme de contrôle de l'exécutable est fausse";
        return false;
    }
    const Resource* builtIn = FindData(found, "PATCH", quiz::kBuiltInRecordResourceId);
    const Resource* r104 = FindData(found, "PATCH", 104);
    const Resource* r105 = FindData(found, "PATCH", 105);
    if (!builtIn || builtIn->data.size() != quiz::kBuiltInRecordSize || !r104 || !r105) {
        *error = "relu, l'exécutable n'a pas les trois enregistrements du quiz";
        return false;
    }
    quiz::StoredRecords stored;
    std::copy(builtIn->data.begin(), builtIn->data.end(), stored.builtIn.begin());
    stored.record104 = r104->data;
    stored.record105 = r105->data;
    if (!quiz::VerifyStoredRecords(quiz.package, stored, &why)) {
        *error = "relu, le lecteur lirait autre chose que le quiz : " + why;
        return false;
    }
    const Resource* letters = FindData(found, quiz::kTableResourceType, quiz::kLetterCountTableId);
    const Resource* places = FindData(found, quiz::kTableResourceType, quiz::kAnswerPlaceTableId);
    quiz::QuizTables tables =
        quiz::ReadQuizTables(letters ? letters->data.data() : nullptr, letters ? letters->data.size() : 0,
                             places ? places->data.data() : nullptr, places ? places->data.size() : 0);
    for (size_t k = 1; k <= quiz.questions.size(); ++k) {
        const QuestionDefinition& q = quiz.questions[k - 1];
        quiz::AnswerPlace place{};
        const bool placed = quiz::AnswerPlaceOf(tables, static_cast<int>(k), &place);
        if (quiz::LetterCountOf(tables, static_cast<int>(k)) != q.letters || placed != q.hasOverlay ||
            (placed && (place.left != q.place[0] || place.top != q.place[1] ||
                        place.width != q.place[2] || place.height != q.place[3]))) {
            *error = "relu, le lecteur lirait d'autres tables pour la question " + std::to_string(k);
            return false;
        }
    }
    return true;
}

bool WriteQuizExe(const std::string& path, const std::vector<uint8_t>& exe,
                  const QuizDefinition& quiz, const std::vector<Resource>& resources,
                  std::string* error) {
    const fs::path target = PathOfUtf8(path);
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        *error = path + " est un dossier ; --out attend le nom de l'exécutable";
        return false;
    }
    // Beside its target, so that the last move stays within one folder.
    fs::path partial = target;
    partial += ".quizpack-partiel";
    errno = 0;
    if (!WriteFileBytes(Utf8OfPath(partial), exe.data(), exe.size())) {
        *error = "impossible d'écrire " + Utf8OfPath(partial) + " (" + SystemErrorInFrench(errno) + ")";
        fs::remove(partial, ec);
        return false;
    }
    std::vector<uint8_t> back;
    std::string why;
    if (!ReadFileBytes(Utf8OfPath(partial), &back) || back != exe) {
        *error = "relu, " + Utf8OfPath(partial) + " n'a pas les octets écrits";
        fs::remove(partial, ec);
        return false;
    }
    if (!VerifyQuizExe(back, quiz, resources, &why)) {
        *error = why;
        fs::remove(partial, ec);
        return false;
    }
    // Runnable where that is a file's permission (Wine on Linux runs it either way).
    fs::permissions(partial, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
    fs::rename(partial, target, ec);
    if (ec) {
        *error = "impossible de remplacer " + path + " (" + SystemErrorInFrench(ec.value()) + ")";
        fs::remove(partial, ec);
        return false;
    }
    return true;
}

}  // namespace quizpack
