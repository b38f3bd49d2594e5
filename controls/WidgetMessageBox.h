#pragma once

#include "platform/MessageBox.h"

class QWidget;

namespace quindle {

// The real message box: titled "Quindle", modal to the kiosk window, centred on it and scaled
// like it. Every message also goes to standard error as one line, so that it reaches the
// system journal of an unattended machine.
class WidgetMessageBox final : public MessageBox
{
public:
    void setParentWindow(QWidget* window) { m_window = window; }
    void show(const QString& text) override;

private:
    void showScaled(const QString& text, double scale);
    void takeFocusBack();

    QWidget* m_window = nullptr;
};

} // namespace quindle
