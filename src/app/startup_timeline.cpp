#include "app/startup_timeline.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

namespace {

struct Timeline {
    bool enabled = std::getenv("TRAYMATE_TIMELINE") != nullptr;
    QElapsedTimer clock;

    Timeline() { clock.start(); }
};

const Timeline& timeline()
{
    // Read-only after its first use; the clock starts at the first mark.
    static const Timeline timeline;
    return timeline;
}

// Removes itself at the first exposure; the widgets paint while the exposure is handled, so
// a mark posted then comes once they have.
class PaintWatch : public QObject {
public:
    PaintWatch(QWindow* window, const char* what)
        : QObject(window)
        , m_what(what)
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* window = static_cast<QWindow*>(watched);
        if (event->type() == QEvent::Expose && window->isExposed()) {
            window->removeEventFilter(this);
            QTimer::singleShot(0, [what = m_what] { StartupTimeline::mark(what); });
            deleteLater();
        }
        return false;
    }

private:
    const char* m_what;
};

} // namespace

void StartupTimeline::markAfterNextPaint(QWidget* window, const char* what)
{
    if (timeline().enabled && window->windowHandle())
        new PaintWatch(window->windowHandle(), what);
}

void StartupTimeline::mark(const char* what)
{
    if (timeline().enabled)
        std::fprintf(stderr, "traymate timeline %8.2f ms  %s\n",
                     double(timeline().clock.nsecsElapsed()) / 1e6, what);
}
