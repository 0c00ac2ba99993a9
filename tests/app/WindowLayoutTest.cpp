// The window's pixel layout and the display toggles, without a window.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/CBrisnaMakeDlg.h"
#include "app/HeadlessDialogHost.h"
#include "app/WindowFrame.h"
#include "app/WindowLayout.h"
#include "controls/HeadlessListBox.h"
#include "controls/HeadlessRichEdit.h"
#include "support/TestSupport.h"

namespace brisna {
namespace {

using test::G;

bool Overlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height &&
           b.y < a.y + a.height;
}

bool IsFrame(int id) {
    return id == kTextFrame || id == kChapterListFrame || id == kProblemListFrame;
}

TEST(WindowLayoutTest, FollowsTheTableInNarrowDisplay) {
    const auto layout = ComputeWindowLayout(1200, 700, false, true);
    EXPECT_EQ(layout.size(), 26u);
    EXPECT_EQ(PlacementOf(layout, kProblemListToggle), (PixelRect{1096, 25, 80, 25}));
    EXPECT_EQ(PlacementOf(layout, kOpenTextButton), (PixelRect{576, 25, 88, 25}));
    EXPECT_EQ(PlacementOf(layout, kOpenQbrButton), (PixelRect{852, 25, 68, 25}));
    EXPECT_EQ(PlacementOf(layout, kProblemList), (PixelRect{948, 63, 233, 609}));
    EXPECT_EQ(PlacementOf(layout, kProblemListFrame), (PixelRect{941, 44, 248, 638}));
    EXPECT_EQ(PlacementOf(layout, kChapterList), (PixelRect{18, 62, 194, 505}));
    EXPECT_EQ(PlacementOf(layout, kChapterListFrame), (PixelRect{12, 44, 206, 638}));
    EXPECT_EQ(PlacementOf(layout, kCheckMissingButton), (PixelRect{26, 586, 88, 25}));
    EXPECT_EQ(PlacementOf(layout, kDeleteAllButton), (PixelRect{125, 652, 88, 25}));
    EXPECT_EQ(PlacementOf(layout, kSearchEdit), (PixelRect{236, 610, 120, 25}));
    EXPECT_EQ(PlacementOf(layout, kStartChapterLabel), (PixelRect{241, 654, 62, 25}));
    EXPECT_EQ(PlacementOf(layout, kStartChapterEdit), (PixelRect{311, 650, 174, 25}));
    EXPECT_EQ(PlacementOf(layout, kTextFrame), (PixelRect{220, 44, 716, 638}));
    EXPECT_EQ(PlacementOf(layout, kBookText), (PixelRect{236, 62, 688, 538}));
    EXPECT_EQ(PlacementOf(layout, kTestButton), (PixelRect{796, 613, 127, 25}));
    EXPECT_EQ(PlacementOf(layout, kGenerateButton), (PixelRect{796, 649, 127, 25}));
    EXPECT_EQ(PlacementOf(layout, 9999), PixelRect{});
}

TEST(WindowLayoutTest, WideDisplayWidensTheChapterListAndShiftsTheMiddleColumn) {
    const auto narrow = ComputeWindowLayout(1386, 700, false, true);
    const auto wide = ComputeWindowLayout(1386, 700, true, true);
    EXPECT_EQ(PlacementOf(wide, kChapterList).width, 390);
    EXPECT_EQ(PlacementOf(wide, kChapterListFrame).width, 392);
    for (int id : {kCheckMissingButton, kWideDisplayToggle, kMoveUpButton, kMoveDownButton,
                   kDeleteButton, kDeleteAllButton, kAddChapterButton, kConvertButton, kSearchEdit,
                   kSearchButton, kKeywordAddButton, kIncrementalAddButton, kStartChapterLabel,
                   kStartChapterEdit, kTextFrame, kBookText}) {
        EXPECT_EQ(PlacementOf(wide, id).x, PlacementOf(narrow, id).x + 186) << id;
    }
    EXPECT_EQ(PlacementOf(wide, kBookText).width, 1386 - 698);
    EXPECT_EQ(PlacementOf(wide, kTextFrame).width, 1386 - 670);
    // The right-hand column stays anchored to the right edge.
    for (int id : {kProblemList, kProblemListFrame, kTestButton, kGenerateButton,
                   kProblemListToggle, kOpenTextButton}) {
        EXPECT_EQ(PlacementOf(wide, id), PlacementOf(narrow, id)) << id;
    }
}

TEST(WindowLayoutTest, HiddenProblemListGivesItsRoomToTheText) {
    for (bool wide : {false, true}) {
        const auto shown = ComputeWindowLayout(1300, 650, wide, true);
        const auto hidden = ComputeWindowLayout(1300, 650, wide, false);
        EXPECT_EQ(PlacementOf(hidden, kBookText).width, PlacementOf(shown, kBookText).width + 253);
        EXPECT_EQ(PlacementOf(hidden, kTextFrame).width,
                  PlacementOf(shown, kTextFrame).width + 253);
        EXPECT_EQ(PlacementOf(hidden, kTestButton).x, PlacementOf(shown, kTestButton).x + 253);
        EXPECT_EQ(PlacementOf(hidden, kGenerateButton).x, 1300 - 151);
        // Still placed while hidden.
        EXPECT_EQ(PlacementOf(hidden, kProblemList), PlacementOf(shown, kProblemList));
    }
}

// Every control whole, inside the client area and apart from the others (the frames only
// surround them, but must stay apart from each other).
void ExpectControlsApart(int width, int height, bool wide, bool shown) {
    const auto layout = ComputeWindowLayout(width, height, wide, shown);
    const auto hidden = [&](int id) {
        return !shown && (id == kProblemList || id == kProblemListFrame);
    };
    for (const ControlPlacement& p : layout) {
        if (hidden(p.controlId)) continue;
        EXPECT_GE(p.rect.x, 0) << p.controlId;
        EXPECT_GE(p.rect.y, 0) << p.controlId;
        EXPECT_GT(p.rect.width, 0) << p.controlId;
        EXPECT_GT(p.rect.height, 0) << p.controlId;
        EXPECT_LE(p.rect.x + p.rect.width, width) << p.controlId;
        EXPECT_LE(p.rect.y + p.rect.height, height) << p.controlId;
        for (const ControlPlacement& q : layout) {
            if (q.controlId <= p.controlId || hidden(q.controlId)) continue;
            if (IsFrame(p.controlId) != IsFrame(q.controlId)) continue;
            EXPECT_FALSE(Overlap(p.rect, q.rect))
                << p.controlId << " and " << q.controlId << " at " << width << "x" << height
                << (wide ? " wide" : " narrow") << (shown ? "" : ", problem list hidden");
        }
    }
}

// The first window, and the window after one press of the wide toggle, must show every control
// whole and apart from the others (the frames only surround them).
TEST(WindowLayoutTest, InitialSizeFitsEveryControlWithoutOverlap) {
    for (bool shown : {true, false}) {
        ExpectControlsApart(kInitialClientWidth, kInitialClientHeight, false, shown);
        ExpectControlsApart(kInitialClientWidth + kWideShift, kInitialClientHeight, true, shown);
    }
}

// The minimum size keeps everything apart in each mode, also every width between it and the
// comfortable one (where the bottom row closes up step by step).
TEST(WindowLayoutTest, MinimumSizeKeepsControlsApartInEveryMode) {
    for (bool wide : {false, true}) {
        for (bool shown : {true, false}) {
            const PixelSize least = MinimumClientSize(wide, shown);
            for (int width = least.width; width <= kInitialClientWidth + kWideShift; width += 7) {
                ExpectControlsApart(width, least.height, wide, shown);
            }
        }
    }
    // The narrow window with its problem list fits a 1024-pixel screen.
    EXPECT_LE(MinimumClientSize(false, true).width, 1010);
    EXPECT_LT(MinimumClientSize(false, false).width, MinimumClientSize(false, true).width);
    EXPECT_EQ(MinimumClientSize(true, true).width,
              MinimumClientSize(false, true).width + kWideShift);
}

// The first size stays on small screens, and on scaled ones whose logical area is small.
TEST(WindowLayoutTest, FirstSizeIsClampedToTheScreen) {
    const PixelSize frame{10, 40};
    struct Case {
        PixelSize available;
        PixelSize expected;
    };
    for (const Case& c : {
             Case{{1920, 1040}, {kInitialClientWidth, kInitialClientHeight}},
             Case{{1024, 570}, {1014, 530}},  // a 1024x600 screen with a panel
             Case{{1067, 570}, {1057, 530}},  // 1600x900 at 150 %
             Case{{800, 300}, {MinimumClientSize(false, true).width, 400}},  // never below least
         }) {
        EXPECT_EQ(InitialClientSize(c.available, frame), c.expected)
            << c.available.width << "x" << c.available.height;
    }
}

// A frame that records what the toggles do to it.
class FakeFrame : public WindowFrame {
  public:
    PixelRect WindowRect() const override { return rect; }
    bool IsMaximized() const override { return maximized; }
    void MoveWindow(const PixelRect& r) override {
        const bool resized = r.width != rect.width || r.height != rect.height;
        rect = r;
        ++moves;
        if (resized && dlg != nullptr) OnWindowSized(*dlg);
    }
    void LayOutControls() override { ++layouts; }
    void SetControlText(int id, std::string_view gbk) override { texts[id] = std::string(gbk); }
    void ShowControl(int id, bool show) override { shown[id] = show; }
    void EnableControl(int id, bool enable) override { enabled[id] = enable; }

