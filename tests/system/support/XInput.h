#pragma once

#include <QPoint>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quindle::systemtest {

// Real input through the X server's test extension, as a touch screen or a keyboard would
// give it, sent with xdotool. Every call returns once xdotool has handed its events to the
// server. Positions are screen pixels.
class XInput
{
public:
    explicit XInput(QProcessEnvironment environment) : m_environment(std::move(environment)) {}

    // button: 1 left, 2 middle, 3 right.
    void click(QPoint at, int button = 1, int repeat = 1);
    // The button held down long enough for any press-and-hold to count.
    void longPress(QPoint at, int button = 1);
    // Pressed at one place, moved across the screen in steps, released at another.
    void drag(QPoint from, QPoint to, int button = 1);
    // A key combination in xdotool's words: "alt+F4", "Escape", "ctrl+w".
    void key(const QString& combination);

    // The last xdotool failure, empty when all went well.
    QString problem() const { return m_problem; }

    static constexpr int holdMs = 1100;

private:
    // Runs xdotool with the words of the command.
    void run(const QString& command);

    QProcessEnvironment m_environment;
    QString m_problem;
};

} // namespace quindle::systemtest
