#include "printing/PrintButton.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>

namespace quindle {

namespace {

QString fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString folderPart(const QString& path)
{
    const qsizetype separator = path.lastIndexOf(QLatin1Char('/'));
    return separator < 0 ? QString() : path.left(separator + 1);
}

} // namespace

QString printFilePathOf(const QString& picturePath)
{
    const QString name = fileNamePart(picturePath);
    if (name.size() < 4)
        return {};
    const QString printName = name.left(name.size() - 4) + QLatin1String(".prn");
    return resolveCaseless(folderPart(picturePath), printName);
}

bool isOrdinaryFile(const QString& path)
{
    if (path.isEmpty() || fileNamePart(path).startsWith(QLatin1Char('.')))
        return false;
    struct stat info = {};
    return ::stat(encodeFileName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

PrintButtonUpdate printButtonUpdate(PrintingMode mode, const QString& picturePath)
{
    if (mode == PrintingMode::None)
        return {};
    if (mode == PrintingMode::Jpg)
        return {true, true, printFace(), {}};
    const QString printFile = printFilePathOf(picturePath);
    if (!isOrdinaryFile(printFile))
        return {true, false, disabledPrintFace(), {}};
    return {true, true, printFace(), printFile};
}

} // namespace quindle
