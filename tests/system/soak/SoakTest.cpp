#include "system/pictures/ProcessMemory.h"

#include "support/KioskHarness.h"
#include "tracking/TrackingLog.h"

#include <QDir>
#include <QRegularExpression>
#include <cmath>
#include <cstdio>
#include <random>

using namespace quindle;
using namespace quindle::test;

namespace {

using std::chrono::seconds;

// A positive number from the environment, else the fallback.
double fromEnvironment(const char* name, double fallback)
{
    const double value = qEnvironmentVariable(name).toDouble(); // 0 when it is no number
    return value > 0 ? value : fallback;
}

// How long the simulated run lasts: a few hours by default, so that the suite stays within
// about two minutes; QUINDLE_SOAK_DAYS=7 runs the whole week.
const seconds soakLength(std::llround(fromEnvironment("QUINDLE_SOAK_DAYS", 8.0 / 24) * 86400));
const auto soakSeed = static_cast<std::uint32_t>(fromEnvironment("QUINDLE_SOAK_SEED", 20260131));

struct LogFiles
{
    std::int64_t lines = 0;
    std::int64_t malformed = 0;
    int files = 0;
};

// Every line of every tracking file: a quoted event and a quoted time stamp, ended by CR LF. A file
// that ends in the middle of a line counts as a malformed line more.
LogFiles readLogFiles(const QString& folder)
{
    static const QRegularExpression line(
        QStringLiteral("^\"([^\"]|\"\")*\",\"\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d\"$"));
    LogFiles found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        ++found.files;
        if (!bytes.isEmpty() && !bytes.endsWith("\r\n"))
            ++found.malformed;
        QList<QByteArray> lines = bytes.split('\n');
        if (lines.last().isEmpty())
            lines.removeLast();
        for (const QByteArray& raw : lines) {
            ++found.lines;
            if (!raw.endsWith('\r') || !line.match(QString::fromUtf8(raw.chopped(1))).hasMatch())
                ++found.malformed;
        }
    }
    return found;
}

// A simulated visitor: now and then a burst of presses on whatever control is on screen.
class Visitor
{
public:
    Visitor(KioskHarness& kiosk, std::uint32_t seed) : m_kiosk(kiosk), m_random(seed) {}

    // One simulated second: maybe a press, then the kiosk's tick.
    void second()
    {
        if (m_burstLeft == 0 && chance(1, 240))
            m_burstLeft = between(3, 40);
        if (m_burstLeft > 0 && chance(1, 2)) {
            --m_burstLeft;
            pressSomething();
            ++presses;
        }
        m_kiosk.window().tick();
    }

    std::int64_t presses = 0;

private:
    bool chance(int in, int outOf) { return between(1, outOf) <= in; }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }

    void pressSomething()
    {
        const KioskControls& controls = m_kiosk.controls();
        std::vector<QWidget*> candidates;
        const auto addShown = [&](const auto& list) {
            for (QWidget* control : list) {
                if (control && control->isVisible() && control->isEnabled() && !control->size().isEmpty())
                    candidates.push_back(control);
            }
        };
        addShown(controls.btnMenu);
        addShown(controls.btnThumbnail);
        addShown(controls.lblFileName);
        addShown(controls.btnControl);
        addShown(std::array<QWidget*, 2>{controls.bigPicture, controls.attractPic});
        if (controls.keyboardFrame->isVisible()) {
            addShown(controls.btnKeyboard);
            // Keys are pressed more often than anything else while the keyboard is open.
            candidates.insert(candidates.end(), 6, controls.keyboard);
        }
        if (chance(1, 50)) {
            QTest::keyClick(&m_kiosk.window(), static_cast<Qt::Key>(between(Qt::Key_A, Qt::Key_Z)));
            return;
        }
        if (candidates.empty())
            return;
        QWidget* control =
            candidates[static_cast<size_t>(between(0, static_cast<int>(candidates.size()) - 1))];
        const QPoint at(between(0, control->width() - 1), between(0, control->height() - 1));
        m_kiosk.clickAt(control, at);
    }

    KioskHarness& m_kiosk;
    std::mt19937 m_random;
    int m_burstLeft = 0;
};

// The restart times of day that fall after from and no later than length after it.
int restartsDue(const QDateTime& from, seconds length, const QList<QTime>& times)
{
    const QDateTime until = from.addSecs(length.count());
    int due = 0;
    for (QDate day = from.date(); day <= until.date(); day = day.addDays(1)) {
        for (const QTime& time : times)
            due += QDateTime(day, time) > from && QDateTime(day, time) <= until;
    }
    return due;
}

QtMessageHandler previousHandler = nullptr;

