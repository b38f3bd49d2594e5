#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace quindle {

class MessageBox;
class ProgramEnd;

enum class ScanKind { Category, Search };

// The catalogue: the category folders of the kiosk folder and the picture lists that the
// thumbnail page shows.
//
// Both lists keep entry 0 empty; entries 1 to count are full picture paths, so the
// positions the screens count with start at 1. Nothing is cached: every scan reads the
// folders afresh, so pictures the owner adds appear at the next scan.
class Catalogue
{
public:
    // kioskFolder is the full path of the kiosk folder.
    Catalogue(QString kioskFolder, MessageBox& messageBox, ProgramEnd& programEnd);

    const QString& kioskFolder() const { return m_kioskFolder; }

    // The folder of the menu entry shown, relative to the kiosk folder.
    const QString& currentCategory() const { return m_currentCategory; }
    void setCurrentCategory(const QString& category) { m_currentCategory = category; }
    // The category folder's full path, its names matched without regard to case.
    QString categoryFolder() const;

    // The list the thumbnail page shows: the latest category scan, or the latest search
    // that found something.
    const QStringList& imageList() const { return m_imageList; }
    std::int32_t imageCount() const { return static_cast<std::int32_t>(m_imageList.size() - 1); }
    void setImageList(const QStringList& list) { m_imageList = list; }

    // The latest search. Without a hit it holds entries 0 and 1, both empty.
    const QStringList& searchResults() const { return m_searchResults; }
    std::int32_t searchHitCount() const { return m_searchHits; }

    // The category scan fills imageList from the folder of currentCategory; a missing
    // folder ends the program with a message, a folder without ".jpg" files warns and
    // leaves the list empty. The search scan fills searchResults from every folder of the
    // kiosk folder but Attract and Interface, with the pictures whose names hold the text.
    void scanPictures(ScanKind kind, const QString& searchText = {});

    // Whether the search looks into a folder of the kiosk folder: not into the Attract and
    // Interface folders, nor any folder whose name begins like theirs.
    static bool isSearchedFolder(const QString& folderPath);

    // The messages of the category scan: a missing folder (which ends the program) and a
    // folder without pictures (a warning).
    static QString missingCategoryMessage(const QString& categoryFolder);
    static QString emptyCategoryMessage(const QString& category);

    // The pictures that a category scan of the folder lists.
    static std::int32_t countPictures(const QString& categoryFolder);

private:
    void scanCategory();
    void scanSearch(const QString& searchText);

    QString m_kioskFolder;
    MessageBox& m_messageBox;
    ProgramEnd& m_programEnd;
    QString m_currentCategory;
    QStringList m_imageList{QString()};
    QStringList m_searchResults{QString(), QString()};
    std::int32_t m_searchHits = 0;
};

} // namespace quindle
