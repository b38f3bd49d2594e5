#pragma once

#include "fakes/FakeMachineServices.h"
#include "fakes/FakeServices.h"
#include "platform/Services.h"
#include "shell/KioskWindow.h"
#include "support/KioskFolder.h"

#include <QDate>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace quindle::test {

// A kiosk window on the offscreen platform with fake services, started on a kiosk folder,
// and real mouse input on its controls.
class KioskHarness
{
public:
    explicit KioskHarness(const KioskFolder& folder);
    ~KioskHarness();

    // Runs the start-up and shows the window. False when the start-up ended the program
    // (the message is in messages()).
    bool start();

    KioskWindow& window() { return *m_window; }
    const KioskControls& controls() const { return m_window->controls(); }
    FakeClock clock;
    FakeMessageBox messageBox;
    FakeProgramEnd programEnd;
    FakeClickSound sound;
    FakeMachine machine;

    // Presses (and releases) a control with a real mouse event at its centre (QTest's default) or at a point.
    static void press(QWidget* control) { QTest::mousePress(control, Qt::LeftButton); }
    static void release(QWidget* control) { QTest::mouseRelease(control, Qt::LeftButton); }
    static void click(QWidget* control, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(control, button);
    }
    static void clickAt(QWidget* control, QPoint position, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(control, button, {}, position);
    }

    // The file name (without folder) that a picture control shows, "" for none.
    static QString shownFile(const PictureControl* control);
    // The tracking lines written so far for the fake clock's day, each without its time stamp.
    // Writes the buffered lines first.
    QStringList loggedEvents();

private:
    const KioskFolder& m_folder;
    Services m_services;
    std::unique_ptr<KioskWindow> m_window;
};

// The fixture of the window tests: the standard kiosk with a click sound, and a harness on it that a test
// starts once it has changed the folder or the fakes as it needs.
class KioskTest : public testing::Test
{
protected:
    KioskTest()
    {
        folder.writeStandardKiosk();
        folder.temp().write(QStringLiteral("click.wav"), "RIFF");
    }

    // Starts the kiosk, with extra settings after the standard ones if any.
    void start(const QStringList& extraSettings = {})
    {
        if (!extraSettings.isEmpty())
            folder.writeSettings(KioskFolder::standardSettings() + extraSettings);
        ASSERT_TRUE(kiosk.start()) << kiosk.messageBox.messages.join(QLatin1Char('|')).toStdString();
    }
    const KioskControls& controls() const { return kiosk.controls(); }
    // Seconds as the one-second timer would give them: the clock moves on before each tick.
    void ticks(int count)
    {
        for (int i = 0; i < count; ++i) {
            kiosk.clock.advance(std::chrono::seconds(1));
            kiosk.window().tick();
        }
    }

    KioskFolder folder;
    KioskHarness kiosk{folder};
};

} // namespace quindle::test
