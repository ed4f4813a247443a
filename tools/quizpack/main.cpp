// quizpack: the quiz authors' tool. Checks, packs and inspects quizzes.
#include <CLI/CLI.hpp>
#include <iostream>

#include "commands.h"

int main(int argc, char** argv) {
    CLI::App app{"quizpack: checks, packs and inspects picture quizzes for the player"};
    app.require_subcommand(1);

    auto* verdict = app.add_subcommand(
        "verdict", "Print the player's verdict for a typed answer against an accepted answer");
    std::string expected, typed;
    bool batch = false;
    verdict->add_option("EXPECTED", expected, "accepted answer, UTF-8");
    verdict->add_option("TYPED", typed, "typed answer, UTF-8");
    verdict->add_flag("--batch", batch,
                      "read lines EXPECTEDHEX<TAB>TYPEDHEX (CP1252 bytes in hexadecimal) from "
                      "standard input and print one verdict per line");

    auto* lzw = app.add_subcommand("lzw", "Encode or decode the package records' LZW stream");
    lzw->require_subcommand(1);
    std::string lzwIn, lzwOut;
    auto* encode = lzw->add_subcommand("encode", "Compress the bytes of IN into OUT");
    encode->add_option("IN", lzwIn, "plain bytes")->required();
    encode->add_option("OUT", lzwOut, "stream to write")->required();
    auto* decode = lzw->add_subcommand(
        "decode", "Decompress IN into OUT; on failure OUT holds the bytes decoded so far");
    decode->add_option("IN", lzwIn, "stream")->required();
    decode->add_option("OUT", lzwOut, "plain bytes to write")->required();

    auto* inspect = app.add_subcommand(
        "inspect", "Load stored records as the player does and show what it reads");
    std::string builtIn, record104, record105;
    bool json = false;
    inspect->add_option("BUILTIN", builtIn,
                        "the built-in record (at most 70 bytes; a shorter file is zero-padded)")
        ->required();
    inspect->add_option("REC104", record104, "record 104 as stored")->required();
    inspect->add_option("REC105", record105, "record 105 as stored")->required();
    inspect->add_flag("--json", json, "print one JSON object");
    inspect->footer("An empty file stands for a missing record.");

    auto* check = app.add_subcommand(
        "check", "Check a quiz source and report every problem as file:line: field: message");
    std::string source, outDir;
    check->add_option("QUIZ", source, "the quiz source (.toml)")->required();
    auto* build = app.add_subcommand(
        "build", "Check a quiz source, then write what the player build embeds");
    build->add_option("QUIZ", source, "the quiz source (.toml)")->required();
    build->add_option("--out", outDir, "folder to write into")->required();

    auto* png2bmp = app.add_subcommand(
        "png2bmp", "Decode a PNG with the player's decoder and write the DIB it makes as BMP");
    std::string pngIn, bmpOut;
    png2bmp->add_option("IN", pngIn, "PNG file")->required();
    png2bmp->add_option("OUT", bmpOut, "BMP file to write")->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }

    if (*verdict) {
        bool hasPair = verdict->count("EXPECTED") && verdict->count("TYPED");
        bool hasAny = verdict->count("EXPECTED") || verdict->count("TYPED");
        if (batch && hasAny) {
            std::cerr << "quizpack verdict: --batch reads standard input and takes no answers\n";
            return 2;
        }
        if (batch) return quizpack::VerdictBatchCommand(std::cin, std::cout, std::cerr);
        if (!hasPair) {
            std::cerr << "quizpack verdict: give EXPECTED and TYPED, or --batch\n"
                      << verdict->help();
            return 2;
        }
        return quizpack::VerdictCommand(expected, typed, std::cout, std::cerr);
    }
    if (*png2bmp) return quizpack::Png2BmpCommand(pngIn, bmpOut, std::cerr);
    if (*check) return quizpack::CheckCommand(source, std::cout, std::cerr);
    if (*build) return quizpack::BuildCommand(source, outDir, std::cout, std::cerr);
    if (*encode) return quizpack::LzwEncodeCommand(lzwIn, lzwOut, std::cerr);
    if (*decode) return quizpack::LzwDecodeCommand(lzwIn, lzwOut, std::cerr);
    if (*inspect)
        return quizpack::InspectCommand(builtIn, record104, record105, json, std::cout, std::cerr);
    return 2;
}
