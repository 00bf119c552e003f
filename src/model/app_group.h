#pragma once

#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

// One named, ordered list of items (applications, documents, folders): a tab of the panel.
struct AppGroup {
    QUuid id = QUuid::createUuid();
    QString name;
    QStringList apps;
    std::optional<QString> icon; // absolute path of a PNG; absent and empty are different

    // Upper-case canonical 36-character form, used in the file, URLs and icon names.
    QString idText() const;
};

// Equal when all four fields are canonically equal, in order.
bool operator==(const AppGroup& a, const AppGroup& b);
inline bool operator!=(const AppGroup& a, const AppGroup& b)
{
    return !(a == b);
}

// Parses the canonical 8-4-4-4-12 form in either case; nothing else (no braces).
std::optional<QUuid> parseGroupId(QStringView text);
QString groupIdText(const QUuid& id);
