#include "updater/updatecontroller.h"

#include "updater/playerinstall.h"
#include "updater/progresstext.h"
#include "updater/updatelog.h"

namespace kivo {

UpdateController::UpdateController(const UpdatePlan &plan, QObject *parent)
    : QObject(parent)
    , m_plan(plan)
    , m_status(u"正在连接服务器，请稍候。"_qs)
{
    m_timer1.setSingleShot(true);
    m_timer1.setInterval(100);
    connect(&m_timer1, &QTimer::timeout, this, [this] { transfer(); });
    connect(&m_tg, &download::GetData, this, [this](qint64 progress) { onProgress(progress); });
    connect(&m_tg, &download::DownLoadOver, this, &UpdateController::onDownloaded);
    connect(&m_tg, &download::ErrMassage, this, [this](const QString &description) {
        Q_EMIT message({UpdateMessage::Icon::Critical, u"错误"_qs, description});
    });
}

void UpdateController::windowShown()
{
    m_timer1.start();
}

QCoro::Task<> UpdateController::transfer()
{
    m_timer1.stop();
    const quint64 run = ++m_run;
    setButtons(true, false);
    m_tg.setURL(m_plan.address);
    m_tg.setSaveFile(m_plan.newPath);
    co_await m_tg.Execute();
    if (run != m_run)
        co_return;
    m_fileSize = m_tg.GetHeader(u"Content-Length"_qs).toLongLong();
    co_await m_tg.StartDownLoad();
}

void UpdateController::onProgress(qint64 received)
{
    m_status = progressText(received, m_fileSize);
    if (const auto percent = progressPercent(received, m_fileSize))
        m_percent = *percent;
    Q_EMIT changed();
}

// The whole file is beside the player as kivoplay.new; only a checked program
// takes the player's place.
void UpdateController::onDownloaded()
{
    const InstallReport report = installNewPlayer(m_plan, m_fileSize);
    if (report.outcome == InstallOutcome::Installed) {
        qCInfo(updateLog) << "installed the new player as" << m_plan.targetPath;
        setButtons(false, true);
        Q_EMIT message({UpdateMessage::Icon::Information, u"提示"_qs, u"更新成功！返回退出。"_qs});
        return;
    }
    qCWarning(updateLog) << "the new player was not installed:" << report.detail;
    const QString text = report.outcome == InstallOutcome::TargetBusy
        ? u"文件"_qs + m_plan.targetPath + u"正在使用,无法进行操作"_qs
        : u"无法连接服务器"_qs;
    Q_EMIT message({UpdateMessage::Icon::Critical, u"错误"_qs, text});
}

void UpdateController::stop()
{
    m_tg.Cancel();
    setButtons(false, true);
}

void UpdateController::restart()
{
    setButtons(m_stopEnabled, false);
    m_timer1.start();
}

void UpdateController::setButtons(bool stop, bool restart)
{
    m_stopEnabled = stop;
    m_restartEnabled = restart;
    Q_EMIT changed();
}

} // namespace kivo
