#pragma once

#include "online/searchrequest.h"
#include "skin/skinneddialog.h"

#include <QCoro/QCoroTask>

#include <functional>

class QLineEdit;
class QRadioButton;

namespace kivo {

class ResultPages;
class SkinButton;

// The search dialog `Form4`: a song name and a singer's name, what to search (the
// site's catalogue or the network) and the type (Mp3, Wma or lyrics). Results open
// in a new tab of the result area. Hidden, not closed, so its words and options stay
// for the session.
class SearchDialog : public SkinnedDialog
{
    Q_OBJECT
public:
    SearchDialog(ResultPages *pages, QWidget *owner);

    // The busy overlay around a search (the main window's ShowBusy / HideBusy).
    void setBusyHandlers(std::function<void(const QString &)> show, std::function<void()> hide);

    SearchForm form() const;
    QLineEdit *songBox() const { return m_song; }
    QLineEdit *singerBox() const { return m_singer; }
    SkinButton *searchButton() const { return m_search; }

    // The search button (`Image1`) and Enter in either text box.
    QCoro::Task<> search();

Q_SIGNALS:
    // A search was sent (what it asked for); nothing is sent without words to search.
    void searched(const kivo::SearchRequest &request);

private:
    QRadioButton *option(const QString &objectName, const QString &caption, QWidget *frame, bool checked);

    ResultPages *m_pages;
    std::function<void(const QString &)> m_showBusy;
    std::function<void()> m_hideBusy;
    QLineEdit *m_song;
    QLineEdit *m_singer;
    QRadioButton *m_site; // Option1 "本站资源"
    QRadioButton *m_network; // Option2 "网络资源"
    QRadioButton *m_mp3; // Option3
    QRadioButton *m_wma; // Option4
    QRadioButton *m_lyrics; // Option5 "搜索歌词"
    SkinButton *m_search;
};

} // namespace kivo
