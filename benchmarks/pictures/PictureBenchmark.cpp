// Measures how fast the kiosk shows pictures, each figure beside its baseline measured in
// the same run: a page of large pictures without thumbnails, a page of thumbnails, the
// detail view of a very large picture, a page shown again, a page of a kiosk drawn on a larger
// screen than it was made for, and the whole start-up.
//
// Run by hand: quindle_picture_benchmark [--repeats N] [--folder DIR]

#include "controls/EffectClickSound.h"
#include "controls/PictureDecoder.h"
#include "controls/ScreenFit.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "platform/Services.h"
#include "printing/PrintSpooler.h"
#include "screens/Browsing.h"
#include "shell/KioskWindow.h"
#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "unattended/ServiceNotifier.h"
#include "unattended/SystemRestart.h"
#include "unattended/WatchdogLibrary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <thread>
#include <turbojpeg.h>
#include <vector>

using namespace quindle;

namespace {

// Services that do nothing: the benchmark shows no message and never ends the program.
class QuietMessages final : public MessageBox
{
public:
    void show(const QString& text) override { std::fprintf(stderr, "message: %s\n", qPrintable(text)); }
};
class NoSpooler final : public PrintSpooler
{
public:
    PrintOutcome printRawFile(const QString&) override { return PrintOutcome::Printed; }
    PrintOutcome printPicture(const QString&, const QRectF&) override { return PrintOutcome::Printed; }
};
class NoRestart final : public SystemRestart
{
public:
    RestartOutcome requestRestart() override { return {}; }
};
class NoWatchdog final : public WatchdogLibrary
{
public:
    bool open() override { return false; }
    void init() override {}
    unsigned char sendCommand(const unsigned char*) override { return 1; }
};
class NoNotifier final : public ServiceNotifier
{
public:
    void notifyReady() override {}
    void notifyAlive() override {}
};

// A photograph-like picture: gradients, shapes and grain, so that it compresses like one.
void writePhoto(const QString& path, int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, width, height);
    sky.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 90, 230));
    sky.setColorAt(1, QColor::fromHsv((seed * 37 + 120) % 360, 160, 90));
    painter.fillRect(image.rect(), sky);
    QRandomGenerator random(static_cast<quint32>(seed));
    for (int i = 0; i < 60; ++i) {
        painter.setBrush(QColor::fromHsv(random.bounded(360), 140, 200, 160));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(QPoint(random.bounded(width), random.bounded(height)), random.bounded(width / 6),
                            random.bounded(height / 6));
    }
    painter.end();
    for (int y = 0; y < height; y += 2) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; x += 3)
            line[x] ^= random.bounded(16u);
    }
    image.save(path, "JPEG", 90);
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double medianMs(int repeats, const std::function<void()>& prepare, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        prepare();
        times.push_back(timeMs(work));
    }
    return medianOf(times);
}

QImage fullDecodeAndScale(const QString& path, QSize target)
{
    QImageReader reader(path);
    reader.setAllocationLimit(0);
    return reader.read().scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// libjpeg-turbo's own decode at 1/8 of the size: the floor for a page of large pictures.
void turboEighth(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    tjhandle handle = tjInitDecompress();
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colourspace = 0;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    tjDecompressHeader3(handle, data, static_cast<unsigned long>(bytes.size()), &width, &height, &subsampling,
                        &colourspace);
    const int scaledWidth = TJSCALED(width, (tjscalingfactor{1, 8}));
    const int scaledHeight = TJSCALED(height, (tjscalingfactor{1, 8}));
    std::vector<unsigned char> pixels(static_cast<size_t>(scaledWidth) * static_cast<size_t>(scaledHeight) *
                                      4);
    tjDecompress2(handle, data, static_cast<unsigned long>(bytes.size()), pixels.data(), scaledWidth, 0,
                  scaledHeight, TJPF_BGRX, TJFLAG_FASTDCT);
    tjDestroy(handle);
}

void turboEighthOnTwoThreads(const QStringList& paths)
{
    std::thread second([&] {
        for (qsizetype i = 1; i < paths.size(); i += 2)
            turboEighth(paths[i]);
    });
    for (qsizetype i = 0; i < paths.size(); i += 2)
        turboEighth(paths[i]);
    second.join();
}

struct Kiosk
{
    SystemClock clock;
    QuietMessages messages;
    ImmediateProgramEnd programEnd;
    EffectClickSound sound;
    NoSpooler spooler;
    NoRestart restart;
    NoWatchdog watchdog;
    NoNotifier notifier;
    Services services{clock, messages, programEnd, sound};
    MachineServices machine{spooler, restart, watchdog, notifier};
};

// A kiosk folder with one category of the given pictures on a 4×3 grid of 240×180 slots.
QString writeKioskFolder(const QString& root, const QStringList& pictures)
{
    QDir().mkpath(root + QStringLiteral("/Kiosk/Interface"));
    QDir().mkpath(root + QStringLiteral("/Kiosk/Products"));
    QFile pointer(root + QStringLiteral("/quindleFolder.ini"));
    pointer.open(QIODevice::WriteOnly);
    pointer.write("Kiosk\r\n");
    QFile settings(root + QStringLiteral("/Kiosk/quindle.ini"));
    settings.open(QIODevice::WriteOnly);
    settings.write(
        "btn1 = Products, 10, 10\r\ngrid = 4, 3, 240, 180, 300, 100, 20, 20\r\n"
        "detailView = 300, 100, 1024, 768\r\nprev = 300, 900\r\nclose = 500, 900\r\nnext = 700, 900\r\n");
    QImage face(200, 60, QImage::Format_RGB32);
    face.fill(Qt::darkBlue);
    for (const char* name : {"btn1.jpg", "prev.jpg", "-prev.jpg", "next.jpg", "-next.jpg", "close.jpg",
                             "-close.jpg", "_thumbnail.jpg"})
        face.save(root + QStringLiteral("/Kiosk/Interface/") + QLatin1String(name), "JPEG");
    for (const QString& picture : pictures)
        QFile::copy(picture, root + QStringLiteral("/Kiosk/Products/") + QFileInfo(picture).fileName());
    return root;
}

void report(const char* what, double ours, const char* baselineName, double baseline, const char* target)
{
    std::printf("%-46s %9.1f ms   %-38s %9.1f ms   ratio %5.2f   (target %s)\n", what, ours, baselineName,
                baseline, ours / baseline, target);
}

} // namespace

