// The least a Qt clock window can cost: a frameless, per-pixel transparent widget
// of the default face's size that, at the start of each second, asks for a
// repaint of one digit's box and fills it with one colour. Everything Ovra Clock
// does in a second beyond the wake, the toolkit's repaint and the push is above
// this; bench/measure-process.sh -f runs it beside the clocks and their peers.
//
//   qt_floor [side]
#include <QApplication>
#include <QDateTime>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

class FloorWindow : public QWidget {
public:
    explicit FloorWindow(int side) {
        setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
        setAttribute(Qt::WA_TranslucentBackground);
        setAttribute(Qt::WA_NoSystemBackground);
        resize(side, side);
        m_digit = QRect(side / 2, side / 2 - 13, 13, 26);
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            ++m_second;
            update(m_digit);
            arm();
        });
        arm();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.fillRect(event->rect(), QColor::fromHsv(m_second * 36 % 360, 200, 200, 220));
    }

private:
    void arm() { m_timer.start(1000 - int(QDateTime::currentMSecsSinceEpoch() % 1000)); }

    QTimer m_timer;
    QRect m_digit;
    int m_second = 0;
};

} // namespace

int main(int argc, char** argv) {
    // The clock sends its frames over the X connection, not through shared memory
    // (which costs a round trip and two more wakes a second); the floor takes the
    // same path, unless the environment already chooses one.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    FloorWindow window(argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 246);
    window.move(900, 20);
    window.show();
    return app.exec();
}
