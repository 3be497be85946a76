#include "CrashLog.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

#include <stdexcept>

namespace orv::test::crash {

void appendLine(const QString& path, const QString& text) {
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    const bool written = fd >= 0 && ::write(fd, bytes.constData(),
                                            static_cast<std::size_t>(bytes.size())) == bytes.size();
    if (fd >= 0) {
        ::close(fd);
    }
    if (!written) {
        throw std::runtime_error("Das Fortschrittsprotokoll kann nicht geschrieben werden.");
    }
}

std::vector<CrashLogEntry> readCrashLog(const QString& path) {
    QFile file(path);
    std::vector<CrashLogEntry> entries;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString& text :
             QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            entries.push_back(
                {text.at(0).toLatin1(), text.mid(2).split(QLatin1Char(' '), Qt::SkipEmptyParts)});
        }
    }
    return entries;
}

}  // namespace orv::test::crash
