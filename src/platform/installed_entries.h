#pragma once

#include <QObject>
#include <QString>
#include <memory>

// Tells when the desktop entries installed for applications change (a program installed,
// updated or removed), so that what was read from them can be read again.
class InstalledEntries : public QObject {
    Q_OBJECT

public:
    explicit InstalledEntries(QObject* parent = nullptr);
    ~InstalledEntries() override;

    // Whether changed() reports changes of the entries right inside `folder`: one of the
    // desktop's application folders, while the event loop delivers the desktop's reports.
    bool covers(const QString& folder) const;
    // Makes sure the next change is reported; cheap when it already will be. Called before
    // reading an entry whose changes must be heard of.
    void listen();

Q_SIGNALS:
    // On the main thread, after one or more changes.
    void changed();

private:
    struct Watch;
    std::unique_ptr<Watch> m_watch;
};
