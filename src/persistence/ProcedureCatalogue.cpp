#include "persistence/ProcedureCatalogue.h"

#include "persistence/IdentifierCompare.h"
#include "session/diagnostics/OrvError.h"

#include <utility>

namespace orv::db {

namespace {

[[noreturn]] void throwUndeclared(const ProcedureDef& def, std::string_view name) {
    throw OrvError(err::kDatabase, QStringLiteral("DbProcedure"),
                   QStringLiteral("Die Prozedur %1 hat keinen Parameter %2.")
                       .arg(QString::fromStdString(def.name),
                            QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))));
}

}  // namespace

int ProcedureDef::position(std::string_view paramName) const {
    for (std::size_t i = 0; i < params.size(); ++i) {
        if (sameIdentifier(params[i].name, paramName)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const DbValue& ProcedureCall::value(std::string_view name) const {
    const int pos = def_.position(name);
    if (pos < 0) {
        throwUndeclared(def_, name);
    }
    return values_[static_cast<std::size_t>(pos)];
}

std::int64_t ProcedureCall::longValue(std::string_view name) const {
    return toInt64(value(name));
}

QString ProcedureCall::textValue(std::string_view name) const {
    return toText(value(name));
}

DbValue ProcedureCall::textOrNull(std::string_view name) const {
    const DbValue& v = value(name);
    if (isNull(v)) {
        return std::monostate{};
    }
    QString text = toText(v);
    if (text.isEmpty()) {
        return std::monostate{};
    }
    return text;
}

void ProcedureCall::setValue(std::string_view name, DbValue value) {
    const int pos = def_.position(name);
    if (pos < 0) {
        throwUndeclared(def_, name);
    }
    values_[static_cast<std::size_t>(pos)] = std::move(value);
}

void ProcedureCatalogue::add(ProcedureDef def) {
    procedures_.push_back(std::move(def));
}

void ProcedureCatalogue::addFunction(ScalarFunctionDef def) {
    functions_.push_back(std::move(def));
}

const ProcedureDef* ProcedureCatalogue::find(std::string_view name) const {
    const std::string_view plain = withoutSchemaPrefix(name);
    for (const ProcedureDef& def : procedures_) {
        if (sameIdentifier(def.name, plain)) {
            return &def;
        }
    }
    return nullptr;
}

}  // namespace orv::db
