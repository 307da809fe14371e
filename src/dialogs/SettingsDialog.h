#pragma once

#include "SettingsChoice.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// TForm9 "Nastavení": the three label fonts, the three line widths of the
// trains, whether label images are stored in documents, and the line's
// tracks: single or double, and the least headway between trains. It holds its
// values only in its controls: a font is the text of its two labels, which
// "Změnit" sets through the font dialog. Nothing reaches the document unless
// the dialog ends with OK (SettingsCommands applies it then).
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int minimumWidth = 1;
    static constexpr int maximumWidth = 9;
    static constexpr int maximumHeadway = 60;

    explicit SettingsDialog(Prompter &prompter, QWidget *parent = nullptr);

    void fill(const SettingsChoice &choice);
    SettingsChoice choice() const;
    // Cleared when shown, set by OK.
    bool ok() const { return m_ok; }

public slots:
    void Button1Click(); // minute-label font
    void Button2Click(); // small train-label font
    void Button3Click(); // large train-label font
    void BitBtn1Click(); // OK

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct FontRow
    {
        QLabel *name = nullptr;
        QLabel *size = nullptr;
    };
    FontRow addFontGroup(const QString &title, int group, int firstLabel, QPushButton *&button);
    void changeFont(const FontRow &row);
    static Prompter::Font fontOf(const FontRow &row);
    static void showFont(const FontRow &row, const Prompter::Font &font);

    Prompter &m_prompter;
    bool m_ok = false;
    FontRow m_timeFont;  // Label2, Label4
    FontRow m_smallFont; // Label6, Label8
    FontRow m_largeFont; // Label10, Label12
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QSpinBox *SpinEdit1 = nullptr; // thin
    QSpinBox *SpinEdit2 = nullptr; // medium
    QSpinBox *SpinEdit3 = nullptr; // thick
    QCheckBox *CheckBox1 = nullptr;
    QRadioButton *RadioButton1 = nullptr; // single track
    QRadioButton *RadioButton2 = nullptr; // double track
    QSpinBox *SpinEdit4 = nullptr;        // minimum headway
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
