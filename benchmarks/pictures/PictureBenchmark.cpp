// Measures how fast the kiosk shows pictures, each figure beside its baseline measured in
// the same run: a page of large pictures without thumbnails, a page of thumbnails, the
// detail view of a very large picture, a page shown again, a page of a kiosk drawn on a larger
// screen than it was made for, and the whole start-up.
//
// Every figure is measured on real photographs (the benchmark set-up installs them: bash
// scripts/install-deps.sh benchmark) and again on pictures the benchmark draws itself.
//
// Run by hand: quindle_picture_benchmark [--repeats N] [--folder DIR]

#include "PhotoCorpus.h"
#include "controls/EffectClickSound.h"
#include "controls/PictureDecoder.h"
#include "controls/ScreenFit.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramEnd.h"
#include "platform/Services.h"
#include "printing/PrintSpooler.h"
#include "screens/Browsing.h"
#include "settings/KioskSettings.h"
#include "shell/KioskWindow.h"
#include "tools/demo-kiosk/DemoKioskGenerator.h"
#include "unattended/ServiceNotifier.h"
#include "unattended/SystemRestart.h"
#include "unattended/WatchdogLibrary.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
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

// A photograph-like picture drawn by the benchmark: gradients, shapes and grain. It decodes
// several times faster than a camera's photograph and stays as a second line beside the real ones.
QImage drawnPhoto(int width, int height, int seed)
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
    return image;
}

QStringList writeDrawnPictures(const QString& folder, int count, QSize size, bench::JpegKind kind, int seed)
{
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < count; ++i) {
        const QString path =
            QDir(folder).filePath(QStringLiteral("Photo %1.jpg").arg(i + 1, 2, 10, QLatin1Char('0')));
        if (!QFile::exists(path))
            bench::writeJpeg(drawnPhoto(size.width(), size.height(), seed + i), path, kind);
        paths << path;
    }
    return paths;
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

// A kiosk folder with one category on a 4×3 grid of 240×180 slots, its pictures links to the
// given files under names of their own, as many as count (the files over and over).
QString writeKioskFolder(const QString& root, const QStringList& pictures, int count)
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
    for (const char* name : {"btn1.jpg", "prev.jpg", "-prev.jpg", "next.jpg", "-next.jpg", "_next.jpg",
                             "close.jpg", "-close.jpg", "_thumbnail.jpg"})
        face.save(root + QStringLiteral("/Kiosk/Interface/") + QLatin1String(name), "JPEG");
    for (int i = 0; i < count; ++i) {
        const QString name =
            QStringLiteral("/Kiosk/Products/Picture %1.jpg").arg(i + 1, 5, 10, QLatin1Char('0'));
        QFile::link(pictures[i % pictures.size()], root + name);
    }
    return root;
}

void report(const char* what, double ours, const char* baselineName, double baseline, const char* target)
{
    std::printf("%-50s %8.1f ms   %-44s %8.1f ms   ratio %5.2f", what, ours, baselineName, baseline,
                ours / baseline);
    std::printf(*target ? "   (target %s)\n" : "%s\n", target);
}

// The pictures one kind of corpus gives: a page of twelve 12-megapixel pictures and one of
// 24 megapixels, each as baseline and as progressive files.
struct Corpus
{
    const char* name;
    QStringList page;
    QStringList progressivePage;
    QString huge;
    QString hugeProgressive;
};

Corpus drawnCorpus(const QString& work)
{
    const QString folder = work + QStringLiteral("/drawn");
    return {
        "drawn",
        writeDrawnPictures(folder + QStringLiteral("/baseline"), 12, {4000, 3000}, bench::JpegKind::Baseline,
                           0),
        writeDrawnPictures(folder + QStringLiteral("/progressive"), 12, {4000, 3000},
                           bench::JpegKind::Progressive, 0),
        writeDrawnPictures(folder + QStringLiteral("/huge"), 1, {6000, 4000}, bench::JpegKind::Baseline, 99)
            .value(0),
        writeDrawnPictures(folder + QStringLiteral("/huge-progressive"), 1, {6000, 4000},
                           bench::JpegKind::Progressive, 99)
            .value(0)};
}

