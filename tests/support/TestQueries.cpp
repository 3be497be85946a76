#include "TestQueries.h"

#include "persistence/DbService.h"

#include <QStringList>

namespace orv::test {

QString tableText(db::Database& database, const QString& sql,
                  std::initializer_list<const char*> columns, const db::Params& params) {
    db::DbService s(database);
    s.Open();
    QStringList out;
    for (bool more = s.OpenQuery(sql, params) == 1; more; more = s.Move(3)) {
        QStringList values;
        for (const char* column : columns) {
            values << s.FieldText(column, QStringLiteral("NULL"));
        }
        out << values.join(QLatin1Char('|'));
    }
    return out.join(QStringLiteral(" / "));
}

}  // namespace orv::test
