#include "language.h"

#include "debuglog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

#include <memory>

namespace Language {
namespace {

struct State
{
    QString code = QStringLiteral("zh_CN");
    QList<QTranslator *> translators;
};

State &state()
{
    static State s;
    return s;
}

QLocale localeOf(const QString &code)
{
    return code == QLatin1String("en") ? QLocale(QLocale::English, QLocale::UnitedStates) : QLocale(QLocale::Chinese, QLocale::China);
}

} // namespace

QStringList codes()
{
    return {QStringLiteral("zh_CN"), QStringLiteral("en")};
}

QString nativeName(const QString &code)
{
    return code == QLatin1String("en") ? QStringLiteral("English") : QStringLiteral("简体中文");
}

QString choose(const QStringList &arguments, const QString &saved, QString *error)
{
    QString wanted;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--lang") && i + 1 < arguments.size())
            wanted = arguments.at(i + 1);
        else if (argument.startsWith(QLatin1String("--lang=")))
            wanted = argument.mid(7);
    }
    if (!wanted.isEmpty()) {
        if (codes().contains(wanted))
            return wanted;
        if (error)
            *error = QStringLiteral("--lang: %1 (%2)").arg(wanted, codes().join(QLatin1Char('|')));
        return QString();
    }
    if (codes().contains(saved))
        return saved;
    // A system that names no language (the C locale) keeps the program's own.
    const QLocale::Language system = QLocale::system().language();
    return system == QLocale::Chinese || system == QLocale::C || system == QLocale::AnyLanguage ? QStringLiteral("zh_CN")
                                                                                               : QStringLiteral("en");
}

void install(const QString &code)
{
    State &s = state();
    for (QTranslator *translator : std::as_const(s.translators)) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
    }
    s.translators.clear();
    s.code = codes().contains(code) ? code : QStringLiteral("zh_CN");
    const QLocale locale = localeOf(s.code);
    QLocale::setDefault(locale);
    if (s.code == QLatin1String("zh_CN")) {
        // The texts are written in Chinese; only Qt's own need a translation.
        const QStringList folders = {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
                                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
        for (const QString &folder : folders) {
            auto translator = std::make_unique<QTranslator>();
            if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
                QCoreApplication::installTranslator(translator.get());
                s.translators.append(translator.release());
                break;
            }
        }
        return;
    }
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QStringLiteral(":/translations/quorvel_%1.qm").arg(s.code))) {
        QCoreApplication::installTranslator(translator.get());
        s.translators.append(translator.release());
    } else {
        qWarning("No translation for %s", qPrintable(s.code));
    }
}

QString current()
{
    return state().code;
}

QString saved()
{
    return QSettings(applicationDirectory() + QStringLiteral("/quorvel.ini"), QSettings::IniFormat)
        .value(QStringLiteral("language")).toString();
}

void save(const QString &code)
{
    QSettings settings(applicationDirectory() + QStringLiteral("/quorvel.ini"), QSettings::IniFormat);
    settings.setValue(QStringLiteral("language"), code);
}

} // namespace Language
