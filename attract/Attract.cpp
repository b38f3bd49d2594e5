#include "attract/Attract.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FolderListing.h"
#include "lookup/Lookup.h"
#include "platform/FileSystem.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"

namespace quindle {

Attract::Attract(const KioskContext& kiosk, Browsing& browsing, Lookup& lookup, QString kioskFolder)
    : m_kiosk(kiosk), m_browsing(browsing), m_lookup(lookup), m_kioskFolder(std::move(kioskFolder))
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
    m_kiosk.resetIdle();
    m_slideIndex = 0;
}

Navigation::IdleStep Attract::countDown()
{
    const Navigation::IdleStep step = m_kiosk.navigation.countDown(m_kiosk.settings.attractEnabled);
    if (step != Navigation::IdleStep::NextSlide)
        return step;
    if (m_kiosk.navigation.keyboardOpen()) {
        m_lookup.closeKeyboard();
        yieldToScreen();
    }
    m_kiosk.log.logEvent(trackingText(TrackingEvent::EnterAttract));
    m_kiosk.navigation.setIdleCountdown(m_kiosk.settings.slideSeconds);
    showNextSlide();
    return step;
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
    // A slide covers the whole window, whatever its own size: the picture is centred on
    // black, and a slide that cannot be read is black. Nothing of the kiosk shows around
    // it, so every touch lands on the slideshow.
    PictureControl& slide = *m_kiosk.controls.attractPic;
    slide.setGeometry(m_kiosk.controls.window->rect());
    slide.setPicturePath(joinPath(folder, slides.at(m_slideIndex)));
    m_slideIndex = m_slideIndex >= slides.size() - 1 ? 0 : m_slideIndex + 1;
    if (m_kiosk.navigation.slideshowShown())
        return;
    m_kiosk.navigation.setSlideshowShown(true);
    slide.show();
    slide.raise();
}

void Attract::leaveAttractMode()
{
    m_kiosk.resetIdle();
    m_kiosk.log.logEvent(trackingText(TrackingEvent::ExitAttract));
    if (m_kiosk.navigation.detailOpen())
        m_browsing.bigPicturePress();
    m_kiosk.controls.attractPic->hide();
    m_kiosk.navigation.setSlideshowShown(false);
    m_browsing.openCategory(1);
}

} // namespace quindle
