#include "tools/admin/KioskPreview.h"

#include "attract/Attract.h"
#include "lookup/Lookup.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/Services.h"
#include "platform/Yield.h"
#include "screens/Browsing.h"
#include "settings/InterfacePictures.h"
#include "settings/SettingsMessages.h"
#include "settings/SettingsReader.h"
#include "shell/KioskWindow.h"
#include "tools/admin/LayoutCheck.h"
#include "tools/admin/PreviewServices.h"

#include <QDir>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

namespace quindle::admin {

namespace {

struct Screen
{
    QString file;
    QString title;
    QImage image;
};

const char* const controlButtonNames[] = {"", "prev", "close", "print", "next", "lookup"};
const char* const keyboardButtonNames[] = {"cancel", "clear", "space", "search"};

QColor outlineOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::MenuButton:
        return QColor(0x40, 0xC0, 0xFF);
    case ControlKind::Grid:
        return QColor(0xFF, 0xE0, 0x40);
    case ControlKind::ControlButton:
        return QColor(0x60, 0xFF, 0x60);
    case ControlKind::DetailView:
        return QColor(0xFF, 0x70, 0xFF);
    case ControlKind::Keyboard:
        break;
    }
    return QColor(0xFF, 0xA0, 0x30);
}

// The start screen dimmed, each control outlined in the colour of its kind and labelled
// with its statement, and whatever gets in another's way in red.
QImage layoutPicture(const QImage& start, const std::vector<PlacedControl>& controls)
{
    QImage picture = start.convertToFormat(QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.fillRect(picture.rect(), QColor(0, 0, 0, 160));
    const auto conflicts = conflictsOf(controls);
    for (const auto& [first, second] : conflicts)
        painter.fillRect(controls[first].rect.intersected(controls[second].rect), QColor(0xFF, 0, 0, 110));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    for (size_t i = 0; i < controls.size(); ++i) {
        const PlacedControl& control = controls[i];
        const bool inConflict = std::any_of(conflicts.begin(), conflicts.end(), [i](const auto& pair) {
            return pair.first == i || pair.second == i;
        });
        const QColor colour = inConflict ? QColor(0xFF, 0x30, 0x30) : outlineOf(control.kind);
        const bool panel = control.kind == ControlKind::DetailView || control.kind == ControlKind::Keyboard;
        painter.setPen(QPen(colour, 2, panel ? Qt::DashLine : Qt::SolidLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(control.rect.adjusted(1, 1, -1, -1));
        // A label wider than its control wraps, so that labels of neighbours stay apart.
        const QString label = labelOf(control);
        const QRect room(control.rect.topLeft() + QPoint(5, 3),
                         QSize(std::max(60, control.rect.width() - 10), 400));
        const QRect text = painter.fontMetrics().boundingRect(room, Qt::TextWordWrap, label);
        painter.fillRect(text.adjusted(-3, -1, 3, 1), QColor(0, 0, 0, 200));
        painter.setPen(colour);
        painter.drawText(text, Qt::TextWordWrap, label);
    }
    return picture;
}

QString indexPage(const QString& kioskFolder, const std::vector<Screen>& screens, const QStringList& problems)
{
    QString page =
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Preview of %1"
                       "</title>\n<style>body{font-family:sans-serif;background:#eee;margin:2em}"
                       "img{display:block;max-width:100%;height:auto;border:1px solid #888;margin-bottom:2em}"
                       "pre{background:#fff;padding:1em}</style></head><body>\n<h1>Preview of %1</h1>\n")
            .arg(kioskFolder.toHtmlEscaped());
    page += problems.isEmpty() ? QStringLiteral("<p>No layout problem found.</p>\n")
                               : QStringLiteral("<pre>%1</pre>\n").arg(problems.join(u'\n').toHtmlEscaped());
    for (const Screen& screen : screens)
        page +=
            QStringLiteral(
                "<h2>%1 <small>(%2)</small></h2>\n<img src=\"%2\" alt=\"%1\" width=\"%3\" height=\"%4\">\n")
                .arg(screen.title.toHtmlEscaped(), screen.file)
                .arg(screen.image.width())
                .arg(screen.image.height());
    return page + QStringLiteral("</body></html>\n");
}

// Drives the kiosk's window through its screens as a visitor would, each press followed by
// its release, and keeps a picture of each.
class Previewer
{
public:
    Previewer(const QString& programFolder, QSize screenSize)
        : m_screenSize(screenSize), m_services{m_clock, m_messages, m_messages, m_sound},
          m_window(programFolder, m_services, m_machine.services())
    {
    }

    // lines: the settings file's, for the statements that place the controls.
    void run(const QStringList& lines)
    {
        m_lines = lines;
        m_window.startKiosk(KioskWindow::StartMode::Preview);
        const QImage start = grab();
        keep(QStringLiteral("start.png"), QStringLiteral("Start: the first category's first page"), start);
        placeScreenControls();
        showCategories();
        showDetail();
        showKeyboard();
        showAttract();
        keep(QStringLiteral("layout.png"), QStringLiteral("Layout: every control and its statement"),
             layoutPicture(start, m_placed));
    }

    const std::vector<PlacedControl>& placed() const { return m_placed; }
    std::vector<Screen>& screens() { return m_screens; }
    QSize backdropSize() const { return m_window.size(); }
    // Where the open keyboard's frame lies; empty when the keyboard was not opened.
    QRect keyboardFrame() const { return m_keyboardFrame; }
    QStringList takeMessages() { return m_messages.takeShown(); }

private:
    // Where start-up put the controls of the screen: the menu and control buttons with the
    // captions they start with, the grid's slots as one, the detail view.
    void placeScreenControls()
    {
        const KioskSettings& settings = m_window.settings();
        const KioskControls& controls = m_window.controls();
        const auto place = [&](const QString& name, const QString& key, QRect rect, ControlKind kind,
                               const LabelControl* label) {
            m_placed.push_back(PlacedControl{name, statementLine(m_lines, key), rect, kind,
                                             label ? label->caption() : QString(),
                                             label ? label->captionFont() : QFont()});
        };
        for (int n = 1; n <= settings.menuEntryCount(); ++n) {
            const QString key = QStringLiteral("btn%1").arg(n);
            const LabelControl* button = controls.btnMenu[static_cast<size_t>(n)];
            place(key, key, button->geometry(), ControlKind::MenuButton, button);
        }
        QRect grid;
        for (size_t i = 1; i < controls.btnThumbnail.size(); ++i)
            grid |= controls.btnThumbnail[i]->geometry();
        if (!grid.isNull())
            place(QStringLiteral("grid"), QStringLiteral("grid"), grid, ControlKind::Grid, nullptr);
        if (settings.detailView)
            place(QStringLiteral("detailView"), QStringLiteral("detailView"), controls.bigPicture->geometry(),
                  ControlKind::DetailView, nullptr);
        for (int index = PrevButton; index <= LookupButton; ++index) {
            const LabelControl* button = controls.btnControl[static_cast<size_t>(index)];
            const QString key = QLatin1String(controlButtonNames[index]);
            if (button && !button->isHidden())
                place(key, key, button->geometry(), ControlKind::ControlButton, button);
        }
    }

    QImage grab()
    {
        yieldToScreen();
        return m_window.grab().toImage();
    }

    void keep(const QString& file, const QString& title, const QImage& image)
    {
        m_screens.push_back(
            Screen{file, title, m_screenSize.isValid() ? fitToScreen(image, m_screenSize) : image});
    }

    // Each menu button pressed, pictured before the finger lifts, so that its pressed face shows.
    void showCategories()
    {
        for (int n = 1; n <= m_window.settings().menuEntryCount(); ++n) {
            m_window.browsing().menuPress(n);
            const QString caption = m_window.settings().menuEntries[static_cast<size_t>(n)].caption;
            keep(QStringLiteral("category-%1.png").arg(n),
                 QStringLiteral("Category %1: %2, its menu button pressed")
                     .arg(n)
                     .arg(caption.isEmpty() ? m_window.settings().menuEntries[static_cast<size_t>(n)].folder
                                            : QString(caption).replace(u'_', u' ')),
                 grab());
            m_window.browsing().menuRelease(n);
        }
    }

    void showDetail()
    {
        m_window.browsing().openCategory(1);
        if (m_window.navigation().slotPicture(1).isEmpty())
            return;
        m_firstPicture = m_window.navigation().slotPicture(1);
        m_window.browsing().thumbnailPress(1);
        m_window.browsing().thumbnailRelease(1);
        keep(QStringLiteral("detail.png"),
             QStringLiteral("Detail view: %1").arg(captionTextOf(m_firstPicture)), grab());
        m_window.browsing().closeDetail();
    }

    // The keys that spell the sample: the first word of the first picture's name, as far as
    // the keyboard has its letters.
    void typeSample()
    {
        Lookup& lookup = m_window.lookup();
        const QString word = captionTextOf(m_firstPicture).section(u' ', 0, 0).toUpper();
        QString sample;
        for (QChar character : word.isEmpty() ? QStringLiteral("SAMPLE") : word)
            if (lookup.keyLegends().contains(QString(character)))
                sample += character;
        for (QChar character : sample.left(12)) {
            const int key = static_cast<int>(lookup.keyLegends().indexOf(QString(character)));
            const int half = Lookup::keySize / 2;
            lookup.keyPress(QPoint((key % Lookup::keysPerRow) * Lookup::keySize + half,
                                   (key / Lookup::keysPerRow) * Lookup::keySize + half));
        }
    }

    void showKeyboard()
    {
        if (!m_window.settings().lookupEnabled)
            return;
        Lookup& lookup = m_window.lookup();
        lookup.openKeyboard();
        typeSample();
        keep(QStringLiteral("keyboard.png"), QStringLiteral("Keyboard, with a sample text typed"), grab());
        placeKeyboard();
        const KioskControls& controls = m_window.controls();
        const QString interface = m_window.settings().interfaceFolder;
        const QString noResults = interfacePicture(interface, QStringLiteral("noResults.jpg"));
        if (fileExists(noResults)) {
            // As a search without hits shows it, for the moment it stays.
            controls.keyboard->setPicturePath(noResults);
            keep(QStringLiteral("no-results.png"), QStringLiteral("Keyboard after a search without hits"),
                 grab());
            controls.keyboard->setPicturePath(interfacePicture(interface, QStringLiteral("keyboard.jpg")));
        }
        lookup.closeKeyboard();
    }

    // The keyboard's parts lie in its frame; their places count from the window's corner here.
    void placeKeyboard()
    {
        const KioskControls& controls = m_window.controls();
        m_keyboardFrame = controls.keyboardFrame->geometry();
        const QPoint frame = m_keyboardFrame.topLeft();
        const auto place = [&](const QString& name, const QWidget* control) {
            m_placed.push_back(PlacedControl{name, statementLine(m_lines, name.section(u' ', 0, 0)),
                                             control->geometry().translated(frame), ControlKind::Keyboard,
                                             QString(), QFont()});
        };
        place(QStringLiteral("keyboard"), controls.keyboard);
        place(QStringLiteral("keyboardText"), controls.txtSearch);
        for (size_t k = 0; k < controls.btnKeyboard.size(); ++k)
            place(QStringLiteral("keyboardButtons (%1)").arg(QLatin1String(keyboardButtonNames[k])),
                  controls.btnKeyboard[k]);
    }

    // The countdown run down from its start, as an idle kiosk's ticks would.
    void showAttract()
    {
        if (!m_window.settings().attractEnabled)
            return;
        Attract& attract = m_window.attract();
        attract.firstIdleValues();
        for (int tick = 0;
             tick <= m_window.settings().idleTimeout + 1 && !m_window.navigation().slideshowShown(); ++tick)
            attract.countDown();
        if (!m_window.navigation().slideshowShown())
            return;
        keep(QStringLiteral("attract.png"), QStringLiteral("Attract: the first slide"), grab());
        attract.leaveAttractMode();
    }

    QSize m_screenSize;
    SystemClock m_clock;
    PreviewMessages m_messages;
    SilentClickSound m_sound;
    DetachedMachine m_machine;
    Services m_services;
    KioskWindow m_window;
    QStringList m_lines;
    QString m_firstPicture;
    QRect m_keyboardFrame;
    std::vector<PlacedControl> m_placed;
    std::vector<Screen> m_screens;
};

// What would end the kiosk's start-up once the settings are read: the Interface folder or a
// picture that start-up loads itself missing. Told as the check command tells it.
std::optional<Finding> startFault(const KioskSettings& settings, const QString& settingsFile,
                                  const QStringList& lines)
{
    if (!folderExists(settings.interfaceFolder))
        return Finding{Severity::Error, settings.kioskFolderPath, 0,
                       missingInterfaceFolderMessage(settings.kioskFolder)};
    for (const InterfacePicture& picture : interfacePicturesFor(settings)) {
        if (picture.need == PictureNeed::Required &&
            !fileExists(interfacePicture(settings.interfaceFolder, picture.fileName)))
            return Finding{Severity::Error, settingsFile, statementLine(lines, picture.settingsKey),
                           missingInterfacePictureMessage(picture.fileName)};
    }
    return std::nullopt;
}

bool writeFile(const QString& path, const QByteArray& bytes, CommandStreams streams)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    streams.err << "quindle-admin preview: cannot write " << path << ": " << file.errorString() << '\n';
    return false;
}

bool writePicture(const QString& path, const QImage& image, CommandStreams streams)
{
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit())
        return true;
    streams.err << "quindle-admin preview: cannot write " << path << ": " << file.errorString() << '\n';
    return false;
}

} // namespace

