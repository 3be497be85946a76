#pragma once

#include <span>

namespace orv::office::schema {

// One numbered change of the office schema. The DDL names column types through placeholders
// that each backend fills in: {KEY} an integer key the database assigns, {DATE} a local date and
// time to the second, {MONEY} a fixed-point amount with four decimals, {BYTES} the collation that
// compares texts by code point; {FOLD:column} is the search folding of a text column.
struct SchemaStep {
    int version;
    const char* description;
    const char* ddl;
    // The office database's scalar functions read the tables of this step, so PostgreSQL gets
    // them right after it.
    bool createsFunctions = false;
    // Run after ddl on the one backend: what the two write differently (triggers).
    const char* sqliteDdl = nullptr;
    const char* postgresDdl = nullptr;
};

// In ascending version order, without gaps.
std::span<const SchemaStep> schemaSteps();

}  // namespace orv::office::schema
