#include "platform/desktop.h"

#include <QObject>
#include <QTimer>

// Desktops without an implementation yet: the shell runs without a global key, and the
// window flags Qt sets are all the panel gets.
namespace {
class NoGlobalShortcut final : public GlobalShortcut {
public:
    bool grab(std::uint32_t, std::uint32_t) override { return false; }
    void release() override {}
};
} // namespace

void Desktop::chooseDisplayServer() {}
std::unique_ptr<GlobalShortcut> Desktop::makeGlobalShortcut()
{
    return std::make_unique<NoGlobalShortcut>();
}
bool Desktop::canRegisterGlobalShortcut()
{
    return false;
}
void Desktop::preparePanelWindow(QWindow*) {}
Desktop::CompositorQuestion::CompositorQuestion() = default;
Desktop::CompositorQuestion::~CompositorQuestion() = default;
bool Desktop::CompositorQuestion::answer()
{
    return m_answer;
}
std::jthread Desktop::loadFontsAhead()
{
    return {};
}
void Desktop::registerUrlScheme(const QString&) {}
std::unique_ptr<QObject> Desktop::whenTrayReady(std::function<void()> ready)
{
    auto watch = std::make_unique<QObject>();
    QTimer::singleShot(0, watch.get(), std::move(ready));
    return watch;
}
QString Desktop::startupToken()
{
    return QString();
}
void Desktop::prepareActivation(QWindow*, const QString&) {}
void Desktop::completeActivation(QWindow*, const QString&) {}
