#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace orv::admin {

// A plain-text table for a terminal: one header line, a rule, then the rows, each column as wide
// as its widest cell. A row may carry detail lines, printed indented beneath it.
class TextTable {
public:
    enum class Align { Left, Right };
    struct Column {
        QString header;
        Align align = Align::Left;
    };

    explicit TextTable(std::vector<Column> columns);

    // A row has one cell per column; missing cells stay empty, extra cells are an error.
    void addRow(QStringList cells);
    // Adds a line beneath the last row added.
    void addDetail(const QString& line);

    bool isEmpty() const { return rows_.empty(); }
    int rowCount() const { return static_cast<int>(rows_.size()); }

    // The whole table, every line ending in a newline; no line ends in blanks.
    QString render() const;

private:
    struct Row {
        QStringList cells;
        QStringList details;
    };
    std::vector<Column> columns_;
    std::vector<Row> rows_;
};

}  // namespace orv::admin