Corpus realCorpus(const QString& work)
{
    const QString folder = work + QStringLiteral("/real");
    using bench::JpegKind;
    return {
        "real",
        bench::writeRealPictures(folder + QStringLiteral("/baseline"), 12, {4000, 3000}, JpegKind::Baseline),
        bench::writeRealPictures(folder + QStringLiteral("/progressive"), 12, {4000, 3000},
                                 JpegKind::Progressive),
        bench::writeRealPictures(folder + QStringLiteral("/huge"), 1, {6000, 4000}, JpegKind::Baseline)
            .value(0),
        bench::writeRealPictures(folder + QStringLiteral("/huge-progressive"), 1, {6000, 4000},
                                 JpegKind::Progressive)
            .value(0)};
}

// What the kiosk decoded a page with before it read progressive files scan by scan: the
// Qt reader's scaled decode, two pictures side by side.
QImage readerScaledDecode(const QString& path, QSize target)
{
    QImageReader reader(path);
    const QSize scaled = fitInside(reader.size(), target);
    reader.setScaledSize(scaled);
    reader.setQuality(49);
    return reader.read();
}

void readerPageOnTwoThreads(const QStringList& paths, QSize target)
{
    std::thread second([&] {
        for (qsizetype i = 1; i < paths.size(); i += 2)
            readerScaledDecode(paths[i], target);
    });
    for (qsizetype i = 0; i < paths.size(); i += 2)
        readerScaledDecode(paths[i], target);
    second.join();
}

void runEventsFor(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// From a press on the next button to the next page painted, after the visitor spent a while
// on the first page: the category opened afresh each time, with the decoder's cache empty.
double pageTurnMs(KioskWindow& window, DecoderShortcuts shortcuts, int waitMs, int repeats)
{
    LabelControl* next = window.controls().btnControl[NextButton];
    window.pictureDecoder().setShortcuts(shortcuts);
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        window.pictureDecoder().clearCache();
        window.browsing().openCategory(1);
        window.repaint();
        runEventsFor(waitMs);
        times.push_back(timeMs([&] {
            QTest::mousePress(next, Qt::LeftButton, {}, next->rect().center());
            window.repaint();
        }));
        QTest::mouseRelease(next, Qt::LeftButton, {}, next->rect().center());
    }
    window.pictureDecoder().setShortcuts(DecoderShortcuts::Taken);
    return medianOf(times);
}

void reportPageTurns(const char* what, const QString& root, const QStringList& pictures, int repeats)
{
    Kiosk services;
    KioskWindow window(writeKioskFolder(root, pictures, 36), services.services, services.machine);
    window.startKiosk();
    window.show();
    window.activateKiosk();
    const double today = pageTurnMs(window, DecoderShortcuts::Left, 1000, repeats);
    const double afterWait = pageTurnMs(window, DecoderShortcuts::Taken, 1000, repeats);
    const double withoutWait = pageTurnMs(window, DecoderShortcuts::Taken, 0, repeats);
    const QByteArray label = QByteArray(what) + ", page turn after 1 s";
    report(label.constData(), afterWait, "every picture decoded whole, no prefetch", today, "<= 16 ms");
    const QByteArray immediate = QByteArray(what) + ", page turn at once";
    report(immediate.constData(), withoutWait, "every picture decoded whole, no prefetch", today, "");
}

