#include "system/support/XInput.h"

#include <QProcess>

namespace quindle::systemtest {

void XInput::run(const QString& command)
{
    QProcess tool;
    tool.setProcessEnvironment(m_environment);
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral("xdotool"), command.split(QLatin1Char(' ')));
    if (!tool.waitForFinished(30'000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        m_problem = QStringLiteral("xdotool %1 failed: %2 %3")
                        .arg(command, tool.errorString(), QString::fromLocal8Bit(tool.readAll()));
}

void XInput::click(QPoint at, int button, int repeat)
{
    run(QStringLiteral("mousemove %1 %2 click --repeat %3 --delay 90 %4")
            .arg(at.x())
            .arg(at.y())
            .arg(repeat)
            .arg(button));
}

void XInput::longPress(QPoint at, int button)
{
    run(QStringLiteral("mousemove %1 %2 mousedown %3 sleep %4 mouseup %3")
            .arg(at.x())
            .arg(at.y())
            .arg(button)
            .arg(holdMs / 1000.0));
}

// Pressed at one place, moved across the screen in six steps, released at the other.
void XInput::drag(QPoint from, QPoint to, int button)
{
    QString command = QStringLiteral("mousemove %1 %2 mousedown %3").arg(from.x()).arg(from.y()).arg(button);
    for (int step = 1; step <= 6; ++step) {
        const QPoint at = from + (to - from) * step / 6;
        command += QStringLiteral(" mousemove %1 %2").arg(at.x()).arg(at.y());
    }
    run(command + QStringLiteral(" mouseup %1").arg(button));
}

void XInput::key(const QString& combination)
{
    run(QStringLiteral("key --clearmodifiers ") + combination);
}

} // namespace quindle::systemtest
