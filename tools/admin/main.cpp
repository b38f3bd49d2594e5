#include "controls/PictureDecoder.h"
#include "tools/admin/AdminCommands.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

// The kiosk owner's program; see "quindle-admin --help".
int main(int argc, char** argv)
{
    quindle::PictureDecoder::limitJpegMemory();
    // Pictures are decoded and encoded without a screen; only the preview draws widgets, and
    // it draws them off screen unless a platform is chosen.
    const bool drawsWidgets = argc > 1 && std::strcmp(argv[1], "preview") == 0;
    if (drawsWidgets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        drawsWidgets ? std::make_unique<QApplication>(argc, argv)
                     : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quindle-admin"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int status =
        quindle::admin::runAdmin(QCoreApplication::arguments(), QCoreApplication::applicationDirPath(),
                                 {out, err, ::isatty(STDERR_FILENO) == 1});
    out.flush();
    err.flush();
    return status;
}
