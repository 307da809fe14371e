#pragma once

#include <QDialog>

#include <optional>

class QPushButton;
class QSpinBox;

// TForm4 "Kilometr": asks the train list editor for the kilometre of a bare
// kilometre point, -999 ... 999. Created once at start-up; the train list
// dialog is its only user.
class KilometreDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int minimum = -999;
    static constexpr int maximum = 999;

    explicit KilometreDialog(QWidget *parent = nullptr);

    // Cleared when shown, set by OK.
    bool ok() const { return m_ok; }
    int value() const;
    QSpinBox *spinEdit() const { return SpinEdit1; }

    // Shows the dialog modally; the value when it ended with OK.
    std::optional<int> ask();

public slots:
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    bool m_ok = false;
    QSpinBox *SpinEdit1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
