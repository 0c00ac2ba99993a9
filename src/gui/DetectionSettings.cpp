#include "gui/DetectionSettings.h"

#include "gui/ProgramSettings.h"

namespace brisna {
namespace {

constexpr char kKey[] = "headingsAtLineStart";

}  // namespace

bool LoadHeadingsAtLineStart() {
    return ProgramSettings().value(kKey, false).toBool();
}

void SaveHeadingsAtLineStart(bool atLineStart) {
    ProgramSettings().setValue(kKey, atLineStart);
}

}  // namespace brisna
