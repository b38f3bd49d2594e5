#include "system/support/XInput.h"

#include <QProcess>

namespace quindle::systemtest {

namespace {

QStringList moveTo(QPoint at)
{
    return {QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())};
}

} // namespace

void XInput::run(const QStringList& arguments)
{
    QProcess tool;
    tool.setProcessEnvironment(m_environment);
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral("xdotool"), arguments);
    if (!tool.waitForFinished(30'000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        m_problem = QStringLiteral("xdotool %1 failed: %2 %3")
                        .arg(arguments.join(QLatin1Char(' ')), tool.errorString(),
                             QString::fromLocal8Bit(tool.readAll()));
}

void XInput::click(QPoint at, int button, int repeat)
{
    run(moveTo(at) + QStringList{QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(repeat),
                                 QStringLiteral("--delay"), QStringLiteral("90"), QString::number(button)});
}

void XInput::press(QPoint at, int button)
{
    run(moveTo(at) + QStringList{QStringLiteral("mousedown"), QString::number(button)});
}

void XInput::release(QPoint at, int button)
{
    run(moveTo(at) + QStringList{QStringLiteral("mouseup"), QString::number(button)});
}

void XInput::longPress(QPoint at, int button)
{
    run(moveTo(at) + QStringList{QStringLiteral("mousedown"), QString::number(button),
                                 QStringLiteral("sleep"), QString::number(holdMs / 1000.0),
                                 QStringLiteral("mouseup"), QString::number(button)});
}

void XInput::drag(QPoint from, QPoint to, int button)
{
    QStringList arguments = moveTo(from);
    arguments << QStringLiteral("mousedown") << QString::number(button);
    constexpr int steps = 6;
    for (int step = 1; step <= steps; ++step)
        arguments << moveTo(from + (to - from) * step / steps);
    arguments << QStringLiteral("mouseup") << QString::number(button);
    run(arguments);
}

void XInput::key(const QString& combination)
{
    run({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), combination});
}

} // namespace quindle::systemtest
