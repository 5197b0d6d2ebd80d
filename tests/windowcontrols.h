#pragma once

// Window tests reach the controls of a window by their object names, the names the
// layout gives them, as a user or a test tool finds them; the windows keep their layout
// objects private.

#include <QtWidgets>
#include <QString>
#include <QStringList>
#include <QSignalSpy>
#include <QTest>
#include <QtGlobal>

template <class T>
T *ctl(const QObject *window, const char *name)
{
    T *control = window->findChild<T *>(QString::fromLatin1(name));
    if (!control)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return control;
}

// The user's own pick: the list's popup opened and the entry clicked. True when the popup
// closed with that entry selected.
inline bool pick(QComboBox *list, int index)
{
    list->showPopup();
    QAbstractItemView *view = list->view();
    if (!QTest::qWaitFor([&] { return view->isVisible(); }, 2000))
        return false;
    const QModelIndex item = view->model()->index(index, 0);
    view->scrollTo(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    return QTest::qWaitFor([&] { return !view->isVisible(); }, 2000) && list->currentIndex() == index;
}

// The entries of a list, in their order.
inline QStringList items(const QComboBox *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

// Number of the widget's pixels in (roughly) this colour, as it paints itself.
inline int pixelsOf(QWidget *w, QColor colour)
{
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - colour.red()) < 60 && qAbs(c.green() - colour.green()) < 60
                && qAbs(c.blue() - colour.blue()) < 60)
                ++n;
        }
    return n;
}

// Whether the main window still reads: its 50 ms read tick fires again. The tick is single
// shot and restarted when a read completes, so at any one moment it may be inactive.
inline bool readTicksGoOn(const QWidget *form)
{
    QTimer *timer1 = ctl<QTimer>(form, "Timer1");
    QSignalSpy ticks(timer1, &QTimer::timeout);
    return timer1->interval() == 50 && ticks.wait(2000);
}
