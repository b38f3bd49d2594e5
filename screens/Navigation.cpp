#include "screens/Navigation.h"

#include <limits>

namespace quindle {

namespace {

// A countdown that ran out while the slideshow is off starts again from here.
constexpr std::int16_t idleRestart = 60;

} // namespace

void Navigation::showList(const QStringList& pictures)
{
    m_pictures = pictures.isEmpty() ? QStringList{QString()} : pictures;
    m_pageStart = 0;
}

QString Navigation::pictureAt(std::int32_t position) const
{
    if (position < 1 || position >= m_pictures.size())
        return {};
    return m_pictures.at(position);
}

bool Navigation::pageBack()
{
    if (m_pageStart <= 0)
        return false;
    m_pageStart -= m_thumbsPerPage;
    return true;
}

QStringList Navigation::neighbourPictures() const
{
    QStringList pictures;
    for (const std::int32_t start : {m_pageStart + m_thumbsPerPage, m_pageStart - m_thumbsPerPage}) {
        if (start < 0)
            continue;
        for (int slot = 1; slot <= m_thumbsPerPage; ++slot) {
            if (const QString picture = pictureAt(start + slot); !picture.isEmpty())
                pictures << picture;
        }
    }
    return pictures;
}

bool Navigation::openDetail(int slot)
{
    const std::int32_t position = m_pageStart + slot;
    if (pictureAt(position).isEmpty())
        return false;
    m_pageStartAtDetail = m_pageStart;
    m_currentPicture = position;
    m_detailOpen = true;
    return true;
}

bool Navigation::stepDetail(int direction)
{
    const std::int32_t next = m_currentPicture + direction;
    if (pictureAt(next).isEmpty())
        return false;
    m_currentPicture = next;
    if (direction > 0 && next > m_pageStart + m_thumbsPerPage)
        m_pageStart += m_thumbsPerPage;
    if (direction < 0 && next <= m_pageStart)
        m_pageStart -= m_thumbsPerPage;
    return true;
}

bool Navigation::closeDetail()
{
    m_detailOpen = false;
    return m_pageStart != m_pageStartAtDetail;
}

Navigation::PagingButtons Navigation::pagingButtons() const
{
    if (m_detailOpen)
        return {m_currentPicture != 1, m_currentPicture != pictureCount()};
    return {m_pageStart != 0, m_pageStart + m_thumbsPerPage < pictureCount()};
}

Navigation::IdleStep Navigation::countDown(bool attractEnabled)
{
    if (m_idleCountdown > std::numeric_limits<std::int16_t>::min())
        --m_idleCountdown;
    if (m_idleCountdown > 0)
        return IdleStep::Wait;
    if (!attractEnabled) {
        m_idleCountdown = idleRestart;
        return IdleStep::Restart;
    }
    return IdleStep::NextSlide;
}

} // namespace quindle
