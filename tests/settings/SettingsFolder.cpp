#include "SettingsFolder.h"

#include <gtest/gtest.h>

namespace quindle::test {

SettingsFolder::SettingsFolder()
{
    m_folder.write(QStringLiteral("quindleFolder.ini"), "Kiosk\r\n");
    m_folder.makeFolder(QStringLiteral("Kiosk/Interface"));
}

void SettingsFolder::writeSettings(const QByteArray& text) const
{
    m_folder.write(QStringLiteral("Kiosk/quindle.ini"), text);
}

SettingsResult SettingsFolder::read(const QByteArray& settingsText) const
{
    writeSettings(settingsText);
    return SettingsReader(programFolder()).read();
}

KioskSettings SettingsFolder::accepted(const QByteArray& settingsText) const
{
    SettingsResult result = read(settingsText);
    EXPECT_TRUE(result.ok()) << result.message.toStdString();
    return result.settings.value_or(KioskSettings{});
}

QString SettingsFolder::refused(const QByteArray& settingsText) const
{
    const SettingsResult result = read(settingsText);
    EXPECT_FALSE(result.ok());
    return result.message;
}

QString improperMessage(const QString& firstLine, const QString& statement)
{
    return firstLine + QStringLiteral("\r\n\r\n\"") + statement +
           QStringLiteral("\"\r\n\r\nPlease edit \"quindle.ini\" and make the proper adjustments before "
                          "continuing.");
}

} // namespace quindle::test
