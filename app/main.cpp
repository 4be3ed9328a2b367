#include "base/language.h"
#include "engine/clientoptionfile.h"
#include "base/identity.h"
#include "db/odbcdriver.h"
#include "ui/main/mainwindow.h"
#include "ui/main/odbcwarning.h"
#include "ui/main/screenfit.h"

#include "base/debuglog.h"
#include "base/storedtext.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTextStream>

namespace {
// The window's language, or English when it is Chinese and no installed font has Chinese
// characters: the window would show boxes for every text.
QString languageWithFonts(const QString &language)
{
    if (language != QLatin1String("zh_CN") || !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty())
        return language;
    debugLog(STORED_TEXT_IN("Startup", "没有能显示中文的字体（请安装 fonts-noto-cjk 或 fonts-wqy-microhei），界面改用英文"));
    return QStringLiteral("en");
}
} // namespace

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
    Language::install(languageWithFonts(language));
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
