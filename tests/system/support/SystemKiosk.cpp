#include "system/support/SystemKiosk.h"

#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "tools/demo-kiosk/ProductCatalogue.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace quindle::systemtest {

namespace {

// The kiosk's own listing: the pattern's letters and the name order both ignore case, and a name
// with "_" is a thumbnail.
QStringList picturesIn(const QString& folder, const QString& text = {})
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QLatin1Char('*') + text + QStringLiteral("*.jpg")}, QDir::Files,
                                             QDir::Name | QDir::IgnoreCase)) {
        if (!name.contains(QLatin1Char('_')))
            paths << dir.filePath(name);
    }
    return paths;
}

} // namespace

SystemKiosk::SystemKiosk(const QString& folder)
{
    m_options.outputFolder = folder;
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
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    const QRegularExpression statement(
        QStringLiteral("^ *%1 *=[^\r\n]*").arg(QRegularExpression::escape(key)),
        QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    if (!text.contains(statement))
        return false;
    text.replace(statement, key + QStringLiteral(" = ") + value);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) > 0;
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

QString SystemKiosk::thumbnailOf(const QString& picture)
{
    const QString thumbnail =
        picture.section(QLatin1Char('/'), 0, -2) + QStringLiteral("/_") + fileNameOf(picture);
    return QFile::exists(thumbnail) ? thumbnail : picture;
}

// The search looks through the category folders by name, ignoring case, and skips the
// Attract and Interface folders.
QStringList SystemKiosk::searchHits(const QString& text) const
{
    QStringList hits;
    for (const QString& folder :
         QDir(kioskFolder()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        if (!folder.startsWith(QStringLiteral("Attract"), Qt::CaseInsensitive) &&
            !folder.startsWith(QStringLiteral("Interface"), Qt::CaseInsensitive))
            hits << picturesIn(kioskFolder() + QLatin1Char('/') + folder, text);
    }
    return hits;
}

QRect SystemKiosk::slot(int number) const
{
    const int column = (number - 1) % m_layout.gridColumns;
    const int row = (number - 1) / m_layout.gridColumns;
    const QSize size = m_layout.thumbnail;
    return QRect(m_layout.gridTopLeft + m_origin +
                     QPoint(column * (size.width() + m_layout.gridColumnGap),
                            row * (size.height() + m_layout.gridRowGap)),
                 size);
}

// The keys lie in rows of ten cells of 66 pixels, in the order of their legends.
QPoint SystemKiosk::keyCentre(QChar key) const
{
    const auto index =
        static_cast<int>(QStringLiteral("1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ.-").indexOf(key.toUpper()));
    return keyPicture().topLeft() + QPoint(index % 10 * 66 + 33, index / 10 * 66 + 33);
}

// The kiosk puts the keyboard's buttons at the frame's foot.
QRect SystemKiosk::keyboardButton(int element) const
{
    const int top = m_layout.keyboardFrame.height() - m_layout.keyboardButtonHeight;
    return QRect(m_origin + QPoint(m_layout.keyboardButtonLefts.value(element), top),
                 QSize(m_layout.keyboardButtonWidths.value(element), m_layout.keyboardButtonHeight));
}

QPoint SystemKiosk::bareBackdrop() const
{
    // Between the last menu button and the lookup button, left of the panel.
    const QRect lastMenu = m_layout.menuButtons.last();
    return m_origin + QPoint(lastMenu.center().x(), (lastMenu.bottom() + m_layout.lookupButton.top()) / 2);
}

} // namespace quindle::systemtest
