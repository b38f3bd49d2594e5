#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace quindle {

// Where the visitor is: the picture list shown, the page of it, the picture in the detail
// view, which screens are open and the idle countdown. The widgets show what it says;
// nothing here touches a widget, so every step of the paging and stepping is plain
// arithmetic.
//
// The list keeps entry 0 empty and positions count from 1, as the catalogue's lists do.
// Paging does not guard the ends of the list: the buttons that would run past them are
// disabled, as pagingButtons() says.
class Navigation
{
public:
    // What the idle countdown asks of a tick.
    enum class IdleStep { Wait, Restart, NextSlide };

    struct PagingButtons
    {
        bool previous = false;
        bool next = false;
        bool operator==(const PagingButtons&) const = default;
    };

    explicit Navigation(int thumbsPerPage = 0) : m_thumbsPerPage(thumbsPerPage) {}

    int thumbsPerPage() const { return m_thumbsPerPage; }
    void setThumbsPerPage(int thumbsPerPage) { m_thumbsPerPage = thumbsPerPage; }

    // A new list is shown from its first page.
    void showList(const QStringList& pictures);
    const QStringList& pictures() const { return m_pictures; }
    std::int32_t pictureCount() const { return static_cast<std::int32_t>(m_pictures.size()) - 1; }
    // The picture at a position of the list, "" outside 1 to pictureCount().
    QString pictureAt(std::int32_t position) const;

    // Pictures before the first slot of the page shown; a multiple of thumbsPerPage.
    std::int32_t pageStart() const { return m_pageStart; }
    // The picture of a slot of the page shown (slots count from 1), "" for an empty slot.
    QString slotPicture(int slot) const { return pictureAt(m_pageStart + slot); }
    void pageForward() { m_pageStart += m_thumbsPerPage; }
    // The pictures of the pages beside the one shown, the next page's first: those a press
    // on a paging button shows.
    QStringList neighbourPictures() const;
    // False at the first page, which stays.
    bool pageBack();

    bool detailOpen() const { return m_detailOpen; }
    // Position of the picture in the detail view.
    std::int32_t currentPicture() const { return m_currentPicture; }
    QString detailPicture() const { return pictureAt(m_currentPicture); }
    // Opens the detail view on a slot's picture; false for a slot without one.
    bool openDetail(int slot);
    // One step of the detail view; the page follows the picture without being refilled
    // while it is covered. False when no picture lies in that direction.
    bool stepDetail(int direction);
    // True when the page moved while the detail view covered it, so it is filled again.
    bool closeDetail();

    // Which of the previous and next buttons can be used: they page while the thumbnail
    // page is in front and step while the detail view is.
    PagingButtons pagingButtons() const;

    bool keyboardOpen() const { return m_keyboardOpen; }
    void setKeyboardOpen(bool open) { m_keyboardOpen = open; }
    bool slideshowShown() const { return m_slideshowShown; }
    void setSlideshowShown(bool shown) { m_slideshowShown = shown; }

    // Ticks (seconds) left before the next attract step.
    std::int16_t idleCountdown() const { return m_idleCountdown; }
    void setIdleCountdown(std::int16_t ticks) { m_idleCountdown = ticks; }
    // One tick of the countdown; it stops at its lowest value instead of wrapping round.
    // Run out with the slideshow off, it starts again from a minute; with the slideshow
    // on, the slide step sets it once the slide is under way.
    IdleStep countDown(bool attractEnabled);

private:
    int m_thumbsPerPage = 0;
    QStringList m_pictures{QString()};
    std::int32_t m_pageStart = 0;
    std::int32_t m_currentPicture = 0;
    // pageStart when the detail view was opened.
    std::int32_t m_pageStartAtDetail = 0;
    bool m_detailOpen = false;
    bool m_keyboardOpen = false;
    bool m_slideshowShown = false;
    std::int16_t m_idleCountdown = 0;
};

} // namespace quindle
