#include "attract/Attract.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

namespace quindle {

namespace {

// A countdown that ran out while attract mode is off starts again from here.
constexpr std::int16_t idleRestart = 60;

} // namespace

Attract::Attract(const KioskContext& kiosk, Browsing& browsing, QString kioskFolder)
    : m_kiosk(kiosk), m_browsing(browsing), m_kioskFolder(std::move(kioskFolder))
{
}

void Attract::connectControls()
{
    connect(m_kiosk.controls.attractPic, &PictureControl::pressed, this, [this] { leaveAttractMode(); });
}

void Attract::firstIdleValues()
{
    if (!m_kiosk.settings.attractEnabled)
        return;
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    m_slideIndex = 0;
}

bool Attract::attractShown() const
{
    return m_kiosk.controls.attractPic->isVisible();
}

void Attract::tick()
{
    if (checkRebootSchedule())
        return;
    sendSignsOfLife();
    m_kiosk.state.countDown();
    if (m_kiosk.state.idleCountdown > 0)
        return;
    if (!m_kiosk.settings.attractEnabled) {
        m_kiosk.state.idleCountdown = idleRestart;
        return;
    }
    if (m_kiosk.controls.keyboardFrame->isVisible()) {
        m_kiosk.controls.keyboardFrame->hide();
        yieldToScreen();
    }
    m_kiosk.log.logEvent(trackingText(TrackingEvent::EnterAttract));
    m_kiosk.state.idleCountdown = m_kiosk.settings.slideSeconds;
    showNextSlide();
}

// Slides run in the Attract folder's name order and start again after the last. Without a
// picture there nothing is shown and the position stays at the first.
void Attract::showNextSlide()
{
    const QString folder = resolveCaseless(m_kioskFolder, QStringLiteral("Attract"));
    const QStringList slides = FolderListing::listFiles(folder, QStringLiteral("*.jpg"));
    if (slides.isEmpty()) {
        m_slideIndex = 0;
        return;
    }
    if (m_slideIndex >= slides.size())
        m_slideIndex = 0;
    PictureControl& slide = *m_kiosk.controls.attractPic;
    if (!slide.isVisible())
        slide.setGeometry(m_kiosk.controls.window->rect());
    slide.setPicturePath(joinPath(folder, slides.at(m_slideIndex)));
    m_slideIndex = m_slideIndex >= slides.size() - 1 ? 0 : m_slideIndex + 1;
    if (slide.isVisible())
        return;
    slide.move(0, 0);
    slide.show();
    slide.raise();
}

void Attract::leaveAttractMode()
{
    m_kiosk.state.resetIdle(m_kiosk.settings.idleTimeout);
    m_kiosk.log.logEvent(trackingText(TrackingEvent::ExitAttract));
    if (m_browsing.detailOpen())
        m_browsing.bigPicturePress();
    m_kiosk.controls.attractPic->hide();
    m_kiosk.catalogue.setCurrentCategory(m_kiosk.settings.menuEntries.at(1).folder);
    m_kiosk.catalogue.scanPictures(ScanKind::Category);
    m_kiosk.state.pageStart = 0;
    m_browsing.showThumbnailPage();
}

} // namespace quindle