    CBrisnaMakeDlg* dlg = nullptr;
    PixelRect rect{300, 40, 1136, 654};
    bool maximized = false;
    int moves = 0;
    int layouts = 0;
    std::map<int, std::string> texts;
    std::map<int, bool> shown;
    std::map<int, bool> enabled;
};

class DisplayToggleTest : public ::testing::Test {
  protected:
    DisplayToggleTest() : dlg(view, chapters, problems, host, dir / "none.csv") {
        frame.dlg = &dlg;
        dlg.SetWindowFrame(&frame);
    }
    test::TempDir dir;
    HeadlessRichEdit view;
    HeadlessListBox chapters;
    HeadlessListBox problems;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dlg;
    FakeFrame frame;
};

TEST_F(DisplayToggleTest, WideTogglePressedTwiceReturnsToX78WithTheOldWidth) {
    dlg.OnCommand(kWideDisplayToggle);
    EXPECT_EQ(dlg.wideDisplay, 1);
    EXPECT_EQ(frame.rect, (PixelRect{-10, 40, 1136 + 186, 654}));
    EXPECT_EQ(frame.texts[kWideDisplayToggle], G("窄幅显示"));
    // Entering wide display lays out but leaves the line table alone.
    EXPECT_EQ(frame.layouts, 1);
    EXPECT_EQ(host.WaitCursorShown(), 0);

    dlg.OnCommand(kWideDisplayToggle);
    EXPECT_EQ(dlg.wideDisplay, 0);
    EXPECT_EQ(frame.rect, (PixelRect{78, 40, 1136, 654}));
    EXPECT_EQ(frame.texts[kWideDisplayToggle], G("宽幅显示"));
    // Back in narrow display the size change rebuilds the table under the wait cursor.
    EXPECT_EQ(host.WaitCursorShown(), 1);
    EXPECT_EQ(host.WaitDepth(), 0);
}

TEST_F(DisplayToggleTest, MaximisingEndsWideDisplayAndBlocksTheToggleUntilRestored) {
    dlg.OnCommand(kWideDisplayToggle);
    ASSERT_EQ(dlg.wideDisplay, 1);
    OnWindowMaximizing(dlg);
    frame.maximized = true;
    EXPECT_EQ(dlg.wideDisplay, 0);
    EXPECT_EQ(frame.texts[kWideDisplayToggle], G("宽幅显示"));
    EXPECT_FALSE(frame.enabled[kWideDisplayToggle]);

    const int moves = frame.moves;
    dlg.OnCommand(kWideDisplayToggle);
    EXPECT_EQ(dlg.wideDisplay, 0);
    EXPECT_EQ(frame.moves, moves);

    frame.maximized = false;
    OnWindowRestoring(dlg);
    EXPECT_TRUE(frame.enabled[kWideDisplayToggle]);
}

TEST_F(DisplayToggleTest, ProblemListToggleHidesShowsAndLaysOutWithoutRebuilding) {
    dlg.OnCommand(kProblemListToggle);
    EXPECT_EQ(dlg.problemListShown, 0);
    EXPECT_FALSE(frame.shown[kProblemList]);
    EXPECT_FALSE(frame.shown[kProblemListFrame]);
    EXPECT_EQ(frame.texts[kProblemListToggle], G("显示问题列表"));
    EXPECT_EQ(frame.layouts, 1);

    dlg.OnCommand(kProblemListToggle);
    EXPECT_EQ(dlg.problemListShown, 1);
    EXPECT_TRUE(frame.shown[kProblemList]);
    EXPECT_TRUE(frame.shown[kProblemListFrame]);
    EXPECT_EQ(frame.texts[kProblemListToggle], G("关闭问题列表"));
    EXPECT_EQ(frame.layouts, 2);
    EXPECT_EQ(host.WaitCursorShown(), 0);
    EXPECT_EQ(frame.moves, 0);
}

TEST_F(DisplayToggleTest, ResizeRebuildsOnlyInNarrowDisplayAndWhenTheTextMayHaveChanged) {
    view.SetText(G("甲\r\n乙"));
    OnWindowSized(dlg);
    EXPECT_EQ(frame.layouts, 1);
    EXPECT_EQ(dlg.bookText.LineStarts().size(), 2u);
    EXPECT_EQ(host.WaitCursorShown(), 1);

    OnWindowSized(dlg, false);
    EXPECT_EQ(frame.layouts, 2);
    EXPECT_EQ(host.WaitCursorShown(), 1);

    dlg.wideDisplay = 1;
    view.SetText(G("甲\r\n乙\r\n丙"));
    OnWindowSized(dlg);
    EXPECT_EQ(dlg.bookText.LineStarts().size(), 2u);
    EXPECT_EQ(host.WaitCursorShown(), 1);
}

TEST(DisplayToggleWithoutWindowTest, TogglesOnlyFlipTheirFlags) {
    test::TempDir dir;
    HeadlessRichEdit view;
    HeadlessListBox chapters, problems;
    HeadlessDialogHost host;
    CBrisnaMakeDlg dlg(view, chapters, problems, host, dir / "none.csv");
    dlg.OnCommand(kWideDisplayToggle);
    dlg.OnCommand(kProblemListToggle);
    EXPECT_EQ(dlg.wideDisplay, 1);
    EXPECT_EQ(dlg.problemListShown, 0);
    OnWindowMaximizing(dlg);
    OnWindowRestoring(dlg);
    OnWindowSized(dlg);
    EXPECT_EQ(dlg.wideDisplay, 0);
    EXPECT_TRUE(host.Messages().empty());
}

}  // namespace
}  // namespace brisna
