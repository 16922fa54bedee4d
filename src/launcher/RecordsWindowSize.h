// The room the records page needs: while that page is shown the launcher grows to a size where
// its table and charts read whole, and the player may resize it; any other page brings back the
// launcher's fixed size and places its controls as they were.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <utility>
#include <vector>

class QTabWidget;
class QWidget;

namespace tamtara {

class TRecordsWindowSize : public QObject {
public:
    // The size the launcher takes on the records page at first, and the least it may be made.
    static constexpr QSize RecordsSize{720, 540};
    static constexpr QSize SmallestSize{520, 400};

    // Watches window, whose page control is pages, from now on; owned by window.
    TRecordsWindowSize(QWidget& window, QTabWidget& pages);

    // The records page came into view, or went out of it. Each is a no-op the second time.
    void Grow();
    void Shrink();
    bool Grown() const { return IsGrown; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The page control and the other controls follow the window's size.
    void PlaceControls();
    // Moves the window so that it is centred where it was and inside its screen.
    void KeepOnScreen(const QPoint& centre);

    QWidget& Window;
    QTabWidget& Pages;
    bool IsGrown = false;
    QSize FixedSize;
    QRect PagesPlace;
    // The window's other controls and their places at the fixed size.
    std::vector<std::pair<QWidget*, QPoint>> Controls;
    // The size the player left the records page at, for the next time.
    QSize LastRecordsSize = RecordsSize;
};

} // namespace tamtara
