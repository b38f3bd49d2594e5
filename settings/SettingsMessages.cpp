#include "settings/SettingsMessages.h"

namespace quindle {

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString editRequest =
    QStringLiteral("Please edit \"quindle.ini\" and make the proper adjustments before continuing.");

} // namespace

QString improperStatementMessage(const QString& firstLine, const QString& writtenKey, const QString& value)
{
    const QString statement =
        QLatin1Char('"') + writtenKey + QStringLiteral(" = ") + value + QLatin1Char('"');
    return firstLine + lineBreak + lineBreak + statement + lineBreak + lineBreak + editRequest;
}

QString settingsFileMessage(const QString& sentence)
{
    return sentence + lineBreak + lineBreak + editRequest;
}

QString missingPointerFileMessage()
{
    return QStringLiteral("Missing the \"quindleFolder.ini\" file - program will terminate");
}

QString unreadablePointerFileMessage()
{
    return QStringLiteral("Cannot read the \"quindleFolder.ini\" file - program will terminate.");
}

QString emptyPointerFileMessage()
{
    return QStringLiteral("The \"quindleFolder.ini\" file names no folder - please edit the "
                          "\"quindleFolder.ini\" file to point to a valid folder.");
}

QString missingKioskFolderMessage(const QString& kioskFolder)
{
    return QStringLiteral("The folder name of \"") + kioskFolder +
           QStringLiteral("\" does not exist - please edit the \"quindleFolder.ini\" file to point to a "
                          "valid folder.");
}

QString missingSettingsFileMessage(const QString& kioskFolder)
{
    return QStringLiteral("Missing the \"quindle.ini\" file in the \"") + kioskFolder +
           QStringLiteral("\" folder - program will terminate.");
}

QString unreadableSettingsFileMessage(const QString& kioskFolder)
{
    return QStringLiteral("Cannot read the \"quindle.ini\" file in the \"") + kioskFolder +
           QStringLiteral("\" folder - program will terminate.");
}

QString missingInterfaceFolderMessage(const QString& kioskFolder)
{
    return QStringLiteral(
               "There is no \"Interface\" folder inside your \"%1\" folder - please copy or create this "
               "folder and make sure all your interface images are within it. Program will terminate.")
        .arg(kioskFolder);
}

QString missingInterfacePictureMessage(const QString& fileName)
{
    return QStringLiteral("Cannot locate JPG image %1 - Program Terminating.").arg(fileName);
}

} // namespace quindle
