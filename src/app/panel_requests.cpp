#include "app/panel_requests.h"

#include "app/app_delegate.h"
#include "app/url_opening.h"

namespace {

const QString openPrefix = QStringLiteral("open ");
const QString toggleRequest = QStringLiteral("toggle");
const QString showRequest = QStringLiteral("show");

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

void PanelRequests::add(const QString& request)
{
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
    *this = PanelRequests();
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
