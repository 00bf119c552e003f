#include "panel/full_panel.h"

#include "model/store.h"
#include "panel/footer_bar.h"
#include "panel/grid_navigation.h"
#include "panel/item_grid.h"
#include "panel/panel_contents.h"
#include "panel/panel_style.h"
#include "panel/save_problem_line.h"
#include "panel/symbols.h"
#include "panel/tab_strip.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kPadding = 12;
constexpr int kRowSpacing = 10;
constexpr int kHeaderSpacing = 8;

// A hairline in the panel's edge colour.
class Divider : public QWidget {
public:
    using QWidget::QWidget;
    QSize sizeHint() const override { return {10, 1}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), PanelStyle::edge(palette()));
    }
};

QString searchStyle(const QPalette& palette)
{
    const bool dark = PanelStyle::isDark(palette);
    return QStringLiteral("QLineEdit { border: 1px solid %1; border-radius: 6px; padding: 3px 7px;"
                          " background: %2; selection-background-color: %3; }"
                          " QLineEdit:focus { border: 1px solid %3; }")
        .arg(dark ? QStringLiteral("rgba(255,255,255,40)") : QStringLiteral("rgba(0,0,0,45)"),
             dark ? QStringLiteral("rgba(255,255,255,18)")
                  : QStringLiteral("rgba(255,255,255,200)"),
             PanelStyle::accent(palette).name());
}

} // namespace

FullPanel::FullPanel(const Store& store, QWidget* parent)
    : PanelForm(parent)
    , m_store(store)
    , m_search(new QLineEdit(this))
    , m_pin(new SymbolButton(Symbol::Pin, tr("Keep open"), this))
    , m_settings(new SymbolButton(Symbol::Gearshape, tr("Settings"), this))
    , m_close(new SymbolButton(Symbol::XmarkCircleFill, tr("Close"), this))
    , m_tabs(new TabStrip(store, this))
    , m_grid(new ItemGrid(store, true, this))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kRowSpacing);

    auto* header = new QHBoxLayout;
    header->setSpacing(kHeaderSpacing);
    m_search->setPlaceholderText(tr("Search"));
    m_search->setAccessibleName(m_search->placeholderText());
    m_search->setStyleSheet(searchStyle(palette()));
    m_search->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header->addWidget(m_search, 1, Qt::AlignVCenter);
    m_pin->setCheckable(true); // so screen readers say whether the panel is kept open
    for (SymbolButton* button : {m_pin, m_settings, m_close})
        header->addWidget(button, 0, Qt::AlignVCenter);
    column->addLayout(header);

    column->addWidget(m_tabs);

    m_grid->setColumns(PanelModel::fullColumns());
    // The grid gives way to large text above and below it: it scrolls.
    m_grid->setMinimumHeight(ItemGrid::tileHeight(m_grid->font()));
    m_grid->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    column->addWidget(m_grid, 1);
    column->addWidget(new SaveProblemLine(store, this));

    column->addWidget(new Divider(this));

    auto* footer = new FooterBar(this);
    for (const QString& title : {tr("Add"), tr("Import Dock"), tr("New Group"), tr("Quit")})
        m_footer.append(footer->addButton(title));
    column->addWidget(footer);

    connect(m_search, &QLineEdit::textEdited, this, &FullPanel::queryEdited);
    connect(m_search, &QLineEdit::returnPressed, this, &FullPanel::searchSubmitted);
    // A click and a screen reader's toggle both change the check; refresh() only follows it.
    connect(m_pin, &QAbstractButton::toggled, this, [this](bool on) {
        if (on != m_store.pinned())
            Q_EMIT pinClicked();
    });
    connect(m_settings, &QAbstractButton::clicked, this, &FullPanel::settingsClicked);
    connect(m_close, &QAbstractButton::clicked, this, &FullPanel::closeClicked);
    connect(m_footer[0], &QPushButton::clicked, this, &FullPanel::addClicked);
    connect(m_footer[1], &QPushButton::clicked, this, &FullPanel::importDockClicked);
    connect(m_footer[2], &QPushButton::clicked, this, &FullPanel::newGroupClicked);
    connect(m_footer[3], &QPushButton::clicked, this, &FullPanel::quitClicked);

    m_search->installEventFilter(this);
    refresh();
}

bool FullPanel::eventFilter(QObject* watched, QEvent* event)
{
    // The search field would take Alt+digit as text.
    if (watched == m_search && event->type() == QEvent::KeyPress)
        return switchGroupByKey(*static_cast<QKeyEvent*>(event));
    return PanelForm::eventFilter(watched, event);
}

