#include "shell/KioskMessages.h"

#include <QTimer>

namespace quindle {

KioskMessages::KioskMessages(MessageBox& boxes) : m_boxes(boxes) {}

void KioskMessages::show(const QString& text)
{
    emit messageRaised(text);
    if (!m_inTickDuties)
        return showNow(text);
    if (m_tickBoxWaiting)
        return writeMessageToStandardError(text);
    m_tickBoxWaiting = true;
    QTimer::singleShot(0, this, [this, text] {
        showNow(text);
        m_tickBoxWaiting = false;
    });
}

void KioskMessages::showNow(const QString& text)
{
    struct OpenBox
    {
        int& open;
        explicit OpenBox(int& count) : open(++count) {}
        ~OpenBox() { --open; }
    } box(m_open);
    m_boxes.show(text);
}

} // namespace quindle
