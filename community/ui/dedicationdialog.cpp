#include "community/ui/dedicationdialog.h"

#include "skin/skinbutton.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVBoxLayout>

namespace kivo {

namespace {
QLineEdit *lineBox(const QString &objectName, const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setAccessibleName(name);
    return box;
}
} // namespace

DedicationDialog::DedicationDialog(ServerClient *server, QWidget *owner)
    : SkinnedDialog(u"Form8"_qs, u"给好友点歌送祝福"_qs, owner)
    , m_server(server)
    , m_email(lineBox(u"Text1"_qs, u"好友信箱"_qs, this))
    , m_name(lineBox(u"Text2"_qs, u"好友姓名"_qs, this))
    , m_title(lineBox(u"Text3"_qs, u"祝福标题"_qs, this))
    , m_content(new QPlainTextEdit(this))
{
    resize(380, 320);
    m_content->setObjectName(u"Text4"_qs);
    m_content->setAccessibleName(u"祝福内容"_qs);
    m_content->setTabChangesFocus(true);

    auto *fields = new QFormLayout;
    fields->addRow(u"好友信箱："_qs, m_email);
    fields->addRow(u"好友姓名："_qs, m_name);
    fields->addRow(u"祝福标题："_qs, m_title);
    fields->addRow(u"祝福内容："_qs, m_content);

    m_send = makeButton(u"Image1"_qs, u"发送"_qs, Skin::Glyph::Upload, QSize(44, 26));
    connect(m_send, &QAbstractButton::clicked, this, [this] { send(); });
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_send);
    body()->addLayout(fields, 1);
    body()->addLayout(bottom);
}

void DedicationDialog::setBusyHandlers(std::function<void(const QString &)> show, std::function<void()> hide)
{
    m_showBusy = std::move(show);
    m_hideBusy = std::move(hide);
}

DedicationForm DedicationDialog::form() const
{
    return {m_email->text(), m_name->text(), m_title->text(), m_content->toPlainText()};
}

QCoro::Task<> DedicationDialog::send()
{
    if (m_sending)
        co_return;
    m_sending = true;
    QPointer<DedicationDialog> self(this);
    // Named first: g++ 12 mishandles temporaries inside a co_await expression.
    auto sending = SendDedication(m_server, form(), m_song, m_showBusy, m_hideBusy);
    const DedicationResult result = co_await std::move(sending);
    if (!self)
        co_return;
    m_sending = false;
    // The dialog stays open with its fields either way.
    switch (result.outcome) {
    case DedicationOutcome::Refused:
        showMessage(QMessageBox::Critical, dedicationCheckMessage(result.check));
        break;
    case DedicationOutcome::Sent:
        showMessage(QMessageBox::NoIcon, DedicationTexts::kSent);
        break;
    case DedicationOutcome::Failed:
        showMessage(QMessageBox::Critical, DedicationTexts::kFailed);
        break;
    }
    Q_EMIT sendFinished(result.outcome);
}

} // namespace kivo
