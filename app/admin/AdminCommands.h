#pragma once

#include "admin/AdminArguments.h"

#include <QStringList>
#include <QTextStream>

namespace orv::admin {

// Runs orv-admin with the arguments after the program name: results go to out, every problem
// to err as a German message. Returns the exit code (kExitOk, kExitFailure, kExitUsage).
int runAdmin(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The commands on a checked call; each raises AdminFailure or the database's error.
void migrateCommand(const AdminCall& call, QTextStream& out);
void demoCommand(const AdminCall& call, QTextStream& out);
void showCommand(const AdminCall& call, QTextStream& out);
void overviewCommand(const AdminCall& call, QTextStream& out);
void recreateCommand(const AdminCall& call, QTextStream& out);

// The target for messages; a password in a PostgreSQL connection is masked.
QString describeTarget(const db::DbTarget& target);

}  // namespace orv::admin
