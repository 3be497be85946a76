#pragma once

#include "platform/Windows.h"
#include "session/diagnostics/ObjectTrace.h"

#include <QDateTime>
#include <QDialog>

class QLabel;

namespace orv::office {
class ctlButton;
class ctlDatePicker;
}  // namespace orv::office

namespace orv::platform {
class PlatformFactory;
}

namespace orv::ui {

class ctlMskzeit;

// A period worked outside the component today. Every change of the date or a time checks the
// period against the day and the employee's logins; the hint says what is wrong, and OK is
// enabled exactly while the period can be recorded.
class FrmExterneZeitDialog final : public QDialog, public platform::FrmExterneZeit {
    Q_OBJECT
public:
    explicit FrmExterneZeitDialog(platform::PlatformFactory& platform);
    ~FrmExterneZeitDialog() override;

    std::int32_t ExterneZeitErfassen(CStoppUhren& session, std::int32_t& seconds, QDateTime& von,
                                     QDateTime& bis) override;

private:
    void pruefen();
    void bestaetigen();

    platform::PlatformFactory& platform_;
    ObjectTrace trace_;
    CStoppUhren* session_ = nullptr;
    office::ctlDatePicker* ctlDatePicker1_;
    ctlMskzeit* mskZeitVon_;
    ctlMskzeit* mskZeitBis_;
    QLabel* lblHinweis_;
    office::ctlButton* ctlOk_;
    office::ctlButton* ctlCancel_;
    // The last valid period.
    std::int32_t sekunden_ = 0;
    QDateTime von_;
    QDateTime bis_;
    bool gueltig_ = false;
    std::int32_t ergebnis_ = 2;
};

}  // namespace orv::ui
