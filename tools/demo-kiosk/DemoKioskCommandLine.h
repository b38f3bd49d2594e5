#pragma once

#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <QString>
#include <QStringList>

namespace quindle::demo {

// Reads the generator's command line into options. A wrong value gives a readable error
// instead of options; --help gives the usage text.
class DemoKioskCommandLine
{
public:
    enum class Outcome { Run, Help, Error };

    explicit DemoKioskCommandLine(const QStringList& arguments);

    Outcome outcome() const { return m_outcome; }
    const DemoKioskOptions& options() const { return m_options; }
    QString error() const { return m_error; }
    QString helpText() const { return m_helpText; }

private:
    bool fail(const QString& error);
    bool readSize(const QString& text, QSize& size, const QString& name);
    bool readCount(const QString& text, int& count, const QString& name, int low, int high);
    bool readPictureCounts(const QString& text);

    Outcome m_outcome = Outcome::Error;
    DemoKioskOptions m_options;
    QString m_error;
    QString m_helpText;
};

} // namespace quindle::demo
