#pragma once

#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/DemoKioskOptions.h"

#include <QRect>
#include <QStringList>

namespace quindle::systemtest {

// A generated kiosk folder for the built program, with small pictures so that it is written
// quickly, and where everything lies on its screen: the kiosk draws its backdrop scaled to fit the
// screen, centred, and a backdrop pixel lies where that scale and origin put it.
class SystemKiosk
{
public:
    // Writes the program folder into folder. problem() says what failed.
    explicit SystemKiosk(const QString& folder, QSize backdrop = QSize(1920, 1080));

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

    // The tracking logs of a program folder, read with Python's csv module so that every record is
    // taken as any CSV reader would take it, not as the kiosk meant it: every record of every file,
    // files in name order. A log that the reader refuses fails the test.
    static QList<QStringList> logRecords(const QString& programFolder);
    QList<QStringList> logRecords() const { return logRecords(programFolder()); }
    // The first field of every record.
    static QStringList logEvents(const QString& programFolder);
    QStringList logEvents() const { return logEvents(programFolder()); }
    QStringList logFileNames() const;

    // The kiosk's window covers the screen area.
    void fitTo(const QRect& screen);
    double scale() const { return m_scale; }
    QPoint onScreen(QPoint backdrop) const;
    QRect onScreen(const QRect& backdrop) const;

    // Screen rectangles and touch points. The window is where the backdrop is drawn.
    QRect window() const { return onScreen(QRect(QPoint(0, 0), m_options.screenSize)); }
    QRect slot(int number) const; // 1 to the slots of a page
    int slotsPerPage() const { return m_layout.gridColumns * m_layout.gridRows; }
    int captionHeight() const { return qRound(m_layout.captionHeight * m_scale); }
    QRect detailFrame() const { return onScreen(m_layout.detailView); }
    QRect menuButton(int number) const { return onScreen(m_layout.menuButtons.value(number - 1)); }
    QRect closeButton() const { return onScreen(m_layout.closeButton); }
    QRect printButton() const { return onScreen(m_layout.printButton); }
    QRect nextButton() const { return onScreen(m_layout.nextButton); }
    QRect lookupButton() const { return onScreen(m_layout.lookupButton); }
    QRect keyPicture() const { return onScreen(QRect(m_layout.keyboardTopLeft, m_layout.keyboard)); }
    QPoint keyCentre(QChar key) const;
    QRect keyboardButton(int element) const; // 0 cancel, 1 clear, 2 space, 3 search
    // A point of the bare backdrop, far from every control.
    QPoint bareBackdrop() const;

private:
    demo::DemoKioskOptions m_options;
    demo::DemoKioskLayout m_layout;
    QPoint m_origin;
    double m_scale = 1.0;
    QString m_problem;
};

} // namespace quindle::systemtest
