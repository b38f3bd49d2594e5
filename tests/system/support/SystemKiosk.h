#pragma once

#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/DemoKioskOptions.h"
#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>

namespace quindle::systemtest {

// A generated kiosk folder for the built program, with small pictures so that it is written
// quickly, and where everything lies on its screen: the kiosk draws its backdrop scaled to fit the
// screen, centred, and a backdrop pixel lies where that scale and origin put it.
class SystemKiosk
{
public:
    // Writes the program folder into folder. problem() says what failed.
    explicit SystemKiosk(const QString& folder, QSize backdrop = QSize(1920, 1080))
    {
        m_options.outputFolder = folder;
        m_options.screenSize = backdrop;
        m_options.categoryCount = 3;
        m_options.minPicturesPerCategory = 14;
        m_options.maxPicturesPerCategory = 14;
        m_options.pictureSize = QSize(600, 450);
        m_options.thumbnailSize = QSize(240, 180);
        m_options.slideCount = 2;
        m_layout = demo::DemoKioskLayout::forOptions(m_options);
        m_problem = demo::DemoKioskGenerator(m_options).generate();
    }

    QString problem() const { return m_problem; }
    QString programFolder() const { return m_options.outputFolder; }
    QString kioskFolder() const { return m_options.outputFolder + QLatin1Char('/') + m_options.kioskName; }
    QString interfacePicture(const QString& name) const { return kioskFolder() + "/Interface/" + name; }
    // Replaces the value of a settings statement.
    bool setSetting(const QString& key, const QString& value)
    {
        QFile file(kioskFolder() + QStringLiteral("/quindle.ini"));
        file.open(QIODevice::ReadWrite);
        QString text = QString::fromUtf8(file.readAll());
        const QRegularExpression statement(QStringLiteral("(?mi)^ *%1 *=[^\r\n]*").arg(key));
        if (!text.contains(statement))
            return false;
        text.replace(statement, key + QStringLiteral(" = ") + value);
        return file.resize(0) && file.write(text.toUtf8()) > 0;
    }

    // Category folders in menu order (index 0 is menu button 1).
    QStringList categoryFolders() const
    {
        QStringList folders;
        const demo::ProductCatalogue catalogue(m_options);
        for (const demo::DemoCategory& category : catalogue.categories())
            folders << category.folder;
        return folders;
    }
    // The pictures of a category as the kiosk lists them: full paths, by name ignoring case.
    QStringList pictures(int category) const { return picturesIn(categoryFolders().value(category)); }
    // Every picture whose name holds the text, in the order of the kiosk's search: it looks through
    // the category folders by name, ignoring case.
    QStringList searchHits(const QString& text) const
    {
        QStringList folders = categoryFolders();
        folders.sort(Qt::CaseInsensitive);
        QStringList hits;
        for (const QString& folder : folders)
            hits << picturesIn(folder, text);
        return hits;
    }
    // What a thumbnail slot shows for a picture: its "_" copy, else the picture itself.
    static QString thumbnailOf(const QString& picture)
    {
        const QString thumbnail = picture.section(QLatin1Char('/'), 0, -2) + "/_" + fileNameOf(picture);
        return QFile::exists(thumbnail) ? thumbnail : picture;
    }
    static QString fileNameOf(const QString& picture) { return picture.section(QLatin1Char('/'), -1); }

