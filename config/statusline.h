#pragma once

#include <QObject>
#include <QString>

// The status line and the software version of a configuration dialog, without widgets:
// what the line says, in which colour and whether it is shown; the version text a read
// reply carried, whether it is shown, and whether the hot spot that reveals it is. The
// dialog mirrors it in its labels (changed(), versionChanged()); the retry protocol and
// the configuration flow write it.
class StatusLine : public QObject
{
    Q_OBJECT
public:
    enum class Colour {
        WindowText,   // while an attempt runs (the line is hidden then)
        Black,        // success, file read correctly
        Red,          // failure, refusal, file error
    };

    using QObject::QObject;

    QString text() const { return text_; }
    Colour colour() const { return colour_; }
    bool visible() const { return visible_; }

    QString versionText() const { return versionText_; }
    bool versionVisible() const { return versionVisible_; }
    bool hotSpotVisible() const { return hotSpotVisible_; }

    // Shown with this text and colour.
    void show(const QString &text, Colour colour) { set(text, colour, true); }
    // Emptied; shown or hidden as it was.
    void emptyText() { set(QString(), colour_, visible_); }
    // Hidden and emptied.
    void hide() { set(QString(), colour_, false); }
    void set(const QString &text, Colour colour, bool visible)
    {
        text_ = text;
        colour_ = colour;
        visible_ = visible;
        emit changed();
    }

    // The software version a read reply carried ("SW: 1.05"); stays hidden until the hot
    // spot is clicked.
    void setVersionText(const QString &text)
    {
        versionText_ = text;
        emit versionChanged();
    }
    // The hot spot was clicked: it hides, the version shows.
    void revealVersion()
    {
        hotSpotVisible_ = false;
        versionVisible_ = true;
        emit versionChanged();
    }
    // The version emptied and hidden, the hot spot shown again.
    void resetVersion()
    {
        versionText_.clear();
        versionVisible_ = false;
        hotSpotVisible_ = true;
        emit versionChanged();
    }

signals:
    void changed();
    void versionChanged();

private:
    QString text_;
    Colour colour_ = Colour::WindowText;
    bool visible_ = false;
    QString versionText_;
    bool versionVisible_ = false;
    bool hotSpotVisible_ = true;
};
