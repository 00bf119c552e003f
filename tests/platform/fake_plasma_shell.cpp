#include "fake_plasma_shell.h"

#include <QDBusMessage>
#include <QFile>
#include <QJSEngine>
#include <QSaveFile>
#include <map>

namespace {

const QString kPanelPlugin = QStringLiteral("org.kde.panel");

QStringList containmentGroup(int id)
{
    return {QStringLiteral("Containments"), QString::number(id)};
}

QStringList appletGroup(int panel, int widget)
{
    return containmentGroup(panel) +
           QStringList{QStringLiteral("Applets"), QString::number(widget)};
}

QByteArray unescaped(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != '\\' || i + 1 == text.size()) {
            out.append(text.at(i));
            continue;
        }
        const char next = text.at(++i);
        switch (next) {
        case 's': out.append(' '); break;
        case 't': out.append('\t'); break;
        case 'n': out.append('\n'); break;
        case 'r': out.append('\r'); break;
        case '\\': out.append('\\'); break;
        case 'x':
            out.append(char(text.mid(i + 1, 2).toInt(nullptr, 16)));
            i += 2;
            break;
        default: out.append('\\').append(next);
        }
    }
    return out;
}

QByteArray escaped(const QString& text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        switch (c) {
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\t': out.append("\\t"); break;
        case '\r': out.append("\\r"); break;
        case ' ': out.append(i == 0 || i == utf8.size() - 1 ? "\\s" : " "); break;
        default: out.append(c);
        }
    }
    return out;
}

// The corona's containments as plasmashell loads them: panels by id, each panel's applets by id.
std::map<int, std::map<int, QString>> panelsOf(const KConfigText& config)
{
    std::map<int, std::map<int, QString>> panels;
    for (const QStringList& group : config.groups()) {
        if (group.size() == 2 && group.at(0) == QLatin1String("Containments") &&
            config.value(group, QStringLiteral("plugin")) == kPanelPlugin)
            panels[group.at(1).toInt()];
    }
    for (const QStringList& group : config.groups()) {
        if (group.size() == 4 && group.at(0) == QLatin1String("Containments") &&
            group.at(2) == QLatin1String("Applets") && panels.contains(group.at(1).toInt()))
            panels[group.at(1).toInt()][group.at(3).toInt()] =
                config.value(group, QStringLiteral("plugin")).value_or(QString());
    }
    return panels;
}

class ScriptWidget : public QObject {
    Q_OBJECT
    Q_PROPERTY(int id READ id)
    Q_PROPERTY(QString type READ type)
    Q_PROPERTY(QStringList currentConfigGroup READ currentConfigGroup WRITE setCurrentConfigGroup)

public:
    ScriptWidget(FakePlasmaShell* shell, QJSEngine* engine, int panel, int widget, QString type)
        : m_shell(shell)
        , m_engine(engine)
        , m_panel(panel)
        , m_widget(widget)
        , m_type(std::move(type))
    {
    }

    int id() const { return m_widget; }
    QString type() const { return m_type; }
    QStringList currentConfigGroup() const { return m_group; }
    void setCurrentConfigGroup(const QStringList& group) { m_group = group; }

public Q_SLOTS:
    // As Plasma's Applet::readConfig over KConfigGroup::readEntry(key, QVariant): the raw text
    // for a string default, the decoded items for a list default, nothing for undefined.
    QJSValue readConfig(const QString& key, const QJSValue& fallback = QJSValue(QString()))
    {
        const std::optional<QString> value = m_shell->config().value(configGroup(), key);
        if (!value)
            return fallback;
        if (fallback.isArray())
            return m_engine->toScriptValue(KConfigText::splitList(*value));
        if (fallback.isString())
            return QJSValue(*value);
        if (fallback.isBool())
            return QJSValue(*value == QLatin1String("true"));
        if (fallback.isNumber())
            return QJSValue(value->toDouble());
        return QJSValue();
    }

    // As Applet::writeConfig: lists as KConfig lists, anything else as its text; the task
    // manager's config scheme knows "launchers", so configChanged follows at once.
    void writeConfig(const QString& key, const QJSValue& value)
    {
        QString text;
        if (value.isArray()) {
            QStringList items;
            const int length = value.property(QStringLiteral("length")).toInt();
            for (int i = 0; i < length; ++i)
                items.append(value.property(quint32(i)).toString());
            text = KConfigText::joinList(items);
        } else {
            text = value.toString();
        }
        m_shell->config().setValue(configGroup(), key, text);
        m_shell->wrote();
    }

private:
    QStringList configGroup() const
    {
        return appletGroup(m_panel, m_widget) + QStringList{QStringLiteral("Configuration")} +
               m_group;
    }

    FakePlasmaShell* m_shell;
    QJSEngine* m_engine;
    int m_panel;
    int m_widget;
    QString m_type;
    QStringList m_group;
};

class ScriptPanel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int id READ id)
    Q_PROPERTY(QString type READ type)

