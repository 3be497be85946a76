#pragma once

#include "OfficeRun.h"

#include <QString>
#include <QStringList>

namespace orv::load {

struct LoadOptions {
    RunSettings run;
    // libpq connection string of the server; the run works in a schema of its own there.
    QString server;
    bool keepSchema = false;
    bool help = false;
};

// Reads the command line (without the program name). The server falls back to ORV_LOAD_PG,
// then ORV_TEST_PG. On a wrong argument error names it in German.
bool parseLoadOptions(const QStringList& arguments, LoadOptions& options, QString& error);

QString loadUsage();

}  // namespace orv::load
