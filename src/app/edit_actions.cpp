#include "app/edit_actions.h"

#include <QAction>
#include <QApplication>
#include <QWidget>

namespace {

struct EditEntry {
    const char* title;
    const char* keys;
    const char* slot; // the same slot on QLineEdit, QTextEdit and QPlainTextEdit
};

constexpr EditEntry entries[] = {
    {QT_TRANSLATE_NOOP("EditActions", "Undo"), "Ctrl+Z", "undo"},
    {QT_TRANSLATE_NOOP("EditActions", "Redo"), "Ctrl+Shift+Z", "redo"},
    {nullptr, nullptr, nullptr},
    {QT_TRANSLATE_NOOP("EditActions", "Cut"), "Ctrl+X", "cut"},
    {QT_TRANSLATE_NOOP("EditActions", "Copy"), "Ctrl+C", "copy"},
    {QT_TRANSLATE_NOOP("EditActions", "Paste"), "Ctrl+V", "paste"},
    {QT_TRANSLATE_NOOP("EditActions", "Select All"), "Ctrl+A", "selectAll"},
};

void sendToFocus(const char* slot)
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return;
    const QByteArray signature = QByteArray(slot) + "()";
    if (focus->metaObject()->indexOfMethod(signature.constData()) >= 0)
        QMetaObject::invokeMethod(focus, slot);
}

} // namespace

QList<QAction*> EditActions::make(QObject* parent)
{
    QList<QAction*> actions;
    for (const EditEntry& entry : entries) {
        auto* action = new QAction(parent);
        if (!entry.title) {
            action->setSeparator(true);
        } else {
            action->setText(QCoreApplication::translate("EditActions", entry.title));
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.keys)));
            const char* slot = entry.slot;
            QObject::connect(action, &QAction::triggered, action, [slot] { sendToFocus(slot); });
        }
        actions.append(action);
    }
    return actions;
}
