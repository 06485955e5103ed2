#include "online/ui/searchdialog.h"

#include "online/resultpages.h"
#include "skin/skinbutton.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>

namespace kivo {

namespace {
QLineEdit *textBox(const QString &objectName, const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(name);
    return box;
}
} // namespace

SearchDialog::SearchDialog(ResultPages *pages, QWidget *owner)
    : SkinnedDialog(u"Form4"_qs, u"搜索歌曲"_qs, owner)
    , m_pages(pages)
{
    resize(330, 230);
    m_song = textBox(u"Text1"_qs, u"歌曲名称"_qs, this);
    m_singer = textBox(u"Text2"_qs, u"歌手姓名"_qs, this);
    auto *fields = new QFormLayout;
    fields->addRow(u"歌曲名称："_qs, m_song);
    fields->addRow(u"歌手姓名："_qs, m_singer);

    // The two frames are separate groups: one choice in each.
    auto *scope = new QGroupBox(u"搜索对象"_qs, this);
    scope->setObjectName(u"Frame1"_qs);
    m_site = option(u"Option1"_qs, u"本站资源"_qs, scope, true);
    m_network = option(u"Option2"_qs, u"网络资源"_qs, scope, false);
    auto *type = new QGroupBox(u"选项"_qs, this);
    type->setObjectName(u"Frame2"_qs);
    m_mp3 = option(u"Option3"_qs, u"Mp3"_qs, type, true);
    m_wma = option(u"Option4"_qs, u"Wma"_qs, type, false);
    m_lyrics = option(u"Option5"_qs, u"搜索歌词"_qs, type, false);

    m_search = makeButton(u"Image1"_qs, u"搜索"_qs, Skin::Glyph::Search, QSize(44, 26));
    connect(m_search, &QAbstractButton::clicked, this, [this] { search(); });
    connect(m_song, &QLineEdit::returnPressed, this, [this] { search(); });
    connect(m_singer, &QLineEdit::returnPressed, this, [this] { search(); });

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_search);
    body()->addLayout(fields);
    body()->addWidget(scope);
    body()->addWidget(type);
    body()->addLayout(bottom);
}

QRadioButton *SearchDialog::option(const QString &objectName, const QString &caption, QWidget *frame, bool checked)
{
    auto *button = new QRadioButton(caption, frame);
    button->setObjectName(objectName);
    button->setAccessibleName(caption);
    button->setChecked(checked);
    if (!frame->layout())
        new QHBoxLayout(frame);
    frame->layout()->addWidget(button);
    return button;
}

void SearchDialog::setBusyHandlers(std::function<void(const QString &)> show, std::function<void()> hide)
{
    m_showBusy = std::move(show);
    m_hideBusy = std::move(hide);
}

SearchForm SearchDialog::form() const
{
    SearchForm f;
    f.song = m_song->text();
    f.singer = m_singer->text();
    f.scope = m_network->isChecked() ? SearchScope::Network : SearchScope::Site;
    f.type = m_lyrics->isChecked() ? SearchType::Lyrics : m_wma->isChecked() ? SearchType::Wma : SearchType::Mp3;
    return f;
}

QCoro::Task<> SearchDialog::search()
{
    if (!m_pages)
        co_return;
    const SearchRequest request
        = buildSearchRequest(m_pages->fetcher() ? m_pages->fetcher()->baseUrl() : QString(), form());
    if (request.target == SearchRequest::Target::Nothing)
        co_return; // no words: the dialog stays open
    hide();
    Q_EMIT searched(request);
    if (request.target == SearchRequest::Target::WebTab) {
        m_pages->OpenWebTab(request.url, request.title);
        co_return;
    }
    if (m_showBusy)
        m_showBusy(QString());
    QPointer<SearchDialog> self(this);
    // A named request: g++ 12 destroys a braced temporary inside co_await twice.
    ListPageRequest page {request.url, 1, 0, request.title, {}};
    co_await m_pages->LoadListPage(std::move(page));
    if (self && m_hideBusy)
        m_hideBusy();
}

} // namespace kivo