public:
    ScriptPanel(FakePlasmaShell* shell, QJSEngine* engine, int id, std::map<int, QString> widgets)
        : m_shell(shell)
        , m_engine(engine)
        , m_id(id)
        , m_widgets(std::move(widgets))
    {
    }

    int id() const { return m_id; }
    QString type() const { return kPanelPlugin; }

public Q_SLOTS:
    QJSValue widgets(const QString& widgetType = QString())
    {
        QJSValue list = m_engine->newArray();
        quint32 count = 0;
        for (const auto& [id, type] : m_widgets) {
            if (widgetType.isEmpty() || type == widgetType)
                list.setProperty(count++, wrap(id, type));
        }
        return list;
    }

    QJSValue widgetById(const QJSValue& id)
    {
        if (!id.isNumber())
            return m_engine->newErrorObject(QJSValue::GenericError,
                                            QStringLiteral("widgetById requires an id"));
        const auto found = m_widgets.find(id.toInt());
        return found == m_widgets.end() ? QJSValue() : wrap(found->first, found->second);
    }

private:
    QJSValue wrap(int id, const QString& type)
    {
        return m_engine->newQObject(new ScriptWidget(m_shell, m_engine, m_id, id, type));
    }

    FakePlasmaShell* m_shell;
    QJSEngine* m_engine;
    int m_id;
    std::map<int, QString> m_widgets;
};

class ScriptGlobals : public QObject {
    Q_OBJECT

public:
    ScriptGlobals(FakePlasmaShell* shell, QJSEngine* engine)
        : m_shell(shell)
        , m_engine(engine)
        , m_panels(panelsOf(shell->config()))
    {
    }

    QString printed() const { return m_printed; }

public Q_SLOTS:
    QJSValue panels()
    {
        QJSValue list = m_engine->newArray();
        quint32 count = 0;
        for (const auto& [id, widgets] : m_panels)
            list.setProperty(count++, wrap(id, widgets));
        return list;
    }

    // Like Plasma, numbers given as strings ("20") work too.
    QJSValue panelById(const QJSValue& id)
    {
        if (id.isUndefined())
            return m_engine->newErrorObject(QJSValue::GenericError,
                                            QStringLiteral("panelById requires an id"));
        const auto found = m_panels.find(id.toInt());
        return found == m_panels.end() ? QJSValue() : wrap(found->first, found->second);
    }

    void print(const QString& text) { m_printed += text; }

private:
    QJSValue wrap(int id, const std::map<int, QString>& widgets)
    {
        return m_engine->newQObject(new ScriptPanel(m_shell, m_engine, id, widgets));
    }

    FakePlasmaShell* m_shell;
    QJSEngine* m_engine;
    std::map<int, std::map<int, QString>> m_panels;
    QString m_printed;
};

} // namespace

bool KConfigText::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    m_order.clear();
    m_entries.clear();
    QStringList group;
    for (QByteArray line : file.readAll().split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            group.clear();
            for (const QByteArray& part : line.mid(1, line.size() - 2).split(']'))
                group.append(
                    QString::fromUtf8(unescaped(part.startsWith('[') ? part.mid(1) : part)));
            if (!m_order.contains(group))
                m_order.append(group);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        QByteArray key = line.left(equals);
        if (key.endsWith("[$i]")) {
            key.chop(4);
            m_immutable.insert(group + QStringList{QString::fromUtf8(unescaped(key))});
        }
        m_entries[group].append({QString::fromUtf8(unescaped(key)),
                                 QString::fromUtf8(unescaped(line.mid(equals + 1)))});
    }
    return true;
}

bool KConfigText::save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    bool first = true;
    for (const QStringList& group : m_order) {
        if (!first)
            file.write("\n");
        first = false;
        for (const QString& part : group)
            file.write("[" + escaped(part) + "]");
        file.write("\n");
        for (const auto& [key, value] : m_entries.value(group)) {
            const bool immutable = m_immutable.contains(group + QStringList{key});
            file.write(key.toUtf8() + (immutable ? "[$i]=" : "=") + escaped(value) + "\n");
        }
    }
    return file.commit();
}

std::optional<QString> KConfigText::value(const QStringList& group, const QString& key) const
{
    for (const auto& [name, value] : m_entries.value(group)) {
        if (name == key)
            return value;
    }
    return std::nullopt;
}

void KConfigText::setValue(const QStringList& group, const QString& key, const QString& value)
{
    if (m_immutable.contains(group + QStringList{key}))
        return;
    if (!m_order.contains(group))
        m_order.append(group);
    auto& entries = m_entries[group];
    for (auto& [name, old] : entries) {
        if (name == key) {
            old = value;
            return;
        }
    }
    entries.append({key, value});
}

QStringList KConfigText::splitList(const QString& value)
{
    if (value.isEmpty())
        return {};
    if (value == QLatin1String("\\0"))
        return {QString()};
    QStringList items{QString()};
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == QLatin1Char('\\') && i + 1 < value.size())
            items.last().append(value.at(++i));
        else if (value.at(i) == QLatin1Char(','))
            items.append(QString());
        else
            items.last().append(value.at(i));
    }
    return items;
}

