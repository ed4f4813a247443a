#include "verbs.h"

#include <filesystem>
#include <iostream>

#include "commands.h"
#include "pictures/embedded_font.h"
#include "text/text.h"
#if defined(_WIN32)
#include "windows_edge.h"
#endif

namespace quizpack {

namespace {

CLI::Option* File(CLI::App& command, const char* name, std::string& to, const char* help) {
    return command.add_option(name, to, help)->required()->type_name("FICHIER");
}

void DeclareVerdict(CLI::App& c, Arguments& a) {
    c.add_option("EXPECTED", a.expected, "réponse admise, en UTF-8");
    c.add_option("TYPED", a.typed, "réponse tapée, en UTF-8");
    c.add_flag("--batch", a.batch,
               "lit sur l'entrée standard des lignes ATTENDUHEX<TAB>TAPEHEX (octets CP1252 en hexadécimal) et "
               "donne un verdict par ligne");
}

int RunVerdict(const CLI::App& c, const Arguments& a) {
    const bool hasPair = c.count("EXPECTED") && c.count("TYPED");
    const bool hasAny = c.count("EXPECTED") || c.count("TYPED");
    if (a.batch && hasAny) {
        std::cerr << "quizpack verdict : --batch lit l'entrée standard et ne prend pas de réponses\n";
        return 2;
    }
    if (a.batch) return VerdictBatchCommand(std::cin, std::cout, std::cerr);
    if (!hasPair) {
        std::cerr << "quizpack verdict : donnez EXPECTED et TYPED, ou --batch\n" << c.help();
        return 2;
    }
    return VerdictCommand(a.expected, a.typed, std::cout, std::cerr);
}

void DeclareEncode(CLI::App& c, Arguments& a) {
    File(c, "IN", a.in, "octets en clair");
    File(c, "OUT", a.out, "flux à écrire");
}
void DeclareDecode(CLI::App& c, Arguments& a) {
    File(c, "IN", a.in, "flux");
    File(c, "OUT", a.out, "octets en clair à écrire");
}

void DeclareInspect(CLI::App& c, Arguments& a) {
    File(c, "BUILTIN", a.builtIn,
         "l'enregistrement intégré (70 octets au plus ; un fichier plus court est complété par des zéros)");
    File(c, "REC104", a.record104, "l'enregistrement 104 tel que stocké");
    File(c, "REC105", a.record105, "l'enregistrement 105 tel que stocké");
    c.add_flag("--json", a.json, "donne un seul objet JSON");
}

void DeclareSource(CLI::App& c, Arguments& a) { File(c, "QUIZ", a.source, "la source du quiz (.toml)"); }

void DeclareBuild(CLI::App& c, Arguments& a) {
    DeclareSource(c, a);
    c.add_option("--out", a.outDir, "dossier où écrire ; il ne garde que ce que quizpack y a écrit")
        ->required()
        ->type_name("DOSSIER");
}

void DeclareExe(CLI::App& c, Arguments& a) {
    DeclareSource(c, a);
    c.add_option("--out", a.exeOut, "l'exécutable à écrire (par défaut : son nom « executable » à côté de la source)")
        ->type_name("FICHIER");
    c.add_option("--stub", a.stub, "le lecteur vide à compléter (par défaut : player-stub.exe à côté de quizpack)")
        ->type_name("FICHIER");
}

int RunExe(const CLI::App&, const Arguments& a) {
    std::vector<uint8_t> stub;
    std::string stubName;
    if (!LoadStub(a.stub, a.argv0, &stub, &stubName)) {
        std::cerr << "quizpack exe : impossible de lire le lecteur vide " << stubName << " ; donnez-le avec --stub\n";
        return 2;
    }
    return ExeCommand(a.source, a.exeOut, stub, stubName, std::cout, std::cerr);
}

void DeclareNew(CLI::App& c, Arguments& a) {
    c.add_option("DOSSIER", a.source, "le dossier des images")->required()->type_name("");
    c.add_option("--stub", a.stub, "le lecteur vide à compléter (par défaut : player-stub.exe à côté de quizpack)")
        ->type_name("FICHIER");
}

int RunNew(const CLI::App&, const Arguments& a) {
    std::vector<uint8_t> stub;
    std::string stubName;
    if (!LoadStub(a.stub, a.argv0, &stub, &stubName)) {
        std::cerr << "quizpack new : impossible de lire le lecteur vide " << stubName << " ; donnez-le avec --stub\n";
        return 2;
    }
    // The page too, as a folder dropped on quizpack.exe makes it.
    WebCore core;
    std::string why;
    const bool coreFound = LoadWebCore(a.argv0, &core, &why);
    return NewCommand(a.source, stub, stubName, coreFound ? &core : nullptr, why, std::cout, std::cerr);
}

void DeclareWeb(CLI::App& c, Arguments& a) {
    DeclareSource(c, a);
    c.add_option("--out", a.exeOut, "la page à écrire (par défaut : son nom « executable » en .html à côté de la source)")
        ->type_name("FICHIER");
    c.add_option("--page-dir", a.pageDir,
                 "prend page.html, page.css et page.js dans ce dossier plutôt que ceux de quizpack (pour voir "
                 "une page qu'on retouche sans reconstruire quizpack)")
        ->type_name("DOSSIER");
    c.add_flag("--floor", a.floor, "la page sans script du banc d'essai")->group("");
}

int RunWeb(const CLI::App&, const Arguments& a) {
    WebCore core;
    std::string why;
    if (!LoadWebCore(a.argv0, &core, &why)) {
        std::cerr << "quizpack web : " << why << "\n";
        return 2;
    }
    return WebCommand(a.source, a.exeOut, core, a.floor, std::cout, std::cerr, nullptr, a.pageDir);
}

void DeclareScorm(CLI::App& c, Arguments& a) {
    DeclareSource(c, a);
    c.add_option("--out", a.exeOut,
                 "le paquetage à écrire (par défaut : son nom « executable » en .zip à côté de la source)")
        ->type_name("FICHIER");
}

int RunScorm(const CLI::App&, const Arguments& a) {
    WebCore core;
    std::string why;
    if (!LoadWebCore(a.argv0, &core, &why)) {
        std::cerr << "quizpack scorm : " << why << "\n";
        return 2;
    }
    return ScormCommand(a.source, a.exeOut, core, std::cout, std::cerr);
}

void DeclareAtelier(CLI::App& c, Arguments& a) {
    c.add_option("--out", a.exeOut, "la page à écrire (par défaut : atelier.html ici)")->type_name("FICHIER");
    c.add_option("--stub", a.stub, "le lecteur vide à compléter (par défaut : player-stub.exe à côté de quizpack)")
        ->type_name("FICHIER");
}

int RunAtelier(const CLI::App&, const Arguments& a) {
    std::vector<uint8_t> stub;
    std::string stubName, why;
    if (!LoadStub(a.stub, a.argv0, &stub, &stubName)) {
        std::cerr << "quizpack atelier : impossible de lire le lecteur vide " << stubName << " ; donnez-le avec --stub\n";
        return 2;
    }
    WebCore core;
    AtelierLibrary library;
    if (!LoadWebCore(a.argv0, &core, &why) || !LoadAtelierLibrary(a.argv0, &library, &why)) {
        std::cerr << "quizpack atelier : " << why << "\n";
        return 2;
    }
    const PageFiles page = BuiltInPageFiles();
    auto bytes = [](std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); };
    const CarriedList carried = {{"StubFile", stub}, {"CoreFile", bytes(core.script)}, {"CoreWasmFile", core.wasm},
                                 {"PageHtml", bytes(page.html)}, {"PageCss", bytes(page.style)},
                                 {"PageScript", bytes(page.script)},
                                 {"FontFile", {EmbeddedFont(), EmbeddedFont() + EmbeddedFontSize()}}};
    return AtelierCommand(a.exeOut, library, carried, std::cout, std::cerr);
}

void DeclarePng2Bmp(CLI::App& c, Arguments& a) {
    File(c, "IN", a.in, "fichier PNG");
    File(c, "OUT", a.out, "fichier BMP à écrire");
}

void DeclarePreview(CLI::App& c, Arguments& a) {
    DeclareSource(c, a);
    File(c, "OUT", a.out, "fichier PNG à écrire");
}

}  // namespace

