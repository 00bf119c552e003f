// The modal questions asked from the panel, answered as a user would once they are up.
#include "panel/panel_state.h"
#include "panel/prompts.h"
#include "test_environment.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace {

// Runs `answer` on the modal question once it is up, recording what the program saw then.
struct ModalAnswer {
    bool keptOpenMeanwhile = false;
    bool ran = false;

    void arm(std::function<void(QWidget*)> answer)
    {
        QTimer::singleShot(0, [this, answer] { poll(answer); });
    }

private:
    void poll(const std::function<void(QWidget*)>& answer)
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) {
            QTimer::singleShot(10, [this, answer] { poll(answer); });
            return;
        }
        keptOpenMeanwhile = PanelState::keepOpen;
        ran = true;
        answer(modal);
    }
};

QPushButton* button(QWidget* dialog, const QString& text)
{
    for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

QStringList buttonTexts(QWidget* dialog)
{
    QStringList texts;
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
        texts.append(b->text());
    return texts;
}

} // namespace

class PromptsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void promptShowsTheFieldAndButtonsAndReturnsTheTrimmedText()
    {
        ModalAnswer answer;
        QString message;
        QSize fieldSize;
        QString initialText;
        QStringList buttons;
        bool okIsDefault = false;
        answer.arm([&](QWidget* dialog) {
            message = dialog->findChild<QLabel*>()->text();
            auto* field = dialog->findChild<QLineEdit*>();
            fieldSize = field->size();
            initialText = field->text();
            buttons = buttonTexts(dialog);
            okIsDefault = button(dialog, "OK")->isDefault();
            field->setText("\t Work  \n ");
            QTest::keyClick(field, Qt::Key_Return);
        });
        const std::optional<QString> text = promptText("Rename group", "Home");
        QVERIFY(answer.ran);
        QCOMPARE(message, QStringLiteral("Rename group"));
        QCOMPARE(fieldSize, QSize(220, 24));
        QCOMPARE(initialText, QStringLiteral("Home"));
        QCOMPARE(buttons, (QStringList{"OK", "Cancel"}));
        QVERIFY(okIsDefault);
        QVERIFY(answer.keptOpenMeanwhile);
        QVERIFY(!PanelState::keepOpen);
        QCOMPARE(text, std::optional<QString>("Work  \n"));
    }

    void promptGivesNothingForBlankTextOrCancel()
    {
        ModalAnswer blank;
        blank.arm([](QWidget* dialog) {
            dialog->findChild<QLineEdit*>()->setText(QStringLiteral(" \t\u00a0 "));
            button(dialog, "OK")->click();
        });
        QCOMPARE(promptText("New group name", ""), std::nullopt);
        QVERIFY(blank.ran && blank.keptOpenMeanwhile && !PanelState::keepOpen);

        ModalAnswer cancel;
        cancel.arm([](QWidget* dialog) {
            dialog->findChild<QLineEdit*>()->setText("Kept?");
            button(dialog, "Cancel")->click();
        });
        QCOMPARE(promptText("New group name", ""), std::nullopt);
        QVERIFY(cancel.ran && !PanelState::keepOpen);

        ModalAnswer escape;
        escape.arm([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QCOMPARE(promptText("New group name", "x"), std::nullopt);
        QVERIFY(escape.ran && !PanelState::keepOpen);
    }

    void confirmIsTrueOnlyForDelete()
    {
        QStringList buttons;
        QString text;
        ModalAnswer yes;
        yes.arm([&](QWidget* dialog) {
            buttons = buttonTexts(dialog);
            text = qobject_cast<QMessageBox*>(dialog)->text();
            button(dialog, "Delete")->click();
        });
        QVERIFY(confirmAction("Delete the group Work?"));
        QVERIFY(yes.ran && yes.keptOpenMeanwhile && !PanelState::keepOpen);
        QCOMPARE(buttons, (QStringList{"Delete", "Cancel"}));
        QCOMPARE(text, QStringLiteral("Delete the group Work?"));

        ModalAnswer no;
        no.arm([](QWidget* dialog) { button(dialog, "Cancel")->click(); });
        QVERIFY(!confirmAction("Delete the group Work?"));
        QVERIFY(no.ran && no.keptOpenMeanwhile && !PanelState::keepOpen);

        ModalAnswer escape;
        escape.arm([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        QVERIFY(!confirmAction("Delete the group Work?"));
        QVERIFY(escape.ran && !PanelState::keepOpen);
    }
};

TRAYMATE_TEST_MAIN(PromptsTest)
#include "tst_prompts.moc"
