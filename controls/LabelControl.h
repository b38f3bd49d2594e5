#pragma once

#include "controls/PictureControl.h"

#include <QColor>
#include <QFont>
#include <optional>

namespace quindle {

// A label control: a picture with a caption drawn over it, in its own font and colour,
// on an optional background colour.
class LabelControl : public PictureControl
{
    Q_OBJECT

public:
    explicit LabelControl(PictureDecoder& decoder, QWidget* parent = nullptr);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);

    void setCaptionFont(const QString& family, double pointSize, bool bold, bool italic);
    QFont captionFont() const { return m_font; }

    void setForeColor(const QColor& colour);
    QColor foreColor() const { return m_foreColor; }

protected:
    void drawOver(QPainter& painter) override;

private:
    QString m_caption;
    QFont m_font;
    QColor m_foreColor = Qt::black;
};

// A colour written in the settings file's order: the lowest byte is red, then green, then blue.
QColor colourFromSettings(std::uint32_t value);

} // namespace quindle
