// What the suites of the authors' library share: pictures made by giflib and
// read by libpng (apart from the code under test), a folder of quiz files,
// the base source most cases change in one place.
#pragma once

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "grid/quiz_tables.h"
#include "make/make_resources.h"
#include "model/package.h"
#include "model/stored_form.h"
#include "pictures/raster.h"
#include "stages.h"
#include "test_support.h"
#include "text/text.h"
#include "sections/word_search/word_search.h"
#include "sections/word_search/word_search_picture.h"
#include "write/build_folder.h"

namespace quizpack {

namespace fs = std::filesystem;

// A GIF made by giflib, apart from the decoders under test: a screen, a
// global colour table (a power of two entries), one frame of indices.
struct GifPicture {
    int width = 0, height = 0;
    std::vector<GifColorType> colours;
    std::vector<GifPixelType> indices;  // the frame's, top row first
    int transparent = -1;               // declared in a graphic control extension
    std::array<int, 4> frame = {};      // left, top, width, height; no width: the screen
    bool interlaced = false;
};

inline std::vector<uint8_t> GifOf(const GifPicture& picture) {
    std::vector<uint8_t> gif;
    int error = 0;
    GifFileType* file = EGifOpen(&gif, [](GifFileType* f, const GifByteType* data, int n) {
        auto* out = static_cast<std::vector<uint8_t>*>(f->UserData);
        out->insert(out->end(), data, data + n);
        return n;
    }, &error);
    const int count = static_cast<int>(picture.colours.size());
    ColorMapObject* map = GifMakeMapObject(count, picture.colours.data());
    EGifSetGifVersion(file, true);
    EGifPutScreenDesc(file, picture.width, picture.height, GifBitSize(count), 0, map);
    if (picture.transparent >= 0) {
        GraphicsControlBlock control = {DISPOSAL_UNSPECIFIED, false, 0, picture.transparent};
        GifByteType extension[4];
        EGifGCBToExtension(&control, extension);
        EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, extension);
    }
    std::array<int, 4> f = picture.frame;
    if (f[2] == 0) f = {0, 0, picture.width, picture.height};
    EGifPutImageDesc(file, f[0], f[1], f[2], f[3], picture.interlaced, nullptr);
    std::vector<int> order;  // the rows in the order they are stored
    if (picture.interlaced) {
        for (int pass : {0, 4, 2, 1})
            for (int y = pass; y < f[3]; y += pass == 0 ? 8 : pass * 2) order.push_back(y);
    } else {
        for (int y = 0; y < f[3]; ++y) order.push_back(y);
    }
    for (int y : order)
        EGifPutLine(file, const_cast<GifPixelType*>(&picture.indices[size_t(y) * f[2]]), f[2]);
    GifFreeMapObject(map);
    EGifCloseFile(file, &error);
    return gif;
}

// A whole GIF of the given size, one colour: pictures are decoded before
// they ship, so a header alone no longer passes.
inline std::vector<uint8_t> FakeGif(int width, int height) {
    GifPicture p;
    p.width = width;
    p.height = height;
    p.colours = {{200, 30, 60}, {0, 0, 0}};
    p.indices.assign(size_t(width) * height, 0);
    return GifOf(p);
}

// libpng's reading of a PNG, as RGB: an independent decoder, which also
// checks every chunk's CRC.
inline bool ReadWithLibpng(const std::vector<uint8_t>& png, RgbImage* image) {
    png_image info = {};
    info.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&info, png.data(), png.size())) return false;
    info.format = PNG_FORMAT_RGB;
    *image = RgbImage(static_cast<int>(info.width), static_cast<int>(info.height), {});
    const bool read = png_image_finish_read(&info, nullptr, image->pixels.data(), 0, nullptr);
    png_image_free(&info);
    return read && info.warning_or_error == 0;
}

// Every index of a `width` x `height` frame, from a rule.
inline std::vector<GifPixelType> Indices(int width, int height, const std::function<int(int, int)>& at) {
    std::vector<GifPixelType> indices;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) indices.push_back(static_cast<GifPixelType>(at(x, y)));
    return indices;
}

