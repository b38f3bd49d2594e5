#include "tools/admin/KioskPreview.h"

#include "controls/KioskControls.h"
#include "platform/FileSystem.h"
#include "settings/InterfacePictures.h"
#include "settings/SettingsMessages.h"
#include "settings/SettingsReader.h"
#include "tools/admin/LayoutCheck.h"
#include "tools/admin/ScreenTour.h"

#include <QDir>
#include <QPainter>
#include <QSaveFile>
#include <algorithm>

namespace quindle::admin {

namespace {

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

QString indexPage(const QString& kioskFolder, const std::vector<ScreenPicture>& screens,
                  const QStringList& problems)
{
    QString page =
        QStringLiteral("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Preview of %1"
                       "</title>\n<style>body{font-family:sans-serif;background:#eee;margin:2em}"
                       "img{display:block;max-width:100%;height:auto;border:1px solid #888;margin-bottom:2em}"
                       "pre{background:#fff;padding:1em}</style></head><body>\n<h1>Preview of %1</h1>\n")
            .arg(kioskFolder.toHtmlEscaped());
    page += problems.isEmpty() ? QStringLiteral("<p>No layout problem found.</p>\n")
                               : QStringLiteral("<pre>%1</pre>\n").arg(problems.join(u'\n').toHtmlEscaped());
    for (const ScreenPicture& screen : screens)
        page +=
            QStringLiteral(
                "<h2>%1 <small>(%2)</small></h2>\n<img src=\"%2\" alt=\"%1\" width=\"%3\" height=\"%4\">\n")
                .arg(screen.title.toHtmlEscaped(), screen.file)
                .arg(screen.image.width())
                .arg(screen.image.height());
    return page + QStringLiteral("</body></html>\n");
}

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

    ScreenTour tour(options.programFolder);
    tour.run(lines);
    std::vector<ScreenPicture> screens = tour.screens();
    screens.push_back(ScreenPicture{QStringLiteral("layout.png"),
                                    QStringLiteral("Layout: every control and its statement"),
                                    layoutPicture(tour.startScreen(), tour.placed())});
    if (options.screenSize.isValid()) {
        for (ScreenPicture& screen : screens)
            screen.image = fitToScreen(screen.image, options.screenSize);
    }
    std::vector<Finding> findings =
        checkLayout(tour.placed(), tour.backdropSize(), tour.keyboardFrame(), settingsFile);
    for (const QString& message : tour.takeMessages())
        findings.push_back(Finding{Severity::Warning, settingsFile, 0,
                                   QStringLiteral("The kiosk shows the message \"%1\"").arg(message)});

    QStringList problems;
    for (const Finding& finding : findings)
        problems << formatFinding(finding, options.programFolder);
    for (const QString& problem : problems)
        streams.out << problem << '\n';
    const QDir output(options.outputFolder);
    for (const ScreenPicture& screen : screens) {
        if (!writePicture(output.filePath(screen.file), screen.image, streams))
            return 1;
    }
    if (!writeFile(output.filePath(QStringLiteral("index.html")),
                   indexPage(report.settings.kioskFolder, screens, problems).toUtf8(), streams))
        return 1;
    streams.out << QStringLiteral("Wrote %1 pictures and index.html to %2: %3 layout problems.\n")
                       .arg(screens.size())
                       .arg(options.outputFolder)
                       .arg(findings.size());
    return 0;
}

} // namespace quindle::admin
