#include "controls/EffectClickSound.h"
#include "controls/PictureDecoder.h"
#include "controls/ScreenFit.h"
#include "controls/WidgetMessageBox.h"
#include "platform/Clock.h"
#include "platform/ProgramEnd.h"
#include "platform/Services.h"
#include "printing/CupsPrintSpooler.h"
#include "shell/KioskWindow.h"
#include "unattended/DlopenWatchdogLibrary.h"
#include "unattended/LogindSystemRestart.h"
#include "unattended/SystemdServiceNotifier.h"

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>

namespace {

// The program folder: the executable's folder, or the one given with --program-folder.
QString programFolderFrom(const QStringList& arguments)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("--program-folder"));
    if (option >= 0 && option + 1 < arguments.size())
        return arguments.at(option + 1);
    return QCoreApplication::applicationDirPath();
}

// The file for node_exporter's textfile collector given with --metrics-file, or "".
QString metricsFileFrom(const QStringList& arguments)
{
    const qsizetype option = arguments.indexOf(QStringLiteral("--metrics-file"));
    return option >= 0 && option + 1 < arguments.size() ? arguments.at(option + 1) : QString();
}

} // namespace

int main(int argc, char** argv)
{
    quindle::PictureDecoder::limitJpegMemory();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quindle"));
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.contains(QStringLiteral("--help"))) {
        std::fputs("Usage: quindle [--program-folder DIR] [--metrics-file FILE]\n"
                   "Runs the picture kiosk whose pointer file \"quindleFolder.ini\" lies in DIR\n"
                   "(by default the folder of this program). With --metrics-file the kiosk writes\n"
                   "its figures to FILE every minute for node_exporter's textfile collector.\n",
                   stdout);
        return 0;
    }

    quindle::SystemClock clock;
    quindle::WidgetMessageBox messages;
    quindle::ImmediateProgramEnd programEnd;
    quindle::EffectClickSound sound;
    const quindle::Services services{clock, messages, programEnd, sound};
    quindle::CupsPrintSpooler spooler;
    quindle::LogindSystemRestart restart;
    quindle::DlopenWatchdogLibrary watchdogLibrary;
    quindle::SystemdServiceNotifier serviceNotifier;
    const quindle::MachineServices machine{spooler, restart, watchdogLibrary, serviceNotifier};

    quindle::KioskWindow window(programFolderFrom(arguments), services, machine);
    window.setMetricsFile(metricsFileFrom(arguments));
    // The kiosk window keeps the backdrop's size; the screen shows it scaled to fit.
    quindle::ScreenFit screen(window);
    QObject::connect(&screen, &quindle::ScreenFit::barReleased, &window, &quindle::KioskWindow::operatorExit);
    messages.setParentWindow(&screen);
    window.startKiosk();
    screen.show();
    screen.raise();
    screen.activateWindow();
    // Without a window manager the window may never be told it became active.
    QTimer::singleShot(0, &window, &quindle::KioskWindow::activateKiosk);
    return QApplication::exec();
}
