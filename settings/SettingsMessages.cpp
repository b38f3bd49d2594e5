#include "settings/SettingsMessages.h"

namespace quindle {

namespace {

const QString lineBreak = QStringLiteral("\r\n");
const QString editRequest =
    QStringLiteral("Please edit \"quindle.ini\" and make the proper adjustments before continuing.");

} // namespace

QString improperStatementMessage(QLatin1StringView firstLine, QStringView writtenKey, QStringView value)
{
    // Built in one piece: a settings file full of mistakes makes one of these per line.
    QString message;
    message.reserve(firstLine.size() + writtenKey.size() + value.size() + editRequest.size() + 16);
    message += firstLine;
    message += lineBreak;
    message += lineBreak;
    message += QLatin1Char('"');
    message += writtenKey;
    message += QLatin1String(" = ");
    message += value;
    message += QLatin1Char('"');
    message += lineBreak;
    message += lineBreak;
    message += editRequest;
    return message;
}

QString settingsFileMessage(const QString& sentence)
{
    QString message;
    message.reserve(sentence.size() + editRequest.size() + 4);
    message += sentence;
    message += lineBreak;
    message += lineBreak;
    message += editRequest;
    return message;
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
