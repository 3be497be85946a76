#pragma once

#include <QByteArray>

namespace orv {

struct Tagesuebersicht;

// The day for the employee's own records, as a spreadsheet opens it: UTF-8 with a byte order
// mark (so that a spreadsheet reads the umlauts right), semicolons, lines ending CR LF, a field
// holding a semicolon, a quote or a line break quoted. Columns
// Art;Mandant;Auftrag;Beginn;Ende;Sekunden;Stunden, hours with a decimal comma: the bands, the
// items, then the totals per order, the idle, productive and whole time.
QByteArray TagesuebersichtCsv(const Tagesuebersicht& tag);

}  // namespace orv
