// The SCORM package: its manifest names the quiz and leads a platform to the
// very page quizpack web writes; the manifest's reader refuses what is not
// XML; a package that misleads a platform is refused; a source that asks for
// its package gets it beside its .exe and page when dropped.
#include "atelier/library_calls.h"
#include "authoring_fixtures.h"
#include "small_pe.h"
#include "write/scorm_package.h"
#include "write/zip.h"

#include <sstream>

#include "commands.h"

namespace quizpack {
namespace {

const WebCore kCore = {"var QuizCore;", {0x00, 0x61, 0x73, 0x6D, 0x01}};

struct Prepared {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    std::string html;
};

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST_F(QuizFiles, APackageNamesTheQuizAndLeadsToThePageWebWrites) {
    std::string source = BaseSource();
    source.replace(source.find("Les capitales d'Europe"), 22, "Caf\xC3\xA9s & <b>th\xC3\xA9</b>");
    source.insert(source.find("title"), "version = \"2.3.1\"\n");
    Prepared p;
    ASSERT_FALSE(HasErrors(PrepareQuiz(WriteSource(source), &p.quiz, &p.resources)));
    std::string error;
    ASSERT_TRUE(MakeWebPage(p.quiz, p.resources, kCore, false, &p.html, &error)) << error;
    const std::vector<uint8_t> zip = MakeScormPackage(p.quiz, p.html);
    EXPECT_EQ(zip, MakeScormPackage(p.quiz, p.html));  // the same quiz, the same bytes
    std::vector<ZipEntry> files;
    ASSERT_TRUE(ReadZip(zip, &files, &error)) << error;
    ASSERT_EQ(files.size(), 2u);  // nothing but what the platform needs
    EXPECT_EQ(files[0].path, "imsmanifest.xml");
    EXPECT_EQ(files[1].path, "essai.html");
    EXPECT_EQ(files[1].bytes, Bytes(p.html));
    const std::string manifest(files[0].bytes.begin(), files[0].bytes.end());
    XmlElement root;
    ASSERT_TRUE(ReadXml(manifest, &root, &error)) << error;
    EXPECT_EQ(root.attributes["xmlns:adlcp"], "http://www.adlnet.org/xsd/adlcp_rootv1p2");
    EXPECT_NE(root.attributes["xsi:schemaLocation"].find("adlcp_rootv1p2.xsd"), std::string::npos);
    EXPECT_EQ(root.attributes["identifier"], "quizpack.essai");
    ScormContents read;
    ASSERT_TRUE(ReadScormPackage(zip, &read, &error)) << error;
    EXPECT_EQ(read.title, "Caf\xC3\xA9s & <b>th\xC3\xA9</b>");  // text, never markup
    EXPECT_NE(manifest.find("<title>Caf\xC3\xA9s &amp; &lt;b&gt;th\xC3\xA9&lt;/b&gt;</title>"), std::string::npos);
    EXPECT_EQ(read.version, "2.3.1");
    EXPECT_EQ(read.pageName, "essai.html");
    EXPECT_TRUE(PackageCarriesTheQuiz(zip, p.quiz, p.resources, &error)) << error;
    // Another quiz's version or page: not this quiz's package.
    QuizDefinition other = p.quiz;
    other.version = "2.3.2";
    EXPECT_FALSE(PackageCarriesTheQuiz(zip, other, p.resources, &error));
    EXPECT_NE(error.find("version"), std::string::npos) << error;
    std::string damaged = p.html;
    damaged.insert(damaged.rfind(";base64,") + 8, "*");
    EXPECT_FALSE(PackageCarriesTheQuiz(MakeScormPackage(p.quiz, damaged), p.quiz, p.resources, &error));
    EXPECT_NE(error.find("octets du quiz"), std::string::npos) << error;
    // A name a platform could not serve as it is gives the page a plain one.
    other.executable = "caf\xE9";
    EXPECT_EQ(ScormPageName(other), "quiz.html");
    other.executable = "a b";
    EXPECT_EQ(ScormPageName(other), "quiz.html");
    other.executable = "ferme-2_b.v";
    EXPECT_EQ(ScormPageName(other), "ferme-2_b.v.html");
}

TEST(ScormManifest, TheReaderTakesXmlAndRefusesWhatIsNot) {
    struct Case {
        const char* xml;
        const char* text;  // the root's text, or nullptr when refused
    } cases[] = {
        // xml                                                               root's text
        {"<?xml version=\"1.0\"?>\n<!-- c --><a x='1' y=\"2\">t</a>\n",        "t"},
        {"<a>&amp;&lt;&gt;&quot;&apos;&#233;&#xE9;</a>",                      "&<>\"'\xC3\xA9\xC3\xA9"},
        {"<a><![CDATA[<b>]]><!-- c --><?p q?><b/>z</a>",                      "<b>z"},
        {"<a/>",                                                               ""},
        {"<a>",                                                                nullptr},  // never closed
        {"<a></b>",                                                            nullptr},
        {"<a x=\"1\" x=\"2\"/>",                                               nullptr},
        {"<a x=1/>",                                                           nullptr},
        {"<a>&bogus;</a>",                                                     nullptr},
        {"<a>&#0;</a>",                                                        nullptr},
        {"<a>&#x110000;</a>",                                                  nullptr},
        {"<a>&amp</a>",                                                        nullptr},
        {"<a>1 < 2</a>",                                                       nullptr},
        {"<a/><b/>",                                                           nullptr},  // two roots
        {"<!DOCTYPE a [<!ENTITY e \"x\">]><a>&e;</a>",                         nullptr},
        {"",                                                                   nullptr},
        {"<a><!-- never closed </a>",                                          nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        XmlElement root;
        std::string error;
        EXPECT_EQ(ReadXml(c.xml, &root, &error), c.text != nullptr) << error;
        if (c.text) {
            EXPECT_EQ(root.text, c.text);
        } else {
            EXPECT_NE(error.find("XML bien form"), std::string::npos) << error;
        }
    }
    // Elements nested as deep as a manifest goes, not past 32.
    std::string deep;
    for (int i = 0; i < 33; ++i) deep += "<a>";
    for (int i = 0; i < 33; ++i) deep += "</a>";
    XmlElement root;
    std::string error;
    EXPECT_TRUE(ReadXml(deep, &root, &error)) << error;
    EXPECT_FALSE(ReadXml("<a>" + deep + "</a>", &root, &error));
}

TEST(ScormManifest, APackageThatMisleadsAPlatformIsRefused) {
    QuizDefinition quiz;
    quiz.executable = "q";
    quiz.package.title = "Q";
    const std::string good = ScormManifest(quiz, "q.html");
    const auto with = [&](const std::string& from, const std::string& to) {
        std::string m = good;
        EXPECT_NE(m.find(from), std::string::npos) << from;
        m.replace(m.find(from), from.size(), to);
        return m;
    };
    struct Case {
        const char* what;
        std::vector<ZipEntry> files;
        const char* reason;
    } cases[] = {
        {"as written", {{"imsmanifest.xml", Bytes(good)}, {"q.html", Bytes("<p>")}}, nullptr},
        {"no manifest", {{"q.html", Bytes("<p>")}}, "pas de imsmanifest.xml"},
        {"a manifest in a folder", {{"x/imsmanifest.xml", Bytes(good)}, {"q.html", Bytes("<p>")}}, "pas de imsmanifest.xml"},
        {"SCORM 2004", {{"imsmanifest.xml", Bytes(with(">1.2<", ">2004 4th Edition<"))}, {"q.html", {}}}, "SCORM 1.2"},
        {"no default organization", {{"imsmanifest.xml", Bytes(with("default=\"quiz\"", "default=\"other\""))}, {"q.html", {}}},
         "organisation par d"},
        {"an item leading nowhere", {{"imsmanifest.xml", Bytes(with("identifierref=\"page\"", "identifierref=\"x\""))}, {"q.html", {}}},
         "ressource SCO"},
        {"an asset, not a SCO", {{"imsmanifest.xml", Bytes(with("scormtype=\"sco\"", "scormtype=\"asset\""))}, {"q.html", {}}},
         "ressource SCO"},
        {"the page missing", {{"imsmanifest.xml", Bytes(good)}, {"Q.html", {}}}, "n'est pas dans le paquetage"},
        {"not XML", {{"imsmanifest.xml", Bytes(with("</manifest>", ""))}, {"q.html", {}}}, "XML bien form"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScormContents read;
        std::string error;
        EXPECT_EQ(ReadScormPackage(ZipFiles(c.files), &read, &error), c.reason == nullptr) << error;
        if (c.reason) {
            EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        } else {
            EXPECT_EQ(read.page, "<p>");
        }
    }
}

TEST_F(QuizFiles, ASourceThatAsksForItsPackageGetsItWhenDropped) {
    for (bool asks : {false, true}) {
        SCOPED_TRACE(asks);
        std::string source = BaseSource();
        if (asks) source.insert(source.find("title"), "scorm = true\n");
        const std::string path = WriteSource(source);
        fs::remove(dir / "essai.zip");
        std::ostringstream out, err;
        DropReport report;
        ASSERT_EQ(DropCommand(path, PlayerLikeStub(), "stub.exe", &kCore, "", out, err, &report), 0) << err.str();
        EXPECT_EQ(fs::exists(dir / "essai.zip"), asks);
        const std::string box = DropBoxText(report);
        EXPECT_EQ(box.find("- essai.zip : le paquetage SCORM, \xC3\xA0 ajouter \xC3\xA0 la plateforme") != std::string::npos, asks)
            << box;
        EXPECT_EQ(box.find("t\xC3\xA9l\xC3\xA9phone ;\n") != std::string::npos, asks) << box;
        if (!asks) continue;
        std::vector<uint8_t> zip;
        ASSERT_TRUE(ReadFileBytes((dir / "essai.zip").string(), &zip));
        QuizDefinition quiz;
        std::vector<Resource> resources;
        ASSERT_FALSE(HasErrors(PrepareQuiz(path, &quiz, &resources)));
        std::string error;
        EXPECT_TRUE(PackageCarriesTheQuiz(zip, quiz, resources, &error)) << error;
        // The source's warnings are said once, with the .exe's.
        EXPECT_EQ(err.str().find("scorm"), std::string::npos) << err.str();
    }
}

// The atelier's call gives the verb's very bytes, or the problems that stop it.
TEST_F(QuizFiles, TheLibraryMakesThePackageTheVerbWrites) {
    const std::string path = WriteSource(BaseSource());
    FilesInMemory files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) ReadFileBytes(entry.path().string(), &files[entry.path().lexically_relative(dir).string()]);
    const CarriedFiles carried{PlayerLikeStub(), kCore, BuiltInPageFiles()};
    const Made made = MakeQuiz(files, "quiz.toml", Making::kScorm, carried);
    std::ostringstream out, err;
    ASSERT_EQ(ScormCommand(path, (dir / "cli.zip").string(), kCore, out, err), 0) << err.str();
    std::vector<uint8_t> written;
    ASSERT_TRUE(ReadFileBytes((dir / "cli.zip").string(), &written));
    EXPECT_EQ(made.bytes, written);
    EXPECT_NE(made.json.find("\"name\":\"essai.zip\""), std::string::npos) << made.json;
    EXPECT_NE(out.str().find("un paquetage SCORM 1.2 de " + std::to_string(written.size()) + " octets"), std::string::npos)
        << out.str();
    files["quiz.toml"] = Bytes("executable = \"essai\"\ntitel = \"x\"\n");
    const Made refused = MakeQuiz(files, "quiz.toml", Making::kScorm, carried);
    EXPECT_TRUE(refused.bytes.empty());
    EXPECT_NE(refused.json.find("titel: champ inconnu"), std::string::npos) << refused.json;
}

}  // namespace
}  // namespace quizpack
