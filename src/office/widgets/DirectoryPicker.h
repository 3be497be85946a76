#pragma once

#include "office/widgets/CaptionedField.h"
#include "office/widgets/PickerDialog.h"

#include <vector>

class QCompleter;
class QLabel;
class QLineEdit;
class QStandardItemModel;

namespace orv::office {

class LeaveValidation;

// What the client picker and the order-kind-and-matter picker share: a number field with the
// resolved name beside it. Typing a key resolves it at once; any other text offers matching
// entries as it is typed; the selection operation opens the searchable list. Every lookup is one
// indexed query of the office's directories, quick enough to run per keystroke.
class DirectoryPicker : public CaptionedField {
    Q_OBJECT
public:
    ~DirectoryPicker() override;

    // The parameterless selection operation: the list dialog; nothing while locked or disabled.
    void Auswahl();
    QLineEdit* lineEdit() const { return edit_; }
    // The name shown beside the field, or what is wrong with the text typed.
    QString Anzeige() const;
    // The input field's width, in pixels.
    void InputWidth(int pixels);

signals:
    // The field is left, or an entry was chosen from the list dialog.
    void Validate();
    void Change();

protected:
    // How many entries the completer offers.
    static constexpr int kVorschlaege = 20;

    DirectoryPicker(QWidget* parent, QString dialogTitle);

    // Entries matching what was typed, for the completer and the list dialog.
    virtual std::vector<PickerItem> eintraege(const QString& typed, int limit) const = 0;
    // The typed text as a selection; false (and no selection) when it names nothing (yet).
    virtual bool aufloesen(const QString& text) = 0;
    // An entry chosen from a list becomes the selection.
    virtual void waehlen(std::int32_t id) = 0;
    // The message for text that resolved to nothing when the field is left.
    virtual QString unbekannt(const QString& text) const = 0;

    // Shows a selection: its key in the field, its name beside it.
    void zeigen(const QString& key, const QString& name);
    void applyLocked(bool locked) override;

private:
    void getippt(const QString& text);
    void verlassen();
    void hinweis(const QString& text, bool fehler);

    QString dialogTitle_;
    QLineEdit* edit_;
    QLabel* name_;
    QStandardItemModel* vorschlaege_;
    QCompleter* completer_;
    LeaveValidation* validation_;
    bool aufgeloest_ = true;
};

}  // namespace orv::office
