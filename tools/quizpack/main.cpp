// quizpack: the quiz authors' tool. Checks, packs and inspects quizzes.
// It speaks French to authors; command and option names stay as they are,
// so that scripts keep working.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "text/french.h"
#include "text/text.h"
#if defined(_WIN32)
#include "windows_edge.h"
#endif

namespace {

const char* const kVerbs[] = {"verdict", "lzw", "inspect", "check", "build", "exe", "png2bmp", "preview"};

// The player stub: the one given, else on Windows the one quizpack.exe
// carries, else player-stub.exe beside quizpack (the Linux archive, the
// build tree). False with the message to print.
bool LoadStub(const std::string& given, const char* argv0, std::vector<uint8_t>* stub,
              std::string* name) {
    *name = given;
#if defined(_WIN32)
    if (given.empty()) {
        *stub = quizpack::EmbeddedStub();
        *name = "le lecteur que quizpack.exe transporte";
        return true;
    }
#else
    if (given.empty()) {
        std::error_code ec;
        std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
        if (ec) self = quizpack::PathOfUtf8(argv0);
        *name = quizpack::Utf8OfPath(self.parent_path() / "player-stub.exe");
    }
#endif
    (void)argv0;
    return quizpack::ReadFileBytes(*name, stub);
}

// A quiz source as quizpack's one argument, as when it is dropped on
// quizpack.exe in Explorer: its .exe beside it. Without a prompt to print
// to, the outcome is said in a message box.
int MakeExeOfDroppedSource(const std::string& source, const char* argv0) {
    std::ostringstream out, err;
    std::vector<uint8_t> stub;
    std::string name;
    int rc = 2;
    if (!LoadStub("", argv0, &stub, &name))
        err << "quizpack : impossible de lire le lecteur vide " << name << "\n";
    else
        rc = quizpack::ExeCommand(source, "", stub, name, out, err);
#if defined(_WIN32)
    if (quizpack::StartedWithoutAPrompt()) {
        std::string text = out.str() + err.str();
        // A box shows a screenful: past 25 lines, the count of the rest.
        size_t at = 0, lines = 0;
        while (at < text.size() && lines < 25) {
            at = text.find('\n', at);
            if (at == std::string::npos) break;
            ++at;
            ++lines;
        }
        if (at != std::string::npos && at < text.size()) text = text.substr(0, at) + "…\n";
        quizpack::LeaveOwnConsole();
        quizpack::ShowMessage(rc == 0 ? text : "Le quiz n'est pas fait :\n\n" + text, rc != 0);
        return rc;
    }
#endif
    std::cout << out.str();
    std::cerr << err.str();
    return rc;
}

#if defined(_WIN32)
// quizpack.exe double-clicked in Explorer: a console would flash and close,
// so a box says what to do instead.
const char kStartedAlone[] =
    "quizpack fait l'exécutable d'un quiz : un jeu pour Windows, en un seul fichier .exe.\n\n"
    "Écrivez le quiz dans un fichier .toml, puis faites glisser le fichier du quiz sur "
    "quizpack.exe : l'exécutable du quiz s'écrit à côté de lui.\n\n"
    "Le guide ecrire-un-quiz.md, à côté de quizpack.exe, dit comment écrire un quiz ; "
    "fruits.toml en est un exemple.\n\n"
    "À l'invite de commandes : quizpack.exe exe mon-quiz.toml (quizpack.exe --help pour le reste).";
#endif

bool IsDroppedSource(const std::string& argument) {
    if (argument.empty() || argument[0] == '-') return false;
    for (const char* verb : kVerbs)
        if (argument == verb) return false;
    std::error_code ec;
    return std::filesystem::is_regular_file(quizpack::PathOfUtf8(argument), ec);
}

// CLI11's own words in its help screens, in French.
void SpeakFrench(CLI::App& app) {
    auto formatter = std::make_shared<CLI::Formatter>();
    formatter->label("Usage", "Utilisation ");  // CLI11 adds the colon: French puts a space before it
    formatter->label("OPTIONS", "OPTIONS");
    formatter->label("SUBCOMMAND", "COMMANDE");
    formatter->label("SUBCOMMANDS", "COMMANDES");
    formatter->label("Positionals", "Arguments ");  // CLI11 adds the colon
    formatter->label("REQUIRED", "(obligatoire)");
    formatter->label("TEXT", "TEXTE");
    app.formatter(formatter);
    // Group titles get CLI11's colon too: French puts a space before it.
    app.option_defaults()->group("Options ");
    app.set_help_flag("-h,--help", "affiche cette aide");
    app.set_version_flag("--version", "quizpack " QUIZPACK_VERSION, "affiche la version de quizpack");
}

// Subcommands take the formatter and help flag of their parent when they are
// made; their group name is set here, once they all exist.
void NameCommandGroups(CLI::App* app) {
    for (CLI::App* sub : app->get_subcommands({})) {
        sub->group("Commandes ");
        if (CLI::Option* help = sub->get_help_ptr()) help->group("Options ");
        NameCommandGroups(sub);
    }
}

// The deepest command the parse reached, and what it could have taken.
quizpack::CommandLineContext ContextOf(CLI::App& app, int argc, char** argv) {
    quizpack::CommandLineContext context{"quizpack", {}, {}};
    CLI::App* at = &app;
    while (true) {
        CLI::App* chosen = nullptr;
        for (CLI::App* sub : at->get_subcommands({}))
            if (sub->parsed()) chosen = sub;
        if (!chosen) break;
        context.where += " " + chosen->get_name();
        at = chosen;
    }
    for (CLI::App* sub : at->get_subcommands({})) context.commands.push_back(sub->get_name());
    // The first word after the last command reached is where a verb was due.
    int first = 1;
    if (at != &app) first = static_cast<int>(std::find(argv + 1, argv + argc, at->get_name()) - argv) + 1;
    for (int i = first; i < argc; ++i)
        if (argv[i][0] && argv[i][0] != '-') {
            context.stray = argv[i];
            break;
        }
    return context;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Windows hands the arguments over in the ANSI code page: take them wide.
    std::vector<std::string> arguments = quizpack::Utf8Arguments();
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    if (!arguments.empty()) {
        argc = static_cast<int>(arguments.size());
        argv = pointers.data();
    }
    quizpack::PrepareConsole();
#endif
#if defined(_WIN32)
    if (argc == 1 && quizpack::StartedWithoutAPrompt()) {
        quizpack::LeaveOwnConsole();
        quizpack::ShowMessage(kStartedAlone, false);
        return 0;
    }
#endif
    if (argc == 2 && IsDroppedSource(argv[1])) return MakeExeOfDroppedSource(argv[1], argv[0]);

    CLI::App app{"quizpack : vérifie, empaquette et inspecte les quiz en images du lecteur",
                 "quizpack"};
    SpeakFrench(app);
    app.require_subcommand(1);
    // "/home/..." is a file on Windows too, never an option.
    app.allow_windows_style_options(false);

    auto* verdict = app.add_subcommand(
        "verdict", "Donne le verdict du lecteur pour une réponse tapée face à une réponse admise");
    std::string expected, typed;
    bool batch = false;
    verdict->add_option("EXPECTED", expected, "réponse admise, en UTF-8");
    verdict->add_option("TYPED", typed, "réponse tapée, en UTF-8");
    verdict->footer("Exemple : quizpack verdict \"Crème brûlée\" \"creme brulee\"\n");
    verdict->add_flag("--batch", batch,
                      "lit sur l'entrée standard des lignes ATTENDUHEX<TAB>TAPEHEX (octets CP1252 "
                      "en hexadécimal) et donne un verdict par ligne");

    auto* lzw = app.add_subcommand("lzw", "Code ou décode le flux LZW des enregistrements");
    lzw->require_subcommand(1);
    std::string lzwIn, lzwOut;
    auto* encode = lzw->add_subcommand("encode", "Compresse les octets de IN dans OUT");
    encode->add_option("IN", lzwIn, "octets en clair")->required()->type_name("FICHIER");
    encode->add_option("OUT", lzwOut, "flux à écrire")->required()->type_name("FICHIER");
    encode->footer("Exemple : quizpack lzw encode record104.txt record104.bin\n");
    auto* decode = lzw->add_subcommand(
        "decode", "Décompresse IN dans OUT ; en cas d'échec, OUT reçoit les octets déjà décodés");
    decode->add_option("IN", lzwIn, "flux")->required()->type_name("FICHIER");
    decode->add_option("OUT", lzwOut, "octets en clair à écrire")->required()->type_name("FICHIER");
    decode->footer("Exemple : quizpack lzw decode record104.bin record104.txt\n");
    lzw->footer("Exemple : quizpack lzw decode record104.bin record104.txt\n");

    auto* inspect = app.add_subcommand(
        "inspect", "Charge des enregistrements comme le lecteur et montre ce qu'il y lit");
    std::string builtIn, record104, record105;
    bool json = false;
    inspect->add_option("BUILTIN", builtIn,
                        "l'enregistrement intégré (70 octets au plus ; un fichier plus court est "
                        "complété par des zéros)")
        ->required()
        ->type_name("FICHIER");
    inspect->add_option("REC104", record104, "l'enregistrement 104 tel que stocké")->required()->type_name("FICHIER");
    inspect->add_option("REC105", record105, "l'enregistrement 105 tel que stocké")->required()->type_name("FICHIER");
    inspect->add_flag("--json", json, "donne un seul objet JSON");
    inspect->footer("Un fichier vide tient lieu d'enregistrement absent.\n"
                    "Exemple : quizpack inspect quiz/builtin.bin quiz/record104.bin quiz/record105.bin\n");

    auto* check = app.add_subcommand(
        "check",
        "Vérifie la source d'un quiz et signale chaque problème sous la forme fichier:ligne: "
        "champ: message");
    std::string source, outDir;
    check->add_option("QUIZ", source, "la source du quiz (.toml)")->required()->type_name("FICHIER");
    check->footer("Exemple : quizpack check mon-quiz.toml\n");
    auto* build = app.add_subcommand(
        "build", "Vérifie la source d'un quiz, puis écrit ce que la construction du lecteur embarque");
    build->add_option("QUIZ", source, "la source du quiz (.toml)")->required()->type_name("FICHIER");
    build->add_option("--out", outDir,
                      "dossier où écrire ; il ne garde que ce que quizpack y a écrit")
        ->required()
        ->type_name("DOSSIER");
    build->footer("Exemple : quizpack build mon-quiz.toml --out construction\n");

    auto* exe = app.add_subcommand(
        "exe", "Vérifie la source d'un quiz, puis écrit l'exécutable qui le joue, relu avant d'être "
               "mis en place");
    std::string exeOut, stubPath;
    exe->add_option("QUIZ", source, "la source du quiz (.toml)")->required()->type_name("FICHIER");
    exe->add_option("--out", exeOut,
                    "l'exécutable à écrire (par défaut : son nom « executable » à côté de la source)")
        ->type_name("FICHIER");
    exe->add_option("--stub", stubPath, "le lecteur vide à compléter (par défaut : player-stub.exe "
                                        "à côté de quizpack)")
        ->type_name("FICHIER");
    exe->footer("Exemple : quizpack exe mon-quiz.toml --out mon-quiz.exe\n");

    auto* png2bmp = app.add_subcommand(
        "png2bmp", "Décode un PNG avec le décodeur du lecteur et écrit en BMP le DIB qu'il fait");
    std::string pngIn, bmpOut;
    png2bmp->add_option("IN", pngIn, "fichier PNG")->required()->type_name("FICHIER");
    png2bmp->add_option("OUT", bmpOut, "fichier BMP à écrire")->required()->type_name("FICHIER");
    png2bmp->footer("Exemple : quizpack png2bmp grille.png grille.bmp\n");
    auto* preview = app.add_subcommand(
        "preview", "Écrit le corrigé : la grille avec chaque réponse marquée à sa place");
    std::string previewOut;
    preview->add_option("QUIZ", source, "la source du quiz (.toml)")->required()->type_name("FICHIER");
    preview->add_option("OUT", previewOut, "fichier PNG à écrire")->required()->type_name("FICHIER");
    preview->footer("Exemple : quizpack preview mon-quiz.toml corrige.png\n");
    NameCommandGroups(&app);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << quizpack::CommandLineErrorInFrench(e.what(), ContextOf(app, argc, argv))
                  << "\n";
        return 2;
    }

