#include "launcher/RecordsWindowSize.h"

#include <QEvent>
#include <QScreen>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

namespace tamtara {

TRecordsWindowSize::TRecordsWindowSize(QWidget& window, QTabWidget& pages)
    : QObject(&window), Window(window), Pages(pages) {
    Window.installEventFilter(this);
}

void TRecordsWindowSize::Grow() {
    if (IsGrown) return;
    const QPoint centre = Window.geometry().center();
    FixedSize = Window.size();
    PagesPlace = Pages.geometry();
    Controls.clear();
    for (QWidget* child : Window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (child != &Pages) Controls.emplace_back(child, child->pos());
    IsGrown = true;
    Window.setMinimumSize(SmallestSize);
    Window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    Window.resize(LastRecordsSize);
    PlaceControls();
    KeepOnScreen(centre);
}

void TRecordsWindowSize::Shrink() {
    if (!IsGrown) return;
    const QPoint centre = Window.geometry().center();
    LastRecordsSize = Window.size();
    IsGrown = false;
    Window.setFixedSize(FixedSize);
    Pages.setGeometry(PagesPlace);
    for (const auto& [control, place] : Controls)
        control->move(place);
    KeepOnScreen(centre);
}

bool TRecordsWindowSize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &Window && event->type() == QEvent::Resize && IsGrown) PlaceControls();
    return QObject::eventFilter(watched, event);
}

void TRecordsWindowSize::PlaceControls() {
    const QPoint grown(Window.width() - FixedSize.width(), Window.height() - FixedSize.height());
    Pages.setGeometry(PagesPlace.adjusted(0, 0, grown.x(), grown.y()));
    // The buttons below the pages keep their distance from the window's bottom right corner.
    for (const auto& [control, place] : Controls)
        control->move(place + grown);
}

void TRecordsWindowSize::KeepOnScreen(const QPoint& centre) {
    if (!Window.isVisible()) return;
    QRect place(QPoint(0, 0), Window.frameSize());
    place.moveCenter(centre);
    if (const QScreen* screen = Window.screen()) {
        const QRect area = screen->availableGeometry();
        place.moveLeft(
            std::clamp(place.left(), area.left(), std::max(area.left(), area.right() - place.width())));
        place.moveTop(
            std::clamp(place.top(), area.top(), std::max(area.top(), area.bottom() - place.height())));
    }
    Window.move(place.topLeft());
}

} // namespace tamtara