class Soak : public KioskTest
{
protected:
    // A press on a control that a handler hid or disabled meanwhile is refused by Qt's test library
    // with a warning; a visitor's random presses make thousands of them.
    static void SetUpTestSuite()
    {
        previousHandler = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.contains(QLatin1String("not accepted by receiving widget")) && previousHandler)
                    previousHandler(type, context, message);
            });
    }
    static void TearDownTestSuite() { qInstallMessageHandler(previousHandler); }

    Soak()
    {
        folder.addPictures(QStringLiteral("Watches"), 30, false);
        for (const char* name : {"one.jpg", "two.jpg", "three.jpg"})
            folder.temp().write(QStringLiteral("Kiosk/Attract/") + QLatin1String(name), jpegBytes(200, 150));
    }

    void start(const QStringList& extraSettings, const QDateTime& from)
    {
        kiosk.clock.setNow(from);
        KioskTest::start(extraSettings);
        kiosk.window().activateKiosk();
        // The simulated visitor drives the ticks; the real one-second timer stays out.
        kiosk.window().timer().stop();
    }

    // Runs the simulated time, one tick a second, with a tick's worth of screen events.
    void run(Visitor& visitor, seconds length, const std::function<void(seconds)>& everyHour = {})
    {
        for (seconds elapsed(0); elapsed < length; elapsed += seconds(1)) {
            kiosk.clock.advance(seconds(1));
            visitor.second();
            QCoreApplication::processEvents();
            if (everyHour && elapsed.count() % 3600 == 0)
                everyHour(elapsed);
        }
    }
};

} // namespace

TEST_F(Soak, SimulatedDaysLoseNoLineAndKeepMemoryAndDescriptorsLevel)
{
    // From the evening of a month's last day, so that the run crosses midnights and a
    // month's end; restarts are due three times a day.
    const QDateTime from(QDate(2026, 1, 31), QTime(20, 0, 0));
    start({QStringLiteral("showFileName = bottom, 12, FFFFFF, DejaVu Sans, 8, 000000, bold"),
           QStringLiteral("reboot1 = 3"), QStringLiteral("reboot2 = 13.5"), QStringLiteral("reboot3 = 22")},
          from);
    // Memory and descriptors are taken as settled after the first day, or the first quarter
    // of a shorter run: fonts, plug-ins and the picture cache have filled by then.
    const seconds settled = std::max(seconds(3600), std::min(seconds(86400), soakLength / 4 / 3600 * 3600));
    Visitor visitor(kiosk, soakSeed);

    std::int64_t heapSettled = 0;
    int descriptorsSettled = 0;
    run(visitor, soakLength, [&](seconds elapsed) {
        if (elapsed == settled) {
            heapSettled = heapInUse();
            descriptorsSettled = openDescriptors();
        }
        std::fprintf(stderr, "soak: hour %lld, %lld presses, %lld lines, heap %.1f MB, %d descriptors\n",
                     static_cast<long long>(elapsed.count() / 3600), static_cast<long long>(visitor.presses),
                     static_cast<long long>(kiosk.window().trackingLog().linesLogged()),
                     static_cast<double>(heapInUse()) / 1e6, openDescriptors());
    });
    const std::int64_t heapAtEnd = heapInUse();
    const int descriptorsAtEnd = openDescriptors();

    TrackingLog& log = kiosk.window().trackingLog();
    ASSERT_TRUE(log.flush());
    const LogFiles files = readLogFiles(log.logFolder());

    EXPECT_GT(visitor.presses, 100);
    EXPECT_EQ(log.linesLogged(), files.lines);
    EXPECT_EQ(0, files.malformed);
    EXPECT_GE(files.files, from.addSecs(soakLength.count()).date() != from.date() ? 2 : 1);
    // Each restart is requested once when its time comes.
    EXPECT_EQ(restartsDue(from, soakLength, {QTime(3, 0), QTime(13, 30), QTime(22, 0)}),
              kiosk.machine.restart.requests);
    EXPECT_TRUE(kiosk.messageBox.messages.isEmpty())
        << kiosk.messageBox.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(0, kiosk.programEnd.calls);
    EXPECT_LE(descriptorsAtEnd, descriptorsSettled);
    if (!addressSanitizerBuild()) {
        EXPECT_LT(heapAtEnd - heapSettled, 5 * 1000 * 1000);
    }
}

TEST_F(Soak, MonthlyLogRollsOverAtTheMonthsEnd)
{
    start({QStringLiteral("tracking = monthly")}, QDateTime(QDate(2026, 2, 28), QTime(23, 30, 0)));
    Visitor visitor(kiosk, soakSeed + 1);
    run(visitor, seconds(3600));
    TrackingLog& log = kiosk.window().trackingLog();
    ASSERT_TRUE(log.flush());
    const LogFiles files = readLogFiles(log.logFolder());
    EXPECT_EQ(log.linesLogged(), files.lines);
    EXPECT_EQ(0, files.malformed);
    EXPECT_TRUE(QFile::exists(log.logFolder() + QStringLiteral("/02012026.csv")));
    EXPECT_TRUE(QFile::exists(log.logFolder() + QStringLiteral("/03012026.csv")));
}