int main(int argc, char** argv)
{
    PictureDecoder::limitJpegMemory();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    const qsizetype repeatsAt = arguments.indexOf(QStringLiteral("--repeats"));
    const int repeats = repeatsAt > 0 ? arguments.value(repeatsAt + 1).toInt() : 5;
    QTemporaryDir temporary;
    const qsizetype folderAt = arguments.indexOf(QStringLiteral("--folder"));
    const QString work = folderAt > 0 ? arguments.value(folderAt + 1) : temporary.path();
    QDir().mkpath(work + QStringLiteral("/source"));

    std::printf("Writing pictures to %s ...\n", qPrintable(work));
    QStringList large;
    for (int i = 0; i < 12; ++i) {
        const QString path =
            work + QStringLiteral("/source/Photo %1.jpg").arg(i + 1, 2, 10, QLatin1Char('0'));
        if (!QFile::exists(path))
            writePhoto(path, 4000, 3000, i);
        large << path;
    }
    const QString huge = work + QStringLiteral("/source/Huge.jpg");
    if (!QFile::exists(huge))
        writePhoto(huge, 6000, 4000, 99);
    const QSize slot(240, 180);

    // A page of twelve 12-megapixel pictures without thumbnails.
    const QString plainRoot = writeKioskFolder(work + QStringLiteral("/plain"), large);
    const double fullPage = medianMs(
        repeats, [] {},
        [&] {
            for (const QString& path : large)
                fullDecodeAndScale(path, slot);
        });
    const double turboPage = medianMs(
        repeats, [] {}, [&] { turboEighthOnTwoThreads(large); });
    Kiosk plainServices;
    KioskWindow plain(plainRoot, plainServices.services, plainServices.machine);
    plain.startKiosk();
    plain.show();
    const double ourPage = medianMs(
        repeats, [&] { plain.pictureDecoder().clearCache(); }, [&] { plain.browsing().showThumbnailPage(); });

    // The same page from "_" thumbnails of 240×180.
    QStringList withThumbnails = large;
    const QString thumbRoot = writeKioskFolder(work + QStringLiteral("/thumbs"), large);
    for (const QString& path : large) {
        QImage small = QImage(path).scaled(slot, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        small.save(thumbRoot + QStringLiteral("/Kiosk/Products/_") + QFileInfo(path).fileName(), "JPEG", 85);
    }
    Kiosk thumbServices;
    KioskWindow thumbs(thumbRoot, thumbServices.services, thumbServices.machine);
    thumbs.startKiosk();
    thumbs.show();
    const double thumbPage = medianMs(
        repeats * 4, [&] { thumbs.pictureDecoder().clearCache(); },
        [&] { thumbs.browsing().showThumbnailPage(); });
    const std::int64_t decodesBefore = thumbs.pictureDecoder().decodeCount();
    const double againPage = medianMs(
        repeats * 4, [] {}, [&] { thumbs.browsing().showThumbnailPage(); });
    const std::int64_t decodesAgain = thumbs.pictureDecoder().decodeCount() - decodesBefore;

    // The detail view of a 24-megapixel picture in a 1024×768 frame.
    const QSize frame(1024, 768);
    const double fullDetail = medianMs(
        repeats, [] {}, [&] { fullDecodeAndScale(huge, frame); });
    PictureDecoder detailDecoder;
    const double ourDetail = medianMs(
        repeats, [&] { detailDecoder.clearCache(); },
        [&] { detailDecoder.decodeCached(huge, PictureFit::Inside, frame); });

    // A page of twelve 12-megapixel pictures without thumbnails of a kiosk folder made for
    // 1024×768, drawn on a 1920×1080 screen: every picture is decoded for its slot's size on the
    // screen. The naive way decodes each picture whole and scales it to that size, then draws
    // the page on the screen.
    demo::DemoKioskOptions smallOptions;
    smallOptions.outputFolder = work + QStringLiteral("/demo1024");
    smallOptions.screenSize = QSize(1024, 768);
    smallOptions.categoryCount = 1;
    smallOptions.minPicturesPerCategory = smallOptions.maxPicturesPerCategory = 12;
    smallOptions.pictureSize = QSize(4000, 3000);
    smallOptions.noThumbnailEvery = 1;
    if (!QFile::exists(smallOptions.outputFolder + QStringLiteral("/quindleFolder.ini")))
        demo::DemoKioskGenerator(smallOptions).generate();
    Kiosk smallServices;
    KioskWindow small(smallOptions.outputFolder, smallServices.services, smallServices.machine);
    small.startKiosk();
    ScreenFit screen(small);
    screen.setGeometry(0, 0, 1920, 1080);
    screen.show();
    QStringList shown;
    QList<QRect> places;
    for (size_t i = 1; i < small.controls().btnThumbnail.size(); ++i) {
        const PictureControl* control = small.controls().btnThumbnail[i];
        shown << control->picturePath();
        places.push_back(QRect((QPointF(control->pos()) * screen.scale()).toPoint(),
                               (QSizeF(control->size()) * screen.scale()).toSize())
                             .translated(screen.stageArea().topLeft()));
    }
    const double naiveFit = medianMs(
        repeats, [] {},
        [&] {
            QImage page(screen.size(), QImage::Format_RGB32);
            QPainter painter(&page);
            for (qsizetype i = 0; i < shown.size(); ++i)
                painter.drawImage(places[i].topLeft(), fullDecodeAndScale(shown[i], places[i].size()));
        });
    const double ourFit = medianMs(
        repeats, [&] { small.pictureDecoder().clearCache(); },
        [&] {
            small.browsing().showThumbnailPage();
            screen.grab();
        });

    // The whole start-up of the demo kiosk, to its first page painted.
    demo::DemoKioskOptions demoOptions;
    demoOptions.outputFolder = work + QStringLiteral("/demo");
    if (!QFile::exists(demoOptions.outputFolder + QStringLiteral("/quindleFolder.ini")))
        demo::DemoKioskGenerator(demoOptions).generate();
    std::vector<double> startTimes;
    // Every window starts with a decoder of its own, its cache empty.
    for (int i = 0; i < repeats * 2; ++i) {
        Kiosk services;
        startTimes.push_back(timeMs([&] {
            KioskWindow window(demoOptions.outputFolder, services.services, services.machine);
            window.startKiosk();
            window.show();
            window.grab();
        }));
    }
    const double startUp = medianOf(startTimes);

    std::printf("\n");
    report("page of 12 x 12 MP, no thumbnails", ourPage, "full decode and scale, one thread", fullPage,
           "<= 0.30");
    report("page of 12 x 12 MP, no thumbnails", ourPage, "libjpeg-turbo 1/8 decode, two threads", turboPage,
           "<= 1.40");
    std::printf("%-46s %9.1f ms   (target under 10 ms)\n", "page of 12 thumbnails 240x180 (median)",
                thumbPage);
    std::printf("%-46s %9.1f ms   pictures decoded: %lld (target 0)\n", "the same page shown again",
                againPage, static_cast<long long>(decodesAgain));
    report("detail view, 24 MP in 1024x768", ourDetail, "full decode and scale", fullDetail, "<= 0.60");
    report("page of 12 x 12 MP, 1024x768 kiosk on 1920x1080", ourFit, "full decode, scale, draw the page",
           naiveFit, "<= 0.30");
    std::printf("%-46s %9.1f ms   (target under 150 ms, median of %d starts)\n",
                "start-up of the demo kiosk to its first page", startUp, repeats * 2);
    return 0;
}
