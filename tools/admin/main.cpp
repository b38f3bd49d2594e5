#include "controls/PictureDecoder.h"
#include "tools/admin/AdminCommands.h"

#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

// The kiosk owner's program; see "quindle-admin --help".
int main(int argc, char** argv)
{
    quindle::PictureDecoder::limitJpegMemory();
    // Pictures are decoded and encoded without a screen: no GUI application is needed.
    QCoreApplication application(argc, argv);
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
