#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>

namespace quindle {

// The pointer file and the settings file are edited by hand, often on Windows: they are
// read as UTF-8 when the bytes are valid UTF-8, else as Windows-1252; a UTF-8 byte order
// mark is dropped.
QString decodeSettingsText(QByteArray bytes);

// Lines end with CR LF or LF; the last line needs no ending. takeSettingsLine returns the
// first line of a text that is not empty, a view into it without its ending, and leaves text
// holding the lines after it.
QStringView takeSettingsLine(QStringView& text);
QStringList splitSettingsLines(const QString& text);

// Removes leading and trailing space characters only: a tab is part of the text.
QStringView trimmedOfSpaces(QStringView text);
QString trimSpaces(QStringView text);

// The first count characters of text (a character outside the basic plane counts once
// and is never split).
QStringView firstCharacterView(QStringView text, int count);
QString firstCharacters(QStringView text, int count);

// Names in the settings files may come from Windows, where "\" separates folders.
QString withForwardSlashes(QString name);

// The whole file, or nothing when it cannot be read or is far larger than any settings
// file (a link to a device must not make the reader run forever).
std::optional<QByteArray> readSettingsFile(const QString& path);

} // namespace quindle
