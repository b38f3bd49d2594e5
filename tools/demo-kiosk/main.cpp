#include "tools/demo-kiosk/DemoKioskCommandLine.h"
#include "tools/demo-kiosk/DemoKioskGenerator.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <cstdio>

// Writes a demo kiosk folder; see --help.
int main(int argc, char** argv)
{
    // Drawing needs fonts but no screen: the offscreen platform works on a machine without one.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QGuiApplication::setApplicationName("quindle-demo-kiosk");

    const quindle::demo::DemoKioskCommandLine commandLine(QGuiApplication::arguments());
    if (commandLine.outcome() == quindle::demo::DemoKioskCommandLine::Outcome::Help) {
        std::fputs(qPrintable(commandLine.helpText()), stdout);
        return 0;
    }
    if (commandLine.outcome() == quindle::demo::DemoKioskCommandLine::Outcome::Error) {
        std::fprintf(stderr, "quindle-demo-kiosk: %s\nTry --help.\n", qPrintable(commandLine.error()));
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    quindle::demo::DemoKioskGenerator generator(commandLine.options());
    const QString error = generator.generate();
    if (!error.isEmpty()) {
        std::fprintf(stderr, "quindle-demo-kiosk: %s\n", qPrintable(error));
        return 1;
    }
    const quindle::demo::DemoKioskReport& report = generator.report();
    std::printf(
        "Wrote %s: %d interface pictures, %d product pictures, %d thumbnails, %d print files, %d slides "
        "in %.1f s\n",
        qPrintable(commandLine.options().outputFolder), report.interfacePictures, report.pictures,
        report.thumbnails, report.printFiles, report.slides, timer.elapsed() / 1000.0);
    return 0;
}
