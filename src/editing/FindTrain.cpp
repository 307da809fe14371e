#include "FindTrain.h"

#include "model/Cp1250.h"
#include "model/Document.h"
#include "render/Renderer.h"

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

Outcome run(Renderer &renderer, const Document &doc, const QString &typed)
{
    const RenderRequest greenChanges = RenderRequest::redraw(RenderRequest::Labels::none());
    renderer.highlightOn = false;
    const Train *train = first(doc, typed);
    if (!train) {
        // The train found before is no longer the one searched for: its
        // green line goes with the render after the message.
        return {false, renderer.highlightRecorded() ? greenChanges : RenderRequest()};
    }
    renderer.highlightOn = true;
    renderer.foundName = train->name.view().toByteArray();
    renderer.otherFoundName.clear();
    renderer.comparedEmphasis = -1;
    return {true, greenChanges};
}

} // namespace FindTrain