    // The tracking logs of a program folder, read with Python's csv module so that every record is
    // taken as any CSV reader would take it, not as the kiosk meant it: every record of every file,
    // files in name order. A log that the reader refuses fails the test.
    static QList<QStringList> logRecords(const QString& programFolder)
    {
        // Prints the records of the CSV files named as arguments as one JSON list of lists of fields.
        QStringList arguments{"-c", "import csv, json, sys\n"
                                    "print(json.dumps([row for name in sys.argv[1:] for row in csv.reader("
                                    "open(name, newline='', encoding='utf-8'), strict=True)]))\n"};
        const QDir logs(programFolder + QStringLiteral("/log files"));
        for (const QString& name : logs.entryList({"*.csv"}, QDir::Files, QDir::Name))
            arguments << logs.filePath(name);
        QProcess python;
        python.start(QStringLiteral("python3"), arguments);
        if (!python.waitForFinished(30'000) || python.exitCode() != 0)
            ADD_FAILURE() << "python3's csv reader refused the logs: "
                          << python.readAllStandardError().toStdString();
        QList<QStringList> records;
        for (const QVariant& record :
             QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant().toList())
            records << record.toStringList();
        return records;
    }
    QList<QStringList> logRecords() const { return logRecords(programFolder()); }
    // The first field of every record.
    static QStringList logEvents(const QString& programFolder)
    {
        QStringList events;
        for (const QStringList& record : logRecords(programFolder))
            events << record.value(0);
        return events;
    }
    QStringList logEvents() const { return logEvents(programFolder()); }

    // The kiosk's window covers the screen area.
    void fitTo(const QRect& screen)
    {
        const QSize backdrop = m_options.screenSize;
        m_scale = std::min(static_cast<double>(screen.width()) / backdrop.width(),
                           static_cast<double>(screen.height()) / backdrop.height());
        const QSize drawn = (QSizeF(backdrop) * m_scale).toSize();
        m_origin = screen.topLeft() +
                   QPoint((screen.width() - drawn.width()) / 2, (screen.height() - drawn.height()) / 2);
    }
    double scale() const { return m_scale; }
    QPoint onScreen(QPoint backdrop) const { return m_origin + (QPointF(backdrop) * m_scale).toPoint(); }
    QRect onScreen(const QRect& backdrop) const
    {
        return QRect(onScreen(backdrop.topLeft()),
                     onScreen(backdrop.topLeft() + QPoint(backdrop.width(), backdrop.height())) -
                         QPoint(1, 1));
    }

    // Screen rectangles and touch points. The window is where the backdrop is drawn.
    QRect window() const { return onScreen(QRect(QPoint(0, 0), m_options.screenSize)); }
    // number: 1 to the slots of a page.
    QRect slot(int number) const
    {
        const QPoint step(m_layout.thumbnail.width() + m_layout.gridColumnGap,
                          m_layout.thumbnail.height() + m_layout.gridRowGap);
        const QPoint cell((number - 1) % m_layout.gridColumns, (number - 1) / m_layout.gridColumns);
        return onScreen(QRect(m_layout.gridTopLeft + QPoint(cell.x() * step.x(), cell.y() * step.y()),
                              m_layout.thumbnail));
    }
    int slotsPerPage() const { return m_layout.gridColumns * m_layout.gridRows; }
    int captionHeight() const { return qRound(m_layout.captionHeight * m_scale); }
    QRect detailFrame() const { return onScreen(m_layout.detailView); }
    QRect menuButton(int number) const { return onScreen(m_layout.menuButtons.value(number - 1)); }
    QRect closeButton() const { return onScreen(m_layout.closeButton); }
    QRect printButton() const { return onScreen(m_layout.printButton); }
    QRect nextButton() const { return onScreen(m_layout.nextButton); }
    QRect lookupButton() const { return onScreen(m_layout.lookupButton); }
    QRect keyPicture() const { return onScreen(QRect(m_layout.keyboardTopLeft, m_layout.keyboard)); }
    // The keys lie in rows of ten cells of 66 pixels, in the order of their legends.
    QPoint keyCentre(QChar key) const
    {
        const auto index =
            static_cast<int>(QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-").indexOf(key.toUpper()));
        return onScreen(m_layout.keyboardTopLeft + QPoint(index % 10 * 66 + 33, index / 10 * 66 + 33));
    }
    // 0 cancel, 1 clear, 2 space, 3 search: the kiosk puts them at the keyboard frame's foot.
    QRect keyboardButton(int element) const
    {
        const int top = m_layout.keyboardFrame.height() - m_layout.keyboardButtonHeight;
        return onScreen(
            QRect(QPoint(m_layout.keyboardButtonLefts.value(element), top),
                  QSize(m_layout.keyboardButtonWidths.value(element), m_layout.keyboardButtonHeight)));
    }
    // A point of the bare backdrop, far from every control: between the last menu button and the
    // lookup button, left of the panel.
    QPoint bareBackdrop() const
    {
        const QRect lastMenu = m_layout.menuButtons.last();
        return onScreen(QPoint(lastMenu.center().x(), (lastMenu.bottom() + m_layout.lookupButton.top()) / 2));
    }

private:
    // The kiosk's own listing of a category folder: the pattern's letters and the name order both
    // ignore case, and a name with "_" is a thumbnail.
    QStringList picturesIn(const QString& folder, const QString& text = {}) const
    {
        const QDir dir(kioskFolder() + QLatin1Char('/') + folder);
        QStringList paths;
        for (const QString& name :
             dir.entryList({'*' + text + "*.jpg"}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
            if (!name.contains(QLatin1Char('_')))
                paths << dir.filePath(name);
        }
        return paths;
    }

    demo::DemoKioskOptions m_options;
    demo::DemoKioskLayout m_layout;
    QPoint m_origin;
    double m_scale = 1.0;
    QString m_problem;
};

} // namespace quindle::systemtest
