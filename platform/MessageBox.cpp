#include "platform/MessageBox.h"

#include <QMessageBox>
#include <cstdio>

namespace quindle {

void writeMessageToStandardError(const QString& text)
{
    QString line = text;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    const QByteArray bytes = QStringLiteral("Quindle: %1\n").arg(line).toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stderr);
    std::fflush(stderr);
}

void WidgetMessageBox::show(const QString& text)
{
    writeMessageToStandardError(text);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Quindle"), text, QMessageBox::Ok, m_window);
    box.setWindowModality(m_window ? Qt::WindowModal : Qt::ApplicationModal);
    box.setContextMenuPolicy(Qt::NoContextMenu);
    box.exec();
}

} // namespace quindle
