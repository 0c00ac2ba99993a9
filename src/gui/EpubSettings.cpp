#include "gui/EpubSettings.h"

#include <QFile>
#include <QSettings>

#include "gui/ProgramSettings.h"

namespace brisna {

namespace {

std::string PathSetting(const QSettings& settings, const char* key) {
    return QFile::encodeName(settings.value(key).toString()).toStdString();
}

QString PathValue(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// A length kept in tenths, back within its bounds (a hand-edited file may hold anything).
int TenthsSetting(const QSettings& settings, const char* key, int fallback, int low, int high) {
    bool ok = false;
    const int value = settings.value(key, fallback).toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

}  // namespace

EpubChoices SavedEpubChoices() {
    QSettings settings = ProgramSettings();
    EpubChoices choices;
    EpubStyle& style = choices.style;
    choices.coverPath = PathSetting(settings, "epub/cover");
    choices.noCover = settings.value("epub/noCover", false).toBool();
    choices.fontPath = PathSetting(settings, "epub/font");
    choices.stylesheetPath = PathSetting(settings, "epub/css");
    style.indentTenths =
        TenthsSetting(settings, "epub/indent", style.indentTenths, 0, kMaxIndentTenths);
    style.spacingTenths =
        TenthsSetting(settings, "epub/spacing", style.spacingTenths, 0, kMaxSpacingTenths);
    style.lineHeightTenths = TenthsSetting(settings, "epub/lineHeight", style.lineHeightTenths,
                                           kMinLineHeightTenths, kMaxLineHeightTenths);
    const std::string alignment = settings.value("epub/headingAlign").toString().toStdString();
    style.headingAlignment = ParseHeadingAlignment(alignment).value_or(style.headingAlignment);
    const std::string family = settings.value("epub/fontFamily").toString().toStdString();
    style.fontFamily = ParseFontFamily(family).value_or(style.fontFamily);
    style.vertical = settings.value("epub/vertical", false).toBool();
    style.keepBlankLines = settings.value("epub/keepBlankLines", false).toBool();
    return choices;
}

void SaveEpubChoices(const EpubChoices& choices) {
    QSettings settings = ProgramSettings();
    const EpubStyle& style = choices.style;
    settings.setValue("epub/cover", PathValue(choices.coverPath));
    settings.setValue("epub/noCover", choices.noCover);
    settings.setValue("epub/font", PathValue(choices.fontPath));
    settings.setValue("epub/css", PathValue(choices.stylesheetPath));
    settings.setValue("epub/indent", style.indentTenths);
    settings.setValue("epub/spacing", style.spacingTenths);
    settings.setValue("epub/lineHeight", style.lineHeightTenths);
    settings.setValue("epub/headingAlign",
                      QString::fromLatin1(HeadingAlignmentName(style.headingAlignment).data()));
    settings.setValue("epub/fontFamily",
                      QString::fromLatin1(FontFamilyName(style.fontFamily).data()));
    settings.setValue("epub/vertical", style.vertical);
    settings.setValue("epub/keepBlankLines", style.keepBlankLines);
}

}  // namespace brisna
