#include "shell/KioskWindow.h"

#include "attract/Attract.h"
#include "catalogue/Catalogue.h"
#include "controls/PictureDecoder.h"
#include "controls/ScreenFit.h"
#include "lookup/Lookup.h"
#include "metrics/KioskMetrics.h"
#include "platform/ClickSound.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "platform/Yield.h"
#include "printing/PrintButton.h"
#include "printing/PrintPress.h"
#include "screens/Browsing.h"
#include "screens/PagePrefetch.h"
#include "settings/SettingsMessages.h"
#include "settings/SettingsReader.h"
#include "tracking/TerminationSignals.h"
#include "tracking/TrackingEvents.h"
#include "tracking/TrackingLog.h"
#include "unattended/ScheduledReboot.h"
#include "unattended/ServiceNotifier.h"
#include "unattended/Watchdog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWindow>

namespace quindle {

namespace {

void applyTextStyle(LabelControl& label, const TextStyle& style)
{
    label.setCaptionFont(style.fontName, style.pointSize, style.bold, style.italic);
    label.setForeColor(colourFromSettings(style.colour));
}

} // namespace

KioskWindow::KioskWindow(QString programFolder, const Services& services, const MachineServices& machine)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_programFolder(std::move(programFolder)),
      m_messages(services.messages), m_services{services.clock, m_messages, services.programEnd,
                                                services.sound},
      m_machine(machine)
{
    setWindowTitle(QStringLiteral("Quindle"));
    setContextMenuPolicy(Qt::NoContextMenu);
    setFocusPolicy(Qt::StrongFocus);
    m_controls = KioskControls::create(this, m_pictureDecoder);
    // Until the settings name a backdrop, the window has the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->size());
}

KioskWindow::~KioskWindow() = default;

void KioskWindow::startKiosk(StartMode mode)
{
    readSettings();
    if (mode == StartMode::Preview) {
        m_settings.trackingMode = TrackingMode::None;
        m_activated = true;
    }
    composeParts();
    applyPlacements();
    checkInterfaceFolder();
    if (mode == StartMode::Kiosk)
        setHangMarkerAside();
    logStart();
    sizeWindow();
    m_navigation.setThumbsPerPage(m_settings.gridRows * m_settings.gridColumns);
    buildMenuButtons();
    buildThumbnailSlots();
    m_controls.bigPicture->setPictureFit(PictureFit::Inside);
    buildFileNameCaptions();
    prepareControlButtons();
    buildKeyLegends();
    loadClickSound();
    openFirstCategory();
}

void KioskWindow::readSettings()
{
    SettingsResult result = SettingsReader(m_programFolder).read();
    if (!result.ok())
        m_services.endWithMessage(result.message);
    m_settings = std::move(*result.settings);
}

// The parts of the kiosk, made once the settings are known and connected here, in the one
// place that knows them all.
void KioskWindow::composeParts()
{
    m_log = std::make_unique<TrackingLog>(m_services.clock, m_programFolder, m_settings.trackingMode);
    const QString& kioskFolder = m_settings.kioskFolderPath;
    m_catalogue = std::make_unique<Catalogue>(kioskFolder, m_services.messages, m_services.programEnd);
    const KioskContext kiosk{m_settings, m_controls, m_navigation,    *m_catalogue,
                             *m_log,     m_services, m_pictureDecoder};
    m_browsing = std::make_unique<Browsing>(kiosk, m_programFolder);
    m_pagePrefetch = std::make_unique<PagePrefetch>(kiosk);
    connect(m_browsing.get(), &Browsing::pageFilled, m_pagePrefetch.get(), &PagePrefetch::prefetchNeighbours);
    m_lookup = std::make_unique<Lookup>(kiosk, *m_browsing);
    m_attract = std::make_unique<Attract>(kiosk, *m_browsing, *m_lookup, kioskFolder);
    connect(m_browsing.get(), &Browsing::detailPictureShown, this, &KioskWindow::updatePrintButton);
    connect(m_browsing.get(), &Browsing::printPressed, this, &KioskWindow::printPress);
    connect(m_browsing.get(), &Browsing::lookupPressed, m_lookup.get(), &Lookup::openKeyboard);
    const auto logEvent = [this](const QString& text) {
        m_log->logEvent(text);
    };
    m_reboot = std::make_unique<ScheduledReboot>(m_settings.rebootTimes, m_services.clock, m_machine.restart,
                                                 m_services.messages, logEvent);
    m_watchdog = std::make_unique<Watchdog>(m_settings.watchdogEnabled, m_programFolder,
                                            m_machine.watchdogLibrary, m_services.messages);
    // A system shutdown or a stop of the service ends the kiosk like any program, but the
    // visitors' actions still waiting in the log's buffer are written first.
    m_signals = std::make_unique<TerminationSignals>([this](int) { endBySignal(); });
    composeMetrics();
}

// The figures follow the parts' events; the gauges are read off the parts at each write.
void KioskWindow::composeMetrics()
{
    KioskMetrics::Sources sources;
    sources.readFigures = [this](KioskFigures& figures) {
        figures.kioskFolder = m_settings.kioskFolderPath;
        figures.categories = m_settings.menuEntryCount();
        figures.trackingLinesWaiting = m_log->waitingLines();
        figures.trackingWriteFailures = m_log->failedWrites();
        figures.undecodablePictures = m_pictureDecoder.failureCount();
    };
    QStringList categories;
    for (int n = 1; n <= m_settings.menuEntryCount(); ++n)
        categories << m_settings.menuEntries[static_cast<size_t>(n)].folder;
    sources.countPictures = [kioskFolder = m_settings.kioskFolderPath, categories] {
        std::int64_t pictures = 0;
        for (const QString& category : categories)
            pictures += Catalogue::countPictures(resolveCaseless(kioskFolder, category));
        return pictures;
    };
    m_metrics = std::make_unique<KioskMetrics>(m_services.clock, m_metricsFile, std::move(sources));
    connect(m_log.get(), &TrackingLog::eventLogged, m_metrics.get(),
            [this](const QString& text) { m_metrics->countEvent(text, m_navigation.detailOpen()); });
    connect(m_browsing.get(), &Browsing::detailPictureShown, m_metrics.get(), &KioskMetrics::countDetailView);
    connect(m_lookup.get(), &Lookup::searched, m_metrics.get(), &KioskMetrics::countSearch);
    connect(&m_messages, &KioskMessages::messageRaised, m_metrics.get(), &KioskMetrics::countMessage);
}

// The statements place controls as they are read; the record holds what they said and
// the placements are made here, before anything is shown.
void KioskWindow::applyPlacements()
{
    if (!m_settings.backdropPath.isEmpty())
        m_controls.backdrop->setPicturePath(m_settings.backdropPath);
    for (int n = 1; n <= m_settings.menuEntryCount(); ++n) {
        const MenuEntry& entry = m_settings.menuEntries[static_cast<size_t>(n)];
        auto* button = new LabelControl(m_pictureDecoder, this);
        button->move(entry.position);
        applyTextStyle(*button, entry.style);
        m_controls.btnMenu.push_back(button);
    }
    for (int index = PrevButton; index <= LookupButton; ++index) {
        const ControlButtonPlacement& placement = m_settings.controlButtons[static_cast<size_t>(index)];
        if (!placement.configured)
            continue;
        auto* button = new LabelControl(m_pictureDecoder, this);
        button->move(placement.position);
        button->setCaption(placement.caption);
        applyTextStyle(*button, placement.style);
        m_controls.btnControl[static_cast<size_t>(index)] = button;
    }
    if (m_settings.detailView)
        m_controls.bigPicture->setGeometry(*m_settings.detailView);
    if (m_settings.keyboardPosition)
        m_controls.keyboard->move(*m_settings.keyboardPosition);
    if (m_settings.keyboardTextPosition)
        m_controls.txtSearch->move(*m_settings.keyboardTextPosition);
}

void KioskWindow::checkInterfaceFolder()
{
    if (!folderExists(m_settings.interfaceFolder))
        m_services.endWithMessage(missingInterfaceFolderMessage(m_settings.kioskFolder));
}

void KioskWindow::setHangMarkerAside()
{
    const QString marker = resolveCaseless(m_programFolder, QStringLiteral("hang.txt"));
    if (!fileExists(marker))
        return;
    // An older "hanggg.txt" is replaced: the marker only has to stop being "hang.txt".
    renameFile(marker, joinPath(m_programFolder, QStringLiteral("hanggg.txt")));
}

void KioskWindow::logStart()
{
    if (m_settings.trackingMode != TrackingMode::None)
        m_log->logEvent(trackingText(TrackingEvent::ProgramStarted));
}

void KioskWindow::sizeWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->geometry() : QRect(0, 0, 1920, 1080);
    QSize size = available.size();
    if (!m_settings.backdropPath.isEmpty()) {
        const QSize pictureSize = PictureDecoder::pixelSize(m_settings.backdropPath);
        if (pictureSize.isValid())
            size = pictureSize;
    }
    QRect geometry(QPoint(0, 0), size);
    geometry.moveCenter(available.center());
    setGeometry(geometry);
    // The backdrop carries the operator's exit, so it covers the whole window even when
    // its picture cannot be decoded.
    m_controls.backdrop->setGeometry(rect());
}

