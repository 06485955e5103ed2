#pragma once

#include "transfer/download.h"
#include "updater/updateplan.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace kivo {

// A message box the window shows: icon, caption and text.
struct UpdateMessage
{
    enum class Icon { Information, Critical };
    Icon icon = Icon::Information;
    QString caption;
    QString text;
};

// What the update window does, without the window: the transfer object `tg`,
// Timer1 and the two buttons' handlers. The window shows status(), percent() and
// the buttons' states whenever changed() comes, and each message().
class UpdateController : public QObject
{
    Q_OBJECT
public:
    explicit UpdateController(const UpdatePlan &plan, QObject *parent = nullptr);

    const UpdatePlan &plan() const { return m_plan; }
    QString status() const { return m_status; } // Label1
    int percent() const { return m_percent; } // ProgressBar1, 0..100
    bool stopEnabled() const { return m_stopEnabled; } // Command1 "停止更新"
    bool restartEnabled() const { return m_restartEnabled; } // Command2 "重新开始下载"

    // The window is up: Timer1 starts the transfer 100 ms later.
    void windowShown();
    void stop(); // Command1
    void restart(); // Command2

Q_SIGNALS:
    void changed();
    void message(const kivo::UpdateMessage &message);

private:
    QCoro::Task<> transfer(); // Timer1's tick
    void onProgress(qint64 received);
    void onDownloaded();
    void setButtons(bool stop, bool restart);

    UpdatePlan m_plan;
    download m_tg {DownloadVariant::Updater};
    QTimer m_timer1;
    quint64 m_run = 0;
    qint64 m_fileSize = 0;
    QString m_status;
    int m_percent = 0;
    bool m_stopEnabled = false;
    bool m_restartEnabled = false;
};

} // namespace kivo