bool IsAuthorsVerb(const Verb& verb) {
    for (const char* name : {"new", "check", "exe", "web", "scorm", "atelier", "preview"})
        if (std::string(name) == verb.name) return true;
    return false;
}

const std::vector<Verb>& Verbs() {
    static const std::vector<Verb> verbs = {
        {"new", nullptr,
         "Fait un quiz d'un dossier d'images (une question par image, la réponse tirée du nom du fichier), "
         "puis écrit dans le dossier son quiz.toml, son exécutable et sa page web",
         "Exemple : quizpack new mes-images", DeclareNew, RunNew},
        {"check", nullptr,
         "Vérifie la source d'un quiz et dit chaque problème, avec ce qu'il faut faire (fichier:ligne: champ: "
         "message)",
         "Exemple : quizpack check mon-quiz.toml", DeclareSource,
         [](const CLI::App&, const Arguments& a) { return CheckCommand(a.source, std::cout, std::cerr); }},
        {"exe", nullptr,
         "Vérifie la source d'un quiz, puis écrit l'exécutable qui le joue sous Windows",
         "Exemple : quizpack exe mon-quiz.toml --out mon-quiz.exe", DeclareExe, RunExe},
        {"web", nullptr,
         "Vérifie la source d'un quiz, puis écrit la page web qui le joue dans un navigateur : un seul fichier "
         ".html, qui s'ouvre d'un disque comme d'un serveur, sans réseau",
         "Exemple : quizpack web mon-quiz.toml --out mon-quiz.html", DeclareWeb, RunWeb},
        {"scorm", nullptr,
         "Vérifie la source d'un quiz, puis écrit son paquetage SCORM 1.2 (.zip) : la page web, que la plateforme "
         "de la classe (Moodle…) montre à chaque élève, avec son score et ses réponses gardés",
         "Exemple : quizpack scorm mon-quiz.toml --out mon-quiz.zip", DeclareScorm, RunScorm},
        {"atelier", nullptr,
         "Écrit l'atelier : une page qui fait les quiz dans un navigateur, sur tout ordinateur (le .exe, la page "
         "web et le corrigé), sans réseau",
         "Exemple : quizpack atelier --out atelier.html", DeclareAtelier, RunAtelier},
        {"preview", nullptr, "Écrit le corrigé : la grille avec chaque réponse marquée à sa place",
         "Exemple : quizpack preview mon-quiz.toml corrige.png", DeclarePreview,
         [](const CLI::App&, const Arguments& a) { return PreviewCommand(a.source, a.out, std::cout, std::cerr); }},
        // The builders' verbs, after the authors'.
        {"build", nullptr, "Vérifie la source d'un quiz, puis écrit ce que la construction du lecteur embarque",
         "Exemple : quizpack build mon-quiz.toml --out construction", DeclareBuild,
         [](const CLI::App&, const Arguments& a) { return BuildCommand(a.source, a.outDir, std::cout, std::cerr); }},
        {"inspect", nullptr, "Charge des enregistrements comme le lecteur et montre ce qu'il y lit",
         "Un fichier vide tient lieu d'enregistrement absent.\n"
         "Exemple : quizpack inspect quiz/builtin.bin quiz/record104.bin quiz/record105.bin",
         DeclareInspect,
         [](const CLI::App&, const Arguments& a) {
             return InspectCommand(a.builtIn, a.record104, a.record105, a.json, std::cout, std::cerr);
         }},
        {"lzw", nullptr, "Code ou décode le flux LZW des enregistrements",
         "Exemple : quizpack lzw decode record104.bin record104.txt", nullptr, nullptr},
        {"encode", "lzw", "Compresse les octets de IN dans OUT", "Exemple : quizpack lzw encode record104.txt record104.bin",
         DeclareEncode, [](const CLI::App&, const Arguments& a) { return LzwEncodeCommand(a.in, a.out, std::cerr); }},
        {"decode", "lzw", "Décompresse IN dans OUT ; en cas d'échec, OUT reçoit les octets déjà décodés",
         "Exemple : quizpack lzw decode record104.bin record104.txt", DeclareDecode,
         [](const CLI::App&, const Arguments& a) { return LzwDecodeCommand(a.in, a.out, std::cerr); }},
        {"verdict", nullptr, "Donne le verdict du lecteur pour une réponse tapée face à une réponse admise",
         "Exemple : quizpack verdict \"Crème brûlée\" \"creme brulee\"\n", DeclareVerdict, RunVerdict},
        {"png2bmp", nullptr, "Décode un PNG avec le décodeur du lecteur et écrit en BMP le DIB qu'il fait",
         "Exemple : quizpack png2bmp grille.png grille.bmp", DeclarePng2Bmp,
         [](const CLI::App&, const Arguments& a) { return Png2BmpCommand(a.in, a.out, std::cerr); }},
    };
    return verbs;
}

