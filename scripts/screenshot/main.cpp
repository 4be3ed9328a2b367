// Takes a picture of the main window connected to a server, for the README:
//   quorvel-screenshot OUT.png PORT PASSWORD
// Run it under xvfb-run so that real fonts render the Chinese text.
#include "app/startup.h"
#include "ui/main/hoststore.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyApplicationIdentity();
    if (argc < 4)
        return 2;
    HostConfig config = HostConfig::initial(QStringLiteral("本地示例服务器"));
    config.host = config.webHost = QStringLiteral("127.0.0.1");
    config.port = config.webPort = QString::fromLocal8Bit(argv[2]).toInt();
    config.password = config.webPassword = QString::fromLocal8Bit(argv[3]);
    HostConfig second = HostConfig::initial(QStringLiteral("二区 (备用)"));
    writeHostConfigs(hostConfigFilePath(), {config, second});

    MainWindow window;
    window.show();
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTimer::singleShot(300, &window, [&window]() {
        window.findChild<QPushButton *>(QStringLiteral("connectBtn"))->click();
    });
    QTimer::singleShot(1200, &window, [&window, out]() {
        window.grab().save(out);
        QApplication::quit();
    });
    return app.exec();
}
