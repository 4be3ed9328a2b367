#include "screenfit.h"

#include <QApplication>
#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {
// The title bar and borders that the window system adds, before the window has a frame to measure.
const QSize kFrameAllowance(16, 40);

class ScreenFit : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType())
            fit(static_cast<QWidget *>(watched));
        return false;
    }

private:
    static void fit(QWidget *window)
    {
        const Qt::WindowType type = window->windowType();
        if (!window->isWindow() || (type != Qt::Window && type != Qt::Dialog) || !window->screen())
            return;
        const QRect free = window->screen()->availableGeometry();
        const QSize frame = window->frameGeometry().size() - window->geometry().size();
        const QSize room = free.size() - (frame.isEmpty() ? kFrameAllowance : frame);
        // A minimum below what the layout needs would let the contents overlap.
        window->setMinimumSize(window->minimumSize().expandedTo(window->minimumSizeHint()).boundedTo(room));
        window->resize(window->size().expandedTo(window->minimumSize()).boundedTo(room));
        // Opened partly off the screen: moved back onto it.
        QRect placed = window->frameGeometry();
        placed.setSize(window->size() + (frame.isEmpty() ? kFrameAllowance : frame));
        if (!free.contains(placed)) {
            placed.moveRight(qMin(placed.right(), free.right()));
            placed.moveBottom(qMin(placed.bottom(), free.bottom()));
            placed.moveLeft(qMax(placed.left(), free.left()));
            placed.moveTop(qMax(placed.top(), free.top()));
            window->move(placed.topLeft());
        }
    }
};
} // namespace

void installScreenFit()
{
    static ScreenFit *filter = nullptr;
    if (filter || !qApp)
        return;
    filter = new ScreenFit(qApp);
    qApp->installEventFilter(filter);
}
