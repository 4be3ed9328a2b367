// Takes pictures of the program connected to a server, for the README:
//   quorvel-screenshot OUT.png PORT PASSWORD [main|zones|accounts]
// Run it under xvfb-run so that real fonts render the Chinese text.
#include "app/startup.h"
#include "ui/main/hoststore.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyApplicationIdentity();
    if (argc < 4)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString view = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("main");
    HostConfig config = HostConfig::initial(QStringLiteral("本地示例服务器"));
    config.host = config.webHost = QStringLiteral("127.0.0.1");
    config.port = config.webPort = QString::fromLocal8Bit(argv[2]).toInt();
    config.password = config.webPassword = QString::fromLocal8Bit(argv[3]);
    HostConfig second = HostConfig::initial(QStringLiteral("二区 (备用)"));
    writeHostConfigs(hostConfigFilePath(), {config, second});

    MainWindow window;
    window.show();
    QTimer::singleShot(300, &window, [&window]() {
        window.findChild<QPushButton *>(QStringLiteral("connectBtn"))->click();
    });
    if (view == QLatin1String("main")) {
        QTimer::singleShot(1200, &window, [&window, out]() {
            window.grab().save(out);
            QApplication::quit();
        });
        return app.exec();
    }
    // A dialog opened from the main window: grab it once it shows, then close everything.
    QTimer::singleShot(800, &window, [&window, out, view]() {
        auto *grabber = new QTimer(&window);
        QObject::connect(grabber, &QTimer::timeout, &window, [grabber, out]() {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            grabber->stop();
            if (auto *list = dialog->findChild<QListWidget *>(); list && list->count() > 1)
                list->item(1)->setCheckState(Qt::Checked);
            QTimer::singleShot(500, dialog, [dialog, out]() {
                dialog->grab().save(out);
                dialog->close();
                QApplication::quit();
            });
        });
        grabber->start(100);
        const char *button = view == QLatin1String("zones") ? "zoneDeleteBtn" : "accountMgrBtn";
        window.findChild<QPushButton *>(QLatin1String(button))->click();
    });
    return app.exec();
}
