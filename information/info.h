#pragma once

#include <QDialog>
#include <QUrl>
#include <functional>

namespace Ui { class TInfo; }

// The information dialog: banner, maker's logo and address, version and two links.
// Its texts are the same in both languages.
class TInfo : public QDialog
{
    Q_OBJECT

public:
    explicit TInfo(QWidget *parent = nullptr);
    ~TInfo() override;

    static const QString MailAddress;
    static const QString WebAddress;

    void Button1Click();
    void StaticText7Click();
    void StaticText8Click();
    // The version line, set each time the dialog is shown from the menu.
    void setVersionText(const QString &text);

    // Hands an address to the desktop (mail program, browser); the outcome is ignored.
    std::function<void(const QUrl &)> openAddress;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();

    Ui::TInfo *ui;
};
