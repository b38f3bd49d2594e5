#include "system/support/KioskSession.h"

using namespace quindle::systemtest;

namespace {

enum class ExitOn { Backdrop, Bar };

// A kiosk folder made for a 1024×768 screen, on a screen of another size: the scale and the
// top-left corner where the kiosk draws its backdrop, and where the operator ends it.
struct Fit
{
    QSize screen;
    double scale;
    QPoint origin;
    ExitOn exitOn;
};

const Fit fits[] = {
    {{800, 600}, 0.78125, {0, 0}, ExitOn::Backdrop},
    {{1280, 720}, 0.9375, {160, 0}, ExitOn::Bar},
    {{1920, 1080}, 1.40625, {240, 0}, ExitOn::Backdrop},
    {{3840, 2160}, 2.8125, {480, 0}, ExitOn::Bar},
};

void PrintTo(const Fit& fit, std::ostream* out)
{
    *out << fit.screen.width() << 'x' << fit.screen.height();
}

class ScreenFit : public KioskSession, public testing::WithParamInterface<Fit>
{
protected:
    ScreenFit() : KioskSession(GetParam().screen, QSize(1024, 768)) {}
};

} // namespace

TEST_P(ScreenFit, PicturesKeysAndTheOperatorsExitLieWhereTheScalePutsThem)
{
    const Fit& fit = GetParam();
    startKiosk();
    EXPECT_EQ(fit.scale, kiosk->scale());
    EXPECT_EQ(fit.origin, kiosk->window().topLeft());
    const QStringList pictures = kiosk->pictures(0);
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(pictures, 0); }));

    tap(kiosk->slot(1));
    ASSERT_TRUE(waitFor([&] { return screen->detailOpen() && screen->showsDetail(pictures.first()); }));
    tap(kiosk->closeButton());
    ASSERT_TRUE(waitFor([&] { return screen->detailClosed(); }));

    const QString word = SystemKiosk::fileNameOf(kiosk->pictures(1).first()).section(' ', -1).chopped(4);
    tap(kiosk->lookupButton());
    ASSERT_TRUE(waitFor([&] { return screen->keyboardShown(); }));
    for (const QChar key : word) {
        tap(kiosk->keyCentre(key));
        ASSERT_TRUE(process->settle());
    }
    tap(kiosk->keyboardButton(3));
    ASSERT_TRUE(waitFor([&] { return screen->showsPage(kiosk->searchHits(word), 0); })) << word.toStdString();

    const QPoint bar(fit.origin.x() / 2, fit.screen.height() / 2);
    server.click(fit.exitOn == ExitOn::Bar ? bar : kiosk->bareBackdrop(), 3);
    ASSERT_TRUE(process->waitForExit());
    EXPECT_EQ(0, process->exitCode());
    EXPECT_EQ(QStringList{QStringLiteral("Program Termination: User Right-Click")},
              kiosk->logEvents().filter(QStringLiteral("Termination")));
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenFit, testing::ValuesIn(fits));
