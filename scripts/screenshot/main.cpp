// Takes pictures of the program connected to a server, for the README:
//   quorvel-screenshot OUT.png PORT PASSWORD [main|zones|accounts|editor|bank]
// Run it under xvfb-run so that real fonts render the Chinese text.
#include "base/identity.h"
#include "db/databasemanager.h"
#include "ui/characters/characterlistdialog.h"
#include "db/hoststore.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>

namespace {
// Opens the character list on the character with the most bank items and opens its editor or
// bank viewer.
void openFromCharacterList(MainWindow *window, const QString &view)
{
    window->findChild<QPushButton *>(QStringLiteral("charMgrBtn"))->click();
    auto *list = window->findChild<CharacterListDialog *>();
    QSqlQuery query(DatabaseManager::instance()->database());
    query.exec(QStringLiteral("SELECT charguid FROM t_iteminfo WHERE isvalid = 1 AND pos BETWEEN 210 AND 329 "
                              "GROUP BY charguid ORDER BY COUNT(*) DESC LIMIT 1"));
    const QString guid = query.next() ? query.value(0).toString() : QStringLiteral("1");
    list->findChild<QComboBox *>()->setCurrentIndex(0);
    for (QLineEdit *edit : list->findChildren<QLineEdit *>()) {
        if (edit->placeholderText() == QStringLiteral("请输入搜索内容"))
            edit->setText(guid);
    }
    QMetaObject::invokeMethod(list, "onSearchCharacters");
    auto *table = list->findChild<QTableView *>();
    table->setCurrentIndex(table->model()->index(0, 0));
    QMetaObject::invokeMethod(list, view == QLatin1String("bank") ? "onContextViewBank" : "onEditCharacter",
                              Qt::QueuedConnection);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    applyApplicationIdentity();
    if (argc < 4)
        return 2;
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString view = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("main");
    HostConfig config = HostConfig::initial(QStringLiteral("本地示例服务器"));
    config.host = config.accountHost = QStringLiteral("127.0.0.1");
    config.port = config.accountPort = QString::fromLocal8Bit(argv[2]).toInt();
    config.password = config.accountPassword = QString::fromLocal8Bit(argv[3]);
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
        if (view == QLatin1String("editor") || view == QLatin1String("bank")) {
            openFromCharacterList(&window, view);
            return;
        }
        const char *button = view == QLatin1String("zones") ? "zoneWipeBtn" : "accountMgrBtn";
        window.findChild<QPushButton *>(QLatin1String(button))->click();
    });
    return app.exec();
}
