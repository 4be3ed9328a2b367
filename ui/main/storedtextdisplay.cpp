#include "storedtextdisplay.h"

#include "app/language.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>

namespace {

class StoredTextDisplay : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto *box = qobject_cast<QMessageBox *>(watched)) {
                box->setText(Language::shown(box->text()));
                box->setInformativeText(Language::shown(box->informativeText()));
                box->setDetailedText(Language::shown(box->detailedText()));
            }
        }
        return false;
    }
};

} // namespace

void installStoredTextDisplay()
{
    if (!qApp)
        return;
    qApp->installEventFilter(new StoredTextDisplay(qApp));
}