bool FullPanel::switchGroupByKey(const QKeyEvent& event)
{
    // Key events rather than shortcuts: shortcuts wait for the window to count as active,
    // which on X11 it may not yet after a grabbed hot key, while its keys already arrive.
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    const int key = event.key();
    const bool ctrl = modifiers == Qt::ControlModifier;
    const bool ctrlShift = modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    if (ctrl && (key == Qt::Key_Tab || key == Qt::Key_PageDown)) {
        stepGroup(1);
        return true;
    }
    if ((ctrlShift && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) ||
        (ctrl && key == Qt::Key_PageUp)) {
        stepGroup(-1);
        return true;
    }
    if (modifiers == Qt::AltModifier && key >= Qt::Key_1 && key <= Qt::Key_9) {
        const std::optional<int> index =
            GridNavigation::groupForDigit(key - Qt::Key_0, int(m_store.groups().size()));
        if (index)
            selectGroupAt(*index);
        return true;
    }
    return false;
}

void FullPanel::selectGroupAt(int index)
{
    if (index >= 0 && index < m_store.groups().size())
        Q_EMIT groupSelected(m_store.groups()[index].id);
}

void FullPanel::stepGroup(int step)
{
    const std::optional<AppGroup> current = PanelContents::current(m_store);
    const int index = current ? int(m_store.indexOf(current->id)) : -1;
    selectGroupAt(GridNavigation::cycledGroup(index, step, int(m_store.groups().size())));
}

void FullPanel::keyPressEvent(QKeyEvent* event)
{
    if (switchGroupByKey(*event))
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // The window's focus widget rather than hasFocus(): see switchGroupByKey().
    QWidget* focus = focusWidget();
    if (event->key() == Qt::Key_Down && modifiers == Qt::NoModifier && focus != m_grid &&
        !m_grid->items().isEmpty()) {
        m_grid->takeKeys();
        return;
    }
    if (event->key() == Qt::Key_Up && modifiers == Qt::NoModifier && focus == m_grid) {
        m_grid->releaseKeys(m_search);
        return;
    }
    // Typing anywhere in the panel types into the search.
    const QString text = event->text();
    const bool typed = !text.isEmpty() && text.front().isPrint() && !text.front().isSpace() &&
                       !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (typed && focus != m_search) {
        m_grid->releaseKeys(m_search);
        std::unique_ptr<QKeyEvent> copy(event->clone());
        QCoreApplication::sendEvent(m_search, copy.get());
        return;
    }
    PanelForm::keyPressEvent(event);
}

QPushButton* FullPanel::footerButton(const QString& title) const
{
    for (QPushButton* button : m_footer) {
        if (FooterBar::titleOf(button) == title)
            return button;
    }
    return nullptr;
}

void FullPanel::refresh()
{
    const Store& store = m_store;
    if (m_search->text() != store.query())
        m_search->setText(store.query());

    m_pin->setChecked(store.pinned());
    m_pin->setSymbol(store.pinned() ? Symbol::PinFill : Symbol::Pin);
    m_pin->setInk(store.pinned() ? PanelStyle::accent(palette()) : QColor());

    const std::optional<AppGroup> current = PanelContents::current(store);
    m_tabs->setGroups(store.groups(), current ? current->id : QUuid());
    // Files dropped during a search go to the group behind it.
    m_grid->setFileGroup(current ? std::optional(current->id) : std::nullopt);

    // The list reads as the group it shows, or as the search.
    const bool searching = PanelContents::searching(store);
    m_grid->setAccessibleName(searching ? m_search->placeholderText()
                                        : (current ? current->name : QString()));
    if (searching) {
        m_grid->setItems(PanelContents::results(store), std::nullopt, ItemGrid::Role::Results);
        m_grid->setEmptyText(tr("Drop apps, files or folders here"), false);
    } else {
        m_grid->setItems(current ? current->apps : QStringList(),
                         current ? std::optional(current->id) : std::nullopt,
                         ItemGrid::Role::Cells);
        m_grid->setEmptyText(tr("Drop apps, files or folders here"),
                             !current || current->apps.isEmpty());
    }
}

void FullPanel::showEvent(QShowEvent* event)
{
    PanelForm::showEvent(event);
    // One turn of the event loop later, as the window has become active by then.
    QTimer::singleShot(0, m_search,
                       [search = m_search] { search->setFocus(Qt::OtherFocusReason); });
}
