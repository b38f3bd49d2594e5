#include "printing/CupsPrintSpooler.h"

#include "controls/PictureDecoder.h"
#include "platform/FileSystem.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <array>
#include <cerrno>
#include <cups/cups.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace quindle {

namespace {

// libcups' own name for "the server this process is configured for" is a macro with an
// old-style cast.
http_t* const defaultServer = nullptr;

constexpr size_t chunkSize = 8192;

struct Destination
{
    QByteArray name;
    bool acceptingJobs = true;
};

// The default destination among the installed printers (the server's default, unless the
// client configuration or the LPDEST and PRINTER variables name another one).
std::optional<Destination> defaultDestination()
{
    cups_dest_t* destinations = nullptr;
    const int count = cupsGetDests2(defaultServer, &destinations);
    std::optional<Destination> found;
    if (const cups_dest_t* destination = cupsGetDest(nullptr, nullptr, count, destinations)) {
        const char* accepting =
            cupsGetOption("printer-is-accepting-jobs", destination->num_options, destination->options);
        found = Destination{QByteArray(destination->name), !accepting || qstrcmp(accepting, "false") != 0};
    }
    cupsFreeDests(count, destinations);
    return found;
}

// An unattended kiosk has nobody to type a password: a server that asks for one gets none,
// and the job fails instead of a prompt appearing on the screen.
const char* refusePassword(const char*, http_t*, const char*, const char*, void*)
{
    return nullptr;
}

// Reads up to one chunk, continuing after interrupted or short reads. Returns the bytes
// read, 0 at the end of the file, or -1 on an error.
ssize_t readChunk(int descriptor, std::array<char, chunkSize>& chunk)
{
    size_t filled = 0;
    while (filled < chunk.size()) {
        const ssize_t got = ::read(descriptor, chunk.data() + filled, chunk.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return -1;
        if (got == 0)
            break;
        filled += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(filled);
}

// Streams the file into the open document one chunk at a time, so that a file of any size
// needs one chunk of memory. A final chunk of no bytes is never written: libcups takes a
// write of no bytes as the end of the document.
bool streamFile(int descriptor)
{
    std::array<char, chunkSize> chunk{};
    for (;;) {
        const ssize_t got = readChunk(descriptor, chunk);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (cupsWriteRequestData(defaultServer, chunk.data(), static_cast<size_t>(got)) !=
            HTTP_STATUS_CONTINUE)
            return false;
        if (static_cast<size_t>(got) < chunk.size())
            return true;
    }
}

PrintOutcome sendRawJob(const QByteArray& printer, int descriptor)
{
    const QByteArray title = CupsPrintSpooler::jobTitle().toUtf8();
    const int job = cupsCreateJob(defaultServer, printer.constData(), title.constData(), 0, nullptr);
    if (job == 0)
        return PrintOutcome::PrinterUnavailable;
    if (cupsStartDocument(defaultServer, printer.constData(), job, title.constData(), CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
        cupsCancelJob2(defaultServer, printer.constData(), job, 0);
        return PrintOutcome::PrinterUnavailable;
    }
    const bool streamed = streamFile(descriptor);
    const bool finished = cupsFinishDocument(defaultServer, printer.constData()) == IPP_STATUS_OK;
    if (streamed && finished)
        return PrintOutcome::Printed;
    // A half-sent file must not come out of the printer as a product sheet.
    cupsCancelJob2(defaultServer, printer.constData(), job, 0);
    return PrintOutcome::PrinterUnavailable;
}

QRectF inPrinterPixels(const QRectF& inches, int resolution)
{
    return QRectF(inches.x() * resolution, inches.y() * resolution, inches.width() * resolution,
                  inches.height() * resolution);
}

// The part of the rectangle that a picture of this size covers, proportions kept, centred.
QRectF fittedInto(const QRectF& rectangle, QSize picture)
{
    const QSizeF size = QSizeF(picture).scaled(rectangle.size(), Qt::KeepAspectRatio);
    const QPointF offset((rectangle.width() - size.width()) / 2, (rectangle.height() - size.height()) / 2);
    return QRectF(rectangle.topLeft() + offset, size);
}

} // namespace

QString CupsPrintSpooler::jobTitle()
{
    return QStringLiteral("QD Show Print Job");
}

PrintOutcome CupsPrintSpooler::printRawFile(const QString& path)
{
    cupsSetPasswordCB2(refusePassword, nullptr);
    const std::optional<Destination> printer = defaultDestination();
    if (!printer)
        return PrintOutcome::NoPrinter;
    if (!printer->acceptingJobs)
        return PrintOutcome::PrinterUnavailable;
    // The file is opened before the job is created, so that a file that vanished leaves no
    // empty job in the queue.
    const int descriptor = openForReading(path);
    if (descriptor < 0)
        return PrintOutcome::NothingToPrint;
    // The scheduler refuses a document without bytes ("No file in print request"); an empty
    // print file has nothing for the paper anyway.
    struct stat info = {};
    if (::fstat(descriptor, &info) != 0 || info.st_size == 0) {
        ::close(descriptor);
        return PrintOutcome::NothingToPrint;
    }
    const PrintOutcome outcome = sendRawJob(printer->name, descriptor);
    ::close(descriptor);
    return outcome;
}

PrintOutcome CupsPrintSpooler::printPicture(const QString& picturePath, const QRectF& inches)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    // Qt's print support installs a password prompt of its own when it is first used;
    // this replaces it.
    cupsSetPasswordCB2(refusePassword, nullptr);
    if (info.isNull())
        return PrintOutcome::NoPrinter;
    // Qt does not report a job that the server refuses, so a printer that rejects jobs is
    // found out before anything is drawn.
    const std::optional<Destination> destination = defaultDestination();
    if (destination && !destination->acceptingJobs)
        return PrintOutcome::PrinterUnavailable;

    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        return PrintOutcome::PrinterUnavailable;
    // A queue without a printer description would otherwise get a greyscale job.
    printer.setColorMode(QPrinter::Color);
    printer.setDocName(jobTitle());
    printer.setFullPage(false);

    const QRectF rectangle = inPrinterPixels(inches, printer.resolution());
    if (rectangle.isEmpty())
        return PrintOutcome::NothingToPrint;
    // Decoded at the size the rectangle needs on paper, never larger than the picture.
    const QImage picture = PictureDecoder::decode(picturePath, PictureFit::Inside, rectangle.size().toSize());
    if (picture.isNull())
        return PrintOutcome::NothingToPrint;

    QPainter painter;
    if (!painter.begin(&printer))
        return PrintOutcome::PrinterUnavailable;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(fittedInto(rectangle, picture.size()), picture);
    return painter.end() ? PrintOutcome::Printed : PrintOutcome::PrinterUnavailable;
}

} // namespace quindle
