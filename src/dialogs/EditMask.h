#pragma once

#include <QChar>
#include <QString>

#include <vector>

class QLineEdit;

// An edit mask in the program's notation, as its grids declare them
// ("!9999", "!cc:c0c;0;_"), and its meaning for a QLineEdit.
//
// The program's notation reads: "9" an optional digit, "0" a required digit,
// "#" an optional digit or sign, "c"/"C" an optional/required character,
// "l"/"L" letters, "a"/"A" letters or digits, "\" makes the next character a
// fixed one, any other character is a fixed separator; "!" keeps the free
// positions at the front of the committed text. After the first ";" a "0"
// leaves the separators out of the committed text; after the second ";"
// comes the character shown in free positions (a blank when none is given).
//
// Qt's input masks use other letters for the same things (its "9" is a
// required digit and its "0" an optional one), so the mask is translated by
// meaning. The committed text is what the program's in-place editor hands to
// the grid: typed characters in order, free positions as blanks in front
// (with "!") or behind, separators only when kept.
class EditMask
{
public:
    EditMask() = default;
    explicit EditMask(const QString &programMask);

    bool isEmpty() const { return m_positions.empty(); }
    // The input mask for QLineEdit::setInputMask.
    const QString &qtInputMask() const { return m_qtMask; }
    QChar blank() const { return m_blank; }
    bool keepsSeparators() const { return m_keepSeparators; }
    bool blanksAtFront() const { return m_blanksAtFront; }

    // Sets the translated mask on the line edit (or removes any for an empty
    // mask).
    void apply(QLineEdit *edit) const;

    // Number of positions, and whether position i (0-based) is a separator.
    qsizetype size() const { return static_cast<qsizetype>(m_positions.size()); }
    bool isSeparator(qsizetype i) const
    {
        return i >= 0 && i < size() && m_positions[static_cast<size_t>(i)].separator;
    }

    // The committed text of what a masked line edit shows.
    QString committedText(const QString &displayText) const;
    QString committedText(const QLineEdit *edit) const;

private:
    struct Position
    {
        bool separator = false;
    };

    std::vector<Position> m_positions;
    QString m_qtMask;
    QChar m_blank = u' ';
    bool m_keepSeparators = true;
    bool m_blanksAtFront = false;
};
