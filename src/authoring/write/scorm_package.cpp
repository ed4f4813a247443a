#include "write/scorm_package.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "text/french.h"
#include "text/text.h"
#include "write/web_page.h"
#include "write/zip.h"

namespace quizpack {

namespace fs = std::filesystem;

namespace {

const char kManifestName[] = "imsmanifest.xml";

std::string XmlText(const std::string& utf8) {
    std::string out;
    for (char c : utf8)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

std::string Utf8OfCodePoint(uint32_t c) {
    std::string out;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | c >> 18);
        out += char(0x80 | (c >> 12 & 0x3F));
        out += char(0x80 | (c >> 6 & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
    return out;
}

bool PlainAscii(const std::string& name) {
    for (unsigned char c : name)
        if (!std::isalnum(c) && c != '-' && c != '_' && c != '.') return false;
    return !name.empty();
}

// ---- a reader of the XML a manifest is written in ----

struct XmlReader {
    const std::string& s;
    size_t at = 0;
    std::string error;

    bool Fail(const std::string& why) {
        if (error.empty()) error = "le manifeste n'est pas du XML bien formé (" + why + ", octet " + std::to_string(at) + ")";
        return false;
    }
    bool Starts(const char* text) const { return s.compare(at, std::char_traits<char>::length(text), text) == 0; }
    void Spaces() {
        while (at < s.size() && std::strchr(" \t\r\n", s[at]) && s[at]) ++at;
    }
    // Past the next `end`, or false at the end of the text.
    bool Skip(const char* end) {
        const size_t found = s.find(end, at);
        if (found == std::string::npos) return Fail(std::string("« ") + end + " » manque");
        at = found + std::char_traits<char>::length(end);
        return true;
    }
    bool Name(std::string* name) {
        const size_t from = at;
        while (at < s.size() && (std::isalnum(static_cast<unsigned char>(s[at])) || std::strchr(":_-.", s[at]) ||
                                 static_cast<unsigned char>(s[at]) >= 0x80) && s[at])
            ++at;
        if (at == from) return Fail("un nom manque");
        *name = s.substr(from, at - from);
        return true;
    }
    // Text up to `stop`, its entities replaced.
    bool Text(char stop, std::string* out) {
        while (at < s.size() && s[at] != stop) {
            if (s[at] == '<') return Fail("« < » dans un texte");
            if (s[at] != '&') {
                *out += s[at++];
                continue;
            }
            const size_t semicolon = s.find(';', at);
            if (semicolon == std::string::npos || semicolon - at > 10) return Fail("une entité sans « ; »");
            const std::string entity = s.substr(at + 1, semicolon - at - 1);
            static const std::map<std::string, char> named = {
                {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            if (auto n = named.find(entity); n != named.end()) {
                *out += n->second;
            } else if (entity.size() > 1 && entity[0] == '#') {
                const bool hex = entity[1] == 'x';
                const std::string digits = entity.substr(hex ? 2 : 1);
                if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
                    return Fail("une entité inconnue");
                const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
                if (code == 0 || code > 0x10FFFF) return Fail("une entité inconnue");
                *out += Utf8OfCodePoint(uint32_t(code));
            } else {
                return Fail("une entité inconnue");
            }
            at = semicolon + 1;
        }
        return true;
    }
    // Comments, processing instructions and spaces between elements.
    bool Between() {
        for (;;) {
            Spaces();
            if (Starts("<!--")) {
                if (!Skip("-->")) return false;
            } else if (Starts("<?")) {
                if (!Skip("?>")) return false;
            } else if (Starts("<!")) {
                return Fail("une DTD");
            } else {
                return true;
            }
        }
    }
    bool Element(XmlElement* e, int depth) {
        if (depth > 32) return Fail("trop d'éléments imbriqués");
        if (!Starts("<")) return Fail("« < » attendu");
        ++at;
        if (!Name(&e->name)) return false;
        for (;;) {
            Spaces();
            if (Starts("/>")) {
                at += 2;
                return true;
            }
            if (Starts(">")) break;
            std::string key, value;
            if (!Name(&key)) return false;
            Spaces();
            if (!Starts("=")) return Fail("« = » attendu");
            ++at;
            Spaces();
            if (at >= s.size() || (s[at] != '"' && s[at] != '\'')) return Fail("un guillemet attendu");
            const char quote = s[at++];
            if (!Text(quote, &value)) return false;
            if (at >= s.size()) return Fail("un guillemet manque");
            ++at;
            if (!e->attributes.emplace(key, value).second) return Fail("l'attribut " + key + " deux fois");
        }
        ++at;
        for (;;) {
            if (!Text('<', &e->text)) return false;
            if (at >= s.size()) return Fail("</" + e->name + "> manque");
            if (Starts("<!--")) {
                if (!Skip("-->")) return false;
            } else if (Starts("<![CDATA[")) {
                const size_t from = at + 9;
                if (!Skip("]]>")) return false;
                e->text += s.substr(from, at - 3 - from);
            } else if (Starts("</")) {
                at += 2;
                std::string name;
                if (!Name(&name)) return false;
                if (name != e->name) return Fail("</" + name + "> ferme <" + e->name + ">");
                Spaces();
                if (!Starts(">")) return Fail("« > » attendu");
                ++at;
                return true;
            } else if (Starts("<?")) {
                if (!Skip("?>")) return false;
            } else {
                e->children.emplace_back();
                if (!Element(&e->children.back(), depth + 1)) return false;
            }
        }
    }
};

// The children of an element that may be missing: none then.
const std::vector<XmlElement>& ChildrenOf(const XmlElement* e) {
    static const std::vector<XmlElement> none;
    return e ? e->children : none;
}

const XmlElement* Child(const XmlElement& e, const std::string& name) {
    for (const XmlElement& c : e.children)
        if (c.name == name) return &c;
    return nullptr;
}

std::string Attribute(const XmlElement& e, const std::string& name) {
    const auto found = e.attributes.find(name);
    return found == e.attributes.end() ? std::string() : found->second;
}

std::string Trimmed(const std::string& text) {
    const size_t from = text.find_first_not_of(" \t\r\n"), to = text.find_last_not_of(" \t\r\n");
    return from == std::string::npos ? std::string() : text.substr(from, to - from + 1);
}

bool Fail(std::string* error, const std::string& why) {
    *error = why;
    return false;
}

}  // namespace

std::string ScormPageName(const QuizDefinition& quiz) {
    return PlainAscii(quiz.executable) ? quiz.executable + ".html" : "quiz.html";
}

std::string ScormManifest(const QuizDefinition& quiz, const std::string& pageName) {
    const std::string title = XmlText(Cp1252ToUtf8(quiz.package.title)), page = XmlText(pageName);
    // An identifier is an XML name: letters, digits, '-', '_' and '.'.
    std::string id = "quizpack.";
    for (unsigned char c : quiz.executable) id += std::isalnum(c) || c == '-' || c == '_' || c == '.' ? char(c) : '_';
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<manifest identifier=\"" + XmlText(id) + "\" version=\"" + XmlText(quiz.version) + "\"\n"
           "    xmlns=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2\"\n"
           "    xmlns:adlcp=\"http://www.adlnet.org/xsd/adlcp_rootv1p2\"\n"
           "    xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
           "    xsi:schemaLocation=\"http://www.imsproject.org/xsd/imscp_rootv1p1p2 imscp_rootv1p1p2.xsd "
           "http://www.imsglobal.org/xsd/imsmd_rootv1p2p1 imsmd_rootv1p2p1.xsd "
           "http://www.adlnet.org/xsd/adlcp_rootv1p2 adlcp_rootv1p2.xsd\">\n"
           "  <metadata>\n"
           "    <schema>ADL SCORM</schema>\n"
           "    <schemaversion>1.2</schemaversion>\n"
           "  </metadata>\n"
           "  <organizations default=\"quiz\">\n"
           "    <organization identifier=\"quiz\">\n"
           "      <title>" + title + "</title>\n"
           "      <item identifier=\"item\" identifierref=\"page\" isvisible=\"true\">\n"
           "        <title>" + title + "</title>\n"
           "      </item>\n"
           "    </organization>\n"
           "  </organizations>\n"
           "  <resources>\n"
           "    <resource identifier=\"page\" type=\"webcontent\" adlcp:scormtype=\"sco\" href=\"" + page + "\">\n"
           "      <file href=\"" + page + "\"/>\n"
           "    </resource>\n"
           "  </resources>\n"
           "</manifest>\n";
}

std::vector<uint8_t> MakeScormPackage(const QuizDefinition& quiz, const std::string& html) {
    const std::string page = ScormPageName(quiz), manifest = ScormManifest(quiz, page);
    return ZipFiles({{kManifestName, {manifest.begin(), manifest.end()}}, {page, {html.begin(), html.end()}}});
}

bool ReadXml(const std::string& text, XmlElement* root, std::string* error) {
    XmlReader reader{text, 0, ""};
    *root = XmlElement();
    if (!reader.Between() || !reader.Element(root, 0) || !reader.Between()) return Fail(error, reader.error);
    if (reader.at != text.size()) {
        reader.Fail("du texte après l'élément racine");
        return Fail(error, reader.error);
    }
    return true;
}

bool ReadScormPackage(const std::vector<uint8_t>& zip, ScormContents* contents, std::string* error) {
    std::vector<ZipEntry> entries;
    if (!ReadZip(zip, &entries, error)) return false;
    const auto file = [&](const std::string& path) -> const ZipEntry* {
        for (const ZipEntry& e : entries)
            if (e.path == path) return &e;
        return nullptr;
    };
    const ZipEntry* manifestFile = file(kManifestName);
    if (!manifestFile) return Fail(error, "le paquetage n'a pas de imsmanifest.xml");
    XmlElement manifest;
    if (!ReadXml(std::string(manifestFile->bytes.begin(), manifestFile->bytes.end()), &manifest, error)) return false;
    const XmlElement* metadata = Child(manifest, "metadata");
    const XmlElement* version = metadata ? Child(*metadata, "schemaversion") : nullptr;
    if (manifest.name != "manifest" || !version || Trimmed(version->text) != "1.2")
        return Fail(error, "le manifeste n'est pas celui d'un paquetage SCORM 1.2");
    const XmlElement* organizations = Child(manifest, "organizations");
    const XmlElement* organization = nullptr;
    for (const XmlElement& o : ChildrenOf(organizations))
        if (o.name == "organization" && Attribute(o, "identifier") == Attribute(*organizations, "default"))
            organization = &o;
    const XmlElement* item = organization ? Child(*organization, "item") : nullptr;
    if (!item) return Fail(error, "le manifeste n'a pas d'organisation par défaut avec un élément");
    const XmlElement* resources = Child(manifest, "resources");
    const XmlElement* sco = nullptr;
    for (const XmlElement& r : ChildrenOf(resources))
        if (r.name == "resource" && Attribute(r, "identifier") == Attribute(*item, "identifierref")) sco = &r;
    if (!sco || Attribute(*sco, "type") != "webcontent" || Attribute(*sco, "adlcp:scormtype") != "sco")
        return Fail(error, "l'élément du manifeste ne mène pas à une ressource SCO");
    const ZipEntry* page = file(Attribute(*sco, "href"));
    if (!page) return Fail(error, "la page « " + Attribute(*sco, "href") + " » que nomme le manifeste n'est pas dans le paquetage");
    const XmlElement* title = Child(*organization, "title");
    contents->title = title ? Trimmed(title->text) : std::string();
    contents->version = Attribute(manifest, "version");
    contents->pageName = page->path;
    contents->page.assign(page->bytes.begin(), page->bytes.end());
    return true;
}

bool PackageCarriesTheQuiz(const std::vector<uint8_t>& zip, const QuizDefinition& quiz,
                           const std::vector<Resource>& resources, std::string* error) {
    ScormContents read;
    if (!ReadScormPackage(zip, &read, error)) return false;
    if (read.title != Cp1252ToUtf8(quiz.package.title) || read.version != quiz.version)
        return Fail(error, "le manifeste ne nomme pas le titre et la version du quiz");
    if (!PageCarriesTheQuiz(read.page, resources)) return Fail(error, "la page du paquetage ne porte pas les octets du quiz");
    return true;
}

bool WriteScormPackage(const std::string& path, const QuizDefinition& quiz, const std::vector<uint8_t>& zip,
                       const std::vector<Resource>& resources, std::string* error) {
    const fs::path target = PathOfUtf8(path), partial = fs::path(target) += ".quizpack-partiel";
    std::error_code ec;
    errno = 0;
    if (!WriteFileBytes(Utf8OfPath(partial), zip.data(), zip.size())) {
        *error = "impossible d'écrire " + Utf8OfPath(partial) + " (" + SystemErrorInFrench(errno) + ")";
        fs::remove(partial, ec);
        return false;
    }
    std::vector<uint8_t> back;
    std::string why;
    if (!ReadFileBytes(Utf8OfPath(partial), &back) || !PackageCarriesTheQuiz(back, quiz, resources, &why)) {
        *error = "relu, " + Utf8OfPath(partial) + " n'est pas le paquetage du quiz (" + why + ")";
        fs::remove(partial, ec);
        return false;
    }
    fs::rename(partial, target, ec);
    if (!ec) return true;
    *error = "impossible de remplacer " + path + " (" + SystemErrorInFrench(ec.value()) + ")";
    fs::remove(partial, ec);
    return false;
}

}  // namespace quizpack
