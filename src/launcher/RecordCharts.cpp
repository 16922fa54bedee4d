// Drawing of the progress and timing charts.
#include "launcher/RecordCharts.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tamtara {

namespace {

const QColor ScoreColour(32, 96, 224);
const QColor AccuracyColour(224, 96, 32);
const QColor EarlyColour(64, 128, 232);
const QColor LateColour(232, 112, 48);
const QColor CentreColour(0, 176, 80);

void Frame(QPainter& painter, const QRect& area, const QString& caption) {
    painter.fillRect(area, Qt::white);
    painter.setPen(QColor(160, 160, 160));
    painter.drawRect(area.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    painter.drawText(area.adjusted(4, 1, -4, 0), Qt::AlignLeft | Qt::AlignTop, caption);
}

} // namespace

ChartSpan SpanOf(const std::vector<double>& values, double ceiling) {
    if (values.empty()) return {0, ceiling};
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    // A tenth of the spread on each side, and at least a thousandth of the ceiling, so that one
    // value or equal ones sit in the middle.
    const double pad = std::max((*highest - *lowest) / 10.0, ceiling / 1000.0);
    ChartSpan span{std::max(0.0, *lowest - pad), std::min(ceiling, *highest + pad)};
    if (span.High <= span.Low) span.High = span.Low + 1;
    return span;
}

void TProgressChart::SetPoints(std::vector<PlayPoint> points) {
    Plays = std::move(points);
    update();
}

void TProgressChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    Frame(painter, area, "スコアと正確さの推移");
    painter.setPen(ScoreColour);
    painter.drawText(area.adjusted(0, 1, -64, 0), Qt::AlignRight | Qt::AlignTop, "スコア");
    painter.setPen(AccuracyColour);
    painter.drawText(area.adjusted(0, 1, -6, 0), Qt::AlignRight | Qt::AlignTop, "正確さ");
    if (Plays.empty()) return;
    const QRectF plot = QRectF(area).adjusted(30, 18, -30, -6);
    std::vector<double> scores, accuracies;
    for (const PlayPoint& p : Plays) {
        scores.push_back(p.Score);
        accuracies.push_back(std::clamp(p.Accuracy, 0.0, 1.0) * 100.0);
    }
    const double top = *std::max_element(scores.begin(), scores.end());
    const ChartSpan scoreSpan = SpanOf(scores, std::max(top * 1.25, 1.0));
    const ChartSpan accuracySpan = SpanOf(accuracies, 100.0);
    const auto yAt = [&plot](double value, const ChartSpan& span) {
        return plot.bottom() - plot.height() * (value - span.Low) / (span.High - span.Low);
    };
    // Each line's span written at its own side: scores on the left, accuracy on the right.
    QFont small = painter.font();
    small.setPixelSize(9);
    painter.setFont(small);
    const QRectF left(area.left() + 2, plot.top() - 4, 27, plot.height() + 8);
    const QRectF right(plot.right() + 2, plot.top() - 4, 27, plot.height() + 8);
    painter.setPen(ScoreColour);
    painter.drawText(left, Qt::AlignLeft | Qt::AlignTop, QString::number(std::lround(scoreSpan.High)));
    painter.drawText(left, Qt::AlignLeft | Qt::AlignBottom, QString::number(std::lround(scoreSpan.Low)));
    painter.setPen(AccuracyColour);
    painter.drawText(right, Qt::AlignRight | Qt::AlignTop,
                     QString::number(std::lround(accuracySpan.High)) + "%");
    painter.drawText(right, Qt::AlignRight | Qt::AlignBottom,
                     QString::number(std::lround(accuracySpan.Low)) + "%");
    const auto xAt = [&](std::size_t i) {
        return Plays.size() == 1 ? plot.center().x()
                                 : plot.left() + plot.width() * double(i) / double(Plays.size() - 1);
    };
    QPainterPath score, accuracy;
    for (std::size_t i = 0; i < Plays.size(); ++i) {
        const QPointF s(xAt(i), yAt(scores[i], scoreSpan));
        const QPointF a(xAt(i), yAt(accuracies[i], accuracySpan));
        if (i == 0) {
            score.moveTo(s);
            accuracy.moveTo(a);
        } else {
            score.lineTo(s);
            accuracy.lineTo(a);
        }
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(AccuracyColour, 1.5));
    painter.drawPath(accuracy);
    painter.setPen(QPen(ScoreColour, 1.5));
    painter.drawPath(score);
    if (Plays.size() <= 60) {
        painter.setBrush(ScoreColour);
        for (std::size_t i = 0; i < Plays.size(); ++i)
            painter.drawEllipse(QPointF(xAt(i), yAt(scores[i], scoreSpan)), 2, 2);
    }
}

void TTimingChart::SetTiming(const std::optional<TimingStats>& timing, bool practice) {
    Stats = timing;
    Practice = practice;
    update();
}

void TTimingChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    QString caption = Practice ? "最後の練習のずれ (-100〜+100ms)" : "最後のプレイのずれ (-100〜+100ms)";
    if (Stats && Stats->Graded > 0) caption += QString("  UR %1").arg(Stats->UnstableRate, 0, 'f', 1);
    Frame(painter, area, caption);
    if (!Stats) return;
    const auto& counts = Stats->Histogram.Counts;
    const std::int32_t highest = std::max(1, *std::max_element(counts.begin(), counts.end()));
    const QRectF plot = QRectF(area).adjusted(6, 18, -6, -4);
    const double width = plot.width() / double(counts.size());
    const int centre = TimingHistogram::Bars / 2;
    for (int bar = 0; bar < TimingHistogram::Bars; ++bar) {
        const double height = plot.height() * counts[static_cast<std::size_t>(bar)] / highest;
        const QColor colour = bar < centre - 1 ? EarlyColour : bar > centre ? LateColour : CentreColour;
        painter.fillRect(QRectF(plot.left() + width * bar + 0.5, plot.bottom() - height, width - 1, height),
                         colour);
    }
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(QPointF(plot.center().x(), plot.top()), QPointF(plot.center().x(), plot.bottom()));
}

} // namespace tamtara