    if (*verdict) {
        bool hasPair = verdict->count("EXPECTED") && verdict->count("TYPED");
        bool hasAny = verdict->count("EXPECTED") || verdict->count("TYPED");
        if (batch && hasAny) {
            std::cerr << "quizpack verdict : --batch lit l'entrée standard et ne prend pas de "
                         "réponses\n";
            return 2;
        }
        if (batch) return quizpack::VerdictBatchCommand(std::cin, std::cout, std::cerr);
        if (!hasPair) {
            std::cerr << "quizpack verdict : donnez EXPECTED et TYPED, ou --batch\n"
                      << verdict->help();
            return 2;
        }
        return quizpack::VerdictCommand(expected, typed, std::cout, std::cerr);
    }
    if (*png2bmp) return quizpack::Png2BmpCommand(pngIn, bmpOut, std::cerr);
    if (*check) return quizpack::CheckCommand(source, std::cout, std::cerr);
    if (*build) return quizpack::BuildCommand(source, outDir, std::cout, std::cerr);
    if (*exe) {
        std::vector<uint8_t> stub;
        std::string stubName;
        if (!LoadStub(stubPath, argv[0], &stub, &stubName)) {
            std::cerr << "quizpack exe : impossible de lire le lecteur vide " << stubName
                      << " ; donnez-le avec --stub\n";
            return 2;
        }
        return quizpack::ExeCommand(source, exeOut, stub, stubName, std::cout, std::cerr);
    }
    if (*preview) return quizpack::PreviewCommand(source, previewOut, std::cout, std::cerr);
    if (*encode) return quizpack::LzwEncodeCommand(lzwIn, lzwOut, std::cerr);
    if (*decode) return quizpack::LzwDecodeCommand(lzwIn, lzwOut, std::cerr);
    if (*inspect)
        return quizpack::InspectCommand(builtIn, record104, record105, json, std::cout, std::cerr);
    return 2;
}
