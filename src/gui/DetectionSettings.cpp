#include "gui/DetectionSettings.h"

#include <QSettings>

namespace brisna {
namespace {

constexpr char kKey[] = "headingsAtLineStart";

QSettings Settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
                     QStringLiteral("BrisnaMake"));
}

}  // namespace

bool LoadHeadingsAtLineStart() {
    return Settings().value(kKey, false).toBool();
}

void SaveHeadingsAtLineStart(bool atLineStart) {
    Settings().setValue(kKey, atLineStart);
}

}  // namespace brisna
