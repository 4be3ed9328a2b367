#include "base/language.h"
#include "db/odbcdriver.h"
#include "cli/cliapp.h"
#include "engine/clientoptionfile.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-cli"));
    // --lang may stand anywhere; the commands never see it.
    QStringList arguments = QCoreApplication::arguments();
    QString languageError;
    const QString language = Language::choose(arguments, Language::saved(), &languageError);
    if (language.isEmpty()) {
        QTextStream(stderr) << "quorvel-cli: " << languageError << '\n';
        return 2;
    }
    Language::install(language);
    for (int i = 1; i < arguments.size();) {
        if (arguments.at(i) == QLatin1String("--lang"))
            arguments.remove(i, qMin<qsizetype>(2, arguments.size() - i));
        else if (arguments.at(i).startsWith(QLatin1String("--lang=")))
            arguments.remove(i);
        else
            ++i;
    }
    removeLeftoverToolFiles();
    return runCommandLine(arguments);
}
