#pragma once
// The chapter-detection choices the window remembers between runs, kept beside the recent books
// in the user's settings.

namespace brisna {

// 仅匹配行首: off until the operator turns it on.
bool LoadHeadingsAtLineStart();
void SaveHeadingsAtLineStart(bool atLineStart);

}  // namespace brisna
