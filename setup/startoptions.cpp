#include "startoptions.h"

#include <QDebug>
#include <QSettings>

namespace {

// ASCII letters, "_" and "-", at most 16 of them: safe in a file name.
bool isPlainLanguageCode(const QString& code)
{
    if (code.size() > 16)
        return false;
    for (const QChar c : code) {
        const char16_t u = c.unicode();
        const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
        if (!letter && u != u'_' && u != u'-')
            return false;
    }
    return true;
}

} // namespace

StartOptions readStartOptions(const QStringList& arguments, const QString& configPath)
{
    StartOptions options;
    if (arguments.size() > 1) {
        options.advanced = arguments.at(1) == QLatin1String("advanced");
        return options;
    }
    const QString language =
        QSettings(configPath, QSettings::IniFormat).value(QStringLiteral("UI/lang"), QString()).toString();
    if (language.isEmpty() || language == QLatin1String("en"))
        return options;
    if (!isPlainLanguageCode(language)) {
        qWarning() << "UI/lang" << language << "is no language code; no translation loaded";
        return options;
    }
    options.language = language;
    return options;
}

QString translationFileName(const QString& language)
{
    return QStringLiteral("i18n/hardware_settings_ui_") + language;
}
