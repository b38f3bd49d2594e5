#pragma once

#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QImage>
#include <QString>
#include <QStringList>

namespace quindle::demo {

// Draws every picture of the Interface folder. Button faces are drawn on the part of the
// backdrop (or keyboard frame) that they cover, so their corners blend into what lies behind.
// Menu faces carry no caption: the kiosk writes each caption from the settings over its face.
// Safe to use from several threads at once: every drawing reads only the prepared backgrounds.
class InterfacePainter
{
public:
    InterfacePainter(const DemoKioskLayout& layout, const QList<DemoCategory>& categories);

    static QString backdropFileName() { return QStringLiteral("backdrop.jpg"); }
    // Every file name of the Interface folder, in the order they are written.
    QStringList fileNames() const;
    QImage picture(const QString& fileName) const;

private:
    enum class Look { Normal, Pressed, Disabled };
    enum class Icon { None, Previous, Next, Close, Print, Search, Cancel, Clear, Space };

    QImage drawBackdrop() const;
    QImage drawKeyboardFrame() const;
    QImage menuFace(int number, Look look) const;
    QImage controlFace(const QRect& place, Icon icon, const QString& word, Look look) const;
    QImage keyboardButton(int index, Look look) const;
    QImage keyboardInput() const;
    QImage keyboardKeys() const;
    QImage noResults() const;
    QImage pressedKey() const;
    QImage pressedThumbnail() const;

    DemoKioskLayout m_layout;
    QList<DemoCategory> m_categories;
    QImage m_backdrop;
    QImage m_keyboardFrame;
};

} // namespace quindle::demo
