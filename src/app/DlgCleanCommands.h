#pragma once
// 整理文本 (检查 menu): the clean-up run on the book in the editor. The window previews the
// result in its dialog and applies it on 确定; the command line applies it at once.

#include "app/CBrisnaMakeDlg.h"
#include "clean/TextCleanup.h"

namespace brisna {

// The clean-up of the text as it stands in the editor; nothing is changed yet.
CleanupResult PreviewTextCleanup(CBrisnaMakeDlg& dialog, const CleanupOptions& options);

// Puts a previewed result into the editor as one step of the undo history: the text replaced,
// the marked chapters carried to where their lines went. A result of another text (the operator
// typed since the preview) is refused with a message; false then, and when nothing changed.
bool ApplyTextCleanup(CBrisnaMakeDlg& dialog, const CleanupResult& result,
                      const std::string& previewedText);

// Both at once, then the report in a message box ("已删除广告等 N 行、目录 1 处，合并断行 M 处").
void CleanBookText(CBrisnaMakeDlg& dialog, const CleanupOptions& options);

}  // namespace brisna
