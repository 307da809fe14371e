#pragma once

#include <QObject>
#include <QStringList>
#include <QVariant>

// What a window's controls show, as "objectName=value" texts: compared with
// the expected list in one go, each control is found by the name before the
// "=". A control without the property shows its title (a group box).
namespace ControlTexts {

inline QStringList shown(const QObject *window, const char *property, const QStringList &expected)
{
    QStringList out;
    for (const QString &pair : expected) {
        const QString name = pair.section(u'=', 0, 0);
        const QObject *o = window->findChild<QObject *>(name);
        QVariant v = o ? o->property(property) : QVariant();
        if (o && !v.isValid())
            v = o->property("title");
        out << name + u'=' + (o ? v.toString() : QStringLiteral("(none)"));
    }
    return out;
}

} // namespace ControlTexts
