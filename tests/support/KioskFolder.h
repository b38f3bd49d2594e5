#pragma once

#include "support/TempFolder.h"

#include <QString>
#include <QStringList>

namespace quindle::test {

// A program folder with a pointer file and a small kiosk folder ("Kiosk") for window
// tests: the settings file, every Interface picture as a small JPEG, and categories.
class KioskFolder
{
public:
    KioskFolder();

    QString programFolder() const { return m_temp.path(); }
    QString kioskFolder() const { return m_temp.filePath(QStringLiteral("Kiosk")); }
    QString interfaceFolder() const { return m_temp.filePath(QStringLiteral("Kiosk/Interface")); }
    const TempFolder& temp() const { return m_temp; }

    // A 4×3 grid of 40×30 slots, two menu entries (Rings, Watches), every control button,
    // printing off, tracking daily, on a 800×600 backdrop.
    static QStringList standardSettings();
    void writeSettings(const QStringList& lines) const;

    // Every Interface picture the kiosk may load, each a small JPEG of its own colour.
    void writeInterfacePictures() const;
    void writeInterfacePicture(const QString& name, int width, int height) const;

    // Pictures named "Item 01.jpg" … in a category, with "_" thumbnails unless told not to.
    void addPictures(const QString& category, int count, bool withThumbnails = true) const;
    void addPicture(const QString& category, const QString& name, bool withThumbnail = true) const;

    // The standard kiosk: the standard settings and any extra lines after them (a later line
    // wins), Interface pictures, "Rings" with 15 pictures and "Watches" with 3.
    void writeStandardKiosk(const QStringList& extraSettings = {}) const;

private:
    TempFolder m_temp;
};

} // namespace quindle::test
