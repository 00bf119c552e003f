#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

class QObject;
class QWindow;

// One system-wide key combination, reported on the main thread while it is held by us.
class GlobalShortcut {
public:
    virtual ~GlobalShortcut() = default;

    // Takes the combination of `key` (an original virtual key code) and `mods` (the original
    // modifier mask), releasing any earlier one first. False when the desktop refused it.
    // Where the desktop answers later (the portal), true means the request is under way; a
    // refusal arriving afterwards leaves no key, silently.
    virtual bool grab(std::uint32_t key, std::uint32_t mods) = 0;
    virtual void release() = 0;

    std::function<void()> pressed;
};

// The thin layer over the desktop: what the shell needs that Qt does not offer portably.
namespace Desktop {

// Before the application object exists: picks the display server the shell can work with.
void chooseDisplayServer();

// The global shortcut service of this desktop; one that refuses everything when none exists.
std::unique_ptr<GlobalShortcut> makeGlobalShortcut();

// Whether that service works whatever window has the focus. False where the desktop offers no
// way to set a global key (Wayland without the portal's global shortcuts): there the user
// binds `traymate --toggle` in the desktop's own keyboard settings.
bool canRegisterGlobalShortcut();

// Before each mapping of the panel window: on every virtual desktop, out of the taskbar and
// the window switcher, above other windows.
void preparePanelWindow(QWindow* window);

// Whether a compositor blends translucent windows; without one the panel shapes its corners.
// The question goes to the display server when this is made and the answer is read at
// answer(), so the round trip overlaps the caller's work in between. Main thread only.
class CompositorQuestion {
public:
    CompositorQuestion();
    ~CompositorQuestion();
    CompositorQuestion(const CompositorQuestion&) = delete;
    CompositorQuestion& operator=(const CompositorQuestion&) = delete;

    bool answer();

private:
    unsigned int m_request = 0; // the display server's number of the question; 0 once answered
    bool m_answer = true;
};

// Loads the font configuration on another thread, so that the first text drawn later need not
// wait for it; about a megabyte, where the font faces that drawing loads cost several. Dropping
// the result waits for that thread.
std::jthread loadFontsAhead();

// The token this process was started with, for the running instance to show its window with:
// $XDG_ACTIVATION_TOKEN or $DESKTOP_STARTUP_ID, else on X11 a startup id made now, whose server
// time tells the window manager the request is fresh. Empty where there is none.
QString startupToken();

// Before `window` is mapped: hands the desktop `token` (from startupToken() of a later start),
// so the window gets the focus; an empty one takes away what an earlier showing was given.
void prepareActivation(QWindow* window, const QString& token);
// After mapping: ends the launch feedback (the busy pointer) that the token started.
void completeActivation(QWindow* window, const QString& token);

// Calls `ready` once, on the main thread, when a tray icon made then lands in the desktop's
// preferred tray: Qt picks StatusNotifierItem or XEmbed at the first icon, for good, so where a
// StatusNotifierItem host may still come (a panel starting after the program), the call
// waits for it. Where the desktop has no tray, it never comes. Dropping the result cancels.
std::unique_ptr<QObject> whenTrayReady(std::function<void()> ready);

// Makes `program` the desktop's handler of traymate:// URLs for this user. Cheap when nothing
// changed, so it can run at every start.
void registerUrlScheme(const QString& program);

} // namespace Desktop
