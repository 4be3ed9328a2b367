#include "identity.h"

#include <QCoreApplication>

void applyApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Velistra"));
}
