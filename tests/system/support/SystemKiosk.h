#pragma once

#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <QRect>
#include <QStringList>

namespace quindle::systemtest {

// A generated kiosk folder for the built program, with small pictures so that it is written
// quickly, and where everything lies on its screen. Screen positions assume the window at
// windowOrigin (the kiosk centres its window on the screen).
class SystemKiosk
{
public:
    // Writes the program folder into folder. problem() says what failed.
    explicit SystemKiosk(const QString& folder);

    QString problem() const { return m_problem; }
    QString programFolder() const { return m_options.outputFolder; }
    QString kioskFolder() const { return m_options.outputFolder + QLatin1Char('/') + m_options.kioskName; }
    QString interfacePicture(const QString& name) const { return kioskFolder() + "/Interface/" + name; }
    // Replaces the value of a settings statement.
    bool setSetting(const QString& key, const QString& value);

    // Category folders in menu order (index 0 is menu button 1).
    QStringList categoryFolders() const;
    // The pictures of a category as the kiosk lists them: full paths, by name ignoring case.
    QStringList pictures(int category) const;
    // Every picture whose name holds the text, in the order of the kiosk's search.
    QStringList searchHits(const QString& text) const;
    // What a thumbnail slot shows for a picture: its "_" copy, else the picture itself.
    static QString thumbnailOf(const QString& picture);
    static QString fileNameOf(const QString& picture) { return picture.section(QLatin1Char('/'), -1); }

    // The kiosk's tracking logs, read with Python's csv module so that every record is taken as any
    // CSV reader would take it, not as the kiosk meant it: every record of every file, files in name
    // order. A log that the reader refuses fails the test.
    QList<QStringList> logRecords() const;
    // The first field of every record.
    QStringList logEvents() const;
    QStringList logFileNames() const;

    void setWindowOrigin(QPoint origin) { m_origin = origin; }
    QPoint windowOrigin() const { return m_origin; }

    // Screen rectangles and touch points.
    QRect window() const { return QRect(m_origin, m_options.screenSize); }
    QRect slot(int number) const; // 1 to the slots of a page
    int slotsPerPage() const { return m_layout.gridColumns * m_layout.gridRows; }
    int captionHeight() const { return m_layout.captionHeight; }
    QRect detailFrame() const { return m_layout.detailView.translated(m_origin); }
    QRect menuButton(int number) const { return m_layout.menuButtons.value(number - 1).translated(m_origin); }
    QRect previousButton() const { return m_layout.previousButton.translated(m_origin); }
    QRect closeButton() const { return m_layout.closeButton.translated(m_origin); }
    QRect printButton() const { return m_layout.printButton.translated(m_origin); }
    QRect nextButton() const { return m_layout.nextButton.translated(m_origin); }
    QRect lookupButton() const { return m_layout.lookupButton.translated(m_origin); }
    QRect keyPicture() const { return QRect(m_layout.keyboardTopLeft + m_origin, m_layout.keyboard); }
    QPoint keyCentre(QChar key) const;
    QRect keyboardButton(int element) const; // 0 cancel, 1 clear, 2 space, 3 search
    // A point of the bare backdrop, far from every control.
    QPoint bareBackdrop() const;

private:
    demo::DemoKioskOptions m_options;
    demo::DemoKioskLayout m_layout;
    QPoint m_origin;
    QString m_problem;
};

} // namespace quindle::systemtest
