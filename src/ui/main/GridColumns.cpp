#include "ui/main/GridColumns.h"
#include "model/CAuftrag.h"
#include "ui/controls/Twips.h"

#include <QHeaderView>
#include <QTableView>

namespace orv::ui {
namespace {

constexpr int kZeilenHoehe = 315;

}  // namespace

void setUpGrid(QTableView& grid, const GridColumns& columns) {
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Rows are chosen, never cells: Tab leaves the grid for the window's next control.
    grid.setTabKeyNavigation(false);
    grid.setWordWrap(false);
    grid.setAlternatingRowColors(false);
    grid.verticalHeader()->hide();
    // Fixed heights and widths: a refill of many rows measures nothing.
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setDefaultSectionSize(px(kZeilenHoehe));
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    grid.horizontalHeader()->setHighlightSections(false);
    grid.horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < kGridColumns; ++column) {
        const int twips = columns[static_cast<std::size_t>(column)].twips;
        grid.setColumnHidden(column, twips == 0);
        if (twips > 0) {
            grid.setColumnWidth(column, px(twips));
        }
    }
}

QString auftragSpalte(const CAuftrag& a, int column) {
    switch (column) {
        case 2:
            return a.MandantLabel();
        case 3:
            return CAuftrag::GetNumberText(a.AuftragArtNr());
        case 4:
            return CAuftrag::GetNumberText(a.AngelegenheitNr());
        case 5:
            return a.Angelegenheit();
        case 7:
            return CAuftrag::GetNumberText(a.Jahr());
        case 8:
            return CAuftrag::GetNumberText(a.LfdNr());
        case 9:
            return CAuftrag::GetNumberText(a.ObjektNr());
        default:
            return {};
    }
}

}  // namespace orv::ui
