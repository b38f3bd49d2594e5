#include "system/support/SystemKiosk.h"

#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace quindle::systemtest {

namespace {

const QString keyLegends = QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-");
constexpr int keySize = 66;
constexpr int keysPerRow = 10;

QStringList picturesIn(const QString& folder, const QString& text = {})
{
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Files)) {
        if (!name.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive) || name.contains(QLatin1Char('_')))
            continue;
        if (!text.isEmpty() && !name.chopped(4).contains(text, Qt::CaseInsensitive))
            continue;
        names << name;
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QStringList paths;
    for (const QString& name : names)
        paths << QDir(folder).filePath(name);
    return paths;
}

} // namespace

SystemKiosk::SystemKiosk(const QString& folder, demo::DemoKioskOptions options)
    : m_options(std::move(options))
{
    m_options.outputFolder = folder;
    m_layout = demo::DemoKioskLayout::forOptions(m_options);
    m_problem = demo::DemoKioskGenerator(m_options).generate();
}

demo::DemoKioskOptions SystemKiosk::smallOptions()
{
    demo::DemoKioskOptions options;
    options.categoryCount = 3;
    options.minPicturesPerCategory = 14;
    options.maxPicturesPerCategory = 14;
    options.pictureSize = QSize(600, 450);
    options.thumbnailSize = QSize(240, 180);
    options.slideCount = 2;
    return options;
}

QString SystemKiosk::kioskFolder() const
{
    return QDir(m_options.outputFolder).filePath(m_options.kioskName);
}

QString SystemKiosk::interfacePicture(const QString& name) const
{
    return QDir(kioskFolder()).filePath(QStringLiteral("Interface/") + name);
}

QString SystemKiosk::settingsPath() const
{
    return QDir(kioskFolder()).filePath(QStringLiteral("quindle.ini"));
}

bool SystemKiosk::setSetting(const QString& key, const QString& value)
{
    QFile file(settingsPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    file.close();
    const auto statement = std::find_if(lines.begin(), lines.end(), [&key](const QString& line) {
        return line.section(QLatin1Char('='), 0, 0).trimmed().compare(key, Qt::CaseInsensitive) == 0;
    });
    if (statement == lines.end())
        return false;
    *statement = key + QStringLiteral(" = ") + value;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(lines.join(QStringLiteral("\r\n")).toUtf8()) > 0;
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
    return picturesIn(QDir(kioskFolder()).filePath(categoryFolders().value(category)));
}

QString SystemKiosk::thumbnailOf(const QString& picture)
{
    const QFileInfo info(picture);
    const QString thumbnail = info.dir().filePath(QLatin1Char('_') + info.fileName());
    return QFile::exists(thumbnail) ? thumbnail : picture;
}

QString SystemKiosk::fileNameOf(const QString& picture)
{
    return QFileInfo(picture).fileName();
}

// The search looks through the category folders by name, ignoring case, and skips the
// Attract and Interface folders.
QStringList SystemKiosk::searchHits(const QString& text) const
{
    QStringList folders = QDir(kioskFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(folders.begin(), folders.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    QStringList hits;
    for (const QString& folder : folders) {
        if (folder.startsWith(QStringLiteral("Attract"), Qt::CaseInsensitive) ||
            folder.startsWith(QStringLiteral("Interface"), Qt::CaseInsensitive))
            continue;
        hits << picturesIn(QDir(kioskFolder()).filePath(folder), text);
    }
    return hits;
}

QRect SystemKiosk::slot(int number) const
{
    const int index = number - 1;
    const int column = index % m_layout.gridColumns;
    const int row = index / m_layout.gridColumns;
    const QSize size = m_layout.thumbnail;
    const QPoint topLeft = m_layout.gridTopLeft + QPoint(column * (size.width() + m_layout.gridColumnGap),
                                                         row * (size.height() + m_layout.gridRowGap));
    return QRect(topLeft + m_origin, size);
}

QRect SystemKiosk::menuButton(int number) const
{
    return m_layout.menuButtons.value(number - 1).translated(m_origin);
}

QRect SystemKiosk::keyPicture() const
{
    return QRect(m_layout.keyboardTopLeft + m_origin, m_layout.keyboard);
}

QPoint SystemKiosk::keyCentre(QChar key) const
{
    const auto index = static_cast<int>(keyLegends.indexOf(key.toUpper()));
    return keyPicture().topLeft() +
           QPoint((index % keysPerRow) * keySize + keySize / 2, (index / keysPerRow) * keySize + keySize / 2);
}

QRect SystemKiosk::keyboardButton(int element) const
{
    const int top = m_layout.keyboardFrame.height() - m_layout.keyboardButtonHeight;
    return QRect(m_origin + QPoint(m_layout.keyboardButtonLefts.value(element), top),
                 QSize(m_layout.keyboardButtonWidths.value(element), m_layout.keyboardButtonHeight));
}

QRect SystemKiosk::searchText() const
{
    return QRect(m_origin + m_layout.keyboardInputTopLeft, m_layout.keyboardInput);
}

QPoint SystemKiosk::bareBackdrop() const
{
    // Between the last menu button and the lookup button, left of the panel.
    const QRect lastMenu = m_layout.menuButtons.last();
    return m_origin + QPoint(lastMenu.center().x(), (lastMenu.bottom() + m_layout.lookupButton.top()) / 2);
}

} // namespace quindle::systemtest
