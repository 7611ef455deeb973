#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace ovra::test {

// Answers the next modal dialog of type T as soon as its event loop runs: polls for
// it, calls answer once, and stops. Gives up after timeoutMs so a dialog that never
// appears fails the test instead of hanging it; found() tells whether it came.
template <typename T> class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T*)> answer, int timeoutMs = 5000)
        : m_answer(std::move(answer)) {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this, timeoutMs] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                m_timer.stop();
                m_found = true;
                m_answer(dialog);
            } else if ((m_ticks += 10) > timeoutMs) {
                m_timer.stop();
                if (QWidget* other = QApplication::activeModalWidget())
                    other->close(); // not the expected dialog: unblock the test
            }
        });
        m_timer.start();
    }
    bool found() const { return m_found; }

private:
    std::function<void(T*)> m_answer;
    QTimer m_timer;
    int m_ticks = 0;
    bool m_found = false;
};

} // namespace ovra::test
