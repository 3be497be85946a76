#include "TestDatabases.h"
#include "WidgetHarness.h"

#include "office/schema/Migrations.h"
#include "stoppuhren/InstanceLock.h"
#include "stoppuhren/StoppuhrenArguments.h"

namespace orv::stoppuhren {
namespace {

TEST(DesktopProgramTest, ArgumentsAreCheckedBeforeAnythingOpens) {
    struct Case {
        QStringList arguments;
        QString error;  // empty: accepted
        std::int32_t employee = 0;
        std::int32_t client = 0;
    };
    const Case cases[] = {
        {{}, {}},
        {{"--mitarbeiter", "7", "--mandant", "101"}, {}, 7, 101},
        {{"--ziel", "postgres:dbname=kanzlei", "--mitarbeiter", "3"}, {}, 3},
        {{"--mitarbeiter", "0"},
         "„0“ ist für --mitarbeiter keine gültige Id (erwartet wird eine "
         "ganze Zahl größer als 0)."},
        {{"--mandant", "x"},
         "„x“ ist für --mandant keine gültige Id (erwartet wird eine ganze "
         "Zahl größer als 0)."},
        {{"--mitarbeiter"}, "Zu --mitarbeiter fehlt der Wert."},
        {{"--ziel", "buero.txt"},
         "„buero.txt“ ist kein gültiges Ziel. Erwartet: sqlite:PFAD, "
         "ein Pfad auf .sqlite oder .db, postgresql://… oder "
         "postgres:VERBINDUNG."},
        {{"-x"}, "Unbekannte Angabe „-x“."},
    };
    for (const Case& c : cases) {
        const ParsedStoppuhrenArguments parsed =
            parseStoppuhrenArguments(c.arguments, "/tmp/demo/buero.sqlite");
        EXPECT_EQ(parsed.error, c.error) << c.arguments.join(' ').toStdString();
        if (c.error.isEmpty() && parsed.call) {
            EXPECT_EQ(parsed.call->employeeId, c.employee);
            EXPECT_EQ(parsed.call->clientId, c.client);
        }
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

    InstanceLock second(target, 7);
    EXPECT_FALSE(second.acquire(error));
    EXPECT_EQ(error,
              "Die Stoppuhren von Mitarbeiter 7 laufen bereits, auf diesem oder einem "
              "anderen Arbeitsplatz. Ein zweites Fenster würde jede Sekunde doppelt "
              "zählen; bitte arbeiten Sie im geöffneten Fenster weiter.");
    InstanceLock other(target, 8);
    EXPECT_TRUE(other.acquire(error)) << error.toStdString();

    first.reset();
    InstanceLock after(target, 7);
    EXPECT_TRUE(after.acquire(error)) << error.toStdString();
}

ORV_INSTANTIATE_FOR_BACKENDS(InstanceLockTest);

}  // namespace
}  // namespace orv::stoppuhren
