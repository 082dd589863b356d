#pragma once

#include <QString>
#include <QStringList>

// What torquix-setup takes from its command line and from "UI/lang" of its
// "config.ini" at start-up.
struct StartOptions {
    bool advanced = false; // the first argument is exactly "advanced"
    // The translation to load, "" for none. Any argument turns translation off; so do
    // "en", no setting, and a code that could reach outside "i18n".
    QString language;
};

// arguments as QCoreApplication::arguments() gives them, the program first.
StartOptions readStartOptions(const QStringList& arguments, const QString& configPath);

// The translation file of a language, relative to the working directory.
QString translationFileName(const QString& language);
