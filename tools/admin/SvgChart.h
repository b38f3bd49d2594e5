#pragma once

#include <QString>
#include <utility>
#include <vector>

namespace quindle::admin {

struct ChartBar
{
    QString label;
    qint64 value = 0;
};

// Charts drawn as inline SVG, so that the report needs no script, no font file and no
// network, prints as it shows, and scales in any browser.

// Upright columns side by side with the value axis on the left; every labelEvery-th
// column is labelled underneath.
QString columnChart(const std::vector<ChartBar>& bars, int width, int height, int labelEvery = 1);

// One horizontal bar per row, the label left of it and the value at its end.
QString barList(const std::vector<ChartBar>& bars, int width);

} // namespace quindle::admin
