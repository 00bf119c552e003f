#pragma once

#include <QLabel>

class Store;

// A line that stays in the panel while the groups are not on disk, saying why; hidden once a
// write succeeds.
class SaveProblemLine : public QLabel {
    Q_OBJECT

public:
    explicit SaveProblemLine(const Store& store, QWidget* parent = nullptr);

    // The sentence shown for a problem, also used by the tray's tooltip; empty for none.
    static QString sentence(const QString& problem);

private:
    void follow();

    const Store& m_store;
};
