#include "attract/Attract.h"

#include "catalogue/Catalogue.h"
#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "tracking/TrackingLog.h"

namespace quindle {

namespace {

// A countdown that ran out while attract mode is off starts again from here.
constexpr std::int16_t idleRestart = 60;

} // namespace

Attract::Attract(const KioskSettings& settings, KioskControls& controls, KioskState& state,
                 Catalogue& catalogue, TrackingLog& log, Browsing& browsing, const Services& services,
                 QString kioskFolder)
    : m_settings(settings), m_controls(controls), m_state(state), m_catalogue(catalogue), m_log(log),
      m_browsing(browsing), m_services(services), m_kioskFolder(std::move(kioskFolder))
{
}

void Attract::connectControls()
{
    connect(m_controls.attractPic, &PictureControl::pressed, this, [this] { leaveAttractMode(); });
}

void Attract::firstIdleValues()
{
    if (!m_settings.attractEnabled)
        return;
    m_state.resetIdle(m_settings.idleTimeout);
    m_slideIndex = 0;
}

bool Attract::attractShown() const
{
    return m_controls.attractPic->isVisible();
}

void Attract::tick()
{
    if (checkRebootSchedule())
        return;
    tickleWatchdog();
    m_state.countDown();
    if (m_state.idleCountdown > 0)
        return;
    if (!m_settings.attractEnabled) {
        m_state.idleCountdown = idleRestart;
        return;
    }
    if (m_controls.keyboardFrame->isVisible()) {
        m_controls.keyboardFrame->hide();
        yieldToScreen();
    }
    m_log.logEvent(QStringLiteral("Enter Attract Mode"));
    m_state.idleCountdown = m_settings.slideSeconds;
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
    PictureControl& slide = *m_controls.attractPic;
    if (!slide.isVisible())
        slide.setGeometry(m_controls.window->rect());
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
    m_state.resetIdle(m_settings.idleTimeout);
    m_log.logEvent(QStringLiteral("Exit Attract Mode"));
    if (m_browsing.detailOpen())
        m_browsing.bigPicturePress();
    m_controls.attractPic->hide();
    m_catalogue.setCurrentCategory(m_settings.menuEntries.at(1).folder);
    m_catalogue.scanPictures(ScanKind::Category);
    m_state.pageStart = 0;
    m_browsing.showThumbnailPage();
}

} // namespace quindle
