#include "app/mainwindowaccessibility.h"
#include "config/fieldaccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QHash>
#include <QPointer>
#include <QSet>

namespace {

// Interfaces of this file share this base, so one that Qt made itself can be told apart.
class OwnAccessibleInterface : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;
};

using InterfaceMaker = std::function<QAccessibleInterface *()>;

QHash<const QObject *, InterfaceMaker> &interfaceMakers()
{
    static QHash<const QObject *, InterfaceMaker> makers;
    return makers;
}

QAccessibleInterface *makeInterface(const QString &, QObject *object)
{
    const auto it = interfaceMakers().constFind(object);
    return it == interfaceMakers().cend() ? nullptr : (*it)();
}

// From now on Qt asks maker for the interface of widget.
void provideAccessibleInterface(QWidget *widget, InterfaceMaker maker)
{
    static const bool installed = [] {
        QAccessible::installFactory(makeInterface);
        return true;
    }();
    Q_UNUSED(installed);
    interfaceMakers().insert(widget, std::move(maker));
    QObject::connect(widget, &QObject::destroyed, [widget] { interfaceMakers().remove(widget); });
    // With a screen reader listening, Qt may have made and kept an interface of its own
    // while the window was being set up; drop it, so that the next request gets ours.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget);
    if (iface && !dynamic_cast<OwnAccessibleInterface *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

// The panel lists its shown children, less the lamp pictures and the values of a hidden
// row. What lies at a point is the topmost child there, not the frame behind it.
class PanelInterface : public OwnAccessibleInterface
{
public:
    PanelInterface(QWidget *panel, QSet<const QWidget *> pictures, QHash<const QWidget *, QPointer<QWidget>> rowOf)
        : OwnAccessibleInterface(panel), pictures_(std::move(pictures)), rowOf_(std::move(rowOf))
    {
    }

    int childCount() const override { return listed().size(); }

    QAccessibleInterface *child(int index) const override
    {
        const QWidgetList children = listed();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children.at(index))
                                                      : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        QWidget *w = child ? qobject_cast<QWidget *>(child->object()) : nullptr;
        return w ? listed().indexOf(w) : -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        const QWidgetList children = listed();
        for (auto it = children.crbegin(); it != children.crend(); ++it) {   // stacking order, top first
            QAccessibleInterface *c = QAccessible::queryAccessibleInterface(*it);
            if (c && c->rect().contains(x, y))
                return c;
        }
        return nullptr;
    }

private:
    QWidgetList listed() const
    {
        QWidgetList children;
        for (QObject *object : widget()->children()) {
            QWidget *w = qobject_cast<QWidget *>(object);
            if (!w || w->isWindow() || w->isHidden() || pictures_.contains(w))
                continue;
            const QPointer<QWidget> row = rowOf_.value(w);
            if (row && row->isHidden())
                continue;
            children << w;
        }
        return children;
    }

    QSet<const QWidget *> pictures_;
    QHash<const QWidget *, QPointer<QWidget>> rowOf_;
};

class LampInterface : public OwnAccessibleInterface
{
public:
    LampInterface(QLabel *outline, QLabel *on, QLabel *caption)
        : OwnAccessibleInterface(outline, QAccessible::Graphic), on_(on), caption_(caption)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return OwnAccessibleInterface::text(t);
        if (!on_ || !caption_)
            return {};
        return caption_->text() + QStringLiteral(": ") + MainWindowAccessibility::stateText(!on_->isHidden());
    }

private:
    QPointer<QLabel> on_, caption_;
};

class ValueInterface : public OwnAccessibleInterface
{
public:
    ValueInterface(QLabel *value, QLabel *row, QLabel *column)
        : OwnAccessibleInterface(value, QAccessible::StaticText), row_(row), column_(column)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return OwnAccessibleInterface::text(t);
        return MainWindowAccessibility::valueName(row_ ? row_->text() : QString(),
                                                  column_ ? column_->text() : QString(),
                                                  static_cast<QLabel *>(widget())->text());
    }