QImage fitToScreen(const QImage& picture, QSize screen)
{
    QImage canvas(screen, QImage::Format_RGB32);
    canvas.fill(Qt::black);
    if (picture.isNull())
        return canvas;
    const double factor =
        std::min(double(screen.width()) / picture.width(), double(screen.height()) / picture.height());
    const QSize size(qRound(picture.width() * factor), qRound(picture.height() * factor));
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(
        QRect(QPoint((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2), size),
        picture);
    return canvas;
}

int runPreview(const PreviewOptions& options, CommandStreams streams)
{
    // The kiosk's own reading first, so that settings that do not read end the preview with
    // the kiosk's message before any window is made. A fault the window meets later still
    // ends the program with the kiosk's message, through the preview's messages.
    const SettingsReport report = SettingsReader(options.programFolder).readAll();
    if (!report.ok()) {
        const SettingsProblem& problem = report.problems.front();
        streams.err << formatFinding(Finding{Severity::Error, problem.file, problem.line, problem.message},
                                     options.programFolder)
                    << '\n';
        return 1;
    }
    if (!QDir().mkpath(options.outputFolder)) {
        streams.err << "quindle-admin preview: cannot make the folder " << options.outputFolder << '\n';
        return 1;
    }
    const QString settingsFile =
        resolveCaseless(report.settings.kioskFolderPath, QStringLiteral("quindle.ini"));
    const QStringList lines = settingsLinesOf(settingsFile);
    if (const std::optional<Finding> fault = startFault(report.settings, settingsFile, lines)) {
        streams.err << formatFinding(*fault, options.programFolder) << '\n';
        return 1;
    }

    Previewer previewer(options.programFolder, options.screenSize);
    previewer.run(lines);
    std::vector<Finding> findings =
        checkLayout(previewer.placed(), previewer.backdropSize(), previewer.keyboardFrame(), settingsFile);
    for (const QString& message : previewer.takeMessages())
        findings.push_back(Finding{Severity::Warning, settingsFile, 0,
                                   QStringLiteral("The kiosk shows the message \"%1\"").arg(message)});

    QStringList problems;
    for (const Finding& finding : findings)
        problems << formatFinding(finding, options.programFolder);
    for (const QString& problem : problems)
        streams.out << problem << '\n';
    const QDir output(options.outputFolder);
    for (const Screen& screen : previewer.screens()) {
        if (!writePicture(output.filePath(screen.file), screen.image, streams))
            return 1;
    }
    if (!writeFile(output.filePath(QStringLiteral("index.html")),
                   indexPage(report.settings.kioskFolder, previewer.screens(), problems).toUtf8(), streams))
        return 1;
    streams.out << QStringLiteral("Wrote %1 pictures and index.html to %2: %3 layout problems.\n")
                       .arg(previewer.screens().size())
                       .arg(options.outputFolder)
                       .arg(findings.size());
    return 0;
}

} // namespace quindle::admin
