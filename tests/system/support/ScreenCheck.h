#pragma once

#include "system/support/XServer.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <functional>

namespace quindle::systemtest {

// Compares what the screen shows with the picture files the kiosk was given.
class ScreenCheck
{
public:
    explicit ScreenCheck(XServer& server) : m_server(server) {}

    // Whether the screen shows the picture file scaled into the area the way the kiosk's picture
    // controls do it (proportions kept, never enlarged, centred). Only the rows from the top down
    // to keepHeight of the area are compared (-1: all), so that a caption over its foot is left out.
    bool showsPicture(const QRect& area, const QString& file, int keepHeight = -1)
    {
        return pictureDifference(area, file, keepHeight) < tolerance;
    }
    // How far the screen is from showing the picture file as showsPicture() expects it.
    double pictureDifference(const QRect& area, const QString& file, int keepHeight = -1);
    // Whether the screen shows, in the area, the same part of a picture that covers the whole
    // window from its top-left corner (the backdrop).
    bool showsPart(const QRect& area, const QString& file, QPoint windowOrigin = {});
    // How far the screen's area is from the expected picture: the mean difference of the
    // colour channels over blocks of 8 by 8 pixels, 0 to 255.
    double difference(const QRect& area, const QImage& expected);

    // Polls until the check holds or the time is up.
    static bool waitFor(const std::function<bool()>& check, int timeoutMs = 20'000);
    // Saves the whole screen as a PNG file beside the test, for a failure's report.
    QString saveScreen(const QString& name);

    static constexpr double tolerance = 14.0;

private:
    XServer& m_server;
};

} // namespace quindle::systemtest
