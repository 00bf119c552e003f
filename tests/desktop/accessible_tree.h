#pragma once

#include <QList>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <optional>

// One object of a program as a screen reader finds it over AT-SPI.
struct AccessibleObject {
    int depth = 0; // the application is 0, its windows 1
    QString role, name;
    QStringList states, actions;
    QRect place; // on the screen, in the root window's coordinates; empty when it has none
};

// The roles, as AT-SPI names them, of what tests look for.
namespace AccessibleRole {
inline const QString button = QStringLiteral("push button"); // tiles too
inline const QString tab = QStringLiteral("page tab");
inline const QString toggle = QStringLiteral("check box"); // Qt's role for a checkable button
inline const QString list = QStringLiteral("list");        // a grid of tiles
inline const QString text = QStringLiteral("text");        // a line edit
} // namespace AccessibleRole

// A program's widgets read by a screen reader's means (atspi_tree.py, run by Debian's python3,
// which has pyatspi), so that tests can check them and click them by their names.
class AccessibleTree {
public:
    // Reads `application` on the accessibility bus that `environment` leads to.
    AccessibleTree(QProcessEnvironment environment, QString application);

    // Every object of the application, shown or not; none, with the reason in `error`, when
    // the application is not on the bus.
    QList<AccessibleObject> objects(QString* error = nullptr) const;
    // The objects on the screen, each after its parent.
    QList<AccessibleObject> shown(QString* error = nullptr) const;
    // The one object on the screen of `role` named `name`, once it is there and has a place,
    // waiting up to `timeoutMs`; none, with the reason in `error`, when there is none, or
    // several and so no telling which a person would mean.
    std::optional<AccessibleObject> find(const QString& role, const QString& name, int timeoutMs,
                                         QString* error = nullptr) const;

    static QList<AccessibleObject> withRole(const QList<AccessibleObject>& all,
                                            const QString& role);
    static const AccessibleObject* named(const QList<AccessibleObject>& all, const QString& name);
    // The objects right inside all[index].
    static QList<AccessibleObject> childrenOf(const QList<AccessibleObject>& all, qsizetype index);

private:
    QList<AccessibleObject> read(bool showingOnly, QString* error) const;

    QProcessEnvironment m_environment;
    QString m_application;
};
