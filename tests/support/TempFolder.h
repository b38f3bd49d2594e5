#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

namespace quindle::test {

// A temporary folder for one test, with small helpers to fill it.
class TempFolder
{
public:
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes a file (creating its folders) and returns its full path.
    QString write(const QString& relative, const QByteArray& contents = {}) const;
    QString makeFolder(const QString& relative) const;
    QByteArray read(const QString& relative) const;

private:
    QTemporaryDir m_dir;
};

// A small valid JPEG of the given size in one colour. It is drawn with QtGui, so only the
// window tests' support has it.
QByteArray jpegBytes(int width, int height, quint32 rgb = 0x808080);

} // namespace quindle::test
