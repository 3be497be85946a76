#include "admin/TextTable.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace orv::admin {
namespace {

constexpr qsizetype kGap = 2;

QString renderLine(const QStringList& cells, const std::vector<TextTable::Column>& columns,
                   const std::vector<qsizetype>& widths) {
    QString line;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const QString& cell = cells.at(static_cast<qsizetype>(c));
        if (c > 0) {
            line += QString(kGap, QLatin1Char(' '));
        }
        line += columns[c].align == TextTable::Align::Right ? cell.rightJustified(widths[c])
                                                            : cell.leftJustified(widths[c]);
    }
    while (line.endsWith(QLatin1Char(' '))) {
        line.chop(1);
    }
    return line + QLatin1Char('\n');
}

}  // namespace

TextTable::TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {}

void TextTable::addRow(QStringList cells) {
    if (cells.size() > static_cast<qsizetype>(columns_.size())) {
        throw std::invalid_argument("TextTable: mehr Zellen als Spalten");
    }
    while (cells.size() < static_cast<qsizetype>(columns_.size())) {
        cells.append(QString());
    }
    rows_.push_back(Row{std::move(cells), {}});
}

void TextTable::addDetail(const QString& line) {
    if (rows_.empty()) {
        throw std::logic_error("TextTable: Detailzeile ohne Zeile");
    }
    rows_.back().details.append(line);
}

QString TextTable::render() const {
    std::vector<qsizetype> widths;
    widths.reserve(columns_.size());
    for (const Column& column : columns_) {
        widths.push_back(column.header.size());
    }
    for (const Row& row : rows_) {
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            widths[c] = std::max(widths[c], row.cells.at(static_cast<qsizetype>(c)).size());
        }
    }

    QStringList headers;
    qsizetype total = 0;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        headers.append(columns_[c].header);
        total += widths[c] + (c > 0 ? kGap : 0);
    }

    QString out = renderLine(headers, columns_, widths);
    out += QString(total, QLatin1Char('-')) + QLatin1Char('\n');
    for (const Row& row : rows_) {
        out += renderLine(row.cells, columns_, widths);
        for (const QString& detail : row.details) {
            out += QStringLiteral("    ") + detail + QLatin1Char('\n');
        }
    }
    return out;
}

}  // namespace orv::admin
