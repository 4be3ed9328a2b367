#include "odbcwarning.h"

#include "db/odbcdriver.h"

#include <QCoreApplication>
#include <QMessageBox>

bool confirmMissingOdbcDriver()
{
    QMessageBox box(QMessageBox::Warning, QCoreApplication::translate("OdbcWarning", "缺少 MySQL ODBC 驱动"),
                    missingOdbcDriverText(), QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}
