// Playing on real windows: answer checks and their reveals, the score, the
// keys of the answer fields through the player's own message pump, saving,
// and finding a question a thousand times.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "answers/answer_check_win32.h"
#include "grid/hide_found_win32.h"
#include "answers/progress_file_win32.h"
#include "grid/grid_win32.h"
#include "model/quiz_state_win32.h"
#include "shell/header_win32.h"
#include "test_support.h"
#include "win32_test_support.h"

namespace quiz {
namespace {

using test::TextOf;

using test::FileBytes;
using test::ProgressName;

class Play : public ::testing::Test {
protected:
    QuizState* state = nullptr;
    HWND header = nullptr;
    test::GridFixture fixture;

    void Open(int layout, int perQuestion, const std::vector<test::FixtureQuestion>& questions,
              int quizKind = 1) {
        state = test::MakeQuiz(layout, perQuestion, questions);
        state->quizKind = quizKind;
        for (int i = 0; i < 12; ++i) wsprintfA(state->questionLines[i], "code %d", i + 1);
        header = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(1002), test::Frame(), HeaderDialogProc, 0);
        state->headerDialog = header;
        fixture = test::OpenGrid(1000, 800);
    }
    void TearDown() override {
        if (fixture.grid) test::CloseGrid(&fixture);
        DestroyWindow(header);
        if (state) test::DropQuiz(state);
        std::remove(ProgressName().c_str());
    }
    HWND Item(int id) { return GetDlgItem(fixture.grid, id); }
    std::string Confirm(int field, const char* text) {
        SetWindowTextA(Item(field), text);
        CheckAnswerField(state, fixture.grid, field);
        return TextOf(Item(field + 1000));
    }
    std::string Score() { return TextOf(GetDlgItem(header, 32)) + "|" + TextOf(GetDlgItem(header, 30)); }
    bool Shown(int id) { return IsWindowVisible(Item(id)) != FALSE; }
    void Cacher(bool checked) {
        SendDlgItemMessageA(header, 33, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
        ToggleHideFound(state);
    }
};

void WriteBytes(const std::string& name, const std::string& bytes) {
    FILE* file = std::fopen(name.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string FullPath(const std::string& name) {
    char path[MAX_PATH] = {};
    GetFullPathNameA(name.c_str(), sizeof path, path, nullptr);
    return path;
}

const std::vector<test::FixtureQuestion> kThree = {
    {"POMME", nullptr, "Un fruit."}, {"ROME", nullptr, "Une ville."}, {"KIWI", nullptr, "Un oiseau."}};

TEST_F(Play, VerdictsScoreAndHintsOfLayout2) {
    Open(2, 1, kThree);
    EXPECT_EQ(Score(), " 0 / 3|");
    EXPECT_EQ(Confirm(4001, "pomme"), "BRAVO");
    EXPECT_EQ(Score(), " 1 / 3|code 1");
    EXPECT_TRUE(Shown(8001));
    EXPECT_EQ(Confirm(4002, "MORE"), "Anagramme");
    EXPECT_EQ(Score(), " 1 / 3|code 1");
    // The same wrong answer confirmed again changes nothing, not even the score.
    SetDlgItemTextA(header, 32, "x");
    EXPECT_EQ(Confirm(4002, "MORE"), "Anagramme");
    EXPECT_EQ(TextOf(GetDlgItem(header, 32)), "x");
    // A wrong text in a found question hides its hint again; found stays.
    EXPECT_EQ(Confirm(4001, "pom"), "Presque");
    EXPECT_FALSE(Shown(8001));
    EXPECT_EQ(QuestionAt(state, 0)->found, 1);
    EXPECT_EQ(Score(), " 0 / 3|      ");
}

TEST_F(Play, Layout7ShowsTheTextOnceFound) {
    Open(7, 1, kThree);
    EXPECT_EQ(TextOf(Item(8002)), "en 1 mot");
    Confirm(4002, "rome");
    EXPECT_EQ(TextOf(Item(8002)), "Une ville.");
    Confirm(4002, "x");
    EXPECT_TRUE(Shown(8002));  // layout 7 never hides it
}

TEST_F(Play, Layouts4And8RevealEverythingAtTheLastBravo) {
    for (int layout : {4, 8}) {
        SCOPED_TRACE(layout);
        Open(layout, 1, kThree);
        Confirm(4001, "pomme");
        Confirm(4002, "rome");
        EXPECT_EQ(Shown(8001), layout == 8);
        EXPECT_EQ(state->allFound, 0);
        Confirm(4003, "kiwi");
        EXPECT_EQ(state->allFound, 1);
        for (int id : {8001, 8002, 8003}) EXPECT_TRUE(Shown(id)) << id;
        Confirm(4002, "x");
        EXPECT_EQ(state->allFound, 0);
        EXPECT_EQ(Shown(8002), layout == 8);
        Confirm(4002, "rome");  // mended: everything comes out again
        EXPECT_EQ(state->allFound, 1);
        EXPECT_TRUE(Shown(8002));
        TearDown();
        state = nullptr;
    }
}

TEST_F(Play, TwoAnswersAndTheHiddenSecondOne) {
    Open(0, 2, {{"ROME", "ITALIE", ""}, {"OSLO", "-", ""}});
    EXPECT_EQ(TextOf(Item(5004)), "BRAVO");  // the hidden field is right from the build on
    EXPECT_EQ(Confirm(4001, "rome"), "BRAVO");
    EXPECT_EQ(QuestionAt(state, 0)->found, 0);
    EXPECT_EQ(Score(), " 0 / 2|      ");
    Confirm(4002, "italie");
    EXPECT_EQ(QuestionAt(state, 0)->found, 1);
    EXPECT_EQ(Confirm(4003, "oslo"), "BRAVO");
    EXPECT_EQ(QuestionAt(state, 1)->found, 1);
    EXPECT_EQ(Score(), " 2 / 2|code 2");
}

// Offers posted input to the grid's dialog manager first, as the player does.
void Key(HWND field, WPARAM key, HWND grid) {
    PostMessageA(field, WM_KEYDOWN, key, 0x00000001);
    if (key == VK_RETURN) PostMessageA(field, WM_CHAR, '\r', 0x00000001);
    if (key == VK_TAB) PostMessageA(field, WM_CHAR, '\t', 0x00000001);
    PostMessageA(field, WM_KEYUP, key, 0xC0000001);
    test::FlushEvents(grid, 50);
}

TEST_F(Play, EnterTabAndF1ThroughTheMessagePump) {
    Open(0, 1, kThree);
    SetFocus(Item(4001));
    SetWindowTextA(Item(4001), "pome");
    Key(Item(4001), VK_RETURN, fixture.grid);
    EXPECT_EQ(TextOf(Item(5001)), "Quasiment");
    EXPECT_EQ(TextOf(Item(4001)), "pome");  // no CR in the text
    Key(Item(4001), VK_TAB, fixture.grid);
    EXPECT_EQ(GetFocus(), Item(4002));
    SetWindowTextA(Item(4002), "kiwi");
    Key(Item(4002), VK_TAB, fixture.grid);  // leaving the field judges it
    EXPECT_EQ(TextOf(Item(5002)), "FAUX");
    EXPECT_EQ(TextOf(Item(4002)), "kiwi");
    SetFocus(Item(4002));
    Key(Item(4002), VK_F1, fixture.grid);  // kiwi everywhere open
    EXPECT_EQ(TextOf(Item(5003)), "BRAVO");
    EXPECT_EQ(TextOf(Item(4001)), "kiwi");
    EXPECT_EQ(TextOf(Item(5001)), "FAUX");
    EXPECT_EQ(GetFocus(), Item(4002));
    SetWindowTextA(Item(4001), "");
    Key(Item(4001), VK_F1, fixture.grid);  // an empty text empties the open fields
    EXPECT_EQ(TextOf(Item(5002)), "?");
    EXPECT_EQ(TextOf(Item(4003)), "kiwi");
}

TEST_F(Play, SavingWritesEveryFieldAndNeverLosesTheLastSave) {
    Open(0, 1, kThree);
    SetWindowTextA(Item(4002), "ROME");
    SaveProgress(state);
    const std::string saved = "\r\nROME\r\n\r\n";
    EXPECT_EQ(FileBytes(ProgressName()), saved);
    // A save that cannot write its new file leaves the old one as it was.
    const std::string fresh = ProgressName() + ".new";
    ASSERT_TRUE(CreateDirectoryA(fresh.c_str(), nullptr));
    SetWindowTextA(Item(4002), "PARIS");
    SaveProgress(state);
    RemoveDirectoryA(fresh.c_str());
    EXPECT_EQ(FileBytes(ProgressName()), saved);
    SaveProgress(state);
    EXPECT_EQ(FileBytes(ProgressName()), "\r\nPARIS\r\n\r\n");
    // Once the grid is gone there is nothing to save: the file stays.
    test::CloseGrid(&fixture);
    SaveProgress(state);
    EXPECT_EQ(FileBytes(ProgressName()), "\r\nPARIS\r\n\r\n");
}

TEST_F(Play, AGridWithoutAnswerFieldsNeverTouchesTheFile) {
    const std::string earlier = "POMME\r\nROME\r\nKIWI\r\n";
    WriteBytes(ProgressName(), earlier);
    Open(0, 1, kThree, 2);  // a quiz of another kind: no rows, no fields
    ASSERT_EQ(Item(4001), nullptr);
    EXPECT_EQ(SaveProgress(state), SaveOutcome::kNothingToSave);
    EXPECT_TRUE(SaveProgressOrSay(state, true));  // nothing lost: closing goes on, silently
    SendMessageA(header, WM_COMMAND, 27, 0);       // "Sauver"
    EXPECT_EQ(FileBytes(ProgressName()), earlier);
}

TEST_F(Play, AFailedSaveSaysWhereAndWhyAndTheGameGoesOn) {
    Open(0, 1, kThree);
    SetWindowTextA(Item(4002), "ROME");
    ASSERT_EQ(SaveProgress(state), SaveOutcome::kSaved);
    const std::string saved = "\r\nROME\r\n\r\n";
    // The new file cannot be made: a folder holds its name.
    const std::string fresh = ProgressName() + ".new";
    ASSERT_TRUE(CreateDirectoryA(fresh.c_str(), nullptr));
    SetWindowTextA(Item(4002), "PARIS");
    unsigned long error = 0;
    EXPECT_EQ(SaveProgress(state, &error), SaveOutcome::kFailed);
    EXPECT_NE(error, 0ul);
    const std::string lead = "Les r\xE9ponses n'ont pas pu \xEAtre enregistr\xE9" "es dans \xAB " +
                             FullPath(ProgressName()) + " \xBB :\r\n";
    test::RealMessageBoxes boxes;
    {
        SCOPED_TRACE("Sauver");
        test::MessageBoxAnswer answer("Zarlo", IDOK);
        SendMessageA(header, WM_COMMAND, 27, 0);
        const test::MessageBoxSeen seen = answer.Finish();
        EXPECT_EQ(seen.text.substr(0, lead.size()), lead);
        EXPECT_GT(seen.text.size(), lead.size());  // the system's reason follows
        EXPECT_FALSE(seen.yesNo);
    }
    {
        SCOPED_TRACE("F2");
        test::MessageBoxAnswer answer("Zarlo", IDOK);
        SetFocus(Item(4002));
        Key(Item(4002), VK_F2, fixture.grid);
        EXPECT_EQ(answer.Finish().text.substr(0, lead.size()), lead);
    }
    EXPECT_EQ(FileBytes(ProgressName()), saved);
    EXPECT_EQ(TextOf(Item(4002)), "PARIS");  // the game goes on
    RemoveDirectoryA(fresh.c_str());
    EXPECT_TRUE(SaveProgressOrSay(state, false));
    EXPECT_EQ(FileBytes(ProgressName()), "\r\nPARIS\r\n\r\n");
}

TEST_F(Play, AHiddenQuestionStaysHiddenWhateverItsAnswersReveal) {
    std::vector<test::FixtureQuestion> twelve(12, {"X", nullptr, "Un indice."});
    twelve[9] = {"DATTE", nullptr, "Un fruit."};  // question 10: the one with an overlay
    Open(3, 1, twelve);
    Cacher(true);
    EXPECT_EQ(Confirm(4010, "datte"), "BRAVO");
    EXPECT_FALSE(Shown(8010));
    EXPECT_FALSE(Shown(9910));
    Confirm(4010, "dat");
    EXPECT_EQ(Confirm(4010, "datte"), "BRAVO");  // found again in its raised field
    EXPECT_FALSE(Shown(8010)) << "the hint came back over the grid";
    EXPECT_FALSE(Shown(9910)) << "the picture came back";
    Cacher(false);
    EXPECT_TRUE(Shown(8010));
    EXPECT_TRUE(Shown(9910));
}

TEST_F(Play, Layout4RevealsAllButWhatIsHidden) {
    std::vector<test::FixtureQuestion> four = kThree;
    four.push_back({"DATTE", nullptr, "Encore un fruit."});
    Open(4, 1, four);
    Cacher(true);
    Confirm(4001, "pomme");
    Confirm(4002, "rome");
    Confirm(4004, "datte");
    Confirm(4003, "kiwi");  // the last "BRAVO": everything comes out, but 1 to 4 are hidden
    EXPECT_EQ(state->allFound, 1);
    for (int id : {8001, 8002, 8003, 8004}) EXPECT_FALSE(Shown(id)) << id;
    Cacher(false);
    for (int id : {8001, 8002, 8003, 8004}) EXPECT_TRUE(Shown(id)) << id;
}

TEST_F(Play, FindingAndLosingAThousandTimesKeepsNothing) {
    std::vector<test::FixtureQuestion> ten(10, {"X", nullptr, ""});
    ten[9] = {"DATTE", nullptr, ""};  // question 10: the one with an overlay
    Open(1, 1, ten);
    auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS counters = {};
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return static_cast<long long>(counters.WorkingSetSize);
    };
    Confirm(4010, "datte");
    HBITMAP first = reinterpret_cast<HBITMAP>(SendMessageA(Item(9910), STM_GETIMAGE, IMAGE_BITMAP, 0));
    const long long before = workingSet();
    for (int i = 0; i < 1000; ++i) {
        Confirm(4010, "x");
        ASSERT_EQ(Confirm(4010, "datte"), "BRAVO");
    }
    EXPECT_EQ(GetObjectType(first), 0u);  // every replaced picture released
    EXPECT_LT(workingSet() - before, 8ll << 20);
}

}  // namespace
}  // namespace quiz
