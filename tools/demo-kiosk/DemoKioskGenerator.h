#pragma once

#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <QString>

namespace quindle::demo {

// What a run wrote, counted as the files are planned.
struct DemoKioskReport
{
    int interfacePictures = 0;
    int pictures = 0;
    int thumbnails = 0;
    int printFiles = 0;
    int slides = 0;
};

// Writes a whole demo program folder: "quindleFolder.ini", "click.wav" and the kiosk folder with
// its settings, Interface and Attract folders and one folder per category. Pictures are drawn
// on several threads; every picture depends only on the options, so the output is the same
// for the same options whatever the thread count.
class DemoKioskGenerator
{
public:
    explicit DemoKioskGenerator(const DemoKioskOptions& options);

    // Empty when everything was written, otherwise what went wrong.
    QString generate();
    const DemoKioskReport& report() const { return m_report; }

    // Whether picture number (counting from 1) of a category gets a thumbnail or a print file.
    static bool hasThumbnail(const DemoKioskOptions& options, int number);
    static bool hasPrintFile(const DemoKioskOptions& options, int number);

private:
    DemoKioskOptions m_options;
    DemoKioskReport m_report;
};

} // namespace quindle::demo
