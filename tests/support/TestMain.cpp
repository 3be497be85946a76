#include <gtest/gtest.h>

// Widget tests build this main with ORV_WIDGET_TESTS: widgets need a QApplication.
#ifdef ORV_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QLocale>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv) {
    // Local times are German office times; the daylight-saving cases rely on it.
    setenv("TZ", "Europe/Berlin", 0);
    tzset();
#ifdef ORV_WIDGET_TESTS
    // Widgets need no display: offscreen unless the caller asked for another platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
#endif
    // Tests read and write numbers as a German office does.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
