#pragma once

#include "settings/KioskSettings.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>
#include <cstdint>

namespace quindle {

// The comma-separated fields of one statement's value, numbered from 1. The conversions
// never stop the statement: a field that cannot be read gives 0, and the first such field
// is remembered so that the statement can refuse itself once all fields are read.
class StatementFields
{
public:
    // The fields look into the value, which must outlive them.
    explicit StatementFields(QStringView value);

    QString text(int number) const;    // trimmed of spaces
    QString rawText(int number) const; // exactly as written: style words are compared so
    QString folderName(int number) const;

    std::int16_t wholeNumber(int number);
    int pixels(int number);
    double points(int number);
    std::uint32_t colour(int number);

    bool failed() const { return !m_failure.isEmpty(); }
    QLatin1StringView failure() const { return m_failure; } // the first line of the owner's message

private:
    template <typename T> T remember(const T& converted);

    QStringView field(int number) const;

    // A statement has at most eight fields that are read; more only fail its comma count.
    QVarLengthArray<QStringView, 8> m_fields;
    QLatin1StringView m_failure;
};

// Applies a style word ("bold", "italic" or "boldItalic", in any letter case, compared
// without trimming). It only ever sets bold or italic; any other text leaves the style.
void applyStyleWord(TextStyle& style, const QString& word);

} // namespace quindle
