#include "tools/demo-kiosk/DemoKioskGenerator.h"

#include "tools/demo-kiosk/AttractSlidePainter.h"
#include "tools/demo-kiosk/ClickSound.h"
#include "tools/demo-kiosk/DemoKioskLayout.h"
#include "tools/demo-kiosk/InterfacePainter.h"
#include "tools/demo-kiosk/PrintFileWriter.h"
#include "tools/demo-kiosk/ProductCatalogue.h"
#include "tools/demo-kiosk/ProductPainter.h"
#include "tools/demo-kiosk/SettingsFileWriter.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace quindle::demo {

namespace {

constexpr int productQuality = 86;
constexpr int interfaceQuality = 92;

QString writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return "Cannot write " + path + ": " + file.errorString();
    if (file.write(bytes) != bytes.size())
        return "Cannot write " + path + ": " + file.errorString();
    return {};
}

QString writeJpeg(const QString& path, const QImage& image, int quality)
{
    QImageWriter writer(path, "JPEG");
    writer.setQuality(quality);
    if (!writer.write(image))
        return "Cannot write " + path + ": " + writer.errorString();
    return {};
}

QString makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        return "Cannot make the folder " + path;
    return {};
}

// Runs every job on the given number of threads and returns the first failure, if any.
QString runJobs(const std::vector<std::function<QString()>>& jobs, int threads)
{
    std::atomic<size_t> next{0};
    std::mutex lock;
    QString failure;
    const auto work = [&] {
        for (size_t i = next++; i < jobs.size(); i = next++) {
            const QString error = jobs[i]();
            if (error.isEmpty())
                continue;
            const std::lock_guard<std::mutex> guard(lock);
            if (failure.isEmpty())
                failure = error;
            next = jobs.size();
        }
    };
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t)
        workers.emplace_back(work);
    work();
    for (std::thread& worker : workers)
        worker.join();
    return failure;
}

} // namespace

DemoKioskGenerator::DemoKioskGenerator(const DemoKioskOptions& options) : m_options(options) {}

bool DemoKioskGenerator::hasThumbnail(const DemoKioskOptions& options, int number)
{
    return options.noThumbnailEvery <= 0 || number % options.noThumbnailEvery != 0;
}

bool DemoKioskGenerator::hasPrintFile(const DemoKioskOptions& options, int number)
{
    return options.prnEvery > 0 && number % options.prnEvery == 0;
}

QString DemoKioskGenerator::generate()
{
    m_report = {};
    const QDir program(m_options.outputFolder);
    const QString kiosk = program.filePath(m_options.kioskName);
    const DemoKioskLayout layout = DemoKioskLayout::forOptions(m_options);
    const ProductCatalogue catalogue(m_options);
    const QList<DemoCategory>& categories = catalogue.categories();

    for (const QString& error :
         {makeFolder(kiosk),
          writeFile(program.filePath("quindleFolder.ini"), SettingsFileWriter::pointerFile(m_options)),
          writeFile(QDir(kiosk).filePath("quindle.ini"),
                    SettingsFileWriter::settingsFile(m_options, layout, categories))}) {
        if (!error.isEmpty())
            return error;
    }
    if (m_options.settingsOnly)
        return {};

    const QString interface = QDir(kiosk).filePath("Interface");
    const QString attract = QDir(kiosk).filePath("Attract");
    for (const QString& folder : {interface, attract}) {
        if (const QString error = makeFolder(folder); !error.isEmpty())
            return error;
    }
    for (const DemoCategory& category : categories) {
        if (const QString error = makeFolder(QDir(kiosk).filePath(category.folder)); !error.isEmpty())
            return error;
    }
    if (const QString error = writeFile(program.filePath("click.wav"), ClickSound::wavBytes());
        !error.isEmpty())
        return error;

    const InterfacePainter painter(layout, categories);
    std::vector<std::function<QString()>> jobs;
    // The slides and the backdrop are the largest pictures: they go first so that no thread is
    // left with a big one at the end.
    for (int i = 0; i < m_options.slideCount; ++i) {
        jobs.push_back([this, i, attract, &catalogue] {
            return writeJpeg(QDir(attract).filePath(QString("Slide %1.jpg").arg(i + 1)),
                             AttractSlidePainter::slide(i, m_options.screenSize, catalogue),
                             interfaceQuality);
        });
        ++m_report.slides;
    }
    for (const QString& name : painter.fileNames()) {
        jobs.push_back([name, interface, &painter] {
            return writeJpeg(QDir(interface).filePath(name), painter.picture(name), interfaceQuality);
        });
        ++m_report.interfacePictures;
    }
    for (int c = 0; c < categories.size(); ++c) {
        const QDir folder(QDir(kiosk).filePath(categories.at(c).folder));
        for (int number = 1; number <= catalogue.pictureCount(c); ++number) {
            const bool thumbnail = hasThumbnail(m_options, number);
            const bool printFile = hasPrintFile(m_options, number);
            jobs.push_back([this, c, number, folder, thumbnail, printFile, &catalogue, &categories] {
                const DemoProduct product = catalogue.product(c, number);
                const QString name = product.name + ".jpg";
                if (QString error =
                        writeJpeg(folder.filePath(name),
                                  ProductPainter::photograph(product, m_options.pictureSize), productQuality);
                    !error.isEmpty())
                    return error;
                if (thumbnail) {
                    QString error = writeJpeg(folder.filePath("_" + name),
                                              ProductPainter::photograph(product, m_options.thumbnailSize),
                                              productQuality);
                    if (!error.isEmpty())
                        return error;
                }
                if (!printFile)
                    return QString();
                return writeFile(folder.filePath(product.name + ".prn"),
                                 PrintFileWriter::printFile(product, categories.at(c).folder));
            });
            ++m_report.pictures;
            m_report.thumbnails += thumbnail ? 1 : 0;
            m_report.printFiles += printFile ? 1 : 0;
        }
    }
    return runJobs(jobs, std::max(1, m_options.threads));
}

} // namespace quindle::demo
