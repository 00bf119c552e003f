#pragma once

#include <QList>
#include <QSize>
#include <QWidget>
#include <optional>

class QPushButton;

// The row of buttons under the grid. With large text or long translations it wraps into
// further rows rather than cutting titles; a title that is wider than the whole panel ends in
// an ellipsis and shows whole in its tooltip.
class FooterBar : public QWidget {
    Q_OBJECT

public:
    explicit FooterBar(QWidget* parent = nullptr);

    // Adds a button titled `title`; the last one added sits at the right end.
    QPushButton* addButton(const QString& title);
    const QList<QPushButton*>& buttons() const { return m_buttons; }
    // The title a button was given, whether shown whole or not.
    static QString titleOf(const QPushButton* button);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    const QList<QSize>& hints() const;
    void place();

    QList<QPushButton*> m_buttons;
    // Layouts ask for the hints many times per showing, and each takes a probe button per title.
    mutable std::optional<QList<QSize>> m_hints;
};
