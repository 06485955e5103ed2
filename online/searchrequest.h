#pragma once

#include <QString>

namespace kivo {

// What the search dialog searches: the site's own catalogue or the network.
enum class SearchScope { Site, Network };
// The option frame "选项": song files of a type, or lyrics.
enum class SearchType { Mp3, Wma, Lyrics };

// The search dialog's fields as the user left them.
struct SearchForm
{
    QString song; // "歌曲名称："
    QString singer; // "歌手姓名："
    SearchScope scope = SearchScope::Site;
    SearchType type = SearchType::Mp3;
    bool operator==(const SearchForm &) const = default;
};

// What one press of the search button asks for.
struct SearchRequest
{
    enum class Target { Nothing, ListTab, WebTab };
    Target target = Target::Nothing;
    QString url;
    QString title; // the tab's title: "song(singer)", or either alone
    bool operator==(const SearchRequest &) const = default;
};

// The site's catalogue is searched with "softss.asp" (song and singer apart), the
// network with "baidulist.asp" and lyrics with "baidugc.asp" (song and singer joined
// by "+"). Typed words travel percent-encoded; the "+" between them stays as it is.
// Nothing is asked for when the network or lyrics search has no words.
SearchRequest buildSearchRequest(const QString &baseUrl, const SearchForm &form);

} // namespace kivo
