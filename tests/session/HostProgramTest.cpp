// A host program as the office application is one: it knows the component only through its
// public header and the shared library, and hands it the platform.

#include "FakePlatform.h"
#include "TestDatabases.h"

#include "ORVkStoppUhren/CStoppUhren.h"
#include "office/demo/DemoData.h"
#include "office/procedures/OfficeCatalogue.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace orv {
namespace {

TEST(HostProgramTest, CreatesSetsStartsAndEndsTheComponent) {
    test::TempDatabase temp(db::Backend::Sqlite, &office::officeCatalogue());
    office::loadDemoData(temp.database());
    test::FakePlatform platform(temp.database());
    std::unique_ptr<_CStoppUhren> stoppUhren = CreateStoppUhren(platform);
    ASSERT_NE(stoppUhren, nullptr);

    stoppUhren->Mandant(office::demo::kFirstClient);
    stoppUhren->Kanzlei(office::demo::kOffice);
    EXPECT_EQ(stoppUhren->MandantNr(), 10001);
    EXPECT_EQ(stoppUhren->KanzleiNr(), 1);
    std::int32_t employee = office::demo::kEmployeeWithRights;
    EXPECT_TRUE(stoppUhren->Starten(employee));
    EXPECT_EQ(stoppUhren->MitarbeiterId(), employee);
    EXPECT_EQ(platform.frmStoppUhr().anzeigen(), 1);
    EXPECT_TRUE(platform.timer()->running());
    // Ending the day: the employee confirms the idle time on the office's order for it.
    platform.frmLeistung().answer(
        test::LeistungAnzeigenAnswer{test::outcome::kGeaendert, std::nullopt, std::nullopt});
    EXPECT_TRUE(stoppUhren->Beenden());
    EXPECT_TRUE(platform.timer()->finished());
    EXPECT_EQ(platform.frmStoppUhr().schliessen(), 1);
    EXPECT_TRUE(platform.errorReports().empty());
    stoppUhren.reset();
    EXPECT_EQ(platform.trace().lines().back().message, QStringLiteral("Class_Terminate"));
}

TEST(HostProgramTest, LibraryExportsOnlyThePublicInterface) {
    void* library = dlopen(ORV_COMPONENT_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_NE(dlsym(library, "ORVkStoppUhren_Create"), nullptr);
    EXPECT_NE(dlsym(library, "_ZTIN3orv12_CStoppUhrenE"), nullptr);  // typeinfo of _CStoppUhren
    // The session, its diagnostics and the database layer stay inside.
    EXPECT_EQ(dlsym(library, "_ZN3orv11CStoppUhren15plMitarbeiterNrEv"), nullptr);
    EXPECT_EQ(
        dlsym(library, "_ZN3orv15TQ_gShowProblemERKNS_8OrvErrorERNS_8platform15PlatformFactoryE"),
        nullptr);
    EXPECT_EQ(dlsym(library, "_ZN3orv2db9DbService4OpenEv"), nullptr);
    dlclose(library);
}

}  // namespace
}  // namespace orv
