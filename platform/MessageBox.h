#pragma once

#include <QString>

class QWidget;

namespace quindle {

// A modal message with one OK button. Returns once the visitor or owner has closed it.
class MessageBox
{
public:
    virtual ~MessageBox() = default;
    virtual void show(const QString& text) = 0;
};

// The real message box: titled "Quindle", modal to the kiosk window and centred on it.
// Every message also goes to standard error as one line, so that it reaches the
// system journal of an unattended machine.
class WidgetMessageBox final : public MessageBox
{
public:
    void setParentWindow(QWidget* window) { m_window = window; }
    void show(const QString& text) override;

private:
    QWidget* m_window = nullptr;
};

// Writes one message as a single line to standard error (line breaks become spaces).
void writeMessageToStandardError(const QString& text);

} // namespace quindle
