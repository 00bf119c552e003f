#include "platform/linux/startup_notification.h"
#include "test_environment.h"

class StartupNotificationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void madeIdsCarryTheServerTimeAndNoSpace()
    {
        QCOMPARE(StartupNotification::makeId(4711, "desk", 123456),
                 QStringLiteral("traymate-4711-desk-_TIME123456"));
        // A host name is not trusted to be a plain word.
        QCOMPARE(StartupNotification::makeId(1, "my \"box\"\\", 0xffffffffu),
                 QStringLiteral("traymate-1-my__box__-_TIME4294967295"));
    }

    void theRemoveMessageQuotesWhatNeedsIt()
    {
        QCOMPARE(StartupNotification::removeMessage("dock-7_TIME42"),
                 QByteArray("remove: ID=dock-7_TIME42"));
        QCOMPARE(StartupNotification::removeMessage("a b\"c\\d"),
                 QByteArray("remove: ID=\"a b\\\"c\\\\d\""));
    }

    void theMessageGoesInTwentyBytePiecesEndingInANul()
    {
        const QByteArray message = StartupNotification::removeMessage("dock-7_TIME42");
        const QList<QByteArray> pieces = StartupNotification::pieces(message);
        QCOMPARE(pieces.size(), 2); // 24 bytes and the NUL
        for (const QByteArray& piece : pieces)
            QCOMPARE(piece.size(), 20);
        QCOMPARE(pieces.join().left(message.size()), message);
        QCOMPARE(pieces.join().at(message.size()), '\0');

        // Exactly 19 bytes: the NUL still fits the one piece.
        QCOMPARE(StartupNotification::pieces(QByteArray(19, 'x')).size(), 1);
        QCOMPARE(StartupNotification::pieces(QByteArray(20, 'x')).size(), 2);
    }
};

TRAYMATE_TEST_MAIN(StartupNotificationTest)
#include "tst_startup_notification.moc"
