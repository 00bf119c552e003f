#pragma once

#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <optional>

// Where the panel goes, as a pure function. Everything here is in placement coordinates:
// origin at the lower left of the main screen, y growing upwards, rectangles given by their
// lower-left corner. Qt's coordinates (origin top left, y down) are converted once, by
// PlacementSpace, at the edge.
namespace Placement {

struct Screen {
    QRectF frame;   // the whole screen
    QRectF visible; // without panels and docks
};

enum Mode { BottomCenter = 0, AtMouse = 1 };

struct Request {
    int mode = BottomCenter; // "panelPosition": 1 is at the mouse, anything else bottom centre
    QPointF pointer;
    std::optional<QPointF> anchor; // where a launcher summoned the compact panel
    QList<Screen> screens;         // in the desktop's order
    int mainScreen = -1;           // index into screens, -1 when there is none
    QSizeF size;
};

// The screen the pointer is on (lower edge excluded, upper edge included), else the main
// screen, else the first; nullptr when there are no screens.
const Screen* chooseScreen(const Request& request);

// The panel's lower-left corner.
QPointF origin(const Request& request);

// Whether origin() depends on the pointer for this request (whatever its pointer): asking the
// desktop where the pointer is costs a round trip on every opening.
bool usesPointer(const Request& request);

} // namespace Placement

// Converts between Qt's global coordinates and placement coordinates.
class PlacementSpace {
public:
    // `mainScreen` is the Qt geometry of the main screen, whose lower-left corner becomes the
    // origin.
    explicit PlacementSpace(const QRect& mainScreen);

    QPointF toPlacement(const QPointF& qtPoint) const;
    QRectF toPlacement(const QRect& qtRect) const;
    // The Qt geometry of a window with lower-left corner `origin`, rounded to whole pixels.
    QRect toQt(const QPointF& origin, const QSizeF& size) const;

private:
    qreal m_left = 0;
    qreal m_bottom = 0; // Qt y of the main screen's lower edge
};
