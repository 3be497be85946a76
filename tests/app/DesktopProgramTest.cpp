#include "TestDatabases.h"

#include "stoppuhren/InstanceLock.h"
#include "stoppuhren/StoppuhrenArguments.h"

namespace orv::stoppuhren {
namespace {

// The arguments come to the call ("employee/client") or are refused in German before anything
// opens.
TEST(DesktopProgramTest, ArgumentsAreCheckedBeforeAnythingOpens) {
    const std::pair<QStringList, QString> cases[] = {
        {{"--mitarbeiter", "7", "--mandant", "101"}, "7/101"},
        {{"--mitarbeiter", "0"},
         "„0“ ist für --mitarbeiter keine gültige Id (erwartet wird eine "
         "ganze Zahl größer als 0)."},
        {{"--mitarbeiter"}, "Zu --mitarbeiter fehlt der Wert."},
        {{"--ziel", "buero.txt"},
         "„buero.txt“ ist kein gültiges Ziel. Erwartet: sqlite:PFAD, "
         "ein Pfad auf .sqlite oder .db, postgresql://… oder "
         "postgres:VERBINDUNG."},
    };
    for (const auto& [arguments, expected] : cases) {
        const ParsedStoppuhrenArguments parsed =
            parseStoppuhrenArguments(arguments, "/tmp/demo/buero.sqlite");
        EXPECT_EQ(
            parsed.call
                ? QStringLiteral("%1/%2").arg(parsed.call->employeeId).arg(parsed.call->clientId)
                : parsed.error,
            expected);
    }
}

class InstanceLockTest : public test::BackendTest {};

// The second program for an employee is refused while the first runs, on any workstation; the
// lock goes with the program, and another employee is never held up.
TEST_P(InstanceLockTest, OneProgramPerEmployeeAndDatabase) {
    const db::DbTarget& target = temp().target();
    QString error;
    auto first = std::make_unique<InstanceLock>(target, 7);
    ASSERT_TRUE(first->acquire(error)) << error.toStdString();
    EXPECT_FALSE(InstanceLock(target, 7).acquire(error));
    EXPECT_EQ(error,
              "Die Stoppuhren von Mitarbeiter 7 laufen bereits, auf diesem oder einem "
              "anderen Arbeitsplatz. Ein zweites Fenster würde jede Sekunde doppelt "
              "zählen; bitte arbeiten Sie im geöffneten Fenster weiter.");
    EXPECT_TRUE(InstanceLock(target, 8).acquire(error)) << error.toStdString();
    first.reset();
    EXPECT_TRUE(InstanceLock(target, 7).acquire(error)) << error.toStdString();
}

ORV_INSTANTIATE_FOR_BACKENDS(InstanceLockTest);

}  // namespace
}  // namespace orv::stoppuhren
