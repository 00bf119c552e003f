#include "panel/prompts.h"

#include "panel/panel_state.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The panel floats above other windows, so a question asked from it must come up above it,
// in front, with the focus.
QWidget* questionParent()
{
    return QApplication::activeWindow();
}

int runInFront(QDialog& dialog)
{
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setWindowModality(Qt::ApplicationModal);
    const QPointer<QWidget> previous = QApplication::activeWindow();
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    const int result = dialog.exec();
    // Some window managers leave the focus on the closed dialog: hand it back to the panel.
    if (previous && previous->isVisible())
        previous->activateWindow();
    return result;
}

// Spaces and tabs at either end go; line breaks stay.
QString trimmedOfSpaces(const QString& text)
{
    const auto isSpace = [](QChar c) {
        return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
    };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

std::optional<QString> promptText(const QString& message, const QString& initial)
{
    const PanelState::KeepOpen keepOpen;

    QDialog dialog(questionParent());
    dialog.setWindowTitle(QApplication::applicationDisplayName());
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(message, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* field = new QLineEdit(initial, &dialog);
    field->setFixedSize(220, 24);
    layout->addWidget(field);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QCoreApplication::translate("Prompts", "OK"),
                                         QDialogButtonBox::AcceptRole);
    buttons->addButton(QCoreApplication::translate("Prompts", "Cancel"),
                       QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    field->setFocus();
    field->selectAll();

    if (runInFront(dialog) != QDialog::Accepted)
        return std::nullopt;
    QString text = trimmedOfSpaces(field->text());
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

bool confirmAction(const QString& message)
{
    const PanelState::KeepOpen keepOpen;

    QMessageBox box(questionParent());
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Warning);
    box.setText(message);
    QPushButton* remove =
        box.addButton(QCoreApplication::translate("Prompts", "Delete"), QMessageBox::AcceptRole);
    QPushButton* cancel =
        box.addButton(QCoreApplication::translate("Prompts", "Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(remove);
    box.setEscapeButton(cancel);
    runInFront(box);
    return box.clickedButton() == remove;
}
