#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <string>
#include <vector>

#include "pictures/raster.h"
#include "text/text.h"
#include "sections/word_search/word_search.h"

namespace quizpack {
namespace {

const std::vector<std::string> kFruits = {
    "ABRICOT", "AMANDE", "ANANAS", "BANANE", "CASSIS", "CERISE", "CITRON",
    "COING", "DATTE", "FIGUE", "FRAISE", "FRAMBOISE", "GROSEILLE", "KIWI",
    "MANGUE", "MELON", "MIRABELLE", "MYRTILLE", "NECTARINE", "ORANGE", "POIRE"};

std::vector<std::string> FortyWords() {
    std::vector<std::string> words;
    const char* syllables[] = {"BA", "RO", "KU", "ME", "TI", "SA", "NO", "PLE", "DRU", "VIX"};
    for (int k = 0; words.size() < 40; ++k) {
        std::string w;
        for (int s = 0, v = k * 7 + 3; s < 2 + k % 3; ++s, v /= 10) w += syllables[v % 10];
        bool clash = false;
        std::string r(w.rbegin(), w.rend());
        for (const std::string& o : words)
            clash = clash || o.find(w) != std::string::npos || w.find(o) != std::string::npos ||
                    o.find(r) != std::string::npos || r.find(o) != std::string::npos;
        if (!clash) words.push_back(w);
    }
    return words;
}

std::vector<int> All() { return {0, 1, 2, 3, 4, 5, 6, 7}; }

// The word read back from the grid along its place.
std::string ReadPlace(const WordSearch& s, const WordPlace& p) {
    std::string word;
    for (int i = 0; i < p.length; ++i)
        word += s.cells[p.row + kDirections[p.direction].dy * i][p.column + kDirections[p.direction].dx * i];
    return word;
}

TEST(WordSearch, EveryWordOnceAlongAnAllowedDirectionOverManySeeds) {
    struct Case {
        const char* name;
        int columns, rows;
        std::vector<int> directions;
        std::vector<std::string> words;
    } cases[] = {
        {"the fruits, 13 x 13, eight ways", 13, 13, All(), kFruits},
        {"forty words, 20 x 20", 20, 20, All(), FortyWords()},
        {"across and down only, 9 x 7", 9, 7, {0, 2}, {"CHAT", "CHIEN", "LAPIN", "OURS", "LOUP", "RAT"}},
        {"reversed ways only", 8, 8, {1, 3, 5, 7}, {"POMME", "POIRE", "PECHE", "FIGUE"}},
        {"a palindrome", 6, 6, All(), {"RADAR", "KAYAK", "ETE"}},
        {"a grid exactly as long as the word", 5, 1, {0}, {"TULIP"}},
    };
    for (const Case& c : cases) {
        for (uint64_t seed = 1; seed <= 25; ++seed) {
            SCOPED_TRACE(std::string(c.name) + ", seed " + std::to_string(seed));
            WordSearchRequest request{c.columns, c.rows, c.directions, seed, c.words};
            WordSearch search;
            int failed = -1;
            std::string error;
            ASSERT_TRUE(MakeWordSearch(request, &search, &failed, &error)) << error;
            ASSERT_EQ(search.cells.size(), static_cast<size_t>(c.rows));
            for (const std::string& row : search.cells) {
                ASSERT_EQ(row.size(), static_cast<size_t>(c.columns));
                EXPECT_TRUE(std::all_of(row.begin(), row.end(), [](char l) { return l >= 'A' && l <= 'Z'; }));
            }
            ASSERT_EQ(search.places.size(), c.words.size());
            for (size_t w = 0; w < c.words.size(); ++w) {
                const WordPlace& p = search.places[w];
                EXPECT_EQ(ReadPlace(search, p), c.words[w]);
                EXPECT_NE(std::find(c.directions.begin(), c.directions.end(), p.direction),
                          c.directions.end());
                EXPECT_EQ(CountOccurrences(search.cells, c.words[w]), 1) << c.words[w];
                EXPECT_GE(p.left(), 0);
                EXPECT_LE(p.left() + p.width(), c.columns);
                EXPECT_LE(p.top() + p.height(), c.rows);
            }
            WordSearch again;
            ASSERT_TRUE(MakeWordSearch(request, &again, &failed, &error));
            EXPECT_EQ(again.cells, search.cells);
        }
    }
}

TEST(WordSearch, ASeedMakesItsOwnGrid) {
    WordSearch a, b;
    int failed;
    std::string error;
    ASSERT_TRUE(MakeWordSearch({13, 13, All(), 1, kFruits}, &a, &failed, &error));
    ASSERT_TRUE(MakeWordSearch({13, 13, All(), 2, kFruits}, &b, &failed, &error));
    EXPECT_NE(a.cells, b.cells);
}

TEST(WordSearch, CountOccurrencesReadsEveryWay) {
    const std::vector<std::string> grid = {"RADARX", "XXXXXA", "TAXCAT", "XXXXXX"};
    EXPECT_EQ(CountOccurrences(grid, "RADAR"), 1);  // read both ways over the same cells
    EXPECT_EQ(CountOccurrences(grid, "CAT"), 1);
    EXPECT_EQ(CountOccurrences(grid, "XAT"), 2);    // down, and backwards
    EXPECT_EQ(CountOccurrences(grid, "RXTX"), 1);   // down
    EXPECT_EQ(CountOccurrences(grid, "RXXX"), 2);   // down-right, and down-left
    EXPECT_EQ(CountOccurrences(grid, "DOG"), 0);
}

TEST(WordSearch, SaysWhichWordCannotGoInAndWhy) {
    struct Case {
        const char* name;
        WordSearchRequest request;
        int failedWord;
        const char* says;
    } cases[] = {
        {"one letter too long", {6, 6, All(), 1, {"CHAT", "FRAISES"}}, 1, "« FRAISES » a 7 lettres ; la grille en aligne au plus 6"},
        {"as long as the grid fits", {7, 3, {0}, 1, {"FRAISES"}}, -1, ""},
        {"long across, but only down is allowed", {9, 4, {2}, 1, {"PASTEQUE"}}, 0, "au plus 4"},
        {"a diagonal is as long as the short side", {9, 4, {4}, 1, {"MELON"}}, 0, "au plus 4"},
        {"a word inside another", {9, 9, All(), 1, {"SAPIN", "PIN"}}, 1, "« PIN » se lit dans « SAPIN » (question 1)"},
        {"a word backwards inside another", {9, 9, All(), 1, {"NIP", "SAPIN"}}, 0, "« NIP » se lit à l'envers dans « SAPIN » (question 2)"},
        {"a word that is another backwards", {9, 9, All(), 1, {"NOEL", "LEON"}}, 1, "« LEON » est la réponse de la question 1 (« NOEL ») à l'envers"},
        {"the same word twice", {9, 9, All(), 1, {"POIRE", "KIWI", "POIRE"}}, 2, "« POIRE » est déjà la réponse de la question 1"},
        {"a single letter", {9, 9, All(), 1, {"A"}}, 0, "n'a qu'une lettre"},
        {"no letter at all", {9, 9, All(), 1, {"POIRE", ""}}, 1, "aucune lettre"},
        {"too many words", {5, 5, All(), 1, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY", "ZYXWV"}}, 5, "ne trouve pas de place dans la grille de 5 x 5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WordSearch search;
        int failed = -1;
        std::string error;
        bool made = MakeWordSearch(c.request, &search, &failed, &error);
        EXPECT_EQ(made, c.failedWord < 0) << error;
        if (c.failedWord < 0) continue;
        EXPECT_EQ(failed, c.failedWord);
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(GridLetters, FoldsWhatIsWrittenIntoCapitals) {
    struct Case {
        std::string answer;  // CP1252
        const char* letters;
    } cases[] = {
        {"Cr\xE8me br\xFBl\xE9" "e", "CREMEBRULEE"},
        {"l'\x9C" "uf", "LOEUF"},
        {"NEW-YORK", "NEWYORK"},
        {"aujourd\x92hui", "AUJOURDHUI"},
        {"\xC6r\xF8", "AERO"},
        {"Stra\xDF" "e", "STRASSE"},
        {"\xC7" "a \xE0 \xFF\x9F", "CAAYY"},
        {"\x8A\x9A\x8E\x9E", "SSZZ"},
        {"\xDE\xF0\xD1", "THDN"},
        {"az AZ", "AZAZ"},
    };
    for (const Case& c : cases) {
        std::string letters, error;
        EXPECT_TRUE(GridLetters(c.answer, &letters, &error)) << error;
        EXPECT_EQ(letters, c.letters);
    }
    struct Bad {
        std::string answer;
        const char* named;
    } bad[] = {
        {"3 mousquetaires", "le caractère « 3 » ne peut pas aller dans la grille"},
        {"Quoi ?", "le caractère « ? » ne peut pas aller"},
        {"A\xD7" "B", "le caractère « × » ne peut"},
        {"\xF7", "le caractère « ÷ » ne peut"},
        {"\x80", "le caractère « € » ne peut"},
        {"1, 2, 1", "les caractères « 1 », « , » et « 2 » ne peuvent pas aller dans la grille"},
        {"1.2;", "les caractères « 1 », « . », « 2 » et 1 autre ne peuvent pas aller"},
        {"1.2;3?", "les caractères « 1 », « . », « 2 » et 3 autres ne peuvent pas aller"},
    };
    for (const Bad& b : bad) {
        std::string letters, error;
        EXPECT_FALSE(GridLetters(b.answer, &letters, &error)) << b.answer;
        EXPECT_EQ(error.rfind(b.named, 0), 0u) << error;
    }
}

}  // namespace
}  // namespace quizpack

namespace quizpack {
namespace {

// The same source and seed give an author the same puzzle from one quizpack
// to the next: a change here is a change every author sees, made on purpose.
TEST(WordSearch, AGoldenGridPinsPlacement) {
    WordSearch search;
    int failed = 0;
    std::string error;
    ASSERT_TRUE(MakeWordSearch({9, 7, {0, 1, 2, 3, 4, 5, 6, 7}, 2026,
                                {"POMME", "POIRE", "KIWI", "FIGUE", "DATTE", "CITRON", "MELON"}},
                               &search, &failed, &error))
        << error;
    const std::vector<std::string> rows = {"PCICFLFTD", "TOWUIQJGV", "DLIAGTBFV", "MGKRUJRVX",
                                           "DATTEMMOP", "ELYSMELON", "AZHPQCKUB"};
    EXPECT_EQ(search.cells, rows);
    const int places[][4] = {{8, 4, 1, 5}, {0, 0, 4, 5}, {2, 3, 3, 4}, {4, 0, 2, 5},
                             {0, 4, 0, 5}, {3, 0, 4, 6}, {4, 5, 0, 5}};
    ASSERT_EQ(search.places.size(), 7u);
    for (size_t k = 0; k < 7; ++k) {
        const WordPlace& p = search.places[k];
        EXPECT_EQ((std::vector<int>{p.column, p.row, p.direction, p.length}),
                  (std::vector<int>(places[k], places[k] + 4)))
            << "word " << k + 1;
    }
}

// Every word that cannot go in is named, each once, before any search.
TEST(WordSearch, JudgeWordsNamesEveryWordThatCannotGoIn) {
    const WordSearchRequest request{5, 5, All(), 1,
                                    {"ABRICOT", "KIWI", "AMANDES", "IWIK", "KIWI", "X", "POMMES", "IWI"}};
    std::vector<std::pair<int, std::string>> got;
    for (const WordProblem& p : JudgeWords(request)) got.push_back({p.word, p.message});
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "« ABRICOT » a 7 lettres ; la grille en aligne au plus 5 dans les directions permises"},
        {2, "« AMANDES » a 7 lettres ; la grille en aligne au plus 5 dans les directions permises"},
        {3, "« IWIK » est la réponse de la question 2 (« KIWI ») à l'envers : on le lirait deux fois"},
        {4, "« KIWI » est déjà la réponse de la question 2 : on le lirait deux fois"},
        {5, "« X » n'a qu'une lettre : on la lirait partout"},
        {6, "« POMMES » a 6 lettres ; la grille en aligne au plus 5 dans les directions permises"},
        {7, "« IWI » se lit dans « KIWI » (question 2) : on le lirait deux fois"},
    };
    EXPECT_EQ(got, expected);
}

// Letters against cells: each cell crosses one line of each orientation
// allowed, and words on one line share only the ends they have in common.
TEST(WordSearch, CrowdedGridCountsLettersAgainstCells) {
    const std::vector<int> right = {0}, across = {0, 1}, both = {0, 2}, upDown = {2, 3};
    struct Case {
        const char* name;
        WordSearchRequest request;
        bool crowded;
    } cases[] = {
        {"25 letters in 25 cells", {5, 5, right, 1, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"}}, false},
        {"26 letters in 25 cells", {5, 5, right, 1, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY", "ZQ"}}, true},
        {"left and right are one orientation", {5, 5, across, 1, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY", "ZQ"}}, true},
        {"down adds one", {5, 5, both, 1, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY", "ZQ"}}, false},
        {"up and down are one orientation", {5, 5, upDown, 1, {"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY", "ZQ"}}, true},
        // "DE" ends one and starts the other: counted for each, at best.
        {"shared ends make room", {5, 2, right, 1, {"ABCDE", "DEFGH", "XYZW"}}, false},
        {"but no more than they share", {5, 2, right, 1, {"ABCDE", "DEFGH", "XYZWV"}}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string said = CrowdedGrid(c.request);
        EXPECT_EQ(!said.empty(), c.crowded) << said;
    }
    EXPECT_EQ(CrowdedGrid(cases[1].request),
              "les mots comptent 27 lettres ; même croisés au mieux, la grille de 5 x 5 en porte 25 "
              "au plus dans les directions permises : agrandissez la grille, permettez plus de "
              "directions ou retirez des mots");
}

}  // namespace
}  // namespace quizpack
