#include "app/fieldaccessibility.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>

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
    for (const MarkedField &f : fields)
        new MarkerAnnouncer(f);
}

void nameByCaptions(const QList<CaptionedField> &fields)
{
    for (const CaptionedField &f : fields)
        new CaptionNamer(f);
}
