#include "controls/WidgetMessageBox.h"

#include "controls/ScreenFit.h"

#include <QMessageBox>
#include <QStyle>
#include <QWidget>

namespace quindle {

void WidgetMessageBox::show(const QString& text)
{
    writeMessageToStandardError(text);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quindle"), text, QMessageBox::Ok, m_window);
    box.setWindowModality(m_window ? Qt::WindowModal : Qt::ApplicationModal);
    box.setContextMenuPolicy(Qt::NoContextMenu);
    // On a scaled screen the box is scaled with the kiosk, by the size of its text.
    if (const double scale = m_window ? screenScaleOf(m_window) : 1.0; scale != 1.0) {
        QFont font = box.font();
        font.setPointSizeF(font.pointSizeF() * scale);
        box.setFont(font);
    }
    if (m_window) {
        // Qt centres a dialog by guessing a window frame, which a kiosk without a window manager
        // does not have: the box is centred on the kiosk window by its own size once it has one.
        box.show();
        box.setGeometry(
            QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, box.size(), m_window->geometry()));
    }
    box.exec();
    // Without a window manager nobody hands the keyboard focus back once the box is gone:
    // the kiosk window takes it again itself.
    if (m_window && m_window->isVisible())
        m_window->activateWindow();
}

} // namespace quindle