QString KioskWindow::requireInterfacePicture(const QString& fileName) const
{
    const QString path = interfacePicture(m_settings.interfaceFolder, fileName);
    if (!fileExists(path))
        m_services.endWithMessage(missingInterfacePictureMessage(fileName));
    return path;
}

void KioskWindow::buildMenuButtons()
{
    for (int n = 1; n <= m_settings.menuEntryCount(); ++n) {
        LabelControl* button = m_controls.btnMenu[static_cast<size_t>(n)];
        const QString face = requireInterfacePicture(QStringLiteral("btn%1.jpg").arg(n));
        button->resize(PictureDecoder::pixelSize(face).expandedTo(QSize(0, 0)));
        button->setPicturePath(face);
        const QString& caption = m_settings.menuEntries[static_cast<size_t>(n)].caption;
        if (!caption.isEmpty())
            button->setCaption(menuCaptionText(caption));
        button->show();
        button->raise();
    }
}

void KioskWindow::buildThumbnailSlots()
{
    QPoint cursor(m_settings.gridLeft, m_settings.gridTop);
    for (int i = 1; i <= m_navigation.thumbsPerPage(); ++i) {
        auto* slot = new PictureControl(m_pictureDecoder, this, PictureFit::Inside);
        slot->resize(m_settings.thumbWidth, m_settings.thumbHeight);
        slot->move(cursor);
        m_controls.btnThumbnail.push_back(slot);
        if (i % m_settings.gridColumns != 0) {
            cursor.rx() += m_settings.thumbWidth + m_settings.gridColumnGap;
            continue;
        }
        cursor.ry() += m_settings.thumbHeight + m_settings.gridRowGap;
        cursor.setX(m_settings.gridLeft);
    }
}