QString KConfigText::joinList(const QStringList& items)
{
    QStringList parts;
    for (QString item : items)
        parts.append(item.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                         .replace(QLatin1Char(','), QStringLiteral("\\,")));
    const QString joined = parts.join(QLatin1Char(','));
    return joined.isEmpty() && !items.isEmpty() ? QStringLiteral("\\0") : joined;
}

FakePlasmaShell::FakePlasmaShell(QString appletsFile)
    : m_appletsFile(std::move(appletsFile))
    , m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                 QStringLiteral("fake-plasmashell")))
{
}

FakePlasmaShell::~FakePlasmaShell()
{
    m_connection.unregisterObject(QStringLiteral("/PlasmaShell"));
    m_connection.unregisterService(QStringLiteral("org.kde.plasmashell"));
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-plasmashell"));
}

bool FakePlasmaShell::start()
{
    if (!m_config.load(m_appletsFile))
        return false;
    if (!m_connection.registerVirtualObject(QStringLiteral("/PlasmaShell"), this))
        return false;
    m_thread.start();
    moveToThread(&m_thread);
    return m_connection.registerService(QStringLiteral("org.kde.plasmashell"));
}

void FakePlasmaShell::setRefusal(Refusal refusal)
{
    const QMutexLocker lock(&m_mutex);
    m_refusal = refusal;
}

void FakePlasmaShell::editAfterNextRead(std::function<void(KConfigText&)> edit)
{
    const QMutexLocker lock(&m_mutex);
    m_editAfterRead = std::move(edit);
}

QStringList FakePlasmaShell::launchers(int panel, int widget) const
{
    const QMutexLocker lock(&m_mutex);
    const QStringList group =
        appletGroup(panel, widget) +
        QStringList{QStringLiteral("Configuration"), QStringLiteral("General")};
    return KConfigText::splitList(m_config.value(group, QStringLiteral("launchers")).value_or(""));
}

void FakePlasmaShell::setLaunchers(int panel, int widget, const QStringList& launchers)
{
    const QMutexLocker lock(&m_mutex);
    const QStringList group =
        appletGroup(panel, widget) +
        QStringList{QStringLiteral("Configuration"), QStringLiteral("General")};
    m_config.setValue(group, QStringLiteral("launchers"), KConfigText::joinList(launchers));
    m_config.save(m_appletsFile);
}

int FakePlasmaShell::scriptCount() const
{
    const QMutexLocker lock(&m_mutex);
    return m_scripts;
}

int FakePlasmaShell::configChangedCount() const
{
    const QMutexLocker lock(&m_mutex);
    return m_configChanged;
}

QStringList FakePlasmaShell::scriptErrors() const
{
    const QMutexLocker lock(&m_mutex);
    return m_errors;
}

void FakePlasmaShell::wrote()
{
    // Called with m_mutex held, from a script.
    ++m_configChanged;
    m_scriptWrote = true;
    m_config.save(m_appletsFile);
}

QString FakePlasmaShell::introspect(const QString&) const
{
    return QStringLiteral("<interface name=\"org.kde.PlasmaShell\"><method name=\"evaluateScript\">"
                          "<arg name=\"script\" type=\"s\" direction=\"in\"/>"
                          "<arg type=\"s\" direction=\"out\"/></method></interface>");
}

bool FakePlasmaShell::handleMessage(const QDBusMessage& message, const QDBusConnection&)
{
    if (message.interface() != QLatin1String("org.kde.PlasmaShell") ||
        message.member() != QLatin1String("evaluateScript") || message.signature() != "s") {
        m_connection.send(
            message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method")));
        return true;
    }
    const QMutexLocker lock(&m_mutex);
    ++m_scripts;
    if (m_refusal == Refusal::WidgetsLocked) {
        m_connection.send(
            message.createErrorReply(QDBusError::Failed, QStringLiteral("Widgets are locked")));
        return true;
    }
    if (m_refusal == Refusal::Kiosk) {
        m_connection.send(message.createErrorReply(
            QDBusError::Failed,
            QStringLiteral("Administrative policies prevent script execution")));
        return true;
    }

    QJSEngine engine;
    ScriptGlobals globals(this, &engine);
    const QJSValue self = engine.newQObject(&globals);
    QJSEngine::setObjectOwnership(&globals, QJSEngine::CppOwnership);
    for (const char* name : {"panels", "panelById", "print"})
        engine.globalObject().setProperty(QLatin1String(name), self.property(QLatin1String(name)));
    m_scriptWrote = false;
    const QJSValue result = engine.evaluate(message.arguments().value(0).toString());
    if (result.isError()) {
        const QString error = QStringLiteral("Error: %1 at line %2")
                                  .arg(result.toString())
                                  .arg(result.property(QStringLiteral("lineNumber")).toInt());
        m_errors.append(error);
        m_connection.send(message.createErrorReply(QDBusError::Failed, error));
        return true;
    }
    m_connection.send(message.createReply(globals.printed()));
    if (!m_scriptWrote && m_editAfterRead) {
        m_editAfterRead(m_config);
        m_editAfterRead = nullptr;
        m_config.save(m_appletsFile);
    }
    return true;
}

#include "fake_plasma_shell.moc"
