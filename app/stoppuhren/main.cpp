// orv-stoppuhren: the stopwatches of one employee on the desktop, as the office application
// would run them. It opens the office database, finds the employee, makes sure no other
// program runs the same employee's stopwatches, and runs the component from its shared library.

#include "ORVkStoppUhren/CStoppUhren.h"
#include "ORVkStoppUhren/DesktopPlatform.h"
#include "office/procedures/OfficeCatalogue.h"
#include "office/schema/Migrations.h"
#include "persistence/Database.h"
#include "platform/PlatformFactory.h"
#include "session/diagnostics/OrvError.h"
#include "stoppuhren/DemoRun.h"
#include "stoppuhren/EmployeeChoice.h"
#include "stoppuhren/HostWindow.h"
#include "stoppuhren/InstanceLock.h"
#include "stoppuhren/QuitRequests.h"
#include "stoppuhren/StoppuhrenArguments.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include <cstdio>

namespace {

using namespace orv;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// Without a display there is nobody to read a box: the text goes to the terminal too.
int refuse(const QString& text, int code, bool boxes) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (boxes) {
        QMessageBox::critical(nullptr, QStringLiteral("Stoppuhren"), text);
    }
    return code;
}

QString employeeName(db::Database& database, std::int32_t id) {
    for (const stoppuhren::Employee& employee : stoppuhren::officeEmployees(database)) {
        if (employee.id == id) {
            return employee.name;
        }
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orv-stoppuhren"));
    QApplication::setApplicationDisplayName(QStringLiteral("Stoppuhren"));
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // The stopwatch window's close box puts it away; the program ends only through Beenden.
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const stoppuhren::ParsedStoppuhrenArguments parsed = stoppuhren::parseStoppuhrenArguments(
        arguments, qEnvironmentVariable("ORV_DEMO_DB", QStringLiteral("demo/buero.sqlite")));
    if (!parsed.call) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(parsed.error),
                     qPrintable(stoppuhren::stoppuhrenUsage()));
        return kExitUsage;
    }
    const stoppuhren::StoppuhrenCall& call = *parsed.call;
    if (call.help) {
        std::printf("%s", qPrintable(stoppuhren::stoppuhrenUsage()));
        return kExitOk;
    }
    const bool boxes = call.demoFolder.isEmpty();

    try {
        db::Database database(call.target, &office::officeCatalogue());
        office::migrate(database);
        std::int32_t employee = call.employeeId;
        if (employee == 0) {
            employee = stoppuhren::chooseEmployee(database);
            if (employee == 0) {
                return kExitOk;
            }
        }
        const QString name = employeeName(database, employee);
        if (name.isEmpty()) {
            return refuse(QStringLiteral("Die Kanzleidatenbank %1 kennt keinen Mitarbeiter mit der "
                                         "Id %2.")
                              .arg(call.target.describe())
                              .arg(employee),
                          kExitUsage, boxes);
        }
        stoppuhren::InstanceLock lock(call.target, employee);
        QString error;
        if (!lock.acquire(error)) {
            return refuse(error, kExitFailure, boxes);
        }

        std::unique_ptr<stoppuhren::DemoClock> demoClock;
        std::unique_ptr<stoppuhren::DemoAnswers> demoAnswers;
        if (!boxes) {
            demoClock = std::make_unique<stoppuhren::DemoClock>();
            demoAnswers = std::make_unique<stoppuhren::DemoAnswers>();
        }
        const std::unique_ptr<platform::PlatformFactory> platform =
            CreateDesktopPlatform(database, demoClock.get());
        std::unique_ptr<_CStoppUhren> component = CreateStoppUhren(*platform);
        if (call.clientId != 0) {
            component->Mandant(call.clientId);
        }
        if (!component->Starten(employee)) {
            // The component told the employee why.
            return kExitFailure;
        }
        if (!boxes) {
            return stoppuhren::runDemo(*component, *demoClock, call.demoFolder) ? kExitOk
                                                                                : kExitFailure;
        }
        stoppuhren::HostWindow host(*component, name);
        stoppuhren::QuitRequests quitRequests([&host] { return host.quitProgram(); });
        host.show();
        const int code = QApplication::exec();
        component.reset();
        return code;
    } catch (const OrvError& e) {
        return refuse(
            QStringLiteral("Die Stoppuhren können nicht starten: %1").arg(e.description()),
            kExitFailure, boxes);
    }
}
