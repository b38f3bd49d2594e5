#include "system/lockdown/LockdownSession.h"

#include <QDir>
#include <iostream>

using namespace quindle::systemtest;

namespace {

class AttractLockdown : public LockdownSession
{
protected:
    void SetUp() override
    {
        LockdownSession::SetUp();
        if (HasFatalFailure())
            return;
        // The slideshow comes two seconds after the last touch and stays on its first slide.
        ASSERT_TRUE(kiosk->setSetting(QStringLiteral("timeout"), QStringLiteral("2")));
        ASSERT_TRUE(kiosk->setSetting(QStringLiteral("attractTimer"), QStringLiteral("600")));
    }

    void waitForSlideshow()
    {
        const QDir slides(QDir(kiosk->kioskFolder()).filePath(QStringLiteral("Attract")));
        const QString first = slides.filePath(QStringLiteral("Slide 1.jpg"));
        const QString second = slides.filePath(QStringLiteral("Slide 2.jpg"));
        ASSERT_TRUE(ScreenCheck::waitFor(
            [&] { return screen->showsSlide(first, second) || screen->showsSlide(second, first); }, 30'000));
    }
};

} // namespace

TEST_F(AttractLockdown, NoKeyOrGestureOnTheSlideshowLeavesTheKiosk)
{
    startKiosk();
    waitForSlideshow();
    for (const QString& key : escapeKeys()) {
        input.key(key);
        expectLockedIn(key + QStringLiteral(" on the slideshow"));
    }
    // Keys are no touch: the slideshow is still up.
    waitForSlideshow();

    const QPoint at = kiosk->window().center();
    const QPoint corner = kiosk->window().bottomRight() - QPoint(4, 4);
    const struct
    {
        QString name;
        std::function<void()> act;
    } gestures[] = {
        {QStringLiteral("right click"),
         [&] {
             input.click(at, 3);
         }},
        {QStringLiteral("long press"),
         [&] {
             input.longPress(at);
         }},
        {QStringLiteral("double tap"),
         [&] {
             input.click(at, 1, 2);
         }},
        {QStringLiteral("triple tap"),
         [&] {
             input.click(at, 1, 3);
         }},
        {QStringLiteral("drag"),
         [&] {
             input.drag(at, corner);
         }},
    };
    for (const auto& gesture : gestures) {
        waitForSlideshow();
        gesture.act();
        expectLockedIn(gesture.name + QStringLiteral(" on the slideshow"));
    }
    std::cout << "Lock-down attempts: " << attempts << '\n';
    EXPECT_EQ(0, endKiosk());
    EXPECT_EQ(static_cast<qsizetype>(std::size(gestures)),
              log->events().count(QStringLiteral("Exit Attract Mode")))
        << "every touch on a slide ends the slideshow, and nothing else";
}
