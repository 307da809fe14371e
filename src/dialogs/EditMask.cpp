#include "EditMask.h"

#include <QLineEdit>

namespace {

// Characters with a meaning in Qt's input masks; as separators they need a
// backslash.
bool isQtMaskCharacter(QChar c)
{
    return QStringView(u"AaNnXx90DdHhBb#><![]{}\\").contains(c);
}

} // namespace

EditMask::EditMask(const QString &programMask)
{
    const QStringList fields = programMask.split(u';');
    const QString mask = fields.value(0);
    if (fields.size() > 1)
        m_keepSeparators = fields[1].trimmed() != u"0";
    if (fields.size() > 2 && !fields[2].isEmpty())
        m_blank = fields[2].front();

    QString qt;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        QChar translated;
        switch (c.unicode()) {
        case u'!':
            m_blanksAtFront = true;
            continue;
        case u'>':
        case u'<':
            qt += c;
            continue;
        case u'9':
            translated = u'0';
            break; // optional digit
        case u'0':
            translated = u'9';
            break; // required digit
        case u'#':
            translated = u'#';
            break; // optional digit or sign
        case u'c':
            translated = u'x';
            break; // optional character
        case u'C':
            translated = u'X';
            break; // required character
        case u'l':
            translated = u'a';
            break; // optional letter
        case u'L':
            translated = u'A';
            break; // required letter
        case u'a':
            translated = u'n';
            break; // optional letter or digit
        case u'A':
            translated = u'N';
            break; // required letter or digit
        default:
            break;
        }
        if (!translated.isNull()) {
            qt += translated;
            m_positions.push_back({false});
            continue;
        }
        QChar separator = c;
        if (c == u'\\' && i + 1 < mask.size())
            separator = mask[++i];
        if (isQtMaskCharacter(separator))
            qt += u'\\';
        qt += separator;
        m_positions.push_back({true});
    }
    if (m_positions.empty())
        return;
    qt += u';';
    qt += m_blank;
    m_qtMask = qt;
}

void EditMask::apply(QLineEdit *edit) const
{
    edit->setInputMask(m_qtMask);
}

QString EditMask::committedText(const QString &displayText) const
{
    if (isEmpty())
        return displayText;
    QString typed;
    qsizetype free = 0;
    for (size_t i = 0; i < m_positions.size(); ++i) {
        const qsizetype at = static_cast<qsizetype>(i);
        const QChar c = at < displayText.size() ? displayText[at] : m_blank;
        if (m_positions[i].separator) {
            if (m_keepSeparators)
                typed += c;
        } else if (c == m_blank || c == u' ') {
            ++free;
        } else {
            typed += c;
        }
    }
    const QString blanks(free, u' ');
    return m_blanksAtFront ? blanks + typed : typed + blanks;
}

QString EditMask::committedText(const QLineEdit *edit) const
{
    if (isEmpty() || edit->inputMask().isEmpty())
        return edit->text();
    return committedText(edit->displayText());
}
