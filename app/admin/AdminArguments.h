#pragma once

#include "persistence/DbTarget.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orv::admin {

// Exit codes of orv-admin.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // the database refused or could not be reached
inline constexpr int kExitUsage = 2;    // the arguments were wrong; nothing was touched

enum class AdminCommand { Help, Migrate, Demo, Show, Overview, Recreate };

// One call of the tool, checked: the target parses, the employee id is a positive number, and a
// database is dropped only when the caller said so.
struct AdminCall {
    AdminCommand command = AdminCommand::Help;
    db::DbTarget target;
    QString targetText;  // as the user wrote it, for hints
    std::int32_t employeeId = 0;
};

struct ParsedArguments {
    std::optional<AdminCall> call;
    QString error;  // German, set when call is empty
};

// The arguments after the program name.
ParsedArguments parseAdminArguments(const QStringList& arguments);

// The German help text of --help.
QString adminUsage();

}  // namespace orv::admin
