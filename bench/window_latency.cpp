// How soon the editor's window answers while a large circuit is analysed:
//
//     build/default/bench/kelno_window_latency FILE [SECONDS]
//
// Starts the editor with FILE as a pupil would, notes when the window first paints, then
// moves the mouse over the circuit every 10 ms for as long as the analysis runs (at most
// SECONDS, 60 unless given) and notes how late each move is handled: after the moment it was
// due, 10 ms after the tick before it. A window that does not answer for a while makes the
// move due in that while late by as much. Prints the times in milliseconds. Run it under Xvfb or with QT_QPA_PLATFORM=offscreen,
// with settings of its own (XDG_CONFIG_HOME) so that the user's recent files stay as they are.
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ckelnoapp.h"
#include "ckelnodoc.h"
#include "ckelnoview.h"

namespace {

constexpr int kTickMs = 10;

// Notes the first paint of the view and how late each moved mouse is handled.
class Watch : public QObject {
public:
    explicit Watch(const QElapsedTimer& clock) : clock_(clock) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && firstPaint < 0) {
            firstPaint = clock_.elapsed();
        }
        if (event->type() == QEvent::MouseMove && !due.empty()) {
            lateness.push_back(clock_.elapsed() - due.front());
            due.erase(due.begin());
        }
        return QObject::eventFilter(watched, event);
    }

    qint64 firstPaint = -1;
    std::vector<qint64> due;  // when each posted move was due, oldest first
    std::vector<qint64> lateness;

private:
    const QElapsedTimer& clock_;
};

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    if (argc < 2) {
        std::fputs("使い方: kelno_window_latency FILE [SECONDS]\n", stderr);
        return 2;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelno"));
    QApplication::setOrganizationName(QStringLiteral("Morlan"));
    const qint64 limit = (argc > 2 ? std::stoll(argv[2]) : 60) * 1000;

    kelno::CKelnoApp kelno;
    Watch watch(clock);
    kelno.view().installEventFilter(&watch);
    if (const std::optional<int> status = kelno.Start({argv[1]})) {
        return *status;
    }
    const qint64 started = clock.elapsed();
    const qint64 elements = static_cast<qint64>(kelno.document().core().circuit().ElementCount());

    qint64 analysed = -1;
    QTimer ticks;
    qint64 lastTick = clock.elapsed();
    int tick = 0;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        if (!kelno.document().core().analysisPending() && analysed < 0) {
            analysed = clock.elapsed();
        }
        if (analysed >= 0 || clock.elapsed() > limit) {
            QApplication::quit();
            return;
        }
        // A timer held up by a busy window fires late: its move was due on time.
        ++tick;
        watch.due.push_back(lastTick + kTickMs);
        lastTick = clock.elapsed();
        const QPointF at(50 + tick % 200, 50 + (tick / 200) % 200);
        QApplication::postEvent(&kelno.view(),
                                new QMouseEvent(QEvent::MouseMove, at, at, Qt::NoButton,
                                                Qt::NoButton, Qt::NoModifier));
    });
    ticks.start(kTickMs);
    QApplication::exec();

    std::vector<qint64> late = watch.lateness;
    std::sort(late.begin(), late.end());
    const auto at = [&late](double share) {
        return late.empty() ? qint64{0} : late[static_cast<std::size_t>(share * (late.size() - 1))];
    };
    std::printf("elements %lld\nstart returned %lld ms\nfirst paint %lld ms\n"
                "analysis ended %s%lld ms\nmoves %zu: median %lld ms, 99%% %lld ms, most %lld ms\n",
                elements, started, watch.firstPaint, analysed < 0 ? "not by " : "",
                analysed < 0 ? limit : analysed, late.size(), at(0.5), at(0.99), at(1.0));
    return 0;
}
