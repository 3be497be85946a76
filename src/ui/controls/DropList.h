#pragma once

#include <QWidget>

class QComboBox;

namespace orv::ui {

// A combo box of which only the dropped-down list is ever seen: the control has no height and
// the combo's edit part sits above its top edge, so the list opens right under the field the
// host placed the control beneath. It takes no focus and no mouse input of its own.
class DropList final : public QWidget {
    Q_OBJECT
public:
    explicit DropList(QWidget* parent = nullptr);

    // The combo box, for the host to fill, read and connect to.
    QComboBox* Combo() const { return cbo_; }
    bool Enabled() const { return isEnabled(); }
    // Disabling also closes the list.
    void Enabled(bool enabled);
    bool IsDropped() const;
    // Shows (never while disabled) or hides the list.
    void DropDown(bool show);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QComboBox* cbo_;
};

}  // namespace orv::ui
