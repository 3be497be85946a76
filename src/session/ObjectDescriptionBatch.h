#pragma once

#include "session/ObjectKinds.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace orv {

class CAuftrag;
class CStoppUhren;

// The object descriptions of the orders one loading reads. The assessment component is asked
// about each matter code once per loading, so a change of the office's classification shows at
// the next start; the designations of all orders of a kind come with one query.
class ObjectDescriptionBatch {
public:
    ObjectDescriptionBatch(CStoppUhren& session, std::int32_t mitarbeiterId);

    // Sets the order's kind flags and clears its description; an assessment order is described
    // by the next call of beschreiben.
    void vormerken(const std::shared_ptr<CAuftrag>& auftrag, std::int32_t kenner);
    // Reads the designations of the orders noted since the last call and describes them.
    void beschreiben();

    // The row id of each order of the employee ($1) with the designation of its rental object,
    // or of its valued, given, inherited or land-taxed object, as "bezeichnung".
    static QString objNameQuery();
    static QString grundlageQuery();

private:
    struct Offen {
        std::shared_ptr<CAuftrag> auftrag;
        Objektarten arten;
    };
    // Row id of each order of the employee and the first designation the query names for it.
    QHash<std::int32_t, QString> bezeichnungen(const QString& sql) const;

    CStoppUhren& session_;
    std::int32_t mitarbeiterId_;
    std::map<std::int32_t, Objektarten> arten_;
    std::vector<Offen> offen_;
};

}  // namespace orv
