#pragma once

#include "platform/desktop.h"

#include <QPointer>
#include <QWidget>
#include <optional>

class Store;

// The borderless panel window: always on top, on every virtual desktop, out of the taskbar and
// the window switcher. It is made once and only shown and hidden; every hide goes through
// orderOut().
class FloatingPanel : public QWidget {
    Q_OBJECT

public:
    explicit FloatingPanel(Store& store, QWidget* parent = nullptr);

    // Records the time of the hide, refreshes the Dock launchers, hides the window and
    // announces orderedOut(). Runs in full also when the panel is hidden already.
    void orderOut();

    // Replaces the content with `content` (taking it over), or with nothing; the old content
    // stops following the store at once and goes away.
    void setContent(QWidget* content);
    QWidget* content() const { return m_content; }

    void setVisible(bool visible) override;

Q_SIGNALS:
    // After every orderOut(), the window hidden.
    void orderedOut();

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Losing activation: hides unless a modal prompt runs or the user pinned the panel.
    void resignKey();
    void updateShape();
    void releasePixels();

    Store& m_store;
    QPointer<QWidget> m_content;
    std::optional<Desktop::CompositorQuestion> m_compositor; // asked at each showing
    bool m_composited = true;
};
