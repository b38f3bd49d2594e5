#include "support/KioskFolder.h"

namespace quindle::test {

KioskFolder::KioskFolder()
{
    m_temp.write(QStringLiteral("quindleFolder.ini"), "Kiosk\r\n");
    m_temp.makeFolder(QStringLiteral("Kiosk/Interface"));
}

QStringList KioskFolder::standardSettings()
{
    // One line a setting, in this order: the kiosk check reports faults by line number.
    return QStringLiteral(
               "[Kiosk]|backdrop = backdrop.jpg|btn1 = Rings, 10, 10, Fine_Rings, DejaVu Sans, 12, "
               "FFFFFF,bold|btn2 = Watches, 10, 60|grid = 4, 3, 40, 30, 100, 100, 10, 20|"
               "detailView = 100, 100, 300, 200|prev = 100, 400|close = 200, 400|print = 300, 400|"
               "next = 400, 400|lookup = 500, 400|keyboard = 20, 60|keyboardText = 40, 10|"
               "keyboardButtons = 20, 120, 220, 320|timeout = 120|attractTimer = 10|attract = true|"
               "printing = false|tracking = daily")
        .split(QLatin1Char('|'));
}

void KioskFolder::writeSettings(const QStringList& lines) const
{
    m_temp.write(QStringLiteral("Kiosk/quindle.ini"), lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
}

void KioskFolder::writeInterfacePicture(const QString& name, int width, int height) const
{
    const quint32 colour = static_cast<quint32>(qHash(name)) & 0xFFFFFF;
    m_temp.write(QStringLiteral("Kiosk/Interface/") + name, jpegBytes(width, height, colour));
}

void KioskFolder::writeInterfacePictures() const
{
    writeInterfacePicture(QStringLiteral("backdrop.jpg"), 800, 600);
    for (int n = 1; n <= 9; ++n)
        for (const char* face : {"", "_"})
            writeInterfacePicture(QStringLiteral("%1btn%2.jpg").arg(QLatin1String(face)).arg(n), 80, 40);
    for (const char* button : {"prev", "next", "close", "print"})
        for (const char* face : {"", "_", "-"})
            writeInterfacePicture(QStringLiteral("%1%2.jpg").arg(QLatin1String(face), QLatin1String(button)),
                                  60, 40);
    writeInterfacePicture(QStringLiteral("lookup.jpg"), 70, 40);
    writeInterfacePicture(QStringLiteral("_thumbnail.jpg"), 40, 30);
    writeInterfacePicture(QStringLiteral("keyboardFrame.jpg"), 700, 420);
    writeInterfacePicture(QStringLiteral("keyboardInput.jpg"), 600, 50);
    writeInterfacePicture(QStringLiteral("keyboard.jpg"), 660, 264);
    writeInterfacePicture(QStringLiteral("noResults.jpg"), 660, 264);
    writeInterfacePicture(QStringLiteral("_kbd.jpg"), 66, 66);
    for (const char* button : {"cancel", "clear", "space", "search"})
        for (const char* face : {"", "_"})
            writeInterfacePicture(QStringLiteral("%1%2.jpg").arg(QLatin1String(face), QLatin1String(button)),
                                  90, 40);
}

void KioskFolder::addPicture(const QString& category, const QString& name, bool withThumbnail) const
{
    m_temp.write(QStringLiteral("Kiosk/%1/%2").arg(category, name), jpegBytes(64, 48, 0x336699));
    if (withThumbnail)
        m_temp.write(QStringLiteral("Kiosk/%1/_%2").arg(category, name), jpegBytes(32, 24, 0x993366));
}

void KioskFolder::addPictures(const QString& category, int count, bool withThumbnails) const
{
    for (int i = 1; i <= count; ++i)
        addPicture(category, QStringLiteral("Item %1.jpg").arg(i, 2, 10, QLatin1Char('0')), withThumbnails);
}

void KioskFolder::writeStandardKiosk(const QStringList& extraSettings) const
{
    writeSettings(standardSettings() + extraSettings);
    writeInterfacePictures();
    addPictures(QStringLiteral("Rings"), 15);
    addPictures(QStringLiteral("Watches"), 3);
}

} // namespace quindle::test
