// quizpack: the quiz authors' tool. Checks, packs and inspects quizzes.
// It speaks French to authors; command and option names stay as they are,
// so that scripts keep working.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>

#include "commands.h"
#include "french.h"
#include "text.h"

namespace {

// The player stub travels beside quizpack (the Linux archive, the build tree).
std::string StubBesideQuizpack(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) self = quizpack::PathOfUtf8(argv0);
    return quizpack::Utf8OfPath(self.parent_path() / "player-stub.exe");
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
    CLI::App app{"quizpack : vérifie, empaquette et inspecte les quiz en images du lecteur",
                 "quizpack"};
    SpeakFrench(app);
    app.require_subcommand(1);

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
        if (stubPath.empty()) stubPath = StubBesideQuizpack(argv[0]);
        std::vector<uint8_t> stub;
        if (!quizpack::ReadFileBytes(stubPath, &stub)) {
            std::cerr << "quizpack exe : impossible de lire le lecteur vide " << stubPath
                      << " ; donnez-le avec --stub\n";
            return 2;
        }
        return quizpack::ExeCommand(source, exeOut, stub, stubPath, std::cout, std::cerr);
    }
    if (*preview) return quizpack::PreviewCommand(source, previewOut, std::cout, std::cerr);
    if (*encode) return quizpack::LzwEncodeCommand(lzwIn, lzwOut, std::cerr);
    if (*decode) return quizpack::LzwDecodeCommand(lzwIn, lzwOut, std::cerr);
    if (*inspect)
        return quizpack::InspectCommand(builtIn, record104, record105, json, std::cout, std::cerr);
    return 2;
}
