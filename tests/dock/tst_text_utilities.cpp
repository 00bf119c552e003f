#include "dock/text_utilities.h"
#include "dock/tool_runner.h"
#include "dock_fixture.h"
#include "panel/panel_state.h"
#include "platform/display_name.h"
#include "test_environment.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
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

class TextUtilitiesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString script(const QString& name, const QByteArray& body)
    {
        const QString path = dir.filePath(name);
        DockTest::writeFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

private Q_SLOTS:
    void runToolPassesArgumentsVerbatimAndReturnsStandardOutput()
    {
        const QString tool = script("echo-args", "for a; do printf '%s\\0' \"$a\"; done\n"
                                                 "echo ignored >&2\n");
        const QStringList arguments = {
            "two words", "\"quoted\" 'single'", "<a&b>", "line\nbreak", "$HOME", "*", ""};
        const QByteArray output = runTool(tool, arguments);
        QStringList seen = QString::fromUtf8(output).split(QChar(0));
        QCOMPARE(seen.takeLast(), QString());
        QCOMPARE(seen, arguments);
    }

    void runToolGivesNothingForToolsThatCannotStartOrPrintOnlyErrors()
    {
        QVERIFY(runTool(dir.filePath("missing"), {"x"}).isEmpty());
        QVERIFY(runTool(QString(), {}).isEmpty());
        const QString plain = dir.filePath("not-executable");
        DockTest::writeFile(plain, "#!/bin/sh\necho hi\n");
        QVERIFY(runTool(plain, {}).isEmpty());
        QVERIFY(runTool(script("errors", "echo oops >&2\nexit 3\n"), {}).isEmpty());
    }

    void runToolReadsMoreThanAPipeHoldsAndNeverWaitsForInput()
    {
        // 1 MiB is far beyond a pipe's buffer; `cat` would wait forever on an open input.
        const QString big = script("big", "head -c 1048576 /dev/zero | tr '\\0' x\n");
        const QByteArray output = runTool(big, {});
        QCOMPARE(output.size(), 1048576);
        QCOMPARE(output.count('x'), 1048576);
        QCOMPARE(runTool(script("reader", "cat; echo done\n"), {}), QByteArray("done\n"));
    }

    void runToolNeverSearchesThePath()
    {
        // A bare name is a file in the current folder, not a command found on PATH.
        QVERIFY(runTool(QStringLiteral("sh"), {"-c", "echo found"}).isEmpty());
    }

    void xmlEscapeReplacesTheThreeMarkupCharactersOnly()
    {
        QCOMPARE(xmlEscape("a & b < c > d \"e\" 'f'"),
                 QStringLiteral("a &amp; b &lt; c &gt; d \"e\" 'f'"));
        QCOMPARE(xmlEscape("&amp;"), QStringLiteral("&amp;amp;"));
        QCOMPARE(xmlEscape("<<>>"), QStringLiteral("&lt;&lt;&gt;&gt;"));
        QCOMPARE(xmlEscape("Café ☕"), QStringLiteral("Café ☕"));
    }

    void displayNameDropsAFinalDotAppOnly()
    {
        QDir().mkpath(dir.filePath("Safari.app"));
        QDir().mkpath(dir.filePath("Loud.APP"));
        DockTest::writeFile(dir.filePath("notes.txt"), "");
        QCOMPARE(displayName(dir.filePath("Safari.app")), QStringLiteral("Safari"));
        QCOMPARE(displayName(dir.filePath("Safari.app/")), QStringLiteral("Safari"));
        QCOMPARE(displayName(dir.filePath("Loud.APP")), QStringLiteral("Loud.APP"));
        QCOMPARE(displayName(dir.filePath("notes.txt")), QStringLiteral("notes.txt"));
        QCOMPARE(displayName("/nowhere/Gone.app"), QStringLiteral("Gone"));
        QCOMPARE(displayName("/nowhere/folder/"), QStringLiteral("folder"));
        QCOMPARE(displayName("/"), QStringLiteral("/"));
    }

    void displayNameOfADesktopEntryIsItsLocalisedName()
    {
        const QString entry = dir.filePath("org.example.Editor.desktop");
        DockTest::writeFile(entry, "[Desktop Entry]\nType=Application\nName=Editor\n"
                                   "Name[de]=Bearbeiter\nExec=true\n");
        QCOMPARE(displayName(entry), QStringLiteral("Editor"));

        const QByteArray oldLanguage = qgetenv("LANGUAGE");
        qputenv("LANGUAGE", "de");
        const QString german = displayName(entry);
        qputenv("LANGUAGE", oldLanguage);
        QCOMPARE(german, QStringLiteral("Bearbeiter"));

        const QString bundleLike = dir.filePath("Tool.app.desktop");
        DockTest::writeFile(bundleLike,
                            "[Desktop Entry]\nType=Application\nName=Tool.app\nExec=true\n");
        QCOMPARE(displayName(bundleLike), QStringLiteral("Tool"));

        // Not a readable entry: the file's own name.
        const QString broken = dir.filePath("broken.desktop");
        DockTest::writeFile(broken, "garbage");
        QCOMPARE(displayName(broken), QStringLiteral("broken.desktop"));
    }

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

TRAYMATE_TEST_MAIN(TextUtilitiesTest)
#include "tst_text_utilities.moc"
