#include "system/support/SystemKiosk.h"

#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QDir>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <gtest/gtest.h>

namespace quindle::systemtest {

namespace {

// The kiosk's own listing: the pattern's letters and the name order both ignore case, and a name
// with "_" is a thumbnail.
QStringList picturesIn(const QString& folder, const QString& text = {})
{
    const QDir dir(folder);
    QStringList paths;
    for (const QString& name :
         dir.entryList({'*' + text + "*.jpg"}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        if (!name.contains(QLatin1Char('_')))
            paths << dir.filePath(name);
    }
    return paths;
}

// Prints the records of the CSV files named as arguments as one JSON list of lists of fields.
const char* const csvToJson =
    "import csv, json, sys\n"
    "print(json.dumps([row for name in sys.argv[1:]\n"
    "                  for row in csv.reader(open(name, newline='', encoding='utf-8'), strict=True)]))\n";

} // namespace

SystemKiosk::SystemKiosk(const QString& folder, QSize backdrop)
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

bool SystemKiosk::setSetting(const QString& key, const QString& value)
{
    QFile file(kioskFolder() + QStringLiteral("/quindle.ini"));
    file.open(QIODevice::ReadWrite);
    QString text = QString::fromUtf8(file.readAll());
    const QRegularExpression statement(QStringLiteral("^ *%1 *=[^\r\n]*").arg(key),
                                       QRegularExpression::MultilineOption |
                                           QRegularExpression::CaseInsensitiveOption);
    if (!text.contains(statement))
        return false;
    text.replace(statement, key + QStringLiteral(" = ") + value);
    return file.resize(0) && file.write(text.toUtf8()) > 0;
}

QStringList SystemKiosk::categoryFolders() const
{
    QStringList folders;
    const demo::ProductCatalogue catalogue(m_options);
    for (const demo::DemoCategory& category : catalogue.categories())
        folders << category.folder;
    return folders;
}

QStringList SystemKiosk::pictures(int category) const
{
    return picturesIn(kioskFolder() + QLatin1Char('/') + categoryFolders().value(category));
}

// The search looks through the category folders by name, ignoring case.
QStringList SystemKiosk::searchHits(const QString& text) const
{
    QStringList folders = categoryFolders();
    folders.sort(Qt::CaseInsensitive);
    QStringList hits;
    for (const QString& folder : folders)
        hits << picturesIn(kioskFolder() + QLatin1Char('/') + folder, text);
    return hits;
}

QStringList SystemKiosk::logFileNames() const
{
    return QDir(programFolder() + QStringLiteral("/log files")).entryList({"*.csv"}, QDir::Files, QDir::Name);
}

QList<QStringList> SystemKiosk::logRecords(const QString& programFolder)
{
    QStringList arguments{"-c", csvToJson};
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

QStringList SystemKiosk::logEvents(const QString& programFolder)
{
    QStringList events;
    for (const QStringList& record : logRecords(programFolder))
        events << record.value(0);
    return events;
}

QString SystemKiosk::thumbnailOf(const QString& picture)
{
    const QString thumbnail =
        picture.section(QLatin1Char('/'), 0, -2) + QStringLiteral("/_") + fileNameOf(picture);
    return QFile::exists(thumbnail) ? thumbnail : picture;
}

QRect SystemKiosk::slot(int number) const
{
    const int column = (number - 1) % m_layout.gridColumns;
    const int row = (number - 1) / m_layout.gridColumns;
    const QPoint step(m_layout.thumbnail.width() + m_layout.gridColumnGap,
                      m_layout.thumbnail.height() + m_layout.gridRowGap);
    return onScreen(
        QRect(m_layout.gridTopLeft + QPoint(column * step.x(), row * step.y()), m_layout.thumbnail));
}

// The keys lie in rows of ten cells of 66 pixels, in the order of their legends.
QPoint SystemKiosk::keyCentre(QChar key) const
{
    const auto index =
        static_cast<int>(QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-").indexOf(key.toUpper()));
    return onScreen(m_layout.keyboardTopLeft + QPoint(index % 10 * 66 + 33, index / 10 * 66 + 33));
}

// The kiosk puts the keyboard's buttons at the frame's foot.
QRect SystemKiosk::keyboardButton(int element) const
{
    const int top = m_layout.keyboardFrame.height() - m_layout.keyboardButtonHeight;
    return onScreen(
        QRect(QPoint(m_layout.keyboardButtonLefts.value(element), top),
              QSize(m_layout.keyboardButtonWidths.value(element), m_layout.keyboardButtonHeight)));
}

// Between the last menu button and the lookup button, left of the panel.
QPoint SystemKiosk::bareBackdrop() const
{
    const QRect lastMenu = m_layout.menuButtons.last();
    return onScreen(QPoint(lastMenu.center().x(), (lastMenu.bottom() + m_layout.lookupButton.top()) / 2));
}

void SystemKiosk::fitTo(const QRect& screen)
{
    const QSize backdrop = m_options.screenSize;
    m_scale = std::min(static_cast<double>(screen.width()) / backdrop.width(),
                       static_cast<double>(screen.height()) / backdrop.height());
    const QSize drawn = (QSizeF(backdrop) * m_scale).toSize();
    m_origin = screen.topLeft() +
               QPoint((screen.width() - drawn.width()) / 2, (screen.height() - drawn.height()) / 2);
}

QPoint SystemKiosk::onScreen(QPoint backdrop) const
{
    return m_origin + (QPointF(backdrop) * m_scale).toPoint();
}

QRect SystemKiosk::onScreen(const QRect& backdrop) const
{
    return QRect(onScreen(backdrop.topLeft()),
                 onScreen(backdrop.topLeft() + QPoint(backdrop.width(), backdrop.height())) - QPoint(1, 1));
}

} // namespace quindle::systemtest
