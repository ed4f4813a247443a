// quizpack: the quiz authors' tool. Checks, packs and inspects quizzes.
// It speaks French to authors; command and option names stay as they are,
// so that scripts keep working.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "commands.h"
#include "verbs.h"
#include "text/french.h"
#include "text/text.h"
#if defined(_WIN32)
#include "windows_edge.h"
#endif

namespace {

// A quiz source as quizpack's one argument, as when it is dropped on
// quizpack.exe in Explorer: its .exe beside it; a folder of pictures: its
// quiz.toml and its .exe in it. Without a prompt to print to, the outcome is
// said in a message box.
int MakeExeOfDroppedSource(const std::string& source, const char* argv0) {
    std::ostringstream out, err;
    std::vector<uint8_t> stub;
    std::string name;
    quizpack::DropReport report;
    int rc = 2;
    // The same quiz as a web page beside its .exe, for every other device.
    quizpack::WebCore core;
    std::string why;
    const bool coreFound = quizpack::LoadWebCore(argv0, &core, &why);
    if (!quizpack::LoadStub("", argv0, &stub, &name)) {
        err << "quizpack : impossible de lire le lecteur vide " << name << "\n";
        report.failure = "impossible de lire le lecteur vide " + name;
    } else {
        rc = quizpack::DropCommand(source, stub, name, coreFound ? &core : nullptr, why, out, err, &report);
    }
#if defined(_WIN32)
    if (quizpack::StartedWithoutAPrompt()) {
        quizpack::LeaveOwnConsole();
        quizpack::ShowMessage(quizpack::DropBoxText(report), rc != 0);
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
    "quizpack fait un quiz en images : un jeu pour Windows, en un seul fichier .exe, et le même jeu en page "
    "web (.html), qui se joue dans un navigateur, sur un ordinateur, une tablette ou un téléphone.\n\n"
    "Faites glisser un dossier d'images sur quizpack.exe : chaque image devient une question, sa réponse tirée "
    "du nom du fichier (vache-normande.jpg : « Vache normande »). Le dossier mosaique, à côté de quizpack.exe, "
    "est un tel quiz : ses images et son fichier mosaique.toml.\n\n"
    "Ou écrivez le quiz dans un fichier .toml, puis faites glisser le fichier du quiz sur quizpack.exe : "
    "l'exécutable et la page s'écrivent à côté de lui. fruits.toml en est un exemple.\n\n"
    "Le guide ecrire-un-quiz.md, à côté de quizpack.exe, dit comment faire.\n\n"
    "À l'invite de commandes : quizpack.exe exe mon-quiz.toml (quizpack.exe --help pour le reste).";
#endif

bool IsDroppedSource(const std::string& argument) {
    if (argument.empty() || argument[0] == '-') return false;
    for (const quizpack::Verb& verb : quizpack::Verbs())
        if (!verb.parent && argument == verb.name) return false;
    std::error_code ec;
    const std::filesystem::path path = quizpack::PathOfUtf8(argument);
    return std::filesystem::is_regular_file(path, ec) || std::filesystem::is_directory(path, ec);
}

// CLI11's help, without the blank line a hidden option's group (--floor's)
// leaves behind.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override {
        std::string help = CLI::Formatter::make_help(app, std::move(name), mode);
        for (size_t at; (at = help.find("\n\n\n")) != std::string::npos;) help.erase(at, 1);
        return help;
    }
};

// CLI11's own words in its help screens, in French.
void SpeakFrench(CLI::App& app) {
    auto formatter = std::make_shared<HelpFormatter>();
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
// made; their group name is set here, once they all exist: an author's
// verbs, then the builders'.
void NameCommandGroups(CLI::App* app) {
    for (CLI::App* sub : app->get_subcommands({})) {
        const auto& verbs = quizpack::Verbs();
        const auto verb = std::find_if(verbs.begin(), verbs.end(),
                                       [&](const quizpack::Verb& v) { return sub->get_name() == v.name; });
        if (verb == verbs.end() || verb->parent)
            sub->group("Commandes ");
        else
            sub->group(quizpack::IsAuthorsVerb(*verb) ? "Pour faire un quiz " : "Pour qui construit ou vérifie les .exe ");
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

// Every verb of the table as a command of `app`, in the table's order.
std::vector<std::pair<CLI::App*, const quizpack::Verb*>> DeclareVerbs(CLI::App& app, quizpack::Arguments& args) {
    std::vector<std::pair<CLI::App*, const quizpack::Verb*>> commands;
    for (const quizpack::Verb& verb : quizpack::Verbs()) {
        CLI::App* parent = &app;
        for (const auto& [command, made] : commands)
            if (verb.parent && std::string(made->name) == verb.parent) parent = command;
        CLI::App* command = parent->add_subcommand(verb.name, verb.help);
        if (!verb.run) command->require_subcommand(1);
        if (verb.declare) verb.declare(*command, args);
        command->footer(verb.footer);
        commands.push_back({command, &verb});
    }
    return commands;
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
    if (argc == 1 && quizpack::StartedWithoutAPrompt()) {
        quizpack::LeaveOwnConsole();
        quizpack::ShowMessage(kStartedAlone, false);
        return 0;
    }
#endif
    if (argc == 2 && IsDroppedSource(argv[1])) return MakeExeOfDroppedSource(argv[1], argv[0]);

    CLI::App app{"quizpack fait un quiz en images : d'un dossier d'images ou d'un fichier de quiz (.toml), "
                 "un jeu pour Windows (.exe) et une page web qui se joue dans un navigateur, sur tout appareil",
                 "quizpack"};
    SpeakFrench(app);
    app.require_subcommand(1);
    // "/home/..." is a file on Windows too, never an option.
    app.allow_windows_style_options(false);

    quizpack::Arguments args;
    args.argv0 = argv[0];
    const auto commands = DeclareVerbs(app, args);
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

    for (const auto& [command, verb] : commands)
        if (verb->run && command->parsed()) return verb->run(*command, args);
    return 2;
}
