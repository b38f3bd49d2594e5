#pragma once

#include <QString>

namespace quindle {

// The texts with which the settings reader ends start-up. A statement that cannot be used
// is reported in five pieces joined by CR LF: the problem's own first line, an empty line,
// the statement in double quotes, an empty line, and the request to edit the file.
QString improperStatementMessage(QLatin1StringView firstLine, QStringView writtenKey, QStringView value);

// A problem of the settings file as a whole, where no single statement can be quoted: the
// sentence, an empty line and the same request to edit the file.
QString settingsFileMessage(const QString& sentence);

QString missingPointerFileMessage();
QString unreadablePointerFileMessage();
QString emptyPointerFileMessage();
QString missingKioskFolderMessage(const QString& kioskFolder);
QString missingSettingsFileMessage(const QString& kioskFolder);
QString unreadableSettingsFileMessage(const QString& kioskFolder);

// Start-up's own checks of the kiosk folder, after the settings have been read.
QString missingInterfaceFolderMessage(const QString& kioskFolder);
QString missingInterfacePictureMessage(const QString& fileName);

} // namespace quindle
