// The records page's two pictures: a song's progress over its plays (score and accuracy per
// play) and the timing histogram of its last play, both drawn with QPainter.
#pragma once

#include "records/PlayRecord.h"
#include "records/TimingStats.h"

#include <QWidget>

#include <vector>

namespace tamtara {

// The span a series of values is drawn over: a little wider than the values themselves, so
// that close scores still rise and fall visibly; never below 0 nor above ceiling.
struct ChartSpan {
    double Low = 0;
    double High = 1;
};
ChartSpan SpanOf(const std::vector<double>& values, double ceiling);

class TProgressChart : public QWidget {
public:
    using QWidget::QWidget;
    // Oldest first, as the records give them.
    void SetPoints(std::vector<PlayPoint> points);
    const std::vector<PlayPoint>& Points() const { return Plays; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<PlayPoint> Plays;
};

class TTimingChart : public QWidget {
public:
    using QWidget::QWidget;
    // The last play's timing, said to be a practice's when it was; none clears the chart.
    void SetTiming(const std::optional<TimingStats>& timing, bool practice = false);
    const std::optional<TimingStats>& Timing() const { return Stats; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::optional<TimingStats> Stats;
    bool Practice = false;
};

} // namespace tamtara
