#include "app/WindowLayout.h"

#include <algorithm>

#include "app/ControlIds.h"

namespace brisna {

namespace {

// Hiding the problem list hands its 253 pixels to the text and moves the two check buttons.
constexpr int kProblemColumnWidth = 253;
// Where the check buttons must start to keep a gap after 繁体转简体 / 递增添加章节.
constexpr int kCheckButtonsLeftmost = 696 + 12;
// How far the middle buttons may move left (up to the search button), and how much the two check
// buttons may give of their width (down to the other buttons' 88).
constexpr int kMiddleButtonsGive = 69;
constexpr int kCheckButtonsGive = 127 - 88;
// The top-left open button must stay clear of the chapter list's frame.
constexpr int kOpenButtonsSpan = 624;
constexpr int kMinimumHeight = 400;
// Narrower still, with the problem list shown, the check buttons move under the problem list;
// the middle buttons then only need to end inside the text frame (whose right edge is W - 264).
constexpr int kMiddleButtonsRight = 696 + 8;
constexpr int kTextFrameRightGap = 264;
constexpr int kCheckButtonsUnderListX = 199;  // from the right edge, centred under the list
constexpr int kProblemListCheckRows = 67;     // what the list gives of its height for them

int CheckButtonsDeficit(int w, int shift, int hiddenGain) {
    return std::max(0, kCheckButtonsLeftmost + shift - (w - 404 + hiddenGain));
}

}  // namespace

PixelSize MinimumClientSize(bool wide, bool problemListShown) {
    const int shift = wide ? kWideShift : 0;
    const int hiddenGain = problemListShown ? 0 : kProblemColumnWidth;
    const int chapterFrameRight = 12 + (wide ? 392 : 206);
    const int forOpenButtons = chapterFrameRight + 2 + kOpenButtonsSpan;
    const int forCheckButtons =
        problemListShown ? kMiddleButtonsRight + shift - kMiddleButtonsGive + kTextFrameRightGap
                         : kCheckButtonsLeftmost + shift + 404 - hiddenGain - kMiddleButtonsGive -
                               kCheckButtonsGive;
    return {std::max(forOpenButtons, forCheckButtons), kMinimumHeight};
}

PixelSize InitialClientSize(PixelSize available, PixelSize frame) {
    const PixelSize least = MinimumClientSize(false, true);
    const int width = std::min(kInitialClientWidth, available.width - frame.width);
    const int height = std::min(kInitialClientHeight, available.height - frame.height);
    return {std::max(width, least.width), std::max(height, least.height)};
}

std::vector<ControlPlacement> ComputeWindowLayout(int w, int h, bool wide, bool problemListShown) {
    const int shift = wide ? kWideShift : 0;
    const int hiddenGain = problemListShown ? 0 : kProblemColumnWidth;
    // Narrower than the comfortable width, the check buttons would slide under the middle ones:
    // first the middle buttons move left (the start-chapter field gives the room), then the
    // check buttons narrow. Above it every control stands where it always has.
    const int deficit = CheckButtonsDeficit(w, shift, hiddenGain);
    // When even that is not enough, the check buttons go under the problem list instead.
    const bool checkUnderList =
        problemListShown && deficit > kMiddleButtonsGive + kCheckButtonsGive;
    const int middleLeft = checkUnderList
                               ? std::clamp(kMiddleButtonsRight + shift + kTextFrameRightGap - w, 0,
                                            kMiddleButtonsGive)
                               : std::min(deficit, kMiddleButtonsGive);
    const int checkNarrower =
        checkUnderList ? 0 : std::min(deficit - middleLeft, kCheckButtonsGive);
    const int checkX =
        checkUnderList ? w - kCheckButtonsUnderListX : w - 404 + hiddenGain + checkNarrower;
    const int problemListHeight = checkUnderList ? h - 91 - kProblemListCheckRows : h - 91;
    return {
        {kProblemListToggle, {w - 104, 25, 80, 25}},
        {kOpenTextButton, {w - 624, 25, 88, 25}},
        {kOpenQbr2Button, {w - 486, 25, 88, 25}},
        {kOpenQbrButton, {w - 348, 25, 68, 25}},
        {kProblemList, {w - 252, 63, 233, problemListHeight}},
        {kProblemListFrame, {w - 259, 44, 248, h - 62}},
        {kChapterListFrame, {12, 44, wide ? 392 : 206, h - 62}},
        {kCheckMissingButton, {26 + shift, h - 114, 88, 25}},
        {kWideDisplayToggle, {125 + shift, h - 114, 88, 25}},
        {kMoveUpButton, {26 + shift, h - 81, 88, 25}},
        {kMoveDownButton, {125 + shift, h - 81, 88, 25}},
        {kDeleteButton, {26 + shift, h - 48, 88, 25}},
        {kDeleteAllButton, {125 + shift, h - 48, 88, 25}},
        {kChapterList, {18, 62, wide ? 390 : 194, h - 195}},
        {kAddChapterButton, {505 + shift - middleLeft, h - 87, 88, 25}},
        {kConvertButton, {608 + shift - middleLeft, h - 87, 88, 25}},
        {kSearchEdit, {236 + shift, h - 90, 120, 25}},
        {kSearchButton, {366 + shift, h - 87, 62, 25}},
        {kKeywordAddButton, {505 + shift - middleLeft, h - 51, 88, 25}},
        {kIncrementalAddButton, {608 + shift - middleLeft, h - 51, 88, 25}},
        {kStartChapterLabel, {241 + shift, h - 46, 62, 25}},
        {kStartChapterEdit, {311 + shift, h - 50, 174 - middleLeft, 25}},
        {kTextFrame, {220 + shift, 44, w - 484 - shift + hiddenGain, h - 62}},
        {kBookText, {236 + shift, 62, w - 512 - shift + hiddenGain, h - 162}},
        {kTestButton, {checkX, h - 87, 127 - checkNarrower, 25}},
        {kGenerateButton, {checkX, h - 51, 127 - checkNarrower, 25}},
    };
}

PixelRect PlacementOf(const std::vector<ControlPlacement>& layout, int controlId) {
    for (const ControlPlacement& placement : layout) {
        if (placement.controlId == controlId) return placement.rect;
    }
    return {};
}

}  // namespace brisna
