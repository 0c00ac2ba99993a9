#pragma once
// Where the window keeps what it remembers between runs (recent books, the line-start choice):
// one settings file at the desktop's configuration location.

#include <QSettings>

namespace brisna {

inline QSettings ProgramSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("BrisnaMake"),
                     QStringLiteral("BrisnaMake"));
}

}  // namespace brisna
