#include "online/searchrequest.h"

#include "online/serverclient.h"

namespace kivo {

SearchRequest buildSearchRequest(const QString &baseUrl, const SearchForm &form)
{
    // q1: the network and lyrics searches ("&word=song+singer"); q2: the site's ("&word1=…&word2=…").
    QString q1, q2, title;
    if (!form.song.trimmed().isEmpty()) {
        q1 = u"&word="_qs + encodeQueryValue(form.song);
        q2 = u"&word1="_qs + encodeQueryValue(form.song);
        title = form.song;
    }
    if (!form.singer.trimmed().isEmpty()) {
        title += u"("_qs + form.singer + u")"_qs;
        if (q1.isEmpty())
            q1 = u"&word="_qs + encodeQueryValue(form.singer);
        else
            q1 += u"+"_qs + encodeQueryValue(form.singer);
        q2 += u"&word2="_qs + encodeQueryValue(form.singer);
    }
    if (form.scope == SearchScope::Site)
        q1 += u"&lx=0"_qs;
    else if (form.type == SearchType::Wma)
        q1 += u"&lx=2"_qs;
    if (q1.trimmed().isEmpty())
        return {};

    if (form.type == SearchType::Lyrics)
        return {SearchRequest::Target::WebTab, baseUrl + u"baidugc.asp?1=1"_qs + q1, title};
    if (form.scope == SearchScope::Network)
        return {SearchRequest::Target::ListTab, baseUrl + u"baidulist.asp?1=1"_qs + q1, title};
    return {SearchRequest::Target::ListTab, baseUrl + u"softss.asp?1=1"_qs + q2, title};
}

} // namespace kivo
