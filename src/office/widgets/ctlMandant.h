#pragma once

#include "office/directory/ClientDirectory.h"
#include "office/widgets/DirectoryPicker.h"

namespace orv::office {

// The office's client picker: the client number with the client's short name beside it. A
// number typed is resolved at once; letters offer the clients whose name matches; F8 in the
// order control (the selection operation) opens the list "Mandant auswählen".
class ctlMandant final : public DirectoryPicker {
    Q_OBJECT
public:
    ctlMandant(db::Database& database, QWidget* parent = nullptr);

    // The selected client's id; 0 when none is selected or the text names no client.
    std::int32_t MandantId() const { return mandantId_; }
    // Shows the client with that id. An id the directory does not know (an office's own id)
    // is kept as it is, so the order it came from stays unchanged.
    void MandantId(std::int32_t id);

protected:
    std::vector<PickerItem> eintraege(const QString& typed, int limit) const override;
    bool aufloesen(const QString& text) override;
    void waehlen(std::int32_t id) override;
    QString unbekannt(const QString& text) const override;

private:
    void zeigen(const ClientEntry& mandant);

    ClientDirectory directory_;
    std::int32_t mandantId_ = 0;
};

}  // namespace orv::office
