#include "tools/admin/SvgChart.h"

#include <algorithm>
#include <cmath>

namespace quindle::admin {

namespace {

const QString barColour = QStringLiteral("#2f6f9f");
const QString axisColour = QStringLiteral("#888888");

QString number(double value)
{
    return QString::number(value, 'f', 1);
}

qint64 largestOf(const std::vector<ChartBar>& bars)
{
    qint64 largest = 0;
    for (const ChartBar& bar : bars)
        largest = std::max(largest, bar.value);
    return largest;
}

// A round top for the value axis: 1, 2 or 5 times a power of ten, at least the largest value.
qint64 axisTop(qint64 largest)
{
    if (largest <= 0)
        return 1;
    qint64 power = 1;
    while (power * 10 <= largest)
        power *= 10;
    for (const qint64 step : {1, 2, 5, 10}) {
        if (step * power >= largest)
            return step * power;
    }
    return largest;
}

QString text(double x, double y, const QString& anchor, const QString& content, int size = 11)
{
    return QStringLiteral("<text x=\"%1\" y=\"%2\" text-anchor=\"%3\" font-size=\"%4\">%5</text>")
        .arg(number(x), number(y), anchor)
        .arg(size)
        .arg(content.toHtmlEscaped());
}

QString svgStart(int width, int height)
{
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%2\" viewBox=\"0 0 %1 %2\" "
               "font-family=\"sans-serif\" role=\"img\">")
        .arg(width)
        .arg(height);
}

} // namespace

QString columnChart(const std::vector<ChartBar>& bars, int width, int height, int labelEvery)
{
    const double left = 48;
    const double top = 10;
    const double bottom = 24;
    const double plotWidth = width - left - 8;
    const double plotHeight = height - top - bottom;
    const qint64 axis = axisTop(largestOf(bars));
    QString svg = svgStart(width, height);
    for (int step = 0; step <= 4; ++step) {
        const double y = top + plotHeight - plotHeight * step / 4.0;
        svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"#dddddd\"/>")
                   .arg(number(left), number(y), number(left + plotWidth));
        svg += text(left - 6, y + 4, QStringLiteral("end"), QString::number(axis * step / 4));
    }
    const double slot = bars.empty() ? plotWidth : plotWidth / static_cast<double>(bars.size());
    const double gap = slot > 6 ? slot * 0.15 : 0;
    // A few days' columns would be as wide as the page: columns stay slim, centred in their slot.
    const double barWidth = std::min(std::max(slot - gap, 0.5), 48.0);
    for (size_t i = 0; i < bars.size(); ++i) {
        const double x = left + slot * static_cast<double>(i);
        const double barHeight = plotHeight * static_cast<double>(bars[i].value) / static_cast<double>(axis);
        svg +=
            QStringLiteral(
                "<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"><title>%6: %7</title></rect>")
                .arg(number(x + (slot - barWidth) / 2), number(top + plotHeight - barHeight),
                     number(barWidth), number(barHeight), barColour, bars[i].label.toHtmlEscaped())
                .arg(bars[i].value);
        if (labelEvery > 0 && i % static_cast<size_t>(labelEvery) == 0)
            svg += text(x + slot / 2, height - 8, QStringLiteral("middle"), bars[i].label, 10);
    }
    svg += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%2\" stroke=\"%4\"/>")
               .arg(number(left), number(top + plotHeight), number(left + plotWidth), axisColour);
    return svg + QStringLiteral("</svg>");
}

QString barList(const std::vector<ChartBar>& bars, int width)
{
    const int rowHeight = 22;
    const double labelWidth = width * 0.38;
    const double valueWidth = 56;
    const double barSpace = width - labelWidth - valueWidth - 12;
    const int height = std::max<int>(rowHeight, static_cast<int>(bars.size()) * rowHeight + 4);
    const qint64 largest = std::max<qint64>(largestOf(bars), 1);
    QString svg = svgStart(width, height);
    for (size_t i = 0; i < bars.size(); ++i) {
        const double y = 2 + rowHeight * static_cast<double>(i);
        QString label = bars[i].label;
        if (label.size() > 40)
            label = label.left(38) + QStringLiteral("…");
        svg += text(labelWidth - 6, y + 15, QStringLiteral("end"), label, 12);
        const double length = barSpace * static_cast<double>(bars[i].value) / static_cast<double>(largest);
        svg += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" fill=\"%5\"/>")
                   .arg(number(labelWidth), number(y + 3), number(std::max(length, 1.0)),
                        number(rowHeight - 6), barColour);
        svg += text(labelWidth + length + 6, y + 15, QStringLiteral("start"), QString::number(bars[i].value),
                    12);
    }
    return svg + QStringLiteral("</svg>");
}

} // namespace quindle::admin