inline std::vector<GifColorType> Palette(int count) {
    std::vector<GifColorType> colours;
    for (int i = 0; i < count; ++i)
        colours.push_back({static_cast<GifByteType>(i), static_cast<GifByteType>(255 - i),
                           static_cast<GifByteType>(i * 7)});
    return colours;
}

// A PNG written by libpng, apart from the decoders under test, from 8-bit
// samples in libpng's `format` (grey-alpha, RGBA, or RGBA through a colour
// map, which libpng writes as a palette and a tRNS chunk).
inline std::vector<uint8_t> LibpngOf(int width, int height, png_uint_32 format, const std::vector<uint8_t>& samples,
                              const std::vector<uint8_t>& colourMap = {}) {
    png_image info = {};
    info.version = PNG_IMAGE_VERSION;
    info.width = png_uint_32(width);
    info.height = png_uint_32(height);
    info.format = format;
    info.colormap_entries = png_uint_32(colourMap.size() / 4);
    png_alloc_size_t size = 0;
    const void* map = colourMap.empty() ? nullptr : colourMap.data();
    if (!png_image_write_to_memory(&info, nullptr, &size, 0, samples.data(), 0, map)) return {};
    std::vector<uint8_t> png(size);
    if (!png_image_write_to_memory(&info, png.data(), &size, 0, samples.data(), 0, map)) return {};
    png.resize(size);
    return png;
}

inline std::vector<uint8_t> FakePng(int width, int height) {
    return EncodePng(RgbImage(width, height, {20, 200, 90}));
}

struct QuizFiles : ::testing::Test {
    fs::path dir;