// The figures of one corpus.
void measureCorpus(const Corpus& corpus, const QString& work, int repeats)
{
    const QSize slot(240, 180);
    const QString root = work + QStringLiteral("/kiosk-") + QLatin1String(corpus.name);
    std::printf("\n%s pictures:\n", corpus.name);
    const auto label = [&](const char* what) {
        static QByteArray text;
        text = QByteArray(corpus.name) + ": " + what;
        return text.constData();
    };

    // A page of twelve 12-megapixel pictures without thumbnails.
    const double fullPage = medianMs(
        repeats, [] {},
        [&] {
            for (const QString& path : corpus.page)
                fullDecodeAndScale(path, slot);
        });
    const double turboPage = medianMs(
        repeats, [] {}, [&] { turboEighthOnTwoThreads(corpus.page); });
    Kiosk plainServices;
    KioskWindow plain(writeKioskFolder(root + QStringLiteral("-plain"), corpus.page, 12),
                      plainServices.services, plainServices.machine);
    plain.startKiosk();
    plain.show();
    const double ourPage = medianMs(
        repeats, [&] { plain.pictureDecoder().clearCache(); }, [&] { plain.browsing().showThumbnailPage(); });
    report(label("page of 12 x 12 MP, no thumbnails"), ourPage, "full decode and scale, one thread", fullPage,
           "<= 0.30");
    report(label("page of 12 x 12 MP, no thumbnails"), ourPage, "libjpeg-turbo 1/8 decode, two threads",
           turboPage, "<= 1.40");

    // The same page of progressive files.
    const double readerPage = medianMs(
        repeats, [] {}, [&] { readerPageOnTwoThreads(corpus.progressivePage, slot); });
    Kiosk progressiveServices;
    KioskWindow progressive(
        writeKioskFolder(root + QStringLiteral("-progressive"), corpus.progressivePage, 12),
        progressiveServices.services, progressiveServices.machine);
    progressive.startKiosk();
    progressive.show();
    const double ourProgressivePage = medianMs(
        repeats, [&] { progressive.pictureDecoder().clearCache(); },
        [&] { progressive.browsing().showThumbnailPage(); });
    report(label("page of 12 x 12 MP progressive"), ourProgressivePage,
           "Qt reader's scaled decode, two threads", readerPage, "<= 0.30");
    report(label("page of 12 x 12 MP progressive"), ourProgressivePage, "libjpeg-turbo 1/8 of baseline files",
           turboPage, "");

    // The same page from "_" thumbnails of 240×180.
    const QString thumbRoot = writeKioskFolder(root + QStringLiteral("-thumbs"), corpus.page, 12);
    for (int i = 0; i < 12; ++i) {
        QImage small = QImage(corpus.page[i]).scaled(slot, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        small.save(thumbRoot +
                       QStringLiteral("/Kiosk/Products/_Picture %1.jpg").arg(i + 1, 5, 10, QLatin1Char('0')),
                   "JPEG", 85);
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
    std::printf("%-50s %8.1f ms   (target under 10 ms)\n", label("page of 12 thumbnails 240x180 (median)"),
                thumbPage);
    std::printf("%-50s %8.1f ms   pictures decoded: %lld (target 0)\n", label("the same page shown again"),
                againPage, static_cast<long long>(decodesAgain));

    // The detail view of a 24-megapixel picture in a 1024×768 frame.
    const QSize frame(1024, 768);
    for (const QString& huge : {corpus.huge, corpus.hugeProgressive}) {
        const double fullDetail = medianMs(
            repeats, [] {}, [&] { fullDecodeAndScale(huge, frame); });
        PictureDecoder detailDecoder;
        const double ourDetail = medianMs(
            repeats, [&] { detailDecoder.clearCache(); },
            [&] { detailDecoder.decodeCached(huge, PictureFit::Inside, frame); });
        report(
            label(huge == corpus.huge ? "detail view, 24 MP in 1024x768" : "detail view, 24 MP progressive"),
            ourDetail, "full decode and scale", fullDetail, "<= 0.60");
    }

    // Page turns on three pages of the pictures without thumbnails.
    reportPageTurns(label("12 MP"), root + QStringLiteral("-turns"), corpus.page, repeats);
    reportPageTurns(label("12 MP progressive"), root + QStringLiteral("-turns-progressive"),
                    corpus.progressivePage, repeats);
}

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// The kiosk on a category of 5,000 pictures of 24 megapixels (links to eight files, half of
// them progressive) through twenty page turns a second apart and a detail view of each kind,
// in a process of its own so that its peak is its own.
int memoryRun(const QString& work, DecoderShortcuts shortcuts)
{
    QStringList pictures = bench::writeRealPictures(work + QStringLiteral("/real/memory"), 4, {6000, 4000},
                                                    bench::JpegKind::Baseline);
    pictures << bench::writeRealPictures(work + QStringLiteral("/real/memory-progressive"), 4, {6000, 4000},
                                         bench::JpegKind::Progressive);
    const QString root = work + QStringLiteral("/kiosk-memory");
    if (!QFile::exists(root))
        writeKioskFolder(root, pictures, 5000);
    Kiosk services;
    KioskWindow window(root, services.services, services.machine);
    window.pictureDecoder().setShortcuts(shortcuts);
    window.startKiosk();
    window.show();
    window.activateKiosk();
    LabelControl* next = window.controls().btnControl[NextButton];
    for (int turn = 0; turn < 20; ++turn) {
        runEventsFor(1000);
        QTest::mouseClick(next, Qt::LeftButton, {}, next->rect().center());
        window.repaint();
    }
    for (int slot : {1, 5}) {
        PictureControl* thumbnail = window.controls().btnThumbnail[static_cast<size_t>(slot)];
        QTest::mouseClick(thumbnail, Qt::LeftButton, {}, thumbnail->rect().center());
        window.repaint();
        window.browsing().closeDetail();
    }
    runEventsFor(1000);
    std::printf("%ld\n", peakResidentKb());
    return 0;
}

double startUpMs(const QString& work, int repeats)
{
    demo::DemoKioskOptions demoOptions;
    demoOptions.outputFolder = work + QStringLiteral("/demo");
    if (!QFile::exists(demoOptions.outputFolder + QStringLiteral("/quindleFolder.ini")))
        demo::DemoKioskGenerator(demoOptions).generate();
    std::vector<double> startTimes;
    // Every window starts with a decoder of its own, its cache empty. Its end, which waits for
    // the decoding of the next page in the background, is not part of the start-up.
    for (int i = 0; i < repeats; ++i) {
        Kiosk services;
        std::unique_ptr<KioskWindow> window;
        startTimes.push_back(timeMs([&] {
            window =
                std::make_unique<KioskWindow>(demoOptions.outputFolder, services.services, services.machine);
            window->startKiosk();
            window->show();
            window->grab();
        }));
    }
    return medianOf(startTimes);
}

// A page of twelve 12-megapixel pictures without thumbnails of a kiosk folder made for
// 1024×768, drawn on a 1920×1080 screen: every picture is decoded for its slot's size on the
// screen. The naive way decodes each picture whole and scales it to that size, then draws the
// page on the screen.
void reportScreenFitPage(const QString& work, int repeats)
{
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
    report("page of 12 x 12 MP, 1024x768 kiosk on 1920x1080", ourFit, "full decode, scale, draw the page",
           naiveFit, "<= 0.30");
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
    if (bench::photographFolder().isEmpty()) {
        std::fprintf(stderr, "The real photographs are missing: bash scripts/install-deps.sh benchmark\n");
        return 1;
    }

    if (arguments.contains(QStringLiteral("--memory-run")))
        return memoryRun(work, arguments.contains(QStringLiteral("--plain")) ? DecoderShortcuts::Left
                                                                             : DecoderShortcuts::Taken);

    std::printf("Writing pictures to %s ...\n", qPrintable(work));
    const Corpus corpora[] = {realCorpus(work), drawnCorpus(work)};
    for (const Corpus& corpus : corpora)
        measureCorpus(corpus, work, repeats);
    std::printf("\n%-50s %8.1f ms   (target under 150 ms, median of %d starts)\n",
                "start-up of the demo kiosk to its first page", startUpMs(work, repeats * 2), repeats * 2);

    reportScreenFitPage(work, repeats);
    const auto peakMb = [&](const QStringList& options) {
        QProcess memory;
        memory.start(QCoreApplication::applicationFilePath(),
                     QStringList{QStringLiteral("--memory-run"), QStringLiteral("--folder"), work} + options);
        memory.waitForFinished(-1);
        return memory.readAllStandardOutput().trimmed().toDouble() / 1024.0;
    };
    const double withPrefetch = peakMb({});
    const double plain = peakMb({QStringLiteral("--plain")});
    std::printf("%-50s %8.1f MB   %-44s %8.1f MB   ratio %5.2f   (target under 300 MB)\n",
                "peak resident memory, 5,000 x 24 MP, prefetch on", withPrefetch,
                "no prefetch, whole decodes", plain, withPrefetch / plain);
    return 0;
}
