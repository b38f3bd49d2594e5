#include "controls/LabelControl.h"

#include <QPainter>

namespace quindle {

QColor colourFromSettings(std::uint32_t value)
{
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

LabelControl::LabelControl(PictureDecoder& decoder, QWidget* parent)
    : PictureControl(decoder, parent, PictureFit::Inside)
{
}

void LabelControl::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

void LabelControl::setCaptionFont(const QString& family, double pointSize, bool bold, bool italic)
{
    // A font that is not installed falls back to fontconfig's closest match.
    m_font = QFont(family);
    if (pointSize > 0)
        m_font.setPointSizeF(pointSize);
    m_font.setBold(bold);
    m_font.setItalic(italic);
    update();
}

void LabelControl::setForeColor(const QColor& colour)
{
    m_foreColor = colour;
    update();
}

void LabelControl::drawOver(QPainter& painter)
{
    if (m_caption.isEmpty())
        return;
    QString text = m_caption;
    text.remove(QLatin1Char('\r'));
    painter.setFont(m_font);
    painter.setPen(m_foreColor);
    painter.drawText(rect().adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextWordWrap, text);
}

} // namespace quindle
