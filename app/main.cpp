#include "app/language.h"
#include "engine/clientoptionfile.h"
#include "startup.h"
#include "ui/main/mainwindow.h"
#include "ui/main/odbcwarning.h"
#include "ui/main/screenfit.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    // Before the window system is asked for anything: it may not be there.
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--version") == 0) {
            QTextStream(stdout) << "quorvel " << QUORVEL_VERSION << '\n';
            return 0;
        }
    }
    QApplication app(argc, argv);
    applyApplicationIdentity();
    QString languageError;
    const QString language = Language::choose(QCoreApplication::arguments(), Language::saved(), &languageError);
    if (language.isEmpty()) {
        QTextStream(stderr) << "quorvel: " << languageError << '\n';
        return 2;
    }
    Language::install(language);
    installScreenFit();
    removeLeftoverToolFiles();

    if (!checkOdbcDriver() && !confirmMissingOdbcDriver())
        return 0;

    int exitCode = 0;
    {
        MainWindow window;
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
