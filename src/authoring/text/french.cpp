#include "text/french.h"

#include <algorithm>
#include <cstdint>
#include <regex>
#include <system_error>

#include "text/text.h"

namespace quizpack {

namespace {

struct Phrase {
    const char* english;
    const char* french;
};

std::string Lookup(const std::string& text, std::initializer_list<Phrase> table) {
    for (const Phrase& p : table)
        if (text == p.english) return p.french;
    return {};
}

// A quoted token of the parser ('=', '\n', 'tru') as the author reads it.
std::string Token(const std::string& token) {
    if (token == "'\\n'" || token == "'\n'") return "un saut de ligne";
    if (token == "'\\t'") return "une tabulation";
    if (token == "comma") return "une virgule";
    if (token == "EOF") return "la fin du fichier";
    if (token.size() >= 2 && token.front() == '\'' && token.back() == '\'')
        return "« " + token.substr(1, token.size() - 2) + " »";
    return token;
}

std::string Expected(const std::string& what) {
    std::string known = Lookup(what, {
        {"a comment or whitespace", "un commentaire ou la fin de la ligne"},
        {"keys, tables, whitespace or comments", "une clé, une table ou un commentaire"},
        {"value or closing ']'", "une valeur ou « ] »"},
        {"key or closing '}'", "une clé ou « } »"},
        {"decimal digit", "un chiffre"},
        {"hex digit", "un chiffre hexadécimal"},
        {"bare key starting character or string delimiter",
         "un nom de clé ou un guillemet"},
        {"space or tab", "une espace ou une tabulation"},
    });
    return known.empty() ? Token(what) : known;
}

std::string Detail(const std::string& detail) {
    std::smatch m;
    if (std::regex_match(detail, m, std::regex("expected (.+), saw ([^]+)")))
        return "attendu " + Expected(m[1]) + ", trouvé " + Token(m[2]);
    if (detail == "encountered end-of-file")
        return "fin du fichier atteinte (un guillemet, un crochet ou une accolade n'est pas "
               "fermé ?)";
    if (std::regex_match(detail, m, std::regex("cannot redefine existing [a-z -]+ '(.+?)'( as .+)?")))
        return "« " + m[1].str() + " » est déjà défini plus haut";
    if (detail == "could not determine value type")
        return "valeur illisible (un texte s'écrit entre guillemets)";
    if (detail.find("control characters other than TAB") != std::string::npos)
        return "caractère de contrôle dans un texte (un guillemet fermant manque ?)";
    if (std::regex_match(detail, m, std::regex("unknown escape sequence (.+)")))
        return "séquence d'échappement inconnue " + Token(m[1]) +
               " (une barre oblique inverse s'écrit \\\\)";
    if (detail == "leading zeroes are prohibited") return "un nombre ne commence pas par un zéro";
    if (std::regex_match(detail, m, std::regex("'(.+)' is not representable in 64 bits")))
        return "« " + m[1].str() + " » est trop grand";
    return "l'analyseur dit (en anglais) : " + detail;
}

}  // namespace

std::string TomlProblemInFrench(const std::string& description) {
    std::smatch m;
    if (!std::regex_match(description, m, std::regex("Error while parsing ([^:]+): ([^]*)")))
        return "syntaxe incorrecte : " + Detail(description);
    std::string where = Lookup(m[1], {
        {"string", "un texte"},
        {"literal string", "un texte entre apostrophes"},
        {"multi-line string", "un texte sur plusieurs lignes"},
        {"value", "une valeur"},
        {"key-value pair", "une ligne clé = valeur"},
        {"table header", "un en-tête de table"},
        {"array", "une liste"},
        {"inline table", "une table en ligne"},
        {"boolean", "un booléen"},
        {"decimal integer", "un nombre entier"},
        {"floating-point", "un nombre à virgule"},
        {"root table", "le fichier"},
        {"key", "une clé"},
    });
    if (where.empty()) where = "« " + m[1].str() + " »";
    return "syntaxe incorrecte dans " + where + " : " + Detail(m[2]);
}

std::string CommandLineErrorInFrench(const std::string& what, const CommandLineContext& context) {
    std::string list;
    for (const std::string& c : context.commands) list += (list.empty() ? "" : ", ") + c;
    std::smatch m;
    std::string message;
    if (what == "A subcommand" || what == "A subcommand is required") {
        message = context.stray.empty()
                      ? "il manque la commande (" + list + ")"
                      : "« " + context.stray + " » n'est pas une commande (" + list + ")";
    } else if (std::regex_match(what, m, std::regex("The following arguments? (was|were) not expected: (.+)"))) {
        const std::string words = m[2];
        if (words[0] == '-' && words.find(" ") == std::string::npos)
            message = "option inconnue : " + words;
        else
            message = (m[1] == "was" ? "argument de trop : " : "arguments de trop : ") + words;
    } else if (std::regex_match(what, m, std::regex("(-[^ ]+) is required"))) {
        message = "il manque l'option " + m[1].str();
    } else if (std::regex_match(what, m, std::regex("([^ ]+) is required"))) {
        message = "il manque l'argument " + m[1].str();
    } else if (std::regex_match(what, m, std::regex("([^ ]+): [0-9]+ required [A-Z]+ missing"))) {
        message = m[1].str() + " attend une valeur";
    } else {
        message = "ligne de commande refusée (" + what + ")";
    }
    return context.where + " : " + message + "\nL'aide : " + context.where + " --help";
}

std::string SourceEncodingProblem(const std::string& bytes, int* line) {
    const std::string advice =
        " : enregistrez-le en UTF-8 (dans le Bloc-notes : Fichier > Enregistrer sous, "
        "Encodage : UTF-8)";
    *line = 1;
    const bool bomLe = bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFF && uint8_t(bytes[1]) == 0xFE;
    const bool bomBe = bytes.size() >= 2 && uint8_t(bytes[0]) == 0xFE && uint8_t(bytes[1]) == 0xFF;
    // UTF-16 without its mark still shows as a NUL beside every ASCII letter.
    const size_t nuls = std::count(bytes.begin(), bytes.end(), '\0');
    if (bomLe || bomBe || (bytes.size() >= 4 && nuls * 4 >= bytes.size()))
        return "le fichier est en UTF-16 (« Unicode » dans le Bloc-notes), pas en UTF-8" + advice;
    const size_t bad = FirstInvalidUtf8(bytes);
    if (bad == std::string::npos) return {};
    *line = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + bad, '\n'));
    // Windows-1252 puts its accented letters in single bytes of 0x80 and above.
    const uint8_t b = static_cast<uint8_t>(bytes[bad]);
    if (b >= 0x80)
        return "le fichier n'est pas en UTF-8 : l'octet 0x" + std::string(1, "0123456789ABCDEF"[b >> 4]) +
               std::string(1, "0123456789ABCDEF"[b & 15]) +
               " ressemble à du Windows-1252 (« ANSI » dans le Bloc-notes)" + advice;
    return "le fichier n'est pas en UTF-8" + advice;
}

std::string SystemErrorInFrench(int error) {
    switch (static_cast<std::errc>(error)) {
        case std::errc::permission_denied:
        case std::errc::operation_not_permitted: return "accès refusé";
        case std::errc::no_such_file_or_directory: return "fichier ou dossier introuvable";
        case std::errc::not_a_directory: return "un élément du chemin est un fichier, pas un dossier";
        case std::errc::is_a_directory: return "c'est un dossier, pas un fichier";
        case std::errc::file_exists: return "un fichier de ce nom existe déjà";
        case std::errc::no_space_on_device: return "le disque est plein";
        case std::errc::read_only_file_system: return "le disque est en lecture seule";
        case std::errc::filename_too_long: return "le nom est trop long";
        case std::errc::too_many_files_open: return "trop de fichiers ouverts";
        case std::errc::io_error: return "erreur d'entrée-sortie du disque";
        case std::errc::directory_not_empty: return "le dossier n'est pas vide";
        default: return "erreur système " + std::to_string(error);
    }
}

}  // namespace quizpack
