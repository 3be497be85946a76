#pragma once

#include "persistence/DbTarget.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orv::stoppuhren {

// One start of the desktop program, checked before anything is opened.
struct StoppuhrenCall {
    bool help = false;
    db::DbTarget target;
    QString targetText;
    std::int32_t employeeId = 0;  // 0: the employee picks in the login dialog
    std::int32_t clientId = 0;    // 0: no client preset
    QString demoFolder;           // set: the scripted demo writes its screenshots there
};

struct ParsedStoppuhrenArguments {
    std::optional<StoppuhrenCall> call;
    QString error;  // German, set when call is empty
};

// The arguments after the program name; `defaultTarget` stands where --ziel is missing.
ParsedStoppuhrenArguments parseStoppuhrenArguments(const QStringList& arguments,
                                                   const QString& defaultTarget);
QString stoppuhrenUsage();

}  // namespace orv::stoppuhren
