#include "platform/desktop.h"
#include "test_environment.h"

namespace {

// Sets or clears environment variables for one case and puts them back afterwards.
class Environment {
public:
    Environment(std::initializer_list<std::pair<const char*, const char*>> values)
    {
        for (const auto& [name, value] : values) {
            m_saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
            if (value)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
    }
    ~Environment()
    {
        for (const Saved& saved : m_saved) {
            if (saved.wasSet)
                qputenv(saved.name, saved.value);
            else
                qunsetenv(saved.name);
        }
    }

private:
    struct Saved {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    QList<Saved> m_saved;
};

} // namespace

// On Wayland the shell runs through XWayland, unless the user chose a platform.
class DisplayServerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void waylandSessionsRunOnXWayland()
    {
        Environment wayland{
            {"QT_QPA_PLATFORM", nullptr}, {"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":1"}};
        Desktop::chooseDisplayServer();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
    }

    void sessionTypeAloneCountsToo()
    {
        Environment wayland{{"QT_QPA_PLATFORM", nullptr},
                            {"WAYLAND_DISPLAY", nullptr},
                            {"XDG_SESSION_TYPE", "wayland"},
                            {"DISPLAY", ":1"}};
        Desktop::chooseDisplayServer();
        QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
    }

    void theUsersChoiceAndPlainX11StayAsTheyAre()
    {
        {
            Environment chosen{{"QT_QPA_PLATFORM", "wayland"},
                               {"WAYLAND_DISPLAY", "wayland-0"},
                               {"DISPLAY", ":1"}};
            Desktop::chooseDisplayServer();
            QCOMPARE(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
        }
        {
            // No XWayland: nothing to switch to.
            Environment noX{{"QT_QPA_PLATFORM", nullptr},
                            {"WAYLAND_DISPLAY", "wayland-0"},
                            {"DISPLAY", nullptr}};
            Desktop::chooseDisplayServer();
            QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
        }
        {
            Environment x11{{"QT_QPA_PLATFORM", nullptr},
                            {"WAYLAND_DISPLAY", nullptr},
                            {"XDG_SESSION_TYPE", "x11"},
                            {"DISPLAY", ":1"}};
            Desktop::chooseDisplayServer();
            QVERIFY(!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
        }
    }
};

TRAYMATE_TEST_MAIN(DisplayServerTest)
#include "tst_display_server.moc"