void KioskWindow::buildFileNameCaptions()
{
    if (!m_settings.showFileName)
        return;
    const FileNameCaptionStyle& look = m_settings.fileNameCaption;
    const bool onTop = look.positionWord.compare(QLatin1String("top"), Qt::CaseInsensitive) == 0;
    for (int i = 1; i <= m_navigation.thumbsPerPage(); ++i) {
        const PictureControl* slot = m_controls.btnThumbnail[static_cast<size_t>(i)];
        auto* caption = new LabelControl(m_pictureDecoder, this);
        applyTextStyle(*caption, look.style);
        caption->setBackgroundColor(colourFromSettings(look.background));
        caption->resize(slot->width(), look.height);
        const int top = onTop ? slot->y() : slot->y() + slot->height() - look.height;
        caption->move(slot->x(), top);
        caption->show();
        m_controls.lblFileName.push_back(caption);
    }
}

void KioskWindow::prepareControlButtons()
{
    m_browsing->prepareControlButtons();
}

void KioskWindow::buildKeyLegends()
{
    m_lookup->buildKeyLegends();
}

void KioskWindow::loadClickSound()
{
    const QString click = resolveCaseless(m_programFolder, QStringLiteral("click.wav"));
    if (fileExists(click))
        m_services.sound.setSource(click);
}

void KioskWindow::openFirstCategory()
{
    connectControls();
    m_browsing->openCategory(1);
}

void KioskWindow::connectControls()
{
    m_browsing->connectControls();
    m_lookup->connectControls();
    m_attract->connectControls();
    connect(m_controls.backdrop, &PictureControl::released, this,
            [this](int button) { operatorExit(button); });
}

void KioskWindow::updatePrintButton()
{
    const PrintButtonUpdate update =
        printButtonUpdate(m_settings.printingMode, m_controls.bigPicture->picturePath());
    if (!update.printFilePath.isEmpty())
        m_printFile = update.printFilePath;
    LabelControl* button = m_controls.btnControl[PrintButton];
    if (!update.changesButton || !button)
        return;
    setPicture(*button, m_settings.interfaceFolder, update.face);
    button->setEnabled(update.enabled);
}

