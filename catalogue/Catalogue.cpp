#include "catalogue/Catalogue.h"

#include "catalogue/FolderListing.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"

#include <algorithm>
#include <utility>

namespace quindle {

namespace {

// A name with an underscore is a thumbnail ("_" + the picture's name) or a file the owner
// keeps out of the catalogue.
bool isPictureName(const QString& name)
{
    return !name.contains(QLatin1Char('_'));
}

// Appends folder + "/" + name for every picture name of the listing.
void appendPictures(QStringList& list, const QString& folder, const QStringList& names)
{
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QString& name : names) {
        if (isPictureName(name))
            list.append(prefix + name);
    }
}

} // namespace

Catalogue::Catalogue(QString kioskFolder, MessageBox& messageBox, ProgramEnd& programEnd)
    : m_kioskFolder(std::move(kioskFolder)), m_messageBox(messageBox), m_programEnd(programEnd)
{
}

QString Catalogue::categoryFolder() const
{
    return resolveCaseless(m_kioskFolder, m_currentCategory);
}

void Catalogue::scanPictures(ScanKind kind, const QString& searchText)
{
    if (kind == ScanKind::Search) {
        scanSearch(searchText);
        return;
    }
    scanCategory();
}

// The kiosk folder's own Attract and Interface folders hold the slideshow and the button
// faces, not products; any folder named like them (Attractions, Interfaces) is left out as
// well. Only the folder's own name counts, never the path above it.
bool Catalogue::isSearchedFolder(const QString& folderPath)
{
    const QString name = fileNameOf(folderPath);
    return !name.startsWith(QLatin1String("Attract"), Qt::CaseInsensitive) &&
           !name.startsWith(QLatin1String("Interface"), Qt::CaseInsensitive);
}

QString Catalogue::missingCategoryMessage(const QString& categoryFolder)
{
    // The text keeps its doubled word: owners and their notes may quote it as it stands.
    return categoryFolder +
           QStringLiteral(" does not exist.\r\n\r\nPlease edit your \"quindle.ini\" file file "
                          "prior to proceeding.");
}

QString Catalogue::emptyCategoryMessage(const QString& category)
{
    return QStringLiteral("Warning - you have no images inside your \"category\" folder of \"%1\"")
        .arg(category);
}

void Catalogue::scanCategory()
{
    const QString folder = categoryFolder();
    if (!folderExists(folder)) {
        m_messageBox.show(missingCategoryMessage(folder));
        m_programEnd.end(1);
    }
    const QStringList names = FolderListing::listFiles(folder, QStringLiteral("*.jpg"));
    m_imageList = QStringList{QString()};
    if (names.isEmpty()) {
        m_messageBox.show(emptyCategoryMessage(m_currentCategory));
        return;
    }
    appendPictures(m_imageList, folder, names);
}

void Catalogue::scanSearch(const QString& searchText)
{
    const QString pattern = QLatin1Char('*') + searchText + QStringLiteral("*.jpg");
    m_searchResults = QStringList{QString()};
    for (const QString& folder : FolderListing::listFolders(m_kioskFolder)) {
        if (isSearchedFolder(folder))
            appendPictures(m_searchResults, folder, FolderListing::listFiles(folder, pattern));
    }
    m_searchHits = static_cast<std::int32_t>(m_searchResults.size() - 1);
    if (m_searchHits == 0)
        m_searchResults.append(QString());
}

std::int32_t Catalogue::countPictures(const QString& categoryFolder)
{
    const QStringList names = FolderListing::listFiles(categoryFolder, QStringLiteral("*.jpg"));
    return static_cast<std::int32_t>(std::count_if(names.begin(), names.end(), isPictureName));
}

} // namespace quindle
