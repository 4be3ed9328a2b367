#pragma once

#include <QString>
#include <QStringList>

// The language of the windows and of the command line's output: Chinese (the texts as written)
// or English, through Qt's translation system.
namespace Language {

// The languages there are, by their code: "zh_CN", "en".
QStringList codes();
// The name of a language in that language, for the choice in the window.
QString nativeName(const QString &code);

// The language to use: `--lang CODE` (or --lang=CODE) from the arguments, else `saved` (the
// window's choice), else the system's: Chinese for a Chinese or C locale, English for any other.
// Empty with
// *error when --lang names none of codes().
QString choose(const QStringList &arguments, const QString &saved, QString *error = nullptr);

// Installs the program's and Qt's own translations for `code` and makes its locale the default,
// so that Qt's dialogs, numbers and dates match. Replaces what an earlier call installed.
void install(const QString &code);
QString current();

// The window's choice, kept in quorvel.ini beside the host list.
QString saved();
void save(const QString &code);

} // namespace Language
