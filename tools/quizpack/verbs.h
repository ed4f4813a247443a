// quizpack's verbs as one table: name, arguments, help and the function each
// runs. Every French word of the command line's help lives here.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "write/atelier_page.h"
#include "write/web_page.h"

namespace quizpack {

// Everything a verb may take from its command line.
struct Arguments {
    std::string expected, typed;                  // verdict
    bool batch = false;
    std::string in, out;                          // lzw, png2bmp; preview's picture
    std::string builtIn, record104, record105;    // inspect
    bool json = false;
    std::string source, outDir, exeOut, stub;     // check, build, exe, preview, web
    bool floor = false;
    std::string pageDir;                          // web
    const char* argv0 = "";
};

struct Verb {
    const char* name;
    const char* parent;  // the verb it belongs to ("lzw"), or null
    const char* help;
    const char* footer;  // the help's last lines: an example
    void (*declare)(CLI::App& command, Arguments& args);
    int (*run)(const CLI::App& command, const Arguments& args);  // null: it needs a verb of its own
};

// The verbs in the order the help lists them: an author's first.
const std::vector<Verb>& Verbs();

// True for the verbs a quiz's author uses; the others are for those who
// build or check the player.
bool IsAuthorsVerb(const Verb& verb);

// The player stub: the one given, else on Windows the one quizpack.exe
// carries, else player-stub.exe beside quizpack (the Linux archive, the build
// tree). False with the name it could not read.
bool LoadStub(const std::string& given, const char* argv0, std::vector<uint8_t>* stub, std::string* name);

// The web page's core (quiz_core.js and quiz_core.wasm): on Windows the one
// quizpack.exe carries, else the one beside quizpack. False with the French
// reason.
bool LoadWebCore(const char* argv0, WebCore* core, std::string* why);

// The authors' library in WebAssembly (atelier_lib.js and atelier_lib.wasm),
// beside quizpack. False with the French reason.
bool LoadAtelierLibrary(const char* argv0, AtelierLibrary* library, std::string* why);

}  // namespace quizpack
