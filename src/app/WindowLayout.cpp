#include "app/WindowLayout.h"

#include "app/ControlIds.h"

namespace brisna {

std::vector<ControlPlacement> ComputeWindowLayout(int w, int h, bool wide, bool problemListShown) {
    const int shift = wide ? kWideShift : 0;
    // Hiding the problem list hands its 253 pixels to the text and moves the two check buttons.
    const int hiddenGain = problemListShown ? 0 : 253;
    return {
        {kProblemListToggle, {w - 104, 25, 80, 25}},
        {kOpenTextButton, {w - 624, 25, 88, 25}},
        {kOpenQbr2Button, {w - 486, 25, 88, 25}},
        {kOpenQbrButton, {w - 348, 25, 68, 25}},
        {kProblemList, {w - 252, 63, 233, h - 91}},
        {kProblemListFrame, {w - 259, 44, 248, h - 62}},
        {kChapterListFrame, {12, 44, wide ? 392 : 206, h - 62}},
        {kCheckMissingButton, {26 + shift, h - 114, 88, 25}},
        {kWideDisplayToggle, {125 + shift, h - 114, 88, 25}},
        {kMoveUpButton, {26 + shift, h - 81, 88, 25}},
        {kMoveDownButton, {125 + shift, h - 81, 88, 25}},
        {kDeleteButton, {26 + shift, h - 48, 88, 25}},
        {kDeleteAllButton, {125 + shift, h - 48, 88, 25}},
        {kChapterList, {18, 62, wide ? 390 : 194, h - 195}},
        {kAddChapterButton, {505 + shift, h - 87, 88, 25}},
        {kConvertButton, {608 + shift, h - 87, 88, 25}},
        {kSearchEdit, {236 + shift, h - 90, 120, 25}},
        {kSearchButton, {366 + shift, h - 87, 62, 25}},
        {kKeywordAddButton, {505 + shift, h - 51, 88, 25}},
        {kIncrementalAddButton, {608 + shift, h - 51, 88, 25}},
        {kStartChapterLabel, {241 + shift, h - 46, 62, 25}},
        {kStartChapterEdit, {311 + shift, h - 50, 174, 25}},
        {kTextFrame, {220 + shift, 44, w - 484 - shift + hiddenGain, h - 62}},
        {kBookText, {236 + shift, 62, w - 512 - shift + hiddenGain, h - 162}},
        {kTestButton, {w - 404 + hiddenGain, h - 87, 127, 25}},
        {kGenerateButton, {w - 404 + hiddenGain, h - 51, 127, 25}},
    };
}

PixelRect PlacementOf(const std::vector<ControlPlacement>& layout, int controlId) {
    for (const ControlPlacement& placement : layout) {
        if (placement.controlId == controlId) return placement.rect;
    }
    return {};
}

}  // namespace brisna
