#pragma once
// The controls of the main dialog, created at their ids: the frames, the two lists, the text, the
// buttons with their captions, the two edit fields, the label and the problem-list filter.

#include <map>

class QComboBox;
class QWidget;

namespace brisna {

class CMyListBox;
class QtListBox;
class QtRichEdit;

struct DialogControls {
    QtRichEdit* text = nullptr;
    CMyListBox* chapters = nullptr;
    QtListBox* problems = nullptr;
    // Above the problem list: 全部, 阻止生成, 可疑字, 乱码, 空行.
    QComboBox* problemFilter = nullptr;
    // Every control by its dialog id (the filter has none).
    std::map<int, QWidget*> byId;
};

// Creates every control as a child of `parent`; buttons are not connected yet.
DialogControls CreateDialogControls(QWidget* parent);
// Tab goes in reading order, column by column.
void SetDialogTabOrder(const DialogControls& controls);

}  // namespace brisna
