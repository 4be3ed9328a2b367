#include "engine/clientoptionfile.h"
#include "startup.h"
#include "ui/main/mainwindow.h"
#include "ui/main/odbcwarning.h"
#include "ui/main/screenfit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyApplicationIdentity();
    installChineseTranslations();
    installScreenFit();
    removeStaleClientOptionFiles();

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
