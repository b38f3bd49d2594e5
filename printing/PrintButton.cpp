#include "printing/PrintButton.h"

#include "platform/FileSystem.h"

#include <sys/stat.h>

namespace quindle {

QString printFilePathOf(const QString& picturePath)
{
    const QString name = fileNameOf(picturePath);
    if (name.size() < 4)
        return {};
    const QString printName = name.left(name.size() - 4) + QLatin1String(".prn");
    return resolveCaseless(folderOf(picturePath), printName);
}

bool isOrdinaryFile(const QString& path)
{
    if (path.isEmpty() || fileNameOf(path).startsWith(QLatin1Char('.')))
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
