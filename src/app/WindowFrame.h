#pragma once
// The main window as the display commands see it: its frame on the screen and the few things
// the toggles do to its controls. The Qt window implements it; without a window (command line,
// tests of the core) the dialog has no frame and the toggles only change their flags.

#include <cstdint>
#include <string_view>

#include "app/WindowLayout.h"

namespace brisna {

class CBrisnaMakeDlg;

class WindowFrame {
  public:
    virtual ~WindowFrame() = default;

    // The window's rectangle on the screen, frame included.
    virtual PixelRect WindowRect() const = 0;
    virtual bool IsMaximized() const = 0;
    // Moves and sizes the window (frame included). A change of size reaches OnWindowSized.
    virtual void MoveWindow(const PixelRect& rect) = 0;
    // Places every control for the current client size and display flags.
    virtual void LayOutControls() = 0;

    virtual void SetControlText(int controlId, std::string_view gbk) = 0;
    virtual void ShowControl(int controlId, bool show) = 0;
    virtual void EnableControl(int controlId, bool enable) = 0;
};

// The window's size changed: lay the controls out and, in narrow display, rebuild the line table
// under the wait cursor. A window whose display lines cannot have changed since its last rebuild
// passes lineTableMayChange = false and saves the pass over the text.
void OnWindowSized(CBrisnaMakeDlg& dlg, bool lineTableMayChange = true);
// The window is about to be maximised: back to narrow display, and no wide toggle until restored.
void OnWindowMaximizing(CBrisnaMakeDlg& dlg);
// The window is being restored from maximised.
void OnWindowRestoring(CBrisnaMakeDlg& dlg);

}  // namespace brisna
