// A host program as the office application is one: it knows the component only through its
// public header and the shared library, and hands it the platform.

#include "FakePlatform.h"
#include "TestDatabases.h"

#include "ORVkStoppUhren/CStoppUhren.h"
#include "office/demo/DemoData.h"
#include "office/procedures/OfficeCatalogue.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRegularExpression>

#include <dlfcn.h>

namespace orv {
namespace {

TEST(HostProgramTest, CreatesStartsAndEndsTheComponent) {
    test::TempDatabase temp(db::Backend::Sqlite, &office::officeCatalogue());
    office::loadDemoData(temp.database());
    test::FakePlatform platform(temp.database());
    std::unique_ptr<_CStoppUhren> stoppUhren = CreateStoppUhren(platform);
    ASSERT_NE(stoppUhren, nullptr);
    // What the calls do is the session tests' matter; here they must reach the component. The
    // day closing confirms the idle time on the office's order for it.
    std::int32_t employee = office::demo::kEmployeeWithRights;
    EXPECT_TRUE(stoppUhren->Starten(employee));
    platform.frmLeistung().answer(
        test::LeistungAnzeigenAnswer{test::outcome::kGeaendert, std::nullopt, std::nullopt});
    EXPECT_TRUE(stoppUhren->Beenden());
    EXPECT_TRUE(platform.errorReports().empty());
}

// The library's exported symbols: of the component's own, only the public interface.
TEST(HostProgramTest, LibraryExportsOnlyThePublicInterface) {
    Dl_info info{};
    void* library = dlopen(ORV_COMPONENT_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(library, nullptr) << dlerror();
    ASSERT_NE(dladdr(dlsym(library, "ORVkStoppUhren_Create"), &info), 0);
    dlclose(library);
    QProcess nm;
    nm.start(QStringLiteral("nm"), {QStringLiteral("-D"), QStringLiteral("--defined-only"),
                                    QStringLiteral("-C"), QString::fromLocal8Bit(info.dli_fname)});
    ASSERT_TRUE(nm.waitForFinished(60000)) << "nm";
    // Of the component's own names, only the factory and the interface's.
    QStringList own;
    for (const QString& line : QString::fromLocal8Bit(nm.readAllStandardOutput()).split('\n')) {
        const QString name = line.section(QLatin1Char(' '), 2);
        if (name.contains(QLatin1String("orv::")) || name.contains(QLatin1String("ORVk"))) {
            own << name;
        }
    }
    EXPECT_TRUE(own.contains(QStringLiteral("ORVkStoppUhren_Create")));
    EXPECT_TRUE(own.contains(QStringLiteral("typeinfo for orv::_CStoppUhren")));
    const QRegularExpression allowed(QStringLiteral("^(\\w+ )*(for )?orv::_CStoppUhren\\b"));
    for (const QString& name : own) {
        EXPECT_TRUE(name == QLatin1String("ORVkStoppUhren_Create") || name.contains(allowed))
            << name.toStdString();
    }
}

}  // namespace
}  // namespace orv
