#include "persistence/DbProcedure.h"

#include "persistence/Database.h"
#include "persistence/ProcedureCatalogue.h"
#include "persistence/driver/Connection.h"
#include "session/diagnostics/OrvError.h"

#include <limits>

namespace orv::db {
namespace {

const QString kSource = QStringLiteral("DbProcedure");

QString nameText(std::string_view name) {
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

DbValue& ParameterValues::operator[](int position) {
    if (position < 1 || position > size()) {
        throw OrvError(
            9, kSource,
            QStringLiteral("Parameterposition %1 außerhalb des Bereichs.").arg(position));
    }
    return values_[static_cast<std::size_t>(position - 1)];
}

const DbValue& ParameterValues::operator[](int position) const {
    return const_cast<ParameterValues&>(*this)[position];
}

DbProcedure::DbProcedure(Database& database) : database_(database) {}

DbProcedure::~DbProcedure() = default;

bool DbProcedure::Prepare(const QString& procedure, int) {
    def_ = nullptr;
    values_.clear();
    if (database_.catalogue() == nullptr) {
        return false;
    }
    const QByteArray name = procedure.toUtf8();
    def_ = database_.catalogue()->find(
        std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    if (def_ != nullptr) {
        values_.assign(def_->params.size(), std::monostate{});
    }
    return def_ != nullptr;
}

const ProcedureDef& DbProcedure::prepared() const {
    if (def_ == nullptr) {
        throw OrvError(err::kInvalidCall, kSource,
                       QStringLiteral("Es ist keine Prozedur vorbereitet."));
    }
    return *def_;
}

void DbProcedure::ResetParameters() {
    values_.assign(prepared().params.size(), std::monostate{});
}

ParameterValues DbProcedure::GetParameterValues() const {
    prepared();
    return ParameterValues(values_);
}

void DbProcedure::SetParameterValues(ParameterValues values) {
    const ProcedureDef& def = prepared();
    if (static_cast<std::size_t>(values.size()) != def.params.size()) {
        throw OrvError(err::kInvalidCall, kSource,
                       QStringLiteral("Die Prozedur %1 erwartet %2 Parameterwerte.")
                           .arg(QString::fromStdString(def.name))
                           .arg(def.params.size()));
    }
    values_ = std::move(values.values());
}

DbValue& DbProcedure::slot(std::string_view name) {
    const ProcedureDef& def = prepared();
    const int pos = def.position(name);
    if (pos < 0) {
        throw OrvError(err::kDatabase, kSource,
                       QStringLiteral("Die Prozedur %1 hat keinen Parameter %2.")
                           .arg(QString::fromStdString(def.name), nameText(name)));
    }
    return values_[static_cast<std::size_t>(pos)];
}

const DbValue& DbProcedure::slot(std::string_view name) const {
    return const_cast<DbProcedure*>(this)->slot(name);
}

std::int32_t DbProcedure::Execute(int) {
    const ProcedureDef& def = prepared();
    std::shared_ptr<Connection> connection = database_.connection();
    try {
        ProcedureCall call(*connection, def, values_);
        return def.body(call);
    } catch (OrvError& e) {
        e.setDescription(e.description() +
                         QStringLiteral("\r\nProzedur: %1").arg(QString::fromStdString(def.name)));
        throw;
    }
}

std::int32_t DbProcedure::OutLong(std::string_view name) const {
    const std::int64_t value = toInt64(slot(name));
    if (value > std::numeric_limits<std::int32_t>::max() ||
        value < std::numeric_limits<std::int32_t>::min()) {
        throw OrvError(err::kOverflow, kSource, QStringLiteral("Überlauf"));
    }
    return static_cast<std::int32_t>(value);
}

QString DbProcedure::OutText(std::string_view name) const {
    return toText(slot(name));
}

void DbProcedure::AddLong(std::string_view name, std::int32_t value) {
    slot(name) = static_cast<std::int64_t>(value);
}

void DbProcedure::AddText(std::string_view name, const QString& value) {
    slot(name) = value;
}

void DbProcedure::AddCurrency(std::string_view name, Currency value) {
    slot(name) = value;
}

void DbProcedure::AddDate(std::string_view name, const QDateTime& value) {
    if (value.isValid()) {
        slot(name) = value;
    } else {
        slot(name) = std::monostate{};
    }
}

void DbProcedure::Close() {
    def_ = nullptr;
    values_.clear();
}

}  // namespace orv::db
