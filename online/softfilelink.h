#pragma once

#include <QString>

namespace kivo {

// What the player does with a navigation inside a server page.
struct LinkDecision
{
    bool cancel = false; // the page does not follow the link itself
    QString openInTab; // when not empty: open a web tab at this address
    bool operator==(const LinkDecision &) const = default;
};

// The title of the tabs that links from server pages open.
QString linkedPageTitle();

// Links written "softfile:<path>" (any case) open <base>\<path> in a new web tab;
// the page itself never follows them. Every other link is followed by the page.
LinkDecision decideServerLink(const QString &url, const QString &baseUrl);

} // namespace kivo
