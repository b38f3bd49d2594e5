#include "settings/StatementFields.h"

#include "settings/SettingsText.h"
#include "settings/ValueConversions.h"

namespace quindle {

StatementFields::StatementFields(QStringView value)
{
    while (true) {
        const qsizetype comma = value.indexOf(QLatin1Char(','));
        if (comma < 0)
            break;
        m_fields.append(value.first(comma));
        value = value.sliced(comma + 1);
    }
    m_fields.append(value);
}

QStringView StatementFields::field(int number) const
{
    return number >= 1 && number <= m_fields.size() ? m_fields[number - 1] : QStringView();
}

QString StatementFields::rawText(int number) const
{
    return field(number).toString();
}

QString StatementFields::text(int number) const
{
    return trimSpaces(field(number));
}

QString StatementFields::folderName(int number) const
{
    return withForwardSlashes(text(number));
}

template <typename T> T StatementFields::remember(const T& converted)
{
    if (!converted.ok() && m_failure.isEmpty())
        m_failure = converted.failure;
    return converted;
}

std::int16_t StatementFields::wholeNumber(int number)
{
    return remember(toWholeNumber(trimmedOfSpaces(field(number)))).value;
}

int StatementFields::pixels(int number)
{
    return wholeNumber(number);
}

double StatementFields::points(int number)
{
    return remember(toPoints(trimmedOfSpaces(field(number)))).value;
}

std::uint32_t StatementFields::colour(int number)
{
    return remember(toColour(trimmedOfSpaces(field(number)))).value;
}

void applyStyleWord(TextStyle& style, const QString& word)
{
    if (word.compare(QLatin1String("boldItalic"), Qt::CaseInsensitive) == 0) {
        style.bold = true;
        style.italic = true;
        return;
    }
    if (word.compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0)
        style.bold = true;
    if (word.compare(QLatin1String("italic"), Qt::CaseInsensitive) == 0)
        style.italic = true;
}

} // namespace quindle
