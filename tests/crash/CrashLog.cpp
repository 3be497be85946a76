#include "CrashLog.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace orv::test::crash {

CrashLogWriter::CrashLogWriter(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                 0644);
    if (fd_ < 0) {
        throw std::runtime_error("Das Fortschrittsprotokoll kann nicht geöffnet werden.");
    }
}

CrashLogWriter::~CrashLogWriter() {
    ::close(fd_);
}

void CrashLogWriter::line(const QString& text) const {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    if (::write(fd_, bytes.constData(), static_cast<std::size_t>(bytes.size())) != bytes.size()) {
        throw std::runtime_error("Das Fortschrittsprotokoll kann nicht geschrieben werden.");
    }
}

std::vector<CrashLogEntry> readCrashLog(const QString& path) {
    std::vector<CrashLogEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return entries;
    }
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString text = QString::fromUtf8(raw);
        if (text.isEmpty()) {
            continue;
        }
        CrashLogEntry entry;
        entry.kind = text.at(0).toLatin1();
        entry.fields = text.mid(2).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace orv::test::crash
