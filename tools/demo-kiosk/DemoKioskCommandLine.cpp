#include "tools/demo-kiosk/DemoKioskCommandLine.h"

#include <QCommandLineParser>

namespace quindle::demo {

namespace {

QCommandLineOption valueOption(const QString& name, const QString& description, const QString& valueName)
{
    return QCommandLineOption(name, description, valueName);
}

} // namespace

DemoKioskCommandLine::DemoKioskCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Writes a complete demo kiosk: the program folder with "
                                     "quindleFolder.ini and click.wav, and the kiosk\n"
                                     "folder with quindle.ini, the Interface pictures, attract slides and "
                                     "categories of product pictures.\n"
                                     "The same options and seed always give the same files.");
    const QCommandLineOption help({"h", "help"}, "Shows this help.");
    const auto output = valueOption("output", "The program folder to write (required).", "DIR");
    const auto kiosk = valueOption("kiosk-name", "The kiosk folder's name (default Showroom).", "NAME");
    const auto width = valueOption("width", "Screen width in pixels (default 1920).", "PIXELS");
    const auto height = valueOption("height", "Screen height in pixels (default 1080).", "PIXELS");
    const auto categories = valueOption("categories", "Number of categories, 1 to 9 (default 5).", "N");
    const auto pictures = valueOption("pictures-per-category",
                                      "Pictures in each category: a number, or MIN-MAX for a number drawn "
                                      "per category (default 15-40).",
                                      "N|MIN-MAX");
    const auto pictureSize =
        valueOption("picture-size", "Size of a product picture (default 1200x900).", "WxH");
    const auto thumbnailSize =
        valueOption("thumbnail-size", "Size of a \"_\" thumbnail (default 480x360).", "WxH");
    const auto noThumbnail = valueOption(
        "no-thumbnail-every", "Every Nth picture gets no \"_\" thumbnail; 0 gives all one (default 7).", "N");
    const auto prn = valueOption(
        "prn-every", "Every Nth picture gets a \".prn\" print file; 0 gives none (default 3).", "N");
    const auto slides = valueOption("slides", "Number of attract slides, 0 to 20 (default 4).", "N");
    const auto printing =
        valueOption("printing", "The printing statement: PRN, JPG or false (default PRN).", "PRN|JPG|false");
    const auto seed = valueOption("seed", "Seed of the names, prices and looks (default 1).", "N");
    const auto threads = valueOption("threads", "Pictures drawn at the same time (default 2).", "N");
    const QCommandLineOption settingsOnly(
        "settings-only", "Writes only quindleFolder.ini and the kiosk folder's quindle.ini.");
    parser.addOptions({help, output, kiosk, width, height, categories, pictures, pictureSize, thumbnailSize,
                       noThumbnail, prn, slides, printing, seed, threads, settingsOnly});
    m_helpText = parser.helpText();

    if (!parser.parse(arguments)) {
        fail(parser.errorText());
        return;
    }
    if (parser.isSet(help)) {
        m_outcome = Outcome::Help;
        return;
    }
    if (!parser.positionalArguments().isEmpty()) {
        fail("Unexpected argument: " + parser.positionalArguments().first());
        return;
    }
    m_options.outputFolder = parser.value(output);
    if (m_options.outputFolder.isEmpty()) {
        fail("--output DIR is required.");
        return;
    }
    if (parser.isSet(kiosk)) {
        m_options.kioskName = parser.value(kiosk).trimmed();
        if (m_options.kioskName.isEmpty() || m_options.kioskName.contains('/')) {
            fail("--kiosk-name must be a plain folder name.");
            return;
        }
    }
    int number = 0;
    if (parser.isSet(width)) {
        if (!readCount(parser.value(width), number, "--width", 160, 16384))
            return;
        m_options.screenSize.setWidth(number);
    }
    if (parser.isSet(height)) {
        if (!readCount(parser.value(height), number, "--height", 120, 16384))
            return;
        m_options.screenSize.setHeight(number);
    }
    if (parser.isSet(categories) &&
        !readCount(parser.value(categories), m_options.categoryCount, "--categories", 1, 9))
        return;
    if (parser.isSet(pictures) && !readPictureCounts(parser.value(pictures)))
        return;
    if (parser.isSet(pictureSize) &&
        !readSize(parser.value(pictureSize), m_options.pictureSize, "--picture-size"))
        return;
    if (parser.isSet(thumbnailSize) &&
        !readSize(parser.value(thumbnailSize), m_options.thumbnailSize, "--thumbnail-size"))
        return;
    if (parser.isSet(noThumbnail) &&
        !readCount(parser.value(noThumbnail), m_options.noThumbnailEvery, "--no-thumbnail-every", 0, 1000000))
        return;
    if (parser.isSet(prn) && !readCount(parser.value(prn), m_options.prnEvery, "--prn-every", 0, 1000000))
        return;
    if (parser.isSet(slides) && !readCount(parser.value(slides), m_options.slideCount, "--slides", 0, 20))
        return;
    if (parser.isSet(threads) && !readCount(parser.value(threads), m_options.threads, "--threads", 1, 64))
        return;
    if (parser.isSet(seed)) {
        bool ok = false;
        m_options.seed = parser.value(seed).toULongLong(&ok);
        if (!ok) {
            fail("--seed must be a whole number.");
            return;
        }
    }
    if (parser.isSet(printing)) {
        const QString word = parser.value(printing);
        if (word.compare("PRN", Qt::CaseInsensitive) == 0)
            m_options.printing = PrintingChoice::Prn;
        else if (word.compare("JPG", Qt::CaseInsensitive) == 0)
            m_options.printing = PrintingChoice::Jpg;
        else if (word.compare("false", Qt::CaseInsensitive) == 0)
            m_options.printing = PrintingChoice::Off;
        else {
            fail("--printing must be PRN, JPG or false.");
            return;
        }
    }
    m_options.settingsOnly = parser.isSet(settingsOnly);
    m_outcome = Outcome::Run;
}

bool DemoKioskCommandLine::fail(const QString& error)
{
    m_outcome = Outcome::Error;
    m_error = error;
    return false;
}

bool DemoKioskCommandLine::readCount(const QString& text, int& count, const QString& name, int low, int high)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < low || value > high)
        return fail(QString("%1 must be a whole number from %2 to %3.").arg(name).arg(low).arg(high));
    count = value;
    return true;
}

bool DemoKioskCommandLine::readSize(const QString& text, QSize& size, const QString& name)
{
    const QStringList parts = text.toLower().split('x');
    bool widthOk = false;
    bool heightOk = false;
    const int w = parts.size() == 2 ? parts[0].toInt(&widthOk) : 0;
    const int h = parts.size() == 2 ? parts[1].toInt(&heightOk) : 0;
    if (!widthOk || !heightOk || w < 8 || h < 8 || w > 8192 || h > 8192)
        return fail(name + " must be WIDTHxHEIGHT, each from 8 to 8192.");
    size = QSize(w, h);
    return true;
}

bool DemoKioskCommandLine::readPictureCounts(const QString& text)
{
    const QStringList parts = text.split('-');
    const QString name = "--pictures-per-category";
    if (parts.size() > 2)
        return fail(name + " must be a number or MIN-MAX.");
    if (!readCount(parts.first(), m_options.minPicturesPerCategory, name, 0, 100000))
        return false;
    if (!readCount(parts.last(), m_options.maxPicturesPerCategory, name, 0, 100000))
        return false;
    if (m_options.maxPicturesPerCategory < m_options.minPicturesPerCategory)
        return fail(name + " must give its smaller number first.");
    return true;
}

} // namespace quindle::demo