private:
    QPointer<QLabel> row_, column_;
};

class FlagInterface : public OwnAccessibleInterface
{
public:
    FlagInterface(QLabel *flag, QString name, std::function<void()> activate)
        : OwnAccessibleInterface(flag, QAccessible::Button), name_(std::move(name)), activate_(std::move(activate))
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? name_ : OwnAccessibleInterface::text(t);
    }

    QStringList actionNames() const override
    {
        QStringList names = OwnAccessibleInterface::actionNames();
        if (widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &action) override
    {
        if (action != pressAction())
            OwnAccessibleInterface::doAction(action);
        else if (widget()->isEnabled())   // a disabled main window takes no input
            activate_();
    }

private:
    QString name_;
    std::function<void()> activate_;
};

} // namespace

MainWindowAccessibility::MainWindowAccessibility(QWidget *panel, const QList<Lamp> &lamps,
                                                 const QList<Value> &values, const QList<Flag> &flags)
    : QObject(panel)
    , panel_(panel)
    , lamps_(lamps)
    , values_(values)
{
    QSet<const QWidget *> pictures;
    for (const Lamp &lamp : lamps) {
        pictures << lamp.off << lamp.on;
        provideAccessibleInterface(lamp.outline,
                                   [lamp] { return new LampInterface(lamp.outline, lamp.on, lamp.caption); });
    }
    QHash<const QWidget *, QPointer<QWidget>> rowOf;
    for (const Value &value : values) {
        if (value.row)
            rowOf.insert(value.value, value.row);
        provideAccessibleInterface(value.value,
                                   [value] { return new ValueInterface(value.value, value.row, value.column); });
    }
    // Children come and go from the list as they are shown and hidden.
    for (QWidget *w : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        w->installEventFilter(this);
    for (const Flag &flag : flags) {
        flag.flag->setFocusPolicy(Qt::StrongFocus);   // a label draws no focus: nothing shows
        provideAccessibleInterface(flag.flag,
                                   [flag] { return new FlagInterface(flag.flag, flag.name, flag.activate); });
    }
    provideAccessibleInterface(panel, [panel, pictures, rowOf] { return new PanelInterface(panel, pictures, rowOf); });
    panel->installEventFilter(this);
}

QString MainWindowAccessibility::stateText(bool on)
{
    return on ? tr("an") : tr("aus");
}

QString MainWindowAccessibility::valueName(const QString &row, const QString &column, const QString &value)
{
    QString name = accessibleFieldName(row, column) + u':';
    if (!value.isEmpty())
        name += u' ' + value;
    return name;
}

bool MainWindowAccessibility::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::LanguageChange && watched == panel_) {
        // The captions have been rewritten before the panel hears of the switch.
        for (const Lamp &lamp : lamps_)
            notify(lamp.outline, QAccessible::NameChanged);
        for (const Value &value : values_)
            notify(value.value, QAccessible::NameChanged);
    }
    if (watched == panel_ || (type != QEvent::ShowToParent && type != QEvent::HideToParent))
        return false;
    const int listing = type == QEvent::ShowToParent ? QAccessible::ObjectCreated : QAccessible::ObjectDestroyed;
    for (const Lamp &lamp : lamps_) {
        if (watched == lamp.on)
            notify(lamp.outline, QAccessible::NameChanged);
        if (watched == lamp.on || watched == lamp.off)
            return false;   // never listed
    }
    for (const Value &value : values_) {
        if (watched == value.row && !value.value->isHidden())
            notify(value.value, listing);
    }
    notify(watched, listing);
    return false;
}

void MainWindowAccessibility::notify(QObject *object, int accessibleEvent)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(object, QAccessible::Event(accessibleEvent));
    QAccessible::updateAccessibility(&event);
}

bool activatesFlag(const QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        return static_cast<const QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return !key->isAutoRepeat()
           && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
}
