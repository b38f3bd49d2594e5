#include "system/support/ScreenCheck.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QImageReader>
#include <QThread>
#include <cmath>

namespace quindle::systemtest {

namespace {

constexpr int block = 8;

QImage readPicture(const QString& file)
{
    QImageReader reader(file);
    reader.setAutoTransform(true);
    return reader.read().convertToFormat(QImage::Format_RGB32);
}

QRgb blockMean(const QImage& image, int left, int top)
{
    long red = 0;
    long green = 0;
    long blue = 0;
    int count = 0;
    for (int y = top; y < std::min(top + block, image.height()); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = left; x < std::min(left + block, image.width()); ++x) {
            red += qRed(line[x]);
            green += qGreen(line[x]);
            blue += qBlue(line[x]);
            ++count;
        }
    }
    if (count == 0)
        return 0;
    return qRgb(static_cast<int>(red / count), static_cast<int>(green / count),
                static_cast<int>(blue / count));
}

} // namespace

double ScreenCheck::difference(const QRect& area, const QImage& expected)
{
    const QImage shown = m_server.grab(area);
    if (shown.isNull() || expected.isNull() || shown.size() != expected.size())
        return 255.0;
    const QImage wanted = expected.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int blocks = 0;
    for (int top = 0; top < shown.height(); top += block) {
        for (int left = 0; left < shown.width(); left += block) {
            const QRgb a = blockMean(shown, left, top);
            const QRgb b = blockMean(wanted, left, top);
            sum += (std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                    std::abs(qBlue(a) - qBlue(b))) /
                   3.0;
            ++blocks;
        }
    }
    return blocks == 0 ? 255.0 : sum / blocks;
}

double ScreenCheck::pictureDifference(const QRect& area, const QString& file, int keepHeight)
{
    const QImage picture = readPicture(file);
    if (picture.isNull())
        return 255.0;
    QSize fitted = picture.size().scaled(area.size(), Qt::KeepAspectRatio);
    if (fitted.width() > picture.width() || fitted.height() > picture.height())
        fitted = picture.size();
    QRect target(QPoint(0, 0), fitted);
    target.moveCenter(area.center());
    QImage expected = picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (keepHeight >= 0) {
        const int bottom = area.top() + keepHeight;
        const int rows = std::min(target.height(), bottom - target.top());
        if (rows <= 0)
            return 255.0;
        expected = expected.copy(0, 0, expected.width(), rows);
        target.setHeight(rows);
    }
    // The picture's edge pixels blend with what lies around it: they are left out.
    const QRect inner = QRect(QPoint(0, 0), target.size()).adjusted(2, 2, -2, -2);
    return difference(inner.translated(target.topLeft()), expected.copy(inner));
}

bool ScreenCheck::showsPart(const QRect& area, const QString& file, QPoint windowOrigin)
{
    const QImage picture = readPicture(file);
    return !picture.isNull() && difference(area, picture.copy(area.translated(-windowOrigin))) < tolerance;
}

bool ScreenCheck::waitFor(const std::function<bool()>& check, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        if (check())
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(40);
    }
}

QString ScreenCheck::saveScreen(const QString& name)
{
    const QString path = QDir::current().filePath(name + QStringLiteral(".png"));
    m_server.grab(QRect(QPoint(0, 0), m_server.screenSize())).save(path);
    return path;
}

} // namespace quindle::systemtest
