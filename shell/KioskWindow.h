#pragma once

#include "controls/KioskControls.h"
#include "controls/PictureDecoder.h"
#include "platform/Services.h"
#include "settings/KioskSettings.h"

#include "screens/Navigation.h"
#include "shell/KioskMessages.h"
#include "shell/MachineServices.h"

#include <QString>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace quindle {

class Attract;
class Browsing;
class Catalogue;
class KioskMetrics;
class Lookup;
class PagePrefetch;
class ScheduledReboot;
class TerminationSignals;
class TrackingLog;
class Watchdog;

// The kiosk's one window: it owns the settings record, the controls and the parts of the
// kiosk, and runs the start-up in its fixed order before it is first shown.
class KioskWindow : public QWidget
{
    Q_OBJECT

public:
    KioskWindow(QString programFolder, const Services& services, const MachineServices& machine);
    ~KioskWindow() override;

    // Where the kiosk's figures go for node_exporter's textfile collector; set before the
    // start-up. Without a file the figures are counted and never written.
    void setMetricsFile(const QString& path) { m_metricsFile = path; }

    // The owner's preview builds the same screens but leaves everything beyond the window
    // alone: no tracking line, no hang marker set aside, and the window never activates
    // (no watchdog, no tick, no restart).
    enum class StartMode { Kiosk, Preview };

    // Builds the whole kiosk from its settings. Ends the program itself on a fault.
    void startKiosk(StartMode mode = StartMode::Kiosk);

    // The first activation, once the window is on screen, arms the watchdog, starts the
    // one-second timer and hides the pointer; later activations do nothing.
    void activateKiosk();

    // The one-second tick: the restart schedule, the signs of life to the watchdog card and
    // the service manager, then the idle countdown with the slideshow. The first two go on
    // while a message box is open; the countdown holds still until it is closed.
    void tick();

    // The operator's exit: the release of a right-button press on the bare backdrop or on a
    // bar beside it, wherever the finger is lifted.
    void operatorExit(int button);

    // A termination signal: the buffered log lines are written, then the program ends.
    void endBySignal();

    const KioskSettings& settings() const { return m_settings; }
    const KioskControls& controls() const { return m_controls; }
    const Navigation& navigation() const { return m_navigation; }
    Catalogue& catalogue() { return *m_catalogue; }
    TrackingLog& trackingLog() { return *m_log; }
    Browsing& browsing() { return *m_browsing; }
    Lookup& lookup() { return *m_lookup; }
    Attract& attract() { return *m_attract; }
    KioskMetrics& metrics() { return *m_metrics; }
    QTimer& timer() { return *m_timer; }
    PictureDecoder& pictureDecoder() { return m_pictureDecoder; }
    QString programFolder() const { return m_programFolder; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void readSettings();
    void composeParts();
    void composeMetrics();
    void applyPlacements();
    void checkInterfaceFolder();
    void setHangMarkerAside();
    void logStart();
    void sizeWindow();
    void buildMenuButtons();
    void buildThumbnailSlots();
    void buildFileNameCaptions();
    void prepareControlButtons();
    void buildKeyLegends();
    void loadClickSound();
    void openFirstCategory();

    QString requireInterfacePicture(const QString& fileName) const;
    void connectControls();
    void sendSignsOfLife();
    void watchForContentUpdate(Navigation::IdleStep step);
    void endForContentUpdate();
    void updatePrintButton();
    void printPress();

    QString m_programFolder;
    KioskMessages m_messages;
    Services m_services;
    MachineServices m_machine;
    KioskSettings m_settings;
    // Before the controls: every picture control decodes through it.
    PictureDecoder m_pictureDecoder;
    KioskControls m_controls;
    Navigation m_navigation;
    // The ".prn" file of the picture in the detail view, when it has one.
    QString m_printFile;
    std::unique_ptr<TrackingLog> m_log;
    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<Browsing> m_browsing;
    std::unique_ptr<PagePrefetch> m_pagePrefetch;
    std::unique_ptr<Lookup> m_lookup;
    std::unique_ptr<Attract> m_attract;
    std::unique_ptr<ScheduledReboot> m_reboot;
    std::unique_ptr<Watchdog> m_watchdog;
    std::unique_ptr<TerminationSignals> m_signals;
    QString m_metricsFile;
    // Last, so that it goes first: a write still running ends before the parts it read go.
    std::unique_ptr<KioskMetrics> m_metrics;
    QTimer* m_timer = nullptr;
    bool m_activated = false;
    int m_ticksSincePointerRead = 0;
    bool m_contentUpdateWaiting = false;
};

} // namespace quindle
