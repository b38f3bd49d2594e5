#include "tools/admin/LayoutCheck.h"

#include <QFontMetrics>

namespace quindle::admin {

namespace {

bool sharesTheScreen(ControlKind kind)
{
    return kind == ControlKind::MenuButton || kind == ControlKind::Grid || kind == ControlKind::ControlButton;
}

bool inTheWay(const PlacedControl& a, const PlacedControl& b)
{
    if (a.rect.isEmpty() || b.rect.isEmpty() || !a.rect.intersects(b.rect))
        return false;
    if (sharesTheScreen(a.kind) && sharesTheScreen(b.kind))
        return true;
    if (a.kind == ControlKind::Keyboard && b.kind == ControlKind::Keyboard)
        return true;
    const auto detailOver = [](const PlacedControl& detail, const PlacedControl& button) {
        return detail.kind == ControlKind::DetailView && button.kind == ControlKind::ControlButton;
    };
    return detailOver(a, b) || detailOver(b, a);
}

QString sizeText(QSize size)
{
    return QStringLiteral("%1 x %2").arg(size.width()).arg(size.height());
}

QString cornersText(const QRect& rect)
{
    return QStringLiteral("%1, %2 to %3, %4")
        .arg(rect.left())
        .arg(rect.top())
        .arg(rect.left() + rect.width())
        .arg(rect.top() + rect.height());
}

QString partOrWhole(const QRect& bounds, const QRect& rect)
{
    return bounds.intersects(rect) ? QStringLiteral("partly") : QStringLiteral("wholly");
}

// The label control draws its caption centred and word-wrapped, two pixels in from each side.
QSize captionNeeds(const PlacedControl& control)
{
    QString text = control.caption;
    text.remove(QLatin1Char('\r'));
    const QRect room = QRect(QPoint(0, 0), control.rect.size()).adjusted(2, 0, -2, 0);
    return QFontMetrics(control.font).boundingRect(room, Qt::AlignCenter | Qt::TextWordWrap, text).size();
}

} // namespace

QString labelOf(const PlacedControl& control)
{
    return control.line > 0 ? QStringLiteral("%1 (line %2)").arg(control.name).arg(control.line)
                            : control.name;
}

std::vector<std::pair<size_t, size_t>> conflictsOf(const std::vector<PlacedControl>& controls)
{
    std::vector<std::pair<size_t, size_t>> pairs;
    for (size_t i = 0; i < controls.size(); ++i)
        for (size_t j = i + 1; j < controls.size(); ++j)
            if (inTheWay(controls[i], controls[j]))
                pairs.emplace_back(i, j);
    return pairs;
}

std::vector<Finding> checkLayout(const std::vector<PlacedControl>& controls, QSize backdrop,
                                 const QRect& keyboardFrame, const QString& settingsFile)
{
    std::vector<Finding> findings;
    const auto warn = [&](int line, const QString& message) {
        findings.push_back(Finding{Severity::Warning, settingsFile, line, message});
    };
    const QRect screen(QPoint(0, 0), backdrop);
    for (const PlacedControl& control : controls) {
        if (control.rect.isEmpty())
            continue;
        if (control.kind == ControlKind::Grid &&
            (control.rect.width() > backdrop.width() || control.rect.height() > backdrop.height())) {
            warn(control.line,
                 QStringLiteral("The thumbnail grid (%1 pixels) is larger than the backdrop (%2)")
                     .arg(sizeText(control.rect.size()), sizeText(backdrop)));
            continue;
        }
        if (!screen.contains(control.rect)) {
            warn(control.line, QStringLiteral("%1 lies %2 outside the backdrop (%3): %4")
                                   .arg(control.name, partOrWhole(screen, control.rect), sizeText(backdrop),
                                        cornersText(control.rect)));
            continue;
        }
        // The keyboard's parts are drawn inside its frame: what lies beyond the frame is cut off.
        if (control.kind == ControlKind::Keyboard && !keyboardFrame.contains(control.rect))
            warn(control.line, QStringLiteral("%1 lies %2 outside the keyboard frame (%3 at %4, %5): %6")
                                   .arg(control.name, partOrWhole(keyboardFrame, control.rect),
                                        sizeText(keyboardFrame.size()))
                                   .arg(keyboardFrame.x())
                                   .arg(keyboardFrame.y())
                                   .arg(cornersText(control.rect)));
    }
    for (const PlacedControl& control : controls) {
        if (control.caption.isEmpty() || control.rect.isEmpty())
            continue;
        const QSize needs = captionNeeds(control);
        if (needs.width() <= control.rect.width() - 4 && needs.height() <= control.rect.height())
            continue;
        QString caption = control.caption;
        caption.replace(QStringLiteral("\r\n"), QStringLiteral("_"));
        warn(control.line,
             QStringLiteral("The caption \"%1\" of %2 does not fit its button (%3) at %4 %5 pt: "
                            "it needs %6")
                 .arg(caption, control.name, sizeText(control.rect.size()), control.font.family())
                 .arg(control.font.pointSizeF())
                 .arg(sizeText(needs + QSize(4, 0))));
    }
    for (const auto& [first, second] : conflictsOf(controls)) {
        // Told at the later statement, which is more often the one just written.
        const bool firstIsLater = controls[first].line > controls[second].line;
        const PlacedControl& later = controls[firstIsLater ? first : second];
        const PlacedControl& earlier = controls[firstIsLater ? second : first];
        const bool detail = later.kind == ControlKind::DetailView || earlier.kind == ControlKind::DetailView;
        const QString message =
            detail ? QStringLiteral("%1 and %2 overlap: the detail view covers the button "
                                    "while a picture is shown")
                   : QStringLiteral("%1 overlaps %2: a press there reaches only one of them");
        warn(later.line, message.arg(later.name, labelOf(earlier)));
    }
    return findings;
}

} // namespace quindle::admin
