#include "platform/xdgemailclient.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QTimer>

#include <memory>

namespace {
// xdg-email's own exit status for "no method available for opening the mailto: address",
// which is what a desktop without any mail program set up gives.
constexpr int kNoMailProgramStatus = 3;

struct Located {
    QString path;
    bool foundUnusable = false;
};

Located locateProgram(const QString& program)
{
    const auto check = [](const QString& candidate, Located& result) {
        const QFileInfo info(candidate);
        if (!info.exists()) {
            return false;
        }
        if (info.isFile() && info.isExecutable()) {
            result.path = info.absoluteFilePath();
            return true;
        }
        result.foundUnusable = true;
        return false;
    };

    Located result;
    if (program.contains(QLatin1Char('/'))) {
        check(program, result);
        return result;
    }
    const QStringList folders = qEnvironmentVariable("PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : folders) {
        if (check(QDir(folder).filePath(program), result)) {
            break;
        }
    }
    return result;
}
}  // namespace

XdgEmailClient::XdgEmailClient(std::chrono::milliseconds timeout, QString program)
    : m_timeout(timeout), m_program(std::move(program))
{
}

XdgEmailClient::~XdgEmailClient()
{
    // A process still running here is one that did not answer in time; end it quietly
    // rather than let QProcess complain. The mail program it started is its own process.
    const auto running = m_processes.findChildren<QProcess*>(Qt::FindDirectChildrenOnly);
    for (QProcess* process : running) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

QString XdgEmailClient::locate() const
{
    return locateProgram(m_program).path;
}

MailClient::Availability XdgEmailClient::availability() const
{
    const Located located = locateProgram(m_program);
    if (!located.path.isEmpty()) {
        return Availability::Ready;
    }
    return located.foundUnusable ? Availability::Unusable : Availability::Missing;
}

void XdgEmailClient::send(const QString& attachment, QObject* context, Done done)
{
    auto answered = std::make_shared<bool>(false);
    QPointer<QObject> receiver(context);
    // Always delivered through the event loop, so the caller never sees its answer inside
    // its own call to send().
    auto report = [answered, receiver, done = std::move(done)](Result result) {
        if (*answered) {
            return;
        }
        *answered = true;
        if (receiver) {
            QMetaObject::invokeMethod(receiver, [done, result] { done(result); }, Qt::QueuedConnection);
        }
    };

    const QString path = locate();
    if (path.isEmpty()) {
        report(Result::Unusable);
        return;
    }

    auto* process = new QProcess(&m_processes);
    process->setProgram(path);
    process->setArguments({QStringLiteral("--attach"), attachment});
    // The mail program started by xdg-email inherits these; it must hold no pipe of ours.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    auto* timer = new QTimer(process);
    timer->setSingleShot(true);
    // Some mail programs keep xdg-email waiting until they are closed. The wait ends here,
    // but the process is not killed: its mail program may hold the user's message.
    QObject::connect(timer, &QTimer::timeout, process, [report] { report(Result::NoAnswer); });

    QObject::connect(process, &QProcess::finished, process,
                     [process, report](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit) {
                             report(Result::Failed);
                         } else if (exitCode == 0) {
                             report(Result::Sent);
                         } else if (exitCode == kNoMailProgramStatus) {
                             report(Result::Unusable);
                         } else {
                             report(Result::Failed);
                         }
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, report](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             report(Result::Unusable);
                             process->deleteLater();
                         }
                     });

    timer->start(m_timeout);
    process->start();
}
