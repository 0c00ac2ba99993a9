#pragma once
// Control ids of the main dialog and the messages its chapter list sends.

#include <cstdint>

namespace brisna {

enum ControlId : int {
    kChapterList = 1001,
    kBookText = 1004,
    kMoveUpButton = 1005,
    kMoveDownButton = 1006,
    kDeleteButton = 1007,
    kAddChapterButton = 1008,
    kGenerateButton = 1009,
    kOpenTextButton = 1010,
    kOpenQbr2Button = 1011,
    kProblemList = 1012,
    kTestButton = 1013,
    kSearchEdit = 1014,
    kSearchButton = 1015,
    kOpenQbrButton = 1016,
    kStartChapterEdit = 1017,
    kKeywordAddButton = 1018,
    kDeleteAllButton = 1019,
    kIncrementalAddButton = 1020,
    kProblemListToggle = 1021,
    kTextFrame = 1022,
    kStartChapterLabel = 1023,
    kChapterListFrame = 1024,
    kProblemListFrame = 1025,
    kConvertButton = 1026,
    kCheckMissingButton = 1027,
    kWideDisplayToggle = 1029,
    // Commands of the background menu that have no button; routed through OnCommand like one.
    kOpenEpubCommand = 1101,      // 打开EPUB
    kGenerateEpubCommand = 1102,  // 生成EPUB
};

// Sent by the chapter list's context menu; handled like 1005, 1006, 1007 and 1019.
inline constexpr uint32_t kMsgMoveUp = 0x1401;
inline constexpr uint32_t kMsgMoveDown = 0x1402;
inline constexpr uint32_t kMsgDelete = 0x1403;
inline constexpr uint32_t kMsgDeleteAll = 0x1404;

// The system-menu command of the About box.
inline constexpr uint32_t kSysCommandAbout = 0x10;

}  // namespace brisna
