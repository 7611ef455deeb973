#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace ovra {

// Follows the window that holds the strip and reports its moves and resizes:
// "Form is moving..." or "Form is sizing..." while they happen, then "Finished "
// followed by "Moving." or "Sizing." for the last of the two once the window has kept
// still for a moment (the window system does not say when a drag ends).
class TabStripWindowWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kSettleMs = 300;

    explicit TabStripWindowWatcher(QObject* parent = nullptr);

    // Starts following `window` (and stops following the previous one).
    void watch(QWidget* window);
    QWidget* watched() const { return m_window; }

signals:
    void status(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finish();

    QPointer<QWidget> m_window;
    QTimer m_settle;
    bool m_lastWasMove = true;
    bool m_active = false;
};

} // namespace ovra
