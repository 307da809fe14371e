#include "FindTrain.h"

#include "model/Cp1250.h"
#include "model/Document.h"
#include "Diagram.h"

namespace FindTrain {

bool matches(QByteArrayView name, QByteArrayView upperText)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if (c < '0' || c > '9')
            continue;
        const QByteArrayView part = name.sliced(i, std::min(upperText.size(), name.size() - i));
        if (upperCaseCz(part) == upperText)
            return true;
    }
    return false;
}

const Train *first(const Document &doc, const QString &typed)
{
    const QByteArray text = upperCaseCz(cp1250::fromUnicode(typed));
    for (const Train &train : doc.trains)
        if (matches(train.name.view(), text))
            return &train;
    return nullptr;
}

QString notFoundMessage(const QString &typed)
{
    return QStringLiteral("Vlak ") + typed + QStringLiteral(" nebyl nalezen");
}

bool run(Diagram &diagram, const QString &typed)
{
    const Train *train = first(diagram.document(), typed);
    if (train)
        diagram.highlight(train->name.view().toByteArray());
    return train != nullptr;
}

} // namespace FindTrain
