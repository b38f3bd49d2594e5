#pragma once

#include "settings/InterfacePictures.h"
#include "settings/KioskSettings.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace quindle::admin {

enum class Severity {
    Error,   // the kiosk would not start, or would end with a message while it runs
    Warning, // the kiosk runs, but visitors would see something missing or a message
    Note,    // worth tidying: the kiosk runs as it should
};

struct Finding
{
    Severity severity = Severity::Error;
    QString file; // full path of the file or folder it concerns
    int line = 0; // in the settings file, from 1; 0 when no line
    QString message;
};

// Checks a program folder the way the kiosk would read it, but reads on past the first
// fault and lists everything it finds, in the order the kiosk would meet it.
class KioskCheck
{
public:
    KioskCheck(QString programFolder, int threads);

    std::vector<Finding> run();

private:
    struct PictureToDecode
    {
        QString path;
        int line;
    };

    void add(Severity severity, const QString& file, int line, const QString& message);
    bool readSettings();
    void noteCaseDifference(const QString& folder, const QString& written, int line);
    void checkInterfacePictures();
    void checkInterfacePicture(const InterfacePicture& picture);
    void checkCategories();
    void checkPictureFolder(const QString& folder);
    void checkAttract();
    void decodePictures();

    QString m_programFolder;
    int m_threads;
    KioskSettings m_settings;
    QString m_settingsFile;
    QStringList m_settingsLines;
    std::vector<PictureToDecode> m_toDecode;
    std::vector<Finding> m_findings;
};

// "Kiosk/quindle.ini:12: error: …", the path relative to the program folder and the
// kiosk's message on one line.
QString formatFinding(const Finding& finding, const QString& programFolder);

// The last line: the counts and whether the kiosk would start and run.
QString checkSummary(const std::vector<Finding>& findings);

bool kioskWouldRun(const std::vector<Finding>& findings);

// The lines of a settings file as the kiosk decodes them; empty when it cannot be read.
QStringList settingsLinesOf(const QString& settingsFile);

// The line (from 1) of the last statement with this key, which is the one that wins; 0 when
// there is none.
int statementLine(const QStringList& lines, const QString& key);

} // namespace quindle::admin
