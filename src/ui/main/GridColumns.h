#pragma once

#include <QString>

#include <array>

class QTableView;

namespace orv {
class CAuftrag;
}

namespace orv::ui {

// A grid column as designed: its header and its width in twips (0 hides it).
struct GridColumn {
    const char* header;
    int twips;
};
inline constexpr int kGridColumns = 16;
using GridColumns = std::array<GridColumn, kGridColumns>;

// Widths, hidden key columns, fixed row height (315 twips) and the look both grids share.
void setUpGrid(QTableView& grid, const GridColumns& columns);

// The order's columns both grids show alike: client, order kind, matter number and matter, year,
// running and object number; an empty string for any other column.
QString auftragSpalte(const CAuftrag& auftrag, int column);

}  // namespace orv::ui
