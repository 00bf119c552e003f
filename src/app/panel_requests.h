#pragma once

#include <QString>
#include <QStringList>

class AppDelegate;

// The requests later starts hand to the running instance ("open <url>", "toggle", "show"),
// folded as they arrive into what the whole batch does to the panel, so that a batch of any
// length builds the panel once at most. What a batch does depends on whether the panel is up
// when it is applied, so both cases are followed.
class PanelRequests {
public:
    static QString open(const QString& url);
    static QString toggle();
    static QString show();
    // The token the later start was launched with, so the desktop gives the panel the focus.
    // Empty for a token the desktop could not have made (too long, not printable ASCII).
    static QString activation(const QString& token);

    // What a batch ends in, from one starting state of the panel.
    struct Outcome {
        enum class Kind { Unchanged, Hidden, FullPanel, Group };
        Kind kind = Kind::Unchanged;
        QString url; // for Group: the last traymate:// URL that names a group
        friend bool operator==(const Outcome&, const Outcome&) = default;
    };

    // Adds requests in the order they came; unknown ones and URLs of no group do nothing.
    void add(const QString& request);
    void add(const QStringList& requests);

    Outcome outcome(bool panelVisible) const { return panelVisible ? m_ifVisible : m_ifHidden; }
    bool isEmpty() const;
    // The last activation token of the batch, or empty.
    const QString& activationToken() const { return m_token; }

    // Does what the batch ends in, through the delegate (which parks it until launch has
    // finished), and starts a new batch.
    void applyTo(AppDelegate& delegate);

private:
    static void fold(Outcome& outcome, bool startedVisible, const QString& request);

    Outcome m_ifVisible;
    Outcome m_ifHidden;
    QString m_token;
};
