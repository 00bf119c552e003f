#include "panel/footer_bar.h"

#include "panel/footer_flow.h"
#include "panel/panel_style.h"

#include <QEvent>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int kSpacing = 8;
const char* const kTitle = "footerTitle";

} // namespace

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
    m_hints.reset();
    updateGeometry();
    return button;
}

QString FooterBar::titleOf(const QPushButton* button)
{
    return button->property(kTitle).toString();
}

const QList<QSize>& FooterBar::hints() const
{
    if (m_hints)
        return *m_hints;
    QList<QSize> list;
    for (const QPushButton* button : m_buttons) {
        // The hint of the whole title, whatever the button shows now.
        QPushButton probe(titleOf(button));
        probe.setFont(button->font());
        probe.setStyle(button->style());
        list.append(probe.sizeHint());
    }
    return m_hints.emplace(std::move(list));
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
        m_hints.reset();
        updateGeometry();
        place();
    }
}

void FooterBar::place()
{
    const QList<QSize> wanted = hints(); // a shared copy: the loop below sends events
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
