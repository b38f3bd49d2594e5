#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace quindle::demo {

// The one colour scheme of the demo shop: deep ink blue, champagne gold and ivory.
struct DemoPalette
{
    static QColor ink() { return QColor(0x0F, 0x1A, 0x2A); }
    static QColor inkLight() { return QColor(0x1E, 0x2F, 0x47); }
    static QColor inkLighter() { return QColor(0x2C, 0x42, 0x60); }
    static QColor gold() { return QColor(0xC9, 0xA4, 0x5C); }
    static QColor goldLight() { return QColor(0xEC, 0xD5, 0x9C); }
    static QColor goldDark() { return QColor(0x8A, 0x68, 0x2C); }
    static QColor ivory() { return QColor(0xF5, 0xEF, 0xE3); }
    static QColor mist() { return QColor(0x9C, 0xA9, 0xBA); }
    static QColor greyed() { return QColor(0x5A, 0x63, 0x70); }

    static QString shopName() { return QStringLiteral("Halden & Rowe"); }
    static QString shopLine() { return QStringLiteral("FINE JEWELLERY  \u00B7  EST. 1987"); }
    static QString serif() { return QStringLiteral("DejaVu Serif"); }
    static QString sans() { return QStringLiteral("DejaVu Sans"); }

    // A font sized in pixels, so drawings come out the same whatever the screen's dots per inch.
    static QFont font(const QString& family, double pixels, bool bold = false)
    {
        QFont font(family);
        font.setPixelSize(qMax(1, qRound(pixels)));
        font.setBold(bold);
        font.setHintingPreference(QFont::PreferNoHinting);
        return font;
    }

    // Colours in the settings file are hexadecimal with red in the lowest byte.
    static QString settingsColour(const QColor& colour)
    {
        const uint value = static_cast<uint>(colour.blue()) << 16 | static_cast<uint>(colour.green()) << 8 |
                           static_cast<uint>(colour.red());
        return QString::number(value, 16).toUpper().rightJustified(6, '0');
    }
};

} // namespace quindle::demo