    void SetUp() override {
        // The clock tells apart two runs of the same test at once (two checkouts on one machine).
        dir = fs::temp_directory_path() /
              ("quizsrc-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::remove_all(dir);
        fs::create_directories(dir / "images");
        Write("images/grille.gif", FakeGif(459, 505));
        Write("images/un.gif", FakeGif(65, 67));
        Write("images/deux.png", FakePng(31, 242));
        Write("images/texte.gif", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    }
    void TearDown() override { fs::remove_all(dir); }

    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        ASSERT_TRUE(WriteFileBytes((dir / name).string(), bytes.data(), bytes.size()));
    }
    std::string WriteSource(const std::string& text) {
        Write("quiz.toml", {text.begin(), text.end()});
        return (dir / "quiz.toml").string();
    }
};

inline std::string BaseSource(int layout = 3, int answers = 1, bool scrambled = true) {
    std::ostringstream s;
    s << "executable = \"essai\"\n"
      << "title = \"Les capitales d'Europe\"\n"
      << "author = \"Zo\xC3\xA9 Lef\xC3\xA8vre\"\n"
      << "subtitle = \"Trouvez-les, par ordre alphab\xC3\xA9tique\"\n"
      << "linkText = \"https://q.example/\"\n"
      << "statusText = \"Capitales : \xC5\x93uvre \xE2\x82\xAC\"\n"
      << "answerCaption1 = \"Ville\"\n"
      << "answerCaption2 = \"Pays\"\n"
      << "answersPerQuestion = " << answers << "\n"
      << "layoutType = " << layout << "\n"
      << "background = [10, 20, 30]\n"
      << "scrambled = " << (scrambled ? "true" : "false") << "\n"
      << "puzzle = \"images/grille.gif\"\n";
    const char* cities[][2] = {{"Paris", "France"}, {"Rome", "Italie"}, {"Ath\xC3\xA8nes", "Gr\xC3\xA8" "ce"}};
    int strings = quiz::LayoutStringsPerQuestion(layout);
    for (int k = 0; k < 3; ++k) {
        s << "\n[[question]]\n";
        if (answers == 1)
            s << "answer = \"" << cities[k][0] << "\"\n";
        else
            s << "answers = [\"" << cities[k][0] << "\", \"" << cities[k][1] << "\"]\n";
        s << "spare = \"r\xC3\xA9serve " << k << "\"\n";
        if (strings >= 1) s << "text = \"Indice " << k + 1 << "\"\n";
        if (strings == 2) s << "text2 = \"cach\xC3\xA9 " << k + 1 << "\"\n";
        s << "code = \"CODE " << std::string(k + 1, '*') << "\"\n";
        if (k == 0) s << "overlay = \"images/un.gif\"\nplace = [145, 11, 65, 67]\n";
        if (k == 1) s << "letters = 12\noverlay = \"images/deux.png\"\nplace = [417, 11, 31, 242]\n";
    }
    return s.str();
}

inline std::string Cp(const std::string& utf8) {
    std::string out, error;
    EXPECT_TRUE(Utf8ToCp1252(utf8, &out, &error)) << error;
    return out;
}

inline std::string Stored(const std::string& utf8) {
    std::string text = Cp(utf8);
    quiz::TransformAnswerText(text.data());
    return text;
}

struct Loaded {
    quiz::QuizState state;
    std::vector<quiz::test::Alert> alerts;
    Loaded() { quiz::QuizStateInit(&state); }
    ~Loaded() { quiz::QuizStateReleaseQuestions(&state); }
};

inline void LoadBuilt(const std::map<std::string, std::vector<uint8_t>>& files, Loaded* loaded) {
    quiz::test::AlertCapture capture;
    quiz::PackageRecords records;
    const auto& builtIn = files.at("builtin.bin");
    const auto& r104 = files.at("record104.bin");
    const auto& r105 = files.at("record105.bin");
    records.builtIn = {builtIn.data(), builtIn.size()};
    records.record104 = {r104.data(), r104.size()};
    records.record105 = {r105.data(), r105.size()};
    quiz::LoadQuizPackage(&loaded->state, records);
    loaded->alerts = capture.alerts();
}

// The two tables of a build, read by the player's own reader.
inline quiz::QuizTables TablesOf(const std::map<std::string, std::vector<uint8_t>>& files) {
    const auto& letters = files.at("letter_counts.bin");
    const auto& places = files.at("answer_places.bin");
    return quiz::ReadQuizTables(letters.data(), letters.size(), places.data(), places.size());
}


// The files `quizpack build` would write.
inline std::vector<Problem> MakeBuildFiles(const QuizDefinition& quiz, const std::string& sourcePath,
                                    std::map<std::string, std::vector<uint8_t>>* files) {
    std::vector<Resource> resources;
    std::vector<Problem> problems = MakeQuizResources(quiz, &resources);
    if (problems.empty()) *files = BuildFolderFiles(quiz, resources, sourcePath);
    return problems;
}

inline int LineOfText(const std::string& source, const std::string& text) {
    const size_t pos = source.find(text);
    return pos == std::string::npos ? 0 : 1 + static_cast<int>(std::count(source.begin(), source.begin() + pos, '\n'));
}

inline std::vector<std::string> ErrorLines(const std::string& err) {
    std::vector<std::string> lines;
    std::istringstream in(err);
    for (std::string line; std::getline(in, line);)
        if (line.find(".toml:") != std::string::npos) lines.push_back(line);
    return lines;
}


// Each row: a change to a source, and every line check must print for it,
// no more: one message per fault, none that only follows from another.
inline std::string Changed(const std::string& from, const std::string& to) {
    std::string source = BaseSource();
    source.replace(source.find(from), from.size(), to);
    return source;
}

// A word-search quiz: the words and the section, no picture of its own.
inline std::string WordSearchSource(const std::string& section = "columns = 9\nrows = 8\nseed = 5\n") {
    return "executable = \"mots\"\ntitle = \"Mots\"\nlayoutType = 3\n\n[motsmeles]\n" + section +
           "\n[[question]]\nanswer = \"Cr\xC3\xA8me\"\ntext = \"a\"\n"
           "\n[[question]]\nanswer = \"NEW YORK\"\ntext = \"b\"\n"
           "\n[[question]]\nanswer = \"l'\xC5\x93uf\"\ntext = \"c\"\n";
}

// The PNG colour type quizpack gives a picture it draws: a palette for 256
// colours at most (the smaller file), else RGB.
inline int ColourType(const RgbImage& image) {
    std::set<std::array<uint8_t, 3>> colours;
    for (const Rgb& c : image.pixels) colours.insert({c.r, c.g, c.b});
    return colours.size() <= 256 ? 3 : 2;
}


inline std::string Guide() {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadFileBytes(QUIZ_GUIDE_PATH, &bytes));
    return {bytes.begin(), bytes.end()};
}


}  // namespace quizpack
