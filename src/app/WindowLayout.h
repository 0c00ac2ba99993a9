#pragma once
// Where each control of the main window goes, in client-area pixels. A pure function of the
// client size and the two display flags, so it is tested without a window.

#include <vector>

namespace brisna {

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

struct ControlPlacement {
    int controlId = 0;
    PixelRect rect;
};

// How much further right the middle column and the buttons under the chapter list sit in wide
// display, and how much wider the chapter list gets.
inline constexpr int kWideShift = 186;
// Client size of the window when it first opens: room for every control without overlaps.
inline constexpr int kInitialClientWidth = 1120;
inline constexpr int kInitialClientHeight = 615;

// The smallest client area at which no two controls overlap, for each display mode. Below the
// comfortable width the bottom row of the text column closes up (see ComputeWindowLayout).
struct PixelSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};
PixelSize MinimumClientSize(bool wide, bool problemListShown);
// The client size the window first opens at on a screen whose usable area is `available`
// (logical pixels, so a scaled screen counts smaller), leaving `frame` for the window frame:
// the usual size where it fits, never smaller than the narrow minimum.
PixelSize InitialClientSize(PixelSize available, PixelSize frame);

// One placement for every control of the dialog, in the order the window moves them. The problem
// list and its frame are placed whether they are shown or not.
std::vector<ControlPlacement> ComputeWindowLayout(int clientWidth, int clientHeight, bool wide,
                                                  bool problemListShown);

// The rectangle of one control in a computed layout; an empty rectangle when it is not there.
PixelRect PlacementOf(const std::vector<ControlPlacement>& layout, int controlId);

}  // namespace brisna
