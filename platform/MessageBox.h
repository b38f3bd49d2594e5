#pragma once

#include <QString>

namespace quindle {

// A modal message with one OK button. Returns once the visitor or owner has closed it.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
};

// Writes one message as a single line to standard error (line breaks become spaces).
void writeMessageToStandardError(const QString& text);

} // namespace quindle
