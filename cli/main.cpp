#include "app/startup.h"
#include "cli/cliapp.h"
#include "engine/clientoptionfile.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-cli"));
    installChineseTranslations();  // the option parser's own texts
    removeStaleClientOptionFiles();
    return runCommandLine(QCoreApplication::arguments());
}
