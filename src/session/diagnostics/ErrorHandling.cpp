#include "session/diagnostics/ErrorHandling.h"

#include "platform/ErrorServer.h"
#include "platform/MessageBoxes.h"
#include "platform/PlatformFactory.h"
#include "session/diagnostics/Version.h"

#include <new>

namespace orv {
namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString versionTag() {
    return QStringLiteral("%1%2%3")
        .arg(version::kMajor, 4, 10, QLatin1Char('0'))
        .arg(version::kMinor, 4, 10, QLatin1Char('0'))
        .arg(version::kRevision, 4, 10, QLatin1Char('0'));
}

QString reportText(std::int32_t number, const QString& description, const QString& source) {
    return QStringLiteral("Fehler-Nr: ") + QString::number(number) + kCrLf + description + kCrLf +
           kCrLf + QStringLiteral("Fehlerquelle: ") + source;
}

}  // namespace

[[noreturn]] void raiseError(std::int32_t number, const QString& description, const QString& source,
                             int line) {
    throw OrvError(number, source.isEmpty() ? QLatin1String(version::kProgramName) : source,
                   description, line);
}

void raiseObjectNotSet(const QString& what, int line) {
    raiseError(err::kObjectNotSet, QStringLiteral("Objektvariable nicht festgelegt: %1").arg(what),
               {}, line);
}

OrvError toOrvError(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const OrvError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return OrvError(7, QLatin1String(version::kProgramName),
                        QStringLiteral("Nicht genügend Speicher"));
    } catch (const std::exception& e) {
        return OrvError(
            51, QLatin1String(version::kProgramName),
            QStringLiteral("Interner Fehler: %1").arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        return OrvError(51, QLatin1String(version::kProgramName),
                        QStringLiteral("Interner Fehler"));
    }
}

void TQ_gVersionTag(OrvError& error) {
    if (error.source().indexOf(QLatin1Char('|')) != 12) {
        error.setSource(versionTag() + QLatin1Char('|') + QLatin1String(version::kProgramName) +
                        QLatin1Char('|') + error.source());
    }
}

void TQ_gErrorHandling(OrvError& error, const QString& procedure, const QString& module,
                       bool reraise, const QString& extra, platform::PlatformFactory& platform) {
    TQ_gVersionTag(error);
    QString source = error.source() + kCrLf + QLatin1String(version::kProgramName) +
                     QLatin1Char('.') + module + QLatin1Char('.') + procedure;
    if (!extra.isEmpty()) {
        error.setDescription(error.description() + kCrLf + kCrLf + extra);
    }
    if (error.line() > 0) {
        source += QStringLiteral(" (Zeile %1)").arg(error.line());
        // The line belongs to this procedure; its callers only know where they called it.
        error.setLine(0);
    }
    error.setSource(source);
    if (reraise) {
        throw error;
    }
    TQ_gShowProblem(error, platform);
}

void TQ_gShowProblem(const OrvError& error, platform::PlatformFactory& platform) {
    const std::int32_t number = error.number();
    const QString& description = error.description();
    const QString& source = error.source();
    platform::MessageBoxes& boxes = platform.messageBoxes();
    boxes.resetMousePointer();
    QString command = kCrLf + kCrLf +
                      QStringLiteral("Folgender Befehl hat diesen Fehler ausgelöst:") + kCrLf +
                      QStringLiteral("\"Set oTQError = CreateObject(\"srvTQ.TQErrorClass\")\"");
    try {
        std::unique_ptr<platform::ErrorServer> server = platform.createErrorServer();
        command.clear();
        std::int32_t n = number;
        QString s = source;
        QString d = description;
        server->TQ_gShowError(n, s, d);
        return;
    } catch (...) {
        OrvError failure = toOrvError(std::current_exception());
        QString header;
        if (!command.isEmpty()) {
            failure.setDescription(failure.description() + command);
            failure.setSource(failure.source() + kCrLf +
                              QStringLiteral("TQErrorHandling.TQ_gErrorHandling"));
            header = QStringLiteral("*** Fehler beim Laden des Problemberichts ***") + kCrLf +
                     reportText(failure.number(), failure.description(), failure.source()) + kCrLf +
                     kCrLf;
        }
        boxes.show(header + QStringLiteral("*** Problembericht ***") + kCrLf +
                       reportText(number, description, source),
                   platform::MsgButtons::OkOnly, platform::MsgIcon::Critical,
                   QStringLiteral("Problembericht"));
    }
}

}  // namespace orv
