// The verbs of quizpack, apart from their command-line parsing. Each returns
// the process exit code: 0 done, 1 the work failed, 2 bad usage or input.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "images/png_decoder.h"
#include "judge/player_verdict.h"
#include "problem.h"
#include "write/atelier_page.h"
#include "write/web_page.h"

namespace quizpack {

int VerdictCommand(const std::string& expectedUtf8, const std::string& typedUtf8,
                   std::ostream& out, std::ostream& err);
int VerdictBatchCommand(std::istream& in, std::ostream& out, std::ostream& err);

int LzwEncodeCommand(const std::string& inPath, const std::string& outPath, std::ostream& err);
int LzwDecodeCommand(const std::string& inPath, const std::string& outPath, std::ostream& err);

int InspectCommand(const std::string& builtInPath, const std::string& record104Path,
                   const std::string& record105Path, bool json, std::ostream& out,
                   std::ostream& err);


// ---- over a quiz source ----


// An answer `quizpack new` took from a picture's name.
struct AnswerOfPicture {
    std::string picture, answer;
    std::string hyphened;  // the answer with the name's hyphens, when it had some
};

// The answers whose picture's name had a hyphen, said once with what a
// player who types it gets, so that the author can put it back; "" if none.
std::string HyphenNote(const std::vector<AnswerOfPicture>& answers);

// What the verbs made of one source, for a teacher's message box: the files
// it wrote, the answers a folder's names gave, what was wrong.
struct DropReport {
    std::string source;            // the quiz source, as given or written
    std::string title;             // the quiz's title, in UTF-8
    std::string exe, page;         // what was written; empty when not
    std::string package;           // the SCORM package, when the source asks for one (scorm = true)
    std::string packageMissing;    // why that package was not made
    std::string pageMissing;       // why no page was made, when the .exe was
    bool sourceWritten = false;    // quiz.toml made from the pictures' names
    bool sourceKept = false;       // a folder's quiz.toml was already there
    std::vector<AnswerOfPicture> answers;
    std::vector<Problem> problems;  // the source's problems and warnings
    std::string failure;            // any other reason nothing was made
};

// Checks a quiz source; every problem as "file:line: field: message".
int CheckCommand(const std::string& sourcePath, std::ostream& out, std::ostream& err);

// Checks, then writes what the player build embeds into outDir; writes
// nothing when there is a problem.
int BuildCommand(const std::string& sourcePath, const std::string& outDir, std::ostream& out,
                 std::ostream& err);

// Checks, then writes the quiz's web page (one HTML file; `core`, the core
// in WebAssembly, inside it) to outPath, or beside the source under the
// executable's name with .html. `floor`: the same pictures and fields, no
// script, for the speed benchmark. `pageDir`: the page's files (page.html,
// page.css, page.js) from that folder instead of those quizpack carries.
int WebCommand(const std::string& sourcePath, const std::string& outPath, const WebCore& core, bool floor,
               std::ostream& out, std::ostream& err, DropReport* report = nullptr, const std::string& pageDir = "");

// Checks, then writes the quiz's SCORM 1.2 package (the manifest and the
// page WebCommand writes) to outPath, or beside the source under the
// executable's name with .zip; read back before it counts as written.
int ScormCommand(const std::string& sourcePath, const std::string& outPath, const WebCore& core, std::ostream& out,
                 std::ostream& err, DropReport* report = nullptr);

// A folder of pictures made into a quiz: FOLDER/quiz.toml (a mosaic, one
// question per picture; kept when it is there), each answer it took from a
// name listed, then its .exe, FOLDER/NAME.exe, NAME from the folder's name,
// and its page beside it when `core` is given (else `coreMissing` says why
// there is none, and the .exe alone counts as done).
int NewCommand(const std::string& folder, const std::vector<uint8_t>& stub, const std::string& stubName,
               const WebCore* core, const std::string& coreMissing, std::ostream& out, std::ostream& err,
               DropReport* report = nullptr);

// A source or a folder dropped on quizpack: the folder as `new` makes it, the
// source's .exe and page beside it, and its SCORM package when it asks for
// one (scorm = true).
int DropCommand(const std::string& path, const std::vector<uint8_t>& stub, const std::string& stubName,
                const WebCore* core, const std::string& coreMissing, std::ostream& out, std::ostream& err,
                DropReport* report);

// The message box's text for what a drop made: which files are ready and
// what each is for, in which folder (its name), the answers taken from the
// pictures' names, how to change them; or what is wrong and what to do.
std::string DropBoxText(const DropReport& report);

// Checks, then writes the quiz's .exe: the player stub (its bytes, and the
// name to give in messages) with the quiz's resources, read back before it
// replaces outPath (empty: the executable's name beside the source).
int ExeCommand(const std::string& sourcePath, const std::string& outPath,
               const std::vector<uint8_t>& stub, const std::string& stubName, std::ostream& out,
               std::ostream& err, DropReport* report = nullptr);

// ---- over pictures ----


// Writes the answer key: the puzzle picture with every overlay at its place.
int PreviewCommand(const std::string& sourcePath, const std::string& outPath, std::ostream& out,
                   std::ostream& err);

// Decodes a PNG with the player's own decoder and writes the DIB it makes as
// a BMP file. On failure writes nothing, prints the error code (0x2001) on
// the error stream and answers 1.
int Png2BmpCommand(const std::string& inPath, const std::string& outPath, std::ostream& err);

// A BMP file: the file header, the 40-byte header with its negative height,
// `colourEntries` colour-table entries, then the rows as they are.
std::vector<uint8_t> MakeBmpFile(const quiz::PngBitmapInfo& info, uint32_t colourEntries,
                                 const std::vector<uint8_t>& pixels);

// Writes the atelier's page (atelier.html, or outPath), carrying the library
// and what it is handed over, and reads it back before it counts as written.
int AtelierCommand(const std::string& outPath, const AtelierLibrary& library, const CarriedList& carried,
                   std::ostream& out, std::ostream& err);

}  // namespace quizpack
