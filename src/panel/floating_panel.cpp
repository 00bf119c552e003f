#include "panel/floating_panel.h"

#include "dock/launchers.h"
#include "model/store.h"
#include "panel/panel_layout.h"
#include "panel/panel_state.h"
#include "platform/desktop.h"

#include <QAction>
#include <QBackingStore>
#include <QCloseEvent>
#include <QPainterPath>
#include <QRegion>
#include <QVBoxLayout>

namespace {
constexpr qreal cornerRadius = 16; // the content's rounded background
}

FloatingPanel::FloatingPanel(Store& store, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_store(store)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Traymate"));
    resize(PanelLayout::full);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Escape hides whatever the panel's state; a shortcut, so no child widget swallows it.
    auto* escape = new QAction(this);
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, this, &FloatingPanel::orderOut);
    addAction(escape);
}

void FloatingPanel::orderOut()
{
    PanelState::lastHidden = PanelState::Clock::now();
    Launchers::refreshExisting(m_store.groups());
    hide();
    releasePixels();
    Q_EMIT orderedOut();
}

void FloatingPanel::setContent(QWidget* content)
{
    if (m_content) {
        // Gone from now on, even before it is deleted: it no longer follows the store.
        QObject::disconnect(&m_store, nullptr, m_content, nullptr);
        m_content->hide();
        m_content->deleteLater(); // it may be the caller of this opening
    }
    m_content = content;
    if (content)
        layout()->addWidget(content);
}

void FloatingPanel::resignKey()
{
    if (PanelState::keepOpen || m_store.pinned())
        return;
    orderOut();
}

void FloatingPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isVisible() && !isActiveWindow())
        resignKey();
}

void FloatingPanel::setVisible(bool visible)
{
    // Asked before Qt shows and lays out the content, which takes longer than the display
    // server takes to answer; showEvent() reads the answer.
    if (visible && !isVisible())
        m_compositor.emplace();
    QWidget::setVisible(visible);
}

void FloatingPanel::showEvent(QShowEvent* event)
{
    Desktop::preparePanelWindow(windowHandle());
    if (!m_compositor) // a show that came another way than setVisible()
        m_compositor.emplace();
    m_composited = m_compositor->answer();
    m_compositor.reset();
    updateShape();
    QWidget::showEvent(event);
}

void FloatingPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateShape();
}

void FloatingPanel::closeEvent(QCloseEvent* event)
{
    // A close from the window manager hides like every other way, and the window stays. A
    // close from the program itself is the application quitting, which an ignored close
    // would cancel.
    if (!event->spontaneous()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    orderOut();
}

void FloatingPanel::releasePixels()
{
    // A hidden panel needs no pixels, and every opening draws a new view in full anyway. Qt
    // keeps the window's image (400 x 440 x 4 bytes, shared with the X server) until the
    // window is destroyed; shrunk here, it grows back to the window's size at the next paint.
    if (QBackingStore* store = backingStore(); store && !isVisible())
        store->resize(QSize(1, 1));
}

void FloatingPanel::updateShape()
{
    // Workaround: without a compositor translucent pixels show black on X11, so the window is
    // cut to the content's rounded shape instead.
    if (m_composited) {
        clearMask();
        return;
    }
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);
    setMask(QRegion(shape.toFillPolygon().toPolygon()));
}
