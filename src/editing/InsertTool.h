#pragma once

#include "InsertToolInput.h"
#include "NewTrain.h"

#include "model/Document.h"
#include "render/InsertOverlay.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class Diagram;
class EditHistory;

// The insert-train tool ("Vložit vlak z jízd. dob", Ins): the user lays a new
// train by pointing along the line, and the times come from a travel-time
// profile. The first left click fixes the origin and its departure; from
// then on the train is laid station by station up to the station under the
// pointer (RouteTo). Clicks fix departures and stops, Ctrl + click takes
// them back, Shift + click hands the timetable to the add-train dialog and,
// on OK, adds the train: one step of the undo history.
//
// This class holds the tool's state and rules, with the handler names of the
// main window (pointer, Timer1Timer) and of the tool window TForm12
// (RadioGroup1Click, SpinEdit1Change, FormShow, FormClose); the windows only
// pass events on and show what it holds. It draws through the diagram (a
// paint-only render moves its preview, which the renderer draws after every
// render) and says what it wants of the windows around it by its signals:
// the editor's InsertToolController shows and closes TForm12, runs Timer1,
// enables the Editace menu and asks TForm13 for the train.
//
// Every station of the line has a pointing band (the kilometre range from
// the midpoint below it to the midpoint above it). The point table holds
// pointCapacity points, enough for any route a profile can describe (an
// origin, then an arrival and a departure at each of 99 stations); a route
// that would need more stops at the last point that fits.
class InsertTool : public QObject, public InsertToolInput
{
    Q_OBJECT

public:
    static constexpr int maxPoints = 1 + 2 * TravelTimeProfile::entries;
    static inline const QString noProfilesMessage = QStringLiteral("Musíte zadat alespoň jeden typ jízdních dob");

    // The range of thousandths of a kilometre that belongs to a station.
    struct StationBand
    {
        int64_t lo = 0;
        int64_t hi = 0;
        int32_t station = 0;

        bool operator==(const StationBand &) const = default;
    };

    InsertTool(Diagram &diagram, EditHistory &history, int pointCapacity = maxPoints);
    ~InsertTool() override;

    // Vloitvlakzjzddob1Click: refused (with the message) when neither
    // direction has a profile.
    bool open(QString *refusal = nullptr);

    // --- Pointer (PaintBox1MouseDown with the left button, PaintBox1MouseMove)
    bool isActive() const override { return m_active; }
    void leftPress(const MouseEvent &e) override;
    void pointerMove(const MouseEvent &e) override;

    // --- Main window and tool window events ---------------------------------
    void Timer1Timer();
    void FormShow();
    void FormClose();
    // RadioGroup1Click: the direction the radio group is to show afterwards
    // (a direction without profiles is refused, and from two points on the
    // direction stays).
    int RadioGroup1Click(int direction);
    // SpinEdit1Change: held to 1 ... the direction's profile count.
    void SpinEdit1Change(int number);
    // The document the train was laid on is gone: the tool closes.
    void close();

    // --- What TForm12 shows -------------------------------------------------
    int direction() const { return m_direction; }
    int profileNumber() const { return m_number; }
    int profileMaximum() const { return m_maximum; }
    QString profileName() const { return m_profileName; } // Label3
    QString stationText() const { return m_stationText; } // Label5
    QString timeText() const { return m_timeText; }       // Label7

    // --- The train being laid -----------------------------------------------
    int count() const { return static_cast<int>(m_points.size()); }
    const std::vector<InsertPoint> &points() const { return m_points; }
    int currentStation() const { return m_currentStation; }
    const std::vector<StationBand> &bands() const { return m_bands; }
    bool recomputePending() const { return m_recomputePending; }
    bool redrawPending() const { return m_redrawPending; }

    // Lays the train from its last kept point to the target station with
    // the chosen profile. With keepFixed the route is laid again from the
    // origin, and every station with a fixed time becomes a stop departing
    // no earlier than that time.
    void RouteTo(int32_t target, bool keepFixed);

    // The add-train dialog's table of the points, and the train they make.
    std::vector<AddTrainRow> commitTable() const;
    Train makeTrain(const NewTrainChoice &choice) const;
    // The train confirmed in the add-train dialog joins the document (one
    // step of the undo history), the tool closes, and the diagram shows the
    // train with its labels.
    void addTrain(const NewTrainChoice &choice);
    // The category, a blank and the number, cut to the 20 characters of a
    // train name (code page 1250).
    static QByteArray trainName(const QString &category, int number);

    // The preview, drawn after every render while the tool holds a point.
    void drawOverlay(QImage &surface, const OverlayClip &clip) const;

    // Time and kilometre thousandths under a pointer position.
    double pointedTime(int x) const;
    int64_t pointedDistance(int y) const;

signals:
    // The Editace menu with all its commands (off while the tool is open).
    void editMenuWanted(bool enabled);
    // Timer1 of the main window.
    void timerWanted(bool running);
    // TForm12 shown (modeless) or brought to the front; closed when shown.
    void windowWanted();
    void windowCloseWanted();
    // Direction, number, name, station or time to show again.
    void stateChanged();
    // Shift + click with a train laid: the add-train dialog is to confirm
    // commitTable(), and addTrain follows its OK.
    void commitRequested();

private:
    const TravelTimeProfile &profile() const;
    int32_t stationMetres(int32_t station) const;
    int32_t profileIndex(int32_t station) const;
    QString stationName(int32_t station) const;
    bool append(int32_t station, std::optional<double> fixedTime, double time);
    void buildBands();
    void clickAtStation(double t);
    void ctrlClick();
    void paintPreview();

    Diagram &m_diagram;
    EditHistory &m_history;
    Document &m_doc;
    const DiagramView &m_view;
    size_t m_capacity;

    bool m_active = false;
    std::vector<InsertPoint> m_points;
    int32_t m_currentStation = 0;
    std::vector<StationBand> m_bands;
    bool m_recomputePending = false;
    bool m_redrawPending = false;

    int m_direction = 1;
    int m_number = 1;
    int m_maximum = 1;
    QString m_profileName;
    QString m_stationText;
    QString m_timeText;
};
