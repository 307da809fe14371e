#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// TForm6: asks "Najdi vlak..." for a train number. Created once at start-up
// and centred on the screen; brought back onto it whenever shown.
class FindTrainDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr QSize windowSize{234, 117};

    explicit FindTrainDialog(QWidget *parent = nullptr);

    // Cleared when shown, set by OK.
    bool ok() const { return m_ok; }
    QLineEdit *edit() const { return Edit1; }

    // Clears the text and shows the dialog modally; the text as typed when
    // it ended with OK.
    std::optional<QString> ask();

public slots:
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    bool m_ok = false;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
