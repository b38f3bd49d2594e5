#pragma once

#include "platform/KioskControls.h"
#include "platform/Services.h"
#include "settings/KioskSettings.h"

#include "screens/KioskState.h"

#include <QString>
#include <QWidget>
#include <memory>

namespace quindle {

class Browsing;
class Catalogue;
class TrackingLog;

// The kiosk's one window: it owns the settings record, the controls and the parts of the
// kiosk, and runs the start-up in its fixed order before it is first shown.
class KioskWindow : public QWidget
{
    Q_OBJECT

public:
    KioskWindow(QString programFolder, const Services& services);
    ~KioskWindow() override;

    // Builds the whole kiosk from its settings. Ends the program itself on a fault.
    void startKiosk();

    const KioskSettings& settings() const { return m_settings; }
    const KioskControls& controls() const { return m_controls; }
    int thumbsPerPage() const { return m_state.thumbsPerPage; }
    const KioskState& state() const { return m_state; }
    Catalogue& catalogue() { return *m_catalogue; }
    TrackingLog& trackingLog() { return *m_log; }
    Browsing& browsing() { return *m_browsing; }
    QString programFolder() const { return m_programFolder; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void readSettings();
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

    QString m_programFolder;
    Services m_services;
    KioskSettings m_settings;
    KioskControls m_controls;
    KioskState m_state;
    std::unique_ptr<TrackingLog> m_log;
    std::unique_ptr<Catalogue> m_catalogue;
    std::unique_ptr<Browsing> m_browsing;
};

// Turns every underscore of a menu caption into a line break.
QString menuCaptionText(const QString& caption);

} // namespace quindle
