// The two display toggles of the window and its size handling.
#include "app/AppMessages.h"
#include "app/CBrisnaMakeDlg.h"
#include "app/WindowFrame.h"
#include "text/CodePage936.h"

namespace brisna {

void CBrisnaMakeDlg::OnToggleProblemList() {
    problemListShown = !problemListShown;
    WindowFrame* frame = Frame();
    if (frame == nullptr) return;
    const bool shown = problemListShown != 0;
    frame->ShowControl(kProblemList, shown);
    frame->ShowControl(kProblemListFrame, shown);
    frame->SetControlText(kProblemListToggle, Utf8ToGbk(shown ? app_messages::kHideProblemList
                                                              : app_messages::kShowProblemList));
    // Only the controls move: the text keeps its width in lines, so no rebuild here.
    frame->LayOutControls();
}

void CBrisnaMakeDlg::OnToggleWideDisplay() {
    WindowFrame* frame = Frame();
    if (frame == nullptr) {
        // No window to move: keep the flag so the state stays what the operator asked for.
        wideDisplay = !wideDisplay;
        return;
    }
    PixelRect rect = frame->WindowRect();
    if (frame->IsMaximized()) return;
    wideDisplay = !wideDisplay;
    frame->SetControlText(kWideDisplayToggle, Utf8ToGbk(wideDisplay ? app_messages::kNarrowDisplay
                                                                    : app_messages::kWideDisplay));
    if (wideDisplay) {
        rect.x = -10;
        rect.width += kWideShift;
    } else {
        rect.x = 78;
        rect.width -= kWideShift;
    }
    frame->MoveWindow(rect);
}

void OnWindowSized(CBrisnaMakeDlg& dlg, bool lineTableMayChange) {
    if (WindowFrame* frame = dlg.Frame()) frame->LayOutControls();
    if (dlg.wideDisplay || !lineTableMayChange) return;
    WaitCursor wait(dlg.host);
    dlg.bookText.RebuildLineTable();
}

void OnWindowMaximizing(CBrisnaMakeDlg& dlg) {
    dlg.wideDisplay = 0;
    if (WindowFrame* frame = dlg.Frame()) {
        frame->SetControlText(kWideDisplayToggle, Utf8ToGbk(app_messages::kWideDisplay));
        frame->EnableControl(kWideDisplayToggle, false);
    }
}

void OnWindowRestoring(CBrisnaMakeDlg& dlg) {
    if (WindowFrame* frame = dlg.Frame()) frame->EnableControl(kWideDisplayToggle, true);
}

}  // namespace brisna
