#pragma once

#include <QString>
#include <QStringList>

// What the add-train dialog (TForm13) shows and what the user picks in it
// for a train laid with the insert-train tool.

// One row of the dialog's table: the station, the running time to it, the
// arrival, the dwell and the departure, as texts.
struct AddTrainRow
{
    QString station;
    QString runTime;
    QString arrival;
    QString dwell;
    QString departure;

    bool operator==(const AddTrainRow &) const = default;
};

// The user's choice: the train's category and number and its two flags.
struct NewTrainChoice
{
    QString category = QStringLiteral("Os");
    int number = 1;
    bool rusici = false;
    bool podlePotreby = false;
};

// The categories offered, in the dialog's order.
inline const QStringList newTrainCategories = {
    QStringLiteral("EC"), QStringLiteral("EN"),  QStringLiteral("Ex"),   QStringLiteral("IC"),   QStringLiteral("Lv"),
    QStringLiteral("Mn"), QStringLiteral("NEx"), QStringLiteral("Os"),   QStringLiteral("Pn"),   QStringLiteral("Pv"),
    QStringLiteral("R"),  QStringLiteral("Rn"),  QStringLiteral("SC"),   QStringLiteral("Služ"), QStringLiteral("Sn"),
    QStringLiteral("Sp"), QStringLiteral("Sv"),  QStringLiteral("Vleč"), QStringLiteral("Vn")};
// "Os", selected when the dialog is created.
constexpr int defaultCategoryIndex = 7;
