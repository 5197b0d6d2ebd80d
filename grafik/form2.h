#pragma once

#include <QDialog>

namespace Ui { class TForm2; }

// The trip characteristic, enlarged. Centred once when created, then only shown and hidden.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);
    ~TForm2() override;

    static constexpr const char *Picture = ":/pictures/trip_characteristic.svg";

private:
    void FormCreate();

    Ui::TForm2 *ui;
};