void KioskWindow::printPress()
{
    LabelControl* button = m_controls.btnControl[PrintButton];
    const QString picture = m_navigation.detailPicture();
    PrintPressSteps steps;
    steps.showFace = [this, button](const QString& face) {
        setPicture(*button, m_settings.interfaceFolder, face);
    };
    steps.yieldToScreen = [] {
        yieldToScreen();
    };
    steps.logEvent = [this](const QString& text) {
        m_log->logEvent(text);
    };
    steps.print = [this, picture] {
        m_metrics->countPrint(printProduct(m_settings.printingMode, picture, m_printFile,
                                           pictureRectangle(m_settings), m_machine.spooler,
                                           m_services.messages));
    };
    runPrintPress(steps, m_settings.trackingMode, fileNameOf(picture));
}

void KioskWindow::activateKiosk()
{
    if (m_activated || !m_attract)
        return;
    m_activated = true;
    if (m_watchdog->isEnabled())
        m_watchdog->start();
    m_attract->firstIdleValues();
    m_timer = new QTimer(this);
    connect(m_timer, &QTimer::timeout, this, &KioskWindow::tick);
    m_timer->start(1000);
    if (m_settings.hideMouse)
        QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    if (QWindow* window = screenWindowOf(this)->windowHandle()) {
        window->installEventFilter(m_metrics.get());
        window->installEventFilter(m_pagePrefetch.get());
    }
    m_metrics->writeFirst();
    m_machine.serviceNotifier.notifyReady();
}

void KioskWindow::tick()
{
    m_messages.beginTickDuties();
    const bool restarting = m_reboot->checkRebootSchedule();
    if (!restarting)
        sendSignsOfLife();
    m_messages.endTickDuties();
    m_metrics->tick();
    if (restarting || m_messages.anyOpen())
        return;
    watchForContentUpdate(m_attract->countDown());
}

// Once a minute the pointer file is read again. When it names another kiosk folder, the
// kiosk ends at the first moment nobody is using it (the slideshow shows, or the idle
// countdown ran out) and the service manager starts it on the new folder; a
// visit is never cut short. A pointer that cannot be read, or names no folder, changes nothing.
void KioskWindow::watchForContentUpdate(Navigation::IdleStep step)
{
    constexpr int pointerReadTicks = 60;
    if (!m_contentUpdateWaiting && ++m_ticksSincePointerRead >= pointerReadTicks) {
        m_ticksSincePointerRead = 0;
        const std::optional<QString> pointed = pointedKioskFolder(m_programFolder);
        m_contentUpdateWaiting = pointed && *pointed != m_settings.kioskFolderPath;
    }
    // An attract mode without slides shows none, but its countdown has run out all the same.
    if (m_contentUpdateWaiting && (m_navigation.slideshowShown() || step != Navigation::IdleStep::Wait))
        endForContentUpdate();
}

void KioskWindow::endForContentUpdate()
{
    if (m_watchdog->isEnabled())
        m_watchdog->disable();
    // A termination text is written to the file at once, with whatever waits before it.
    m_log->logEvent(trackingText(TrackingEvent::ContentUpdate));
    m_log->flush();
    m_metrics->writeLast();
    m_services.programEnd.end(0);
}

void KioskWindow::sendSignsOfLife()
{
    m_machine.serviceNotifier.notifyAlive();
    if (m_watchdog->isEnabled())
        m_watchdog->tickle();
}

// The backdrop hears only of presses that land on it, not on a control over it, and
// every such press's release, wherever it happens.
void KioskWindow::operatorExit(int button)
{
    if (!(button & RightButton))
        return;
    if (m_watchdog->isEnabled())
        m_watchdog->disable();
    m_log->logEvent(trackingText(TrackingEvent::RightClick));
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
    m_metrics->writeLast();
    m_services.programEnd.end(0);
}

void KioskWindow::endBySignal()
{
    if (m_log)
        m_log->flush();
    if (m_metrics)
        m_metrics->writeLast();
    m_services.programEnd.end(0);
}

bool KioskWindow::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        activateKiosk();
    return QWidget::event(event);
}

void KioskWindow::closeEvent(QCloseEvent* event)
{
    // Only the operator's right-button release on the backdrop and the system's signals
    // end the kiosk; a close request from a window manager or a key is refused.
    event->ignore();
}

void KioskWindow::keyPressEvent(QKeyEvent* event)
{
    event->accept();
}

} // namespace quindle
