#pragma once

#include <QString>
#include <QWidget>

namespace quindle {

// The search text of the on-screen keyboard. Only the on-screen keys change it: it takes
// no focus, no typing from a physical keyboard, no drop and has no context menu. The text
// is always shown whole; a long text is drawn in a smaller face rather than cut.
class SearchBox : public QWidget
{
    Q_OBJECT

public:
    explicit SearchBox(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);
    void moveCursorToEnd() { update(); }

signals:
    void pressed(int button, QPoint position);
    void released(int button, QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QString m_text;
};

} // namespace quindle
