#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// The web page `text` names, when it is a well-formed http or https address with a host.
// Anything else (other schemes included) is no page to hand to the browser.
std::optional<QUrl> webAddress(const QString& text);
