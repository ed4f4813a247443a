// The web page quizpack writes: the quiz's very records, tables and
// pictures inside it, read back; the floor page without script.
#include "authoring_fixtures.h"
#include "write/web_page.h"

#include <sstream>

#include "commands.h"

namespace quizpack {
namespace {

const WebCore kCore = {"var QuizCore;", {0x00, 0x61, 0x73, 0x6D, 0x01}};

const Resource& Find(const std::vector<Resource>& resources, const ResourceKey& type, int id) {
    for (const Resource& r : resources)
        if (r.type == type && r.name == ResourceId(uint16_t(id))) return r;
    static const Resource none;
    return none;
}

TEST_F(QuizFiles, AWebPageCarriesTheQuizsOwnBytes) {
    std::string source = BaseSource();
    // An author's title is text: neither markup nor a mark of the template.
    source.replace(source.find("Les capitales d'Europe"), 22, "<b>Capitales & co</b> {{QUESTION}}");
    QuizDefinition quiz;
    std::vector<Resource> resources;
    ASSERT_FALSE(HasErrors(PrepareQuiz(WriteSource(source), &quiz, &resources)));
    std::string html, error;
    ASSERT_TRUE(MakeWebPage(quiz, resources, kCore, false, &html, &error)) << error;
    EXPECT_NE(html.find("<title>&lt;b&gt;Capitales &amp; co&lt;/b&gt; {{QUESTION}}</title>"), std::string::npos);
    EXPECT_NE(html.find(">AGFzbQE=</script>"), std::string::npos);  // the core's WebAssembly, whole
    EXPECT_EQ(html.find("<b>Capitales"), std::string::npos);  // in the data too, never as markup
    std::vector<std::vector<uint8_t>> records, tables, pictures;
    ASSERT_TRUE(ReadWebPage(html, &records, &tables, &pictures));
    // A byte that is not base64 in the last record, or in the last overlay: not read.
    for (size_t at : {html.rfind('"', html.find("\"],\"tables\"") - 1) + 1, html.rfind(";base64,") + 8}) {
        std::vector<std::vector<uint8_t>> r, t, p;
        EXPECT_FALSE(ReadWebPage(std::string(html).insert(at, "*"), &r, &t, &p)) << at;
    }
    const ResourceKey patch = ResourceName("PATCH"), table = ResourceName("TABLE");
    EXPECT_EQ(records[0], Find(resources, patch, 103).data);
    EXPECT_EQ(records[1], Find(resources, patch, 104).data);
    EXPECT_EQ(records[2], Find(resources, patch, 105).data);
    EXPECT_EQ(tables[0], Find(resources, table, 1).data);
    EXPECT_EQ(tables[1], Find(resources, table, 2).data);
    ASSERT_EQ(pictures.size(), 3u);  // the puzzle and the two overlays
    EXPECT_EQ(pictures[2], Find(resources, ResourceId(10), 10402).data);
    // The floor: the same fields, ready as it is parsed, and no script.
    std::string floor;
    ASSERT_TRUE(MakeWebPage(quiz, resources, kCore, true, &floor, &error)) << error;
    EXPECT_EQ(floor.find("<script"), std::string::npos);
    EXPECT_EQ(floor.find("quizCore"), std::string::npos);
    const size_t puzzle = html.find("<style id=\"puzzle-picture\">");
    EXPECT_NE(floor.find(html.substr(puzzle, html.find("</style>", puzzle) - puzzle)), std::string::npos);
    for (const char* part : {"id=\"answer-3\"", "id=\"verdict-3\"", "id=\"hint-3\"", "id=\"question-3\"", ".puzzle{"}) {
        EXPECT_NE(floor.find(part), std::string::npos) << part;
        EXPECT_NE(html.find(part), std::string::npos) << part;
    }
    EXPECT_EQ(floor.find("id=\"answer-4\""), std::string::npos);
    size_t markPictures = 0;  // the floor shows the same pictures: its marks carry theirs
    for (size_t at = floor.find("hidden src=\"data:image/"); at != std::string::npos; at = floor.find("hidden src=", at + 1))
        ++markPictures;
    EXPECT_EQ(markPictures, 2u);
    EXPECT_EQ(html.find("hidden src="), std::string::npos);
    EXPECT_EQ(html.find("id=\"answer-4\""), std::string::npos);
    // Questions 1 and 2 have overlays, question 3 none: a mark where there is one.
    EXPECT_NE(html.find("La réponse 2 marquée"), std::string::npos);
    EXPECT_EQ(html.find("La réponse 3 marquée"), std::string::npos);
    EXPECT_FALSE(MakeWebPage(quiz, resources, {"x = '</script>';", kCore.wasm}, false, &html, &error));
    QuizDefinition odd = quiz;  // a name the page's data quotes
    odd.executable = "a\"b\\c";
    ASSERT_TRUE(MakeWebPage(odd, resources, kCore, false, &html, &error));
    EXPECT_NE(html.find(R"({"exe":"a\"b\\c")"), std::string::npos);
    // Written, read back, in place; nowhere to write, nothing written; a
    // page without the quiz's bytes is never put in place.
    EXPECT_FALSE(WriteWebPage((dir / "floor.html").string(), floor, resources, &error));
    EXPECT_FALSE(fs::exists(dir / "floor.html"));
    std::string page;
    ASSERT_TRUE(MakeWebPage(quiz, resources, kCore, false, &page, &error));
    ASSERT_TRUE(WriteWebPage((dir / "q.html").string(), page, resources, &error)) << error;
    EXPECT_FALSE(fs::exists(dir / "q.html.quizpack-partiel"));
    EXPECT_FALSE(WriteWebPage((dir / "nulle-part" / "q.html").string(), page, resources, &error));
    EXPECT_NE(error.find("impossible d'"), std::string::npos) << error;
    fs::create_directories(dir / "dossier.html" / "plein");  // read back, but nothing can take its place
    EXPECT_FALSE(WriteWebPage((dir / "dossier.html").string(), page, resources, &error));
    EXPECT_NE(error.find("impossible de remplacer"), std::string::npos) << error;
    EXPECT_FALSE(fs::exists(dir / "dossier.html.quizpack-partiel"));
    // A core that would close the page's script: said, and nothing written.
    std::ostringstream out, err;
    EXPECT_EQ(WebCommand(WriteSource(BaseSource()), (dir / "c.html").string(), {"a('</script>')", kCore.wasm}, false,
                         out, err), 2);
    EXPECT_NE(err.str().find("« </script »"), std::string::npos) << err.str();
    EXPECT_FALSE(fs::exists(dir / "c.html"));
}

TEST_F(QuizFiles, TwoAnswersShowTheirCaptionsAndNoFieldIsCorrected) {
    struct Row {
        int answers;
        const char *caption1, *caption2;
        const char* firstLabel;   // what the label of question 1's first field holds
        const char* secondLabel;  // of its second field ("": no second field)
    } rows[] = {
        {1, "Ville", "Pays", ">1.<span class=\"visually-hidden\"> R\xC3\xA9ponse de la question 1</span></label>", ""},
        {2, "Ville", "Pays", ">1. <span class=\"caption\">Ville</span><span class=\"visually-hidden\"> de la question 1</span></label>",
         "> <span class=\"caption\">Pays</span><span class=\"visually-hidden\"> de la question 1</span></label>"},
        {2, "", "<b>&", ">1.<span class=\"visually-hidden\"> R\xC3\xA9ponse de la question 1</span></label>",
         "> <span class=\"caption\">&lt;b&gt;&amp;</span><span class=\"visually-hidden\"> de la question 1</span></label>"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.answers);
        std::string source = BaseSource(3, r.answers);
        source.replace(source.find("\"Ville\""), 7, std::string("\"") + r.caption1 + "\"");
        source.replace(source.find("\"Pays\""), 6, std::string("\"") + r.caption2 + "\"");
        QuizDefinition quiz;
        std::vector<Resource> resources;
        ASSERT_FALSE(HasErrors(PrepareQuiz(WriteSource(source), &quiz, &resources)));
        std::string html, error;
        ASSERT_TRUE(MakeWebPage(quiz, resources, kCore, false, &html, &error)) << error;
        const size_t first = html.find("<label for=\"answer-1\" class=\"number\"");
        ASSERT_NE(first, std::string::npos);
        EXPECT_EQ(html.find(r.firstLabel, first), html.find('>', first)) << html.substr(first, 200);
        if (*r.secondLabel) {
            const size_t second = html.find("<label for=\"answer-2\" class=\"number\"");
            EXPECT_EQ(html.find(r.secondLabel, second), html.find('>', second)) << html.substr(second, 200);
        }
        EXPECT_NE(html.find("id=\"answer-1\" data-field=\"1\" type=\"text\" maxlength=\"85\" autocomplete=\"off\" "
                            "autocapitalize=\"off\" autocorrect=\"off\" spellcheck=\"false\">"),
                  std::string::npos);
    }
}

// A page being restyled: its files taken from a folder, so the change shows
// without rebuilding quizpack; a file missing there, or a template without a
// question's block, is said and nothing is written.
TEST_F(QuizFiles, APageMadeFromAFolderOfPageFilesCarriesThem) {
    const PageFiles builtIn = BuiltInPageFiles();
    const std::string restyled = ".verdict { outline: 3px dotted #123456; }";
    std::string crlf;  // as an editor on Windows may save it
    for (char c : builtIn.html) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    std::string noField = builtIn.html;
    noField.erase(noField.find("{{begin FIELD}}"), 15);
    struct Row {
        const char* what;
        const char* missing;   // the file left out of the folder ("": none)
        std::string html;      // the folder's page.html
        int rc;
        const char* said;      // a part of what quizpack says on its error stream
    } rows[] = {
        {"the folder's files", "", builtIn.html, 0, ""},
        {"a template with CRLF", "", crlf, 0, ""},
        {"page.js missing", "page.js", builtIn.html, 2, "impossible de lire "},
        {"page.css missing", "page.css", builtIn.html, 2, "impossible de lire "},
        {"no field's block", "", noField, 2, "n'a pas de bloc {{begin FIELD}} … {{end FIELD}}"},
    };
    const std::string source = WriteSource(BaseSource());
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const fs::path folder = dir / "page";
        fs::remove_all(folder);
        fs::create_directories(folder);
        const std::vector<std::pair<const char*, std::string>> files = {
            {"page.html", r.html}, {"page.css", builtIn.style + restyled}, {"page.js", builtIn.script}};
        for (const auto& [name, text] : files)
            if (std::string(name) != r.missing) Write("page/" + std::string(name), {text.begin(), text.end()});
        const fs::path target = dir / "restyled.html";
        fs::remove(target);
        std::ostringstream out, err;
        EXPECT_EQ(WebCommand(source, target.string(), kCore, false, out, err, nullptr, folder.string()), r.rc) << err.str();
        EXPECT_NE(err.str().find(r.said), std::string::npos) << err.str();
        if (*r.missing) {
            EXPECT_NE(err.str().find((folder / r.missing).string()), std::string::npos) << err.str();
        }
        std::vector<uint8_t> page;
        EXPECT_EQ(ReadFileBytes(target.string(), &page), r.rc == 0);
        if (r.rc == 0) {
            const std::string html(page.begin(), page.end());
            EXPECT_NE(html.find(builtIn.style + restyled), std::string::npos);
            // The block laid out on lines in the template, whole in the page.
            EXPECT_NE(html.find("<section id=\"question-3\" class=\"question\" aria-label=\"Question 3\"><div id=\"picture-3\" "
                                "class=\"picture\"><div class=\"puzzle\""), std::string::npos);
            EXPECT_NE(html.find("</output></div><p id=\"hint-3\" class=\"hint\" hidden></p></section></main>"), std::string::npos);
        }
    }
    // Without a folder: the page's own style, and nothing of the folder's.
    std::ostringstream out, err;
    ASSERT_EQ(WebCommand(source, (dir / "own.html").string(), kCore, false, out, err), 0) << err.str();
    std::vector<uint8_t> own;
    ASSERT_TRUE(ReadFileBytes((dir / "own.html").string(), &own));
    EXPECT_EQ(std::string(own.begin(), own.end()).find(restyled), std::string::npos);
}

// The key of the page's storage: the quiz's name alone, so that an author's
// fix finds the answers again; another name keeps apart.
TEST_F(QuizFiles, AQuizKeepsItsAnswersUnderItsNameWhateverTheAuthorFixes) {
    auto keyOf = [&](const std::string& source) {
        QuizDefinition quiz;
        std::vector<Resource> resources;
        EXPECT_FALSE(HasErrors(PrepareQuiz(WriteSource(source), &quiz, &resources)));
        std::string html, error;
        EXPECT_TRUE(MakeWebPage(quiz, resources, kCore, false, &html, &error)) << error;
        const size_t at = html.find(",\"key\":\"") + 8;
        return html.substr(at, html.find('"', at) - at);
    };
    const std::string key = keyOf(BaseSource());
    EXPECT_EQ(key, "quizpack:essai");
    EXPECT_EQ(keyOf(Changed("par ordre", "dans l'ordre")), key);  // the subtitle
    EXPECT_EQ(keyOf(Changed("\"Rome\"", "\"Roma\"")), key);     // an answer
    EXPECT_EQ(keyOf(Changed("executable = \"essai\"", "executable = \"autre\"")), "quizpack:autre");
}

// Read back, a page must carry every byte of the quiz: a table or an overlay
// that differs, or an overlay missing, and it is never put in place.
TEST_F(QuizFiles, APageReadBackChecksItsTablesAndOverlays) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    ASSERT_FALSE(HasErrors(PrepareQuiz(WriteSource(BaseSource()), &quiz, &resources)));
    std::string page, error;
    ASSERT_TRUE(MakeWebPage(quiz, resources, kCore, false, &page, &error)) << error;
    const size_t tables = page.find("\"tables\":[\"") + 10, marks = page.find("id=\"quiz-marks\"");
    const size_t overlay = page.find(";base64,", marks) + 8;
    const size_t lastOverlay = page.rfind(",\"data:image/");
    struct Row {
        const char* what;
        std::string html;
    } rows[] = {
        {"the letter counts", std::string(page).replace(tables, 1, page[tables] == 'B' ? "C" : "B")},
        {"the places", std::string(page).replace(page.find("\",\"", tables) + 3, 1,
                                                 page[page.find("\",\"", tables) + 3] == 'B' ? "C" : "B")},
        {"an overlay", std::string(page).replace(overlay, 1, page[overlay] == 'B' ? "C" : "B")},
        {"an overlay missing", std::string(page).replace(lastOverlay, page.find("]", lastOverlay) - lastOverlay, ",null")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_NE(r.html, page);
        EXPECT_FALSE(WriteWebPage((dir / "p.html").string(), r.html, resources, &error));
        EXPECT_NE(error.find("ne porte pas les octets du quiz"), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(dir / "p.html"));
    }
    EXPECT_TRUE(WriteWebPage((dir / "p.html").string(), page, resources, &error)) << error;
}

// A quiz of another kind: the player builds no rows, and neither does the page.
TEST_F(QuizFiles, APageOfAnotherKindWritesNoQuestions) {
    QuizDefinition quiz;
    std::vector<Resource> resources;
    ASSERT_FALSE(HasErrors(PrepareQuiz(WriteSource("quizKind = 2\n" + BaseSource()), &quiz, &resources)));
    std::string html, error;
    ASSERT_TRUE(MakeWebPage(quiz, resources, kCore, false, &html, &error)) << error;
    EXPECT_EQ(html.find("id=\"question-1\""), std::string::npos);
    EXPECT_EQ(html.find("id=\"answer-1\""), std::string::npos);
    EXPECT_TRUE(WriteWebPage((dir / "k.html").string(), html, resources, &error)) << error;
}

}  // namespace
}  // namespace quizpack
