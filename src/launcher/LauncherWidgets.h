// Small helpers for building the launcher's controls by position, as a form designer places them.
#pragma once

#include "base/DrumParts.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <memory>
#include <utility>

namespace tamtara {

// A control whose constructor arguments end with its parent, which owns it from then on.
template <class W, class... Args> W* MakeChild(Args&&... args) {
    auto widget = std::make_unique<W>(std::forward<Args>(args)...);
    return widget.release();
}

// The drum parts' captions, in lane order, on the key and kit pages.
inline constexpr std::array<const char*, LaneCount> PartCaptions = {
    "ハイハット(&H):", "スネア(&S):",  "キック(&K):",  "Highタム(&1):",
    "Midタム(&2):",    "Lowタム(&3):", "シンバル(&C):"};

// A label drawn twice, one pixel right and down in the shadow colour first.
class ShadowLabel : public QLabel {
public:
    ShadowLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tamtara
