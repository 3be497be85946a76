#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocale>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    // Local times are German office times; the daylight-saving cases rely on it.
    setenv("TZ", "Europe/Berlin", 0);
    tzset();
    // Tests read and write numbers as a German office does.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
