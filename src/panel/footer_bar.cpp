#include "panel/footer_bar.h"

#include "panel/panel_style.h"

#include <QEvent>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kSpacing = 8;
const char* const kTitle = "footerTitle";

} // namespace

namespace FooterFlow {

Placement arrange(const QList<QSize>& hints, int width, int spacing)
{
    Placement placement;
    if (hints.isEmpty())
        return placement;
    width = std::max(1, width);
    int rowHeight = 0;
    for (const QSize& hint : hints)
        rowHeight = std::max(rowHeight, hint.height());
    int x = 0;
    int row = 0;
    for (qsizetype i = 0; i < hints.size(); ++i) {
        const int w = std::min(hints[i].width(), width);
        if (x > 0 && x + w > width) {
            ++row;
            x = 0;
        }
        const bool last = i == hints.size() - 1;
        const int left = last ? width - w : x;
        placement.boxes.append(QRect(left, row * (rowHeight + spacing), w, rowHeight));
        x += w + spacing;
    }
    placement.rows = row + 1;
    placement.height = placement.rows * rowHeight + row * spacing;
    return placement;
}

} // namespace FooterFlow

FooterBar::FooterBar(QWidget* parent)
    : QWidget(parent)
{
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QPushButton* FooterBar::addButton(const QString& title)
{
    auto* button = new QPushButton(title, this);
    button->setProperty(kTitle, title);
    button->setAccessibleName(title);
    button->setFont(PanelStyle::small(button->font()));
    button->setAutoDefault(false);
    button->setFocusPolicy(Qt::TabFocus);
    button->setCursor(Qt::ArrowCursor);
    m_buttons.append(button);
    updateGeometry();
    return button;
}

QString FooterBar::titleOf(const QPushButton* button)
{
    return button->property(kTitle).toString();
}

QList<QSize> FooterBar::hints() const
{
    QList<QSize> list;
    for (const QPushButton* button : m_buttons) {
        // The hint of the whole title, whatever the button shows now.
        QPushButton probe(titleOf(button));
        probe.setFont(button->font());
        probe.setStyle(button->style());
        list.append(probe.sizeHint());
    }
    return list;
}

QSize FooterBar::sizeHint() const
{
    int width = 0;
    for (const QSize& hint : hints())
        width += hint.width() + kSpacing;
    return {std::max(0, width - kSpacing), heightForWidth(std::max(0, width - kSpacing))};
}

QSize FooterBar::minimumSizeHint() const
{
    return {0, heightForWidth(width())};
}

int FooterBar::heightForWidth(int width) const
{
    return FooterFlow::arrange(hints(), width, kSpacing).height;
}

void FooterBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    place();
}

void FooterBar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateGeometry();
        place();
    }
}

void FooterBar::place()
{
    const QList<QSize> wanted = hints();
    const FooterFlow::Placement placement = FooterFlow::arrange(wanted, width(), kSpacing);
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        QPushButton* button = m_buttons[i];
        const QString title = titleOf(button);
        button->setGeometry(placement.boxes[i]);
        // The last resort: a title wider than the footer itself.
        const int cut = wanted[i].width() - placement.boxes[i].width();
        if (cut > 0) {
            const QFontMetrics metrics(button->font());
            const int room = metrics.horizontalAdvance(title) - cut;
            button->setText(metrics.elidedText(title, Qt::ElideRight, std::max(0, room)));
            button->setToolTip(title);
        } else {
            button->setText(title);
            button->setToolTip(QString());
        }
    }
}
