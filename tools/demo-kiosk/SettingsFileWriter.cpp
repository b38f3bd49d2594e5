#include "tools/demo-kiosk/SettingsFileWriter.h"

#include "tools/demo-kiosk/DemoPalette.h"
#include "tools/demo-kiosk/InterfacePainter.h"

#include <QStringList>

namespace quindle::demo {

namespace {

QString place(const QRect& rect)
{
    return QString("%1,%2").arg(rect.left()).arg(rect.top());
}

QString printingWord(PrintingChoice choice)
{
    switch (choice) {
    case PrintingChoice::Jpg:
        return "JPG";
    case PrintingChoice::Prn:
        return "PRN";
    case PrintingChoice::Off:
        break;
    }
    return "false";
}

} // namespace

QByteArray SettingsFileWriter::pointerFile(const DemoKioskOptions& options)
{
    return (options.kioskName + "\r\n").toUtf8();
}

QByteArray SettingsFileWriter::settingsFile(const DemoKioskOptions& options, const DemoKioskLayout& layout,
                                            const QList<DemoCategory>& categories)
{
    const QString ivory = DemoPalette::settingsColour(DemoPalette::ivory());
    QStringList lines;
    lines << "[" + DemoPalette::shopName() + " - " + options.kioskName + "]"
          << "; Demo kiosk settings. Positions are screen pixels from the window's top-left corner,"
          << "; colours are hexadecimal with red in the lowest byte, times are seconds."
          << "";

    lines << "[Menu buttons: folder, left, top, caption, font, size, colour, style]";
    for (int i = 0; i < categories.size(); ++i) {
        const DemoCategory& category = categories.at(i);
        const QRect button = layout.menuButtons.at(i);
        QString value = category.folder + "," + place(button);
        // A category without a caption uses the short form: its word is drawn on its face.
        if (!category.caption.isEmpty())
            value += QString(",%1,%2,%3,%4,bold")
                         .arg(category.caption, DemoPalette::serif())
                         .arg(layout.menuFontPoints)
                         .arg(ivory);
        lines << QString("btn%1 = %2").arg(i + 1).arg(value);
    }
    lines << ""
          << "[Thumbnail page: columns, rows, width, height, left, top, column gap, row gap]";
    lines << QString("grid = %1,%2,%3,%4,%5,%6,%7,%8")
                 .arg(layout.gridColumns)
                 .arg(layout.gridRows)
                 .arg(layout.thumbnail.width())
                 .arg(layout.thumbnail.height())
                 .arg(layout.gridTopLeft.x())
                 .arg(layout.gridTopLeft.y())
                 .arg(layout.gridColumnGap)
                 .arg(layout.gridRowGap);
    lines << QString("showFileName = bottom,%1,%2,%3,%4,%5,bold")
                 .arg(layout.captionHeight)
                 .arg(DemoPalette::settingsColour(DemoPalette::ink()), DemoPalette::sans())
                 .arg(layout.captionFontPoints)
                 .arg(ivory);
    const QRect detail = layout.detailView;
    lines << QString("detailView = %1,%2,%3,%4")
                 .arg(detail.left())
                 .arg(detail.top())
                 .arg(detail.width())
                 .arg(detail.height());

    lines << ""
          << "[Control buttons: left, top, and optionally caption, font, size, colour, style]";
    lines << "prev = " + place(layout.previousButton) << "close = " + place(layout.closeButton)
          << "print = " + place(layout.printButton) << "next = " + place(layout.nextButton);
    lines << QString("lookup = %1,Find by name,%2,%3,%4,bold")
                 .arg(place(layout.lookupButton), DemoPalette::sans())
                 .arg(layout.lookupFontPoints)
                 .arg(ivory);

    lines << ""
          << "[On-screen keyboard: positions inside the keyboard frame]";
    lines << QString("keyboard = %1,%2").arg(layout.keyboardTopLeft.x()).arg(layout.keyboardTopLeft.y());
    lines << QString("keyboardText = %1,%2")
                 .arg(layout.searchTextTopLeft.x())
                 .arg(layout.searchTextTopLeft.y());
    QStringList lefts;
    for (int left : layout.keyboardButtonLefts)
        lefts << QString::number(left);
    lines << "keyboardButtons = " + lefts.join(',');

    lines << ""
          << "[Screen and behaviour]";
    lines << "backdrop = " + InterfacePainter::backdropFileName() << "attract = true"
          << "hideMouse = false"
          << "timeout = 90"
          << "attractTimer = 8";
    lines << ""
          << "[Printing: PRN sends a product's print file, JPG prints the picture in inches]";
    lines << "printing = " + printingWord(options.printing) << "jpgTop = 1.0"
          << "jpgLeft = 0.75"
          << "jpgWidth = 7.0"
          << "jpgHeight = 5.25";
    lines << ""
          << "[Unattended operation]";
    lines << "tracking = daily"
          << "reboot1 = 0"
          << "usbResetCard = false";
    return (lines.join("\r\n") + "\r\n").toUtf8();
}

} // namespace quindle::demo
