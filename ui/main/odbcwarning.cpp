#include "odbcwarning.h"

#include "app/startup.h"

#include <QMessageBox>

bool confirmMissingOdbcDriver()
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("缺少 MySQL ODBC 驱动"),
                    missingOdbcDriverText(), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
