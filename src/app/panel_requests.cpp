#include "app/panel_requests.h"

#include "app/app_delegate.h"
#include "app/url_opening.h"

namespace {

const QString openPrefix = QStringLiteral("open ");
const QString toggleRequest = QStringLiteral("toggle");
const QString showRequest = QStringLiteral("show");
const QString activationPrefix = QStringLiteral("activation ");
// Startup ids and activation tokens are short ASCII; anything else is not one.
constexpr qsizetype maxTokenLength = 512;

bool isToken(QStringView token)
{
    if (token.isEmpty() || token.size() > maxTokenLength)
        return false;
    for (const QChar c : token) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f)
            return false;
    }
    return true;
}

} // namespace

QString PanelRequests::open(const QString& url)
{
    return openPrefix + url;
}
QString PanelRequests::toggle()
{
    return toggleRequest;
}
QString PanelRequests::show()
{
    return showRequest;
}

QString PanelRequests::activation(const QString& token)
{
    return isToken(token) ? activationPrefix + token : QString();
}

void PanelRequests::add(const QString& request)
{
    if (request.startsWith(activationPrefix)) {
        const QStringView token = QStringView(request).mid(activationPrefix.size());
        if (isToken(token))
            m_token = token.toString();
        return;
    }
    fold(m_ifVisible, true, request);
    fold(m_ifHidden, false, request);
}

void PanelRequests::add(const QStringList& requests)
{
    for (const QString& request : requests)
        add(request);
}

bool PanelRequests::isEmpty() const
{
    return m_ifVisible.kind == Outcome::Kind::Unchanged &&
           m_ifHidden.kind == Outcome::Kind::Unchanged;
}

void PanelRequests::fold(Outcome& outcome, bool startedVisible, const QString& request)
{
    using Kind = Outcome::Kind;
    const bool visible =
        outcome.kind == Kind::Unchanged ? startedVisible : outcome.kind != Kind::Hidden;
    if (request.startsWith(openPrefix)) {
        const QString url = request.mid(openPrefix.size());
        if (groupIdOfUrl(url))
            outcome = {Kind::Group, url};
    } else if (request == toggleRequest) {
        outcome = {visible ? Kind::Hidden : Kind::FullPanel, {}};
    } else if (request == showRequest && !visible) {
        outcome = {Kind::FullPanel, {}};
    }
}

void PanelRequests::applyTo(AppDelegate& delegate)
{
    const bool visible = delegate.panel() && delegate.panel()->isVisible();
    const Outcome what = outcome(visible);
    const QString token = m_token;
    *this = PanelRequests();
    // Only a window that comes up needs the focus the token stands for; otherwise the launch
    // that carried it still ends, or the desktop shows it busy until its time-out.
    if (!token.isEmpty()) {
        if (what.kind == Outcome::Kind::Unchanged || what.kind == Outcome::Kind::Hidden)
            delegate.endLaunchFeedback(token);
        else
            delegate.setActivationToken(token);
    }
    switch (what.kind) {
    case Outcome::Kind::Unchanged: break;
    case Outcome::Kind::Hidden: delegate.hidePanel(); break;
    case Outcome::Kind::FullPanel:
        if (delegate.panel())
            delegate.showPanel(std::nullopt);
        else
            delegate.showRequested(); // opens it once launch has finished
        break;
    case Outcome::Kind::Group: delegate.openUrls({what.url}); break;
    }
}
