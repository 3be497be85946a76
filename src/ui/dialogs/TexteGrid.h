#pragma once

#include <QTableWidget>

#include <functional>

namespace orv {
class cLeistung;
}

namespace orv::ui {

// The text lines of a time entry as the employee edits them: a row per line and an empty row
// for a new one, the line's id in a hidden column that is never editable. A cell is edited as
// soon as it is entered; Enter on a standard text's number puts that text in its place. Nothing
// reaches the entry before Uebernehmen.
class TexteGrid final : public QTableWidget {
    Q_OBJECT
public:
    // The standard text for what was typed, or what was typed.
    using StandardText = std::function<QString(const QString&)>;

    explicit TexteGrid(QWidget* parent = nullptr);
    ~TexteGrid() override;

    void Anzeigen(const cLeistung& leistung, StandardText standardText);
    // A line differs from the entry's, or a new one was written.
    bool Geaendert() const;
    // A line being edited keeps what was typed so far: OK takes it.
    void BearbeitungAbschliessen();
    // The lines into the entry: changed texts, new lines appended; a line emptied goes (a stored
    // one from the database too, at the entry's next save).
    void Uebernehmen(cLeistung& leistung) const;

signals:
    void TexteGeaendert();

private:
    QString zeile(int row) const;
    void zeileHinzufuegen(const QString& text, std::int32_t textId);
    void bearbeitet(QTableWidgetItem* item);

    QStringList bisher_;
    StandardText standardText_;
};

}  // namespace orv::ui