bool LoadWebCore(const char* argv0, WebCore* core, std::string* why) {
#if defined(_WIN32)
    (void)argv0;
    *core = EmbeddedWebCore();
    *why = "ce quizpack.exe a été construit sans emscripten : il n'a pas le cœur du jeu pour la page web";
#else
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = PathOfUtf8(argv0);
    const std::string path = Utf8OfPath(self.parent_path() / "quiz_core.js");
    std::vector<uint8_t> script;
    if (ReadFileBytes(path, &script) && ReadFileBytes(Utf8OfPath(self.parent_path() / "quiz_core.wasm"), &core->wasm))
        core->script.assign(script.begin(), script.end());
    *why = "impossible de trouver le cœur du jeu " + path + " et quiz_core.wasm" +
           " (il se construit avec emscripten : apt-get install emscripten, puis reconstruisez quizpack)";
#endif
    return !core->script.empty() && !core->wasm.empty();
}

bool LoadAtelierLibrary(const char* argv0, AtelierLibrary* library, std::string* why) {
#if defined(_WIN32)
    (void)argv0;
    *library = EmbeddedAtelierLibrary();
    *why = "ce quizpack.exe a été construit sans emscripten : il n'a pas la bibliothèque de l'atelier";
#else
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = PathOfUtf8(argv0);
    const std::string path = Utf8OfPath(self.parent_path() / "atelier_lib.js");
    std::vector<uint8_t> script;
    if (ReadFileBytes(path, &script) && ReadFileBytes(Utf8OfPath(self.parent_path() / "atelier_lib.wasm"), &library->wasm))
        library->script.assign(script.begin(), script.end());
    *why = "impossible de trouver la bibliothèque de l'atelier " + path + " et atelier_lib.wasm" +
           " (elle se construit avec emscripten : apt-get install emscripten, puis reconstruisez quizpack)";
#endif
    return !library->script.empty() && !library->wasm.empty();
}

bool LoadStub(const std::string& given, const char* argv0, std::vector<uint8_t>* stub, std::string* name) {
    *name = given;
#if defined(_WIN32)
    if (given.empty()) {
        *stub = EmbeddedStub();
        *name = "le lecteur que quizpack.exe transporte";
        return true;
    }
#else
    if (given.empty()) {
        std::error_code ec;
        std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) self = PathOfUtf8(argv0);
        *name = Utf8OfPath(self.parent_path() / "player-stub.exe");
    }
#endif
    (void)argv0;
    return ReadFileBytes(*name, stub);
}

}  // namespace quizpack
