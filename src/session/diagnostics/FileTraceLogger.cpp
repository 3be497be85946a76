#include "session/diagnostics/FileTraceLogger.h"

#include <QDateTime>
#include <QThread>

namespace orv {

std::shared_ptr<FileTraceLogger> FileTraceLogger::shared() {
    static const std::shared_ptr<FileTraceLogger> logger =
        std::make_shared<FileTraceLogger>(qEnvironmentVariable("ORV_TRACE"));
    return logger;
}

FileTraceLogger::FileTraceLogger(const QString& path) : file_(path) {
    if (!path.isEmpty()) {
        enabled_ = file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
}

void FileTraceLogger::Write(std::int32_t level, const QString& source, const QString& message) {
    if (!enabled_) {
        return;
    }
    const QByteArray line =
        (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) +
         QStringLiteral(" [%1] %2 %3: %4\n")
             .arg(reinterpret_cast<quintptr>(QThread::currentThreadId()), 0, 16)
             .arg(level)
             .arg(source, message))
            .toUtf8();
    std::lock_guard lock(mutex_);
    // Each line reaches the file at once: the log matters most when the process dies.
    file_.write(line);
    file_.flush();
}

}  // namespace orv
