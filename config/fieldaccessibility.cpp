#include "config/fieldaccessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QSet>

namespace {

QString withoutColon(const QString &caption)
{
    QString text = caption.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

// After a row the heading continues the phrase ("Channel 1, output current"): its first
// word loses its capital unless it is a single letter or an abbreviation ("I Rated"). The
// German headings that follow a row begin in lower case already.
QString continuing(const QString &heading)
{
    const QString firstWord = heading.section(u' ', 0, 0);
    if (firstWord.size() < 2 || firstWord == firstWord.toUpper())
        return heading;
    return heading.at(0).toLower() + heading.mid(1);
}

// Qt's own interface of a list gives its value as its name on Linux (and its name only while
// it has no value): this one gives the name the list was given and the value as value, and
// otherwise does what Qt's does (the drop-down as its one child, opening and closing it).
class NamedListInterface : public QAccessibleWidget
{
public:
    explicit NamedListInterface(QComboBox *list) : QAccessibleWidget(list, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (!list())
            return QAccessibleWidget::text(t);
        if (t == QAccessible::Value)
            return list()->currentText();
        if (t == QAccessible::Name && !list()->accessibleName().isEmpty())
            return list()->accessibleName();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return list() ? 1 : 0; }
    QAccessibleInterface *child(int index) const override
    {
        return index == 0 && list() ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override
    {
        return child && list() && child->object() == list()->view() ? 0 : -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        if (!list())
            return s;
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        return s;
    }
    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override
    {
        if (!list() || (action != showMenuAction() && action != pressAction()))
            return QAccessibleWidget::doAction(action);
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

private:
    // Null while the list is being destroyed (its QWidget part still asks).
    QComboBox *list() const { return qobject_cast<QComboBox *>(widget()); }
};

QSet<const QObject *> &namedLists()
{
    static QSet<const QObject *> lists;
    return lists;
}

QAccessibleInterface *makeNamedList(const QString &, QObject *object)
{
    // A list that is being destroyed is a QComboBox no longer: Qt's own interface then.
    auto *list = qobject_cast<QComboBox *>(object);
    return list && namedLists().contains(object) ? new NamedListInterface(list) : nullptr;
}

// A list among the fields is heard by its name, with its value beside it.
void useNamedListInterface(QWidget *field)
{
    auto *list = qobject_cast<QComboBox *>(field);
    if (!list || namedLists().contains(list))
        return;
    static const bool installed = [] {
        QAccessible::installFactory(makeNamedList);
        return true;
    }();
    Q_UNUSED(installed);
    namedLists().insert(list);
    QObject::connect(list, &QObject::destroyed, [list] { namedLists().remove(list); });
    // An interface Qt made before (a screen reader was listening) is dropped for ours.
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(list);
    if (iface && !dynamic_cast<NamedListInterface *>(iface))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(iface));
}

// Lives on the marker and renames on its show, hide and language-change events (the
// captions have been rewritten before the marker hears of a switch).
class MarkerAnnouncer : public QObject
{
public:
    explicit MarkerAnnouncer(const MarkedField &f)
        : QObject(f.marker), marker_(f.marker), field_(f.field), row_(f.row), column_(f.column)
    {
        f.marker->installEventFilter(this);
        update();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::LanguageChange:
            update();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void update()
    {
        if (!field_ || !column_)
            return;
        const QString name = accessibleFieldName(row_ ? row_->text() : QString(), column_->text());
        field_->setAccessibleName(name);
        field_->setAccessibleDescription(marker_->isHidden() ? QString() : marker_->text());
        marker_->setAccessibleName(name + QStringLiteral(": ") + marker_->text());
    }

    QLabel *marker_;
    QPointer<QWidget> field_;
    QPointer<QLabel> row_, column_;
};

// Lives on the field and renames it on the language-change event, which reaches the
// field after its dialog has rewritten the captions.
class CaptionNamer : public QObject
{
public:
    explicit CaptionNamer(const CaptionedField &f)
        : QObject(f.field), field_(f.field), caption_(f.caption), column_(f.column)
    {
        f.field->installEventFilter(this);
        update();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange)
            update();
        return false;
    }

private:
    void update()
    {
        if (!caption_)
            return;
        QString name = withoutColon(caption_->text());
        if (column_)
            name += QStringLiteral(", ") + withoutColon(column_->text());
        field_->setAccessibleName(name);
    }

    QWidget *field_;
    QPointer<QLabel> caption_, column_;
};

} // namespace

QString accessibleFieldName(const QString &row, const QString &column)
{
    if (row.isEmpty())
        return withoutColon(column);
    return withoutColon(row) + QStringLiteral(", ") + continuing(withoutColon(column));
}

void announceMarkers(const QList<MarkedField> &fields)
{
    for (const MarkedField &f : fields) {
        useNamedListInterface(f.field);
        new MarkerAnnouncer(f);
    }
}

void nameByCaptions(const QList<CaptionedField> &fields)
{
    for (const CaptionedField &f : fields) {
        useNamedListInterface(f.field);
        new CaptionNamer(f);
    }
}
