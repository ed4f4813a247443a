// The verbs of quizpack, apart from their command-line parsing. Each returns
// the process exit code: 0 done, 1 the work failed, 2 bad usage or input.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "judge/player_verdict.h"
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

}  // namespace quizpack

namespace quizpack {

// Checks a quiz source; every problem as "file:line: field: message".
int CheckCommand(const std::string& sourcePath, std::ostream& out, std::ostream& err);

// Checks, then writes what the player build embeds into outDir; writes
// nothing when there is a problem.
int BuildCommand(const std::string& sourcePath, const std::string& outDir, std::ostream& out,
                 std::ostream& err);

// Checks, then writes the quiz's web page (one HTML file; `core`, the core
// in WebAssembly, inside it) to outPath, or beside the source under the
// executable's name with .html. `floor`: the same pictures and fields, no
// script, for the speed benchmark.
int WebCommand(const std::string& sourcePath, const std::string& outPath, const WebCore& core, bool floor,
               std::ostream& out, std::ostream& err);

// A folder of pictures made into a quiz: FOLDER/quiz.toml (a mosaic, one
// question per picture; kept when it is there), then its .exe,
// FOLDER/NAME.exe, NAME from the folder's name.
int NewCommand(const std::string& folder, const std::vector<uint8_t>& stub, const std::string& stubName,
               std::ostream& out, std::ostream& err);

// Checks, then writes the quiz's .exe: the player stub (its bytes, and the
// name to give in messages) with the quiz's resources, read back before it
// replaces outPath (empty: the executable's name beside the source).
int ExeCommand(const std::string& sourcePath, const std::string& outPath,
               const std::vector<uint8_t>& stub, const std::string& stubName, std::ostream& out,
               std::ostream& err);

}  // namespace quizpack

#include <cstdint>
#include <vector>

#include "images/png_decoder.h"

namespace quizpack {

// Decodes a PNG with the player's own decoder and writes the DIB it makes as
// a BMP file. On failure writes nothing, prints the error code (0x2001) on
// the error stream and answers 1.
// Writes the answer key: the puzzle picture with every overlay at its place.
int PreviewCommand(const std::string& sourcePath, const std::string& outPath, std::ostream& out,
                   std::ostream& err);

int Png2BmpCommand(const std::string& inPath, const std::string& outPath, std::ostream& err);

// A BMP file: the file header, the 40-byte header with its negative height,
// `colourEntries` colour-table entries, then the rows as they are.
std::vector<uint8_t> MakeBmpFile(const quiz::PngBitmapInfo& info, uint32_t colourEntries,
                                 const std::vector<uint8_t>& pixels);

}  // namespace quizpack
