#include "panel/compact_panel.h"

#include "model/store.h"
#include "panel/group_icon.h"
#include "panel/item_grid.h"
#include "panel/panel_contents.h"
#include "panel/panel_style.h"
#include "panel/save_problem_line.h"
#include "panel/symbols.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPadding = 16;
constexpr int kRowSpacing = 8;
constexpr int kIconSide = 24;

} // namespace

// One line of text that ends in an ellipsis when it does not fit.
class ElidedLabel : public QWidget {
public:
    using QWidget::QWidget;

    void setText(const QString& text)
    {
        if (text == m_text)
            return;
        m_text = text;
        setAccessibleName(text);
        updateGeometry();
        update();
    }
    const QString& text() const { return m_text; }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(m_text), metrics.height()};
    }
    QSize minimumSizeHint() const override { return {0, QFontMetrics(font()).height()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setPen(PanelStyle::primary(palette()));
        const QFontMetrics metrics(font());
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         metrics.elidedText(m_text, Qt::ElideRight, width()));
    }

private:
    QString m_text;
};

// The group's picture, made at each paint for the pixel ratio of the screen it is on.
class GroupPicture : public QWidget {
public:
    using QWidget::QWidget;

    void setGroup(const std::optional<AppGroup>& group)
    {
        m_group = group;
        setVisible(group && !groupIcon(*group, kIconSide, 1).isNull());
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_group)
            return;
        const QPixmap picture = groupIcon(*m_group, kIconSide, devicePixelRatioF());
        QPainter painter(this);
        painter.drawPixmap(QRect(0, 0, kIconSide, kIconSide), picture);
    }

private:
    std::optional<AppGroup> m_group;
};

CompactPanel::CompactPanel(const Store& store, QWidget* parent)
    : PanelForm(parent)
    , m_store(store)
    , m_icon(new GroupPicture(this))
    , m_name(new ElidedLabel(this))
    , m_allGroups(new SymbolButton(Symbol::SquareGrid2x2, tr("All groups"), this))
    , m_close(new SymbolButton(Symbol::XmarkCircleFill, tr("Close"), this))
    , m_grid(new ItemGrid(store, false, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kRowSpacing);

    auto* header = new QHBoxLayout;
    header->setSpacing(
        style()->layoutSpacing(QSizePolicy::Label, QSizePolicy::Label, Qt::Horizontal));
    if (header->spacing() < 0)
        header->setSpacing(6);
    m_icon->setFixedSize(kIconSide, kIconSide);
    m_name->setFont(PanelStyle::headline(font()));
    m_name->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    header->addWidget(m_icon, 0, Qt::AlignVCenter);
    header->addWidget(m_name, 1, Qt::AlignVCenter);
    header->addWidget(m_allGroups, 0, Qt::AlignVCenter);
    header->addWidget(m_close, 0, Qt::AlignVCenter);
    column->addLayout(header);

    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(m_grid, 1);
    column->addWidget(new SaveProblemLine(store, this));

    connect(m_allGroups, &QAbstractButton::clicked, this, &CompactPanel::allGroupsClicked);
    connect(m_close, &QAbstractButton::clicked, this, &CompactPanel::closeClicked);
    refresh();
}

void CompactPanel::showEvent(QShowEvent* event)
{
    PanelForm::showEvent(event);
    // Without a search field the keyboard starts on the tiles, once the window is active.
    QTimer::singleShot(0, m_grid, [grid = m_grid] { grid->takeKeys(); });
}

QWidget* CompactPanel::iconLabel() const
{
    return m_icon;
}

QString CompactPanel::shownName() const
{
    return m_name->text();
}

void CompactPanel::refresh()
{
    const std::optional<AppGroup> current = PanelContents::current(m_store);
    m_icon->setGroup(current);
    m_name->setText(current ? current->name : QString());
    m_grid->setAccessibleName(m_name->text());
    m_grid->setColumns(PanelContents::compactColumns(m_store));
    m_grid->setItems(current ? current->apps : QStringList(),
                     current ? std::optional(current->id) : std::nullopt, ItemGrid::Role::Cells);
    m_grid->setEmptyText(tr("Empty group"), !current || current->apps.isEmpty());
}
