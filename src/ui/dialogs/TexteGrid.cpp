#include "ui/dialogs/TexteGrid.h"

#include "model/CText.h"
#include "model/cLeistung.h"
#include "ui/controls/KeyboardAccess.h"
#include "ui/controls/Twips.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

namespace orv::ui {
namespace {

constexpr int kSpalteId = 0;
constexpr int kSpalteText = 1;
constexpr int kZeilenhoehe = px(315);

// Enter on a standard text's number: the editor shows the text, followed by a blank for what the
// employee writes on. Any other Enter ends the edit; it never reaches the dialog while editing.
class StandardTextDelegate final : public QStyledItemDelegate {
public:
    StandardTextDelegate(QObject* parent, const TexteGrid::StandardText& standardText)
        : QStyledItemDelegate(parent), standardText_(standardText) {}

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (editor != nullptr && event->type() == QEvent::KeyPress && standardText_) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                const QString ergebnis = standardText_(editor->text());
                if (ergebnis != editor->text()) {
                    editor->setText(ergebnis + QLatin1Char(' '));
                    editor->setCursorPosition(static_cast<int>(editor->text().size()));
                } else {
                    emit commitData(editor);
                    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
                }
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    const TexteGrid::StandardText& standardText_;
};

}  // namespace

TexteGrid::TexteGrid(QWidget* parent) : QTableWidget(0, 2, parent) {
    setObjectName(QStringLiteral("grdTexte"));
    setHorizontalHeaderLabels({QString(), QStringLiteral("Texte")});
    setColumnHidden(kSpalteId, true);
    horizontalHeader()->setStretchLastSection(true);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(kZeilenhoehe);
    verticalHeader()->setDefaultSectionSize(
        std::max(kZeilenhoehe, verticalHeader()->defaultSectionSize()));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AllEditTriggers);
    // Tab leaves the grid for the dialog's next field.
    setTabKeyNavigation(false);
    setzeZugaenglich(*this, QStringLiteral("Texte"));
    setItemDelegate(new StandardTextDelegate(this, standardText_));
    connect(this, &QTableWidget::itemChanged, this, &TexteGrid::bearbeitet);
}

TexteGrid::~TexteGrid() = default;

void TexteGrid::Anzeigen(const cLeistung& leistung, StandardText standardText) {
    standardText_ = std::move(standardText);
    const QSignalBlocker still(this);
    setRowCount(0);
    bisher_.clear();
    for (const std::shared_ptr<CText>& line : leistung.Texte()) {
        bisher_.push_back(line->Text());
        zeileHinzufuegen(line->Text(), line->TextId());
    }
    zeileHinzufuegen({}, 0);
}

void TexteGrid::zeileHinzufuegen(const QString& text, std::int32_t textId) {
    const int row = rowCount();
    insertRow(row);
    auto* id = new QTableWidgetItem(QString::number(textId));
    id->setFlags(Qt::ItemIsEnabled);
    setItem(row, kSpalteId, id);
    setItem(row, kSpalteText, new QTableWidgetItem(text));
}

QString TexteGrid::zeile(int row) const {
    const QTableWidgetItem* cell = item(row, kSpalteText);
    return cell != nullptr ? cell->text() : QString();
}

void TexteGrid::bearbeitet(QTableWidgetItem* cell) {
    if (cell->column() != kSpalteText) {
        return;
    }
    // Writing in the empty last row makes a new line and a new empty row below it.
    if (cell->row() == rowCount() - 1 && !cell->text().isEmpty()) {
        const QSignalBlocker still(this);
        zeileHinzufuegen({}, 0);
    }
    emit TexteGeaendert();
}

void TexteGrid::BearbeitungAbschliessen() {
    if (QWidget* editor = indexWidget(currentIndex()); editor != nullptr) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

bool TexteGrid::Geaendert() const {
    for (int row = 0; row < rowCount(); ++row) {
        if (row < bisher_.size() ? zeile(row) != bisher_.at(row) : !zeile(row).isEmpty()) {
            return true;
        }
    }
    return false;
}

void TexteGrid::Uebernehmen(cLeistung& leistung) const {
    cLeistung::Texte_t& texte = leistung.Texte();
    // From the last line to the first: a line that goes moves those after it.
    for (auto row = static_cast<int>(bisher_.size()) - 1; row >= 0; --row) {
        const QString text = zeile(row);
        const QString position = QString::number(row + 1);
        const std::shared_ptr<CText> line = texte.item(position);
        if (text == line->Text()) {
            continue;
        }
        if (text.isEmpty() && line->TextId() < 1) {
            texte.Remove(position);
        } else {
            line->Text(text);
        }
    }
    for (auto row = static_cast<int>(bisher_.size()); row < rowCount(); ++row) {
        if (!zeile(row).isEmpty()) {
            leistung.TextHinzufuegen(0, zeile(row));
        }
    }
}

}  // namespace orv::ui
