#include "admin/AdminCommands.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return orv::admin::runAdmin(QCoreApplication::arguments().mid(1), out, err);
}
