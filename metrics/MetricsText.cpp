#include "metrics/MetricsText.h"

#include "metrics/KioskFigures.h"

#include <cstdint>

namespace quindle {

namespace {

// A label value with its backslashes, double quotes and line breaks escaped. A byte of a file
// name that is not valid UTF-8 becomes a question mark, so the file stays valid UTF-8.
QByteArray labelValue(const QString& value)
{
    QByteArray escaped;
    for (const char byte : value.toUtf8()) {
        if (byte == '\\')
            escaped += "\\\\";
        else if (byte == '"')
            escaped += "\\\"";
        else if (byte == '\n')
            escaped += "\\n";
        else
            escaped += byte;
    }
    return escaped;
}

class Exposition
{
public:
    void metric(const char* name, const char* type, const char* help)
    {
        m_name = name;
        m_text += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
    }

    void sample(std::int64_t value, const QByteArray& labels = {})
    {
        m_text += m_name;
        if (!labels.isEmpty())
            m_text += '{' + labels + '}';
        m_text += ' ' + QByteArray::number(static_cast<qlonglong>(value)) + '\n';
    }

    void single(const char* name, const char* type, const char* help, std::int64_t value)
    {
        metric(name, type, help);
        sample(value);
    }

    const QByteArray& text() const { return m_text; }

private:
    QByteArray m_text;
    QByteArray m_name;
};

QByteArray label(const char* name, const QString& value)
{
    return QByteArray(name) + "=\"" + labelValue(value) + '"';
}

} // namespace

QByteArray metricsText(const KioskFigures& figures)
{
    Exposition out;
    out.metric("quindle_info", "gauge",
               "The program's version and the kiosk folder in use, with the version of its content "
               "when it was published.");
    QByteArray info = label("version", figures.version) + ',' + label("kiosk_folder", figures.kioskFolder);
    if (!figures.contentVersion.isEmpty())
        info += ',' + label("content_version", figures.contentVersion);
    out.sample(1, info);

    out.single("quindle_start_time_seconds", "gauge", "When the kiosk started, in seconds since the epoch.",
               figures.startTime);
    out.single("quindle_last_touch_time_seconds", "gauge",
               "When the screen was last touched, in seconds since the epoch; 0 before the first touch.",
               figures.lastTouchTime);
    out.single("quindle_touches_total", "counter", "Touches of the kiosk's screen.", figures.touches);
    out.single("quindle_visits_total", "counter", "Slideshows ended by a touch.", figures.visits);
    out.single("quindle_detail_views_total", "counter", "Pictures shown in the detail view.",
               figures.detailViews);
    out.single("quindle_pages_turned_total", "counter",
               "Thumbnail pages turned with the next and previous buttons.", figures.pagesTurned);
    out.single("quindle_searches_total", "counter", "Searches made on the on-screen keyboard.",
               figures.searches);
    out.single("quindle_searches_without_results_total", "counter", "Searches that found no picture.",
               figures.searchesWithoutResults);
    out.single("quindle_prints_sent_total", "counter", "Print jobs handed to the printer.",
               figures.printsSent);

    out.metric("quindle_prints_refused_total", "counter", "Print presses that could not print, by reason.");
    out.sample(figures.printsRefusedNoPrinter, label("reason", QStringLiteral("no_printer")));
    out.sample(figures.printsRefusedPrinterUnavailable,
               label("reason", QStringLiteral("printer_unavailable")));

    out.metric("quindle_messages_total", "counter", "Message boxes raised, by kind of message.");
    for (int kind = 0; kind < messageKindCount; ++kind)
        out.sample(figures.messages.at(static_cast<size_t>(kind)),
                   label("kind", messageKindName(static_cast<MessageKind>(kind))));

    out.single("quindle_undecodable_pictures_total", "counter", "Pictures that could not be decoded.",
               figures.undecodablePictures);
    out.single("quindle_watchdog_failures_total", "counter",
               "Failures of the USB watchdog card: its library missing or a command refused.",
               figures.watchdogFailures);
    out.single("quindle_restarts_requested_total", "counter", "Scheduled restarts of the computer requested.",
               figures.restartsRequested);
    out.single("quindle_tracking_lines_waiting", "gauge", "Tracking log lines waiting to be written.",
               figures.trackingLinesWaiting);
    out.single("quindle_tracking_write_failures_total", "counter", "Writes of the tracking log that failed.",
               figures.trackingWriteFailures);
    out.single("quindle_categories", "gauge", "Categories on the menu.", figures.categories);
    out.single("quindle_pictures", "gauge", "Pictures in the menu's categories.", figures.pictures);
    return out.text();
}

} // namespace quindle
