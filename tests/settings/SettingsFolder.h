#pragma once

#include "settings/SettingsReader.h"
#include "support/TempFolder.h"

#include <QByteArray>
#include <QString>

namespace quindle::test {

// A program folder with a pointer file naming the kiosk folder "Kiosk", which holds an
// Interface folder; each test writes its own "quindle.ini".
class SettingsFolder
{
public:
    SettingsFolder();

    QString programFolder() const { return m_folder.path(); }
    const TempFolder& folder() const { return m_folder; }
    void writeSettings(const QByteArray& text) const;

    SettingsResult read(const QByteArray& settingsText) const;
    // The record of a file that must be accepted (a failed expectation otherwise).
    KioskSettings accepted(const QByteArray& settingsText) const;
    // The message of a file that must be refused (a failed expectation otherwise).
    QString refused(const QByteArray& settingsText) const;

private:
    TempFolder m_folder;
};

// The statements every accepted file needs: a menu button and the paging buttons.
inline const QByteArray requiredControls = "prev = 10, 700\r\nclose = 100, 700\r\nnext = 200, 700\r\n";
inline const QByteArray requiredStatements = "btn1 = Rings, 10, 20\r\n" + requiredControls;

// The five-piece message of a refused statement, written out as the owner reads it.
QString improperMessage(const QString& firstLine, const QString& statement);

} // namespace quindle::test
