#include "app/app_delegate.h"

// Placeholder bodies until the shell lands; the panel content links against these.
namespace {
AppDelegate* g_current = nullptr;
}

AppDelegate::AppDelegate(QObject* parent) : QObject(parent) { g_current = this; }
AppDelegate::~AppDelegate() { g_current = nullptr; }
AppDelegate* AppDelegate::current() { return g_current; }
void AppDelegate::showPanel(std::optional<QUuid>) {}
void AppDelegate::hidePanel() {}
void AppDelegate::togglePanel() {}
QSize AppDelegate::panelSize() const { return {400, 440}; }
void AppDelegate::position() {}
void AppDelegate::resizePanel() {}
void AppDelegate::hoverChanged(bool) {}
void AppDelegate::showSettings() {}
