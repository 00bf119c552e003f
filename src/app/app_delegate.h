#pragma once

#include <QObject>
#include <QSize>
#include <QUuid>

#include <optional>

class Store;

// The one application delegate: owns the tray icon, the panel window and the settings
// window, runs the start-up sequence and opens, sizes, places and hides the panel.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The running delegate, or nullptr (views then do nothing).
    static AppDelegate* current();

    void showPanel(std::optional<QUuid> group);
    void hidePanel();
    void togglePanel();
    QSize panelSize() const;
    void position();
    void resizePanel();
    void hoverChanged(bool inside);
    void showSettings();
};
