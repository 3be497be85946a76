#include "LoadPlatform.h"

#include "QuietPlatform.h"
#include "Rebooking.h"

#include "ORVkStoppUhren/Enums.h"
#include "model/CAuftrag.h"
#include "model/cLeistung.h"
#include "platform/Windows.h"
#include "session/CStoppUhren.h"

namespace orv::load {

using bench::NullTrace;
using bench::QuietMainWindow;
using bench::StillTimer;

// The edit dialog: the day closing's idle entry is confirmed on the idle booking order; any
// other entry gets what the employee decided before the command.
class LoadPlatform::EditWindow final : public platform::FrmLeistung {
public:
    explicit EditWindow(LoadPlatform& platform) : platform_(platform) {}
    void setModus(std::int32_t) override {}
    std::int32_t LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds, std::int32_t& auftragId,
                                  bool unproduktiv) override {
        if (unproduktiv) {
            if (auftragId == 0) {
                auftragId = platform_.idleBookingOrder_;
            }
            return BearbeitungStati_Geaendert;
        }
        if (!platform_.edit_) {
            return BearbeitungStati_Abbruch;
        }
        const EditAnswer answer = *platform_.edit_;
        platform_.edit_.reset();
        // A new entry takes the order chosen in the dialog at once, as its order control does.
        if (entry.Id() == 0 && answer.auftragId > 0) {
            entry.AuftragAendernVorlauefig(answer.auftragId);
        }
        seconds = answer.seconds;
        auftragId = answer.auftragId;
        return answer.status;
    }
    void AktualisiereZeiten() override {}
    bool AuftragGeaendert() const override { return false; }

private:
    LoadPlatform& platform_;
};

class LoadPlatform::RebookingWindow final : public platform::FrmLeistungUmbuchen {
public:
    explicit RebookingWindow(LoadPlatform& platform) : platform_(platform) {}
    std::int32_t LeistungUmbuchen(cLeistung& entry) override { return confirm(entry, false); }
    std::int32_t LeerlaufUmbuchen(cLeistung& idleEntry) override {
        return confirm(idleEntry, true);
    }

private:
    std::int32_t confirm(cLeistung& source, bool fromIdle) {
        if (!platform_.rebook_ || platform_.session_ == nullptr) {
            return BearbeitungStati_Abbruch;
        }
        const RebookAnswer answer = *platform_.rebook_;
        platform_.rebook_.reset();
        return rebook(*platform_.session_, source, answer.target, answer.amount, fromIdle);
    }

    LoadPlatform& platform_;
};

class LoadPlatform::PauseWindow final : public platform::FrmPause {
public:
    explicit PauseWindow(LoadPlatform& platform) : platform_(platform) {}
    void Pause(CStoppUhren&, const QDateTime&, std::int32_t& seconds) override {
        seconds = platform_.pauseSeconds_;
        if (platform_.pauseHandler_) {
            platform_.pauseHandler_(seconds);
        } else {
            platform_.clock_.advance(seconds);
        }
    }

private:
    LoadPlatform& platform_;
};

LoadPlatform::LoadPlatform(db::Database& database, std::int32_t idleBookingOrder)
    : OfficePlatformFactory(database), idleBookingOrder_(idleBookingOrder) {}

LoadPlatform::~LoadPlatform() = default;

std::shared_ptr<platform::TraceLogger> LoadPlatform::createTraceLogger() {
    return std::make_shared<NullTrace>();
}

std::unique_ptr<platform::TimerObject> LoadPlatform::createTimer() {
    return std::make_unique<StillTimer>();
}

std::unique_ptr<platform::FrmStoppUhr> LoadPlatform::createFrmStoppUhr() {
    return std::make_unique<QuietMainWindow>();
}

std::unique_ptr<platform::FrmLeistung> LoadPlatform::createFrmLeistung() {
    return std::make_unique<EditWindow>(*this);
}

std::unique_ptr<platform::FrmLeistungUmbuchen> LoadPlatform::createFrmLeistungUmbuchen() {
    return std::make_unique<RebookingWindow>(*this);
}

std::unique_ptr<platform::FrmPause> LoadPlatform::createFrmPause() {
    return std::make_unique<PauseWindow>(*this);
}

QStringList LoadPlatform::takeMessages() {
    QStringList shown;
    shown.swap(boxes_.shown);
    return shown;
}

platform::MsgAnswer LoadPlatform::Boxes::show(const QString& text, platform::MsgButtons buttons,
                                              platform::MsgIcon, const QString& title, bool) {
    shown.append(title + QStringLiteral(": ") + text);
    // "No" keeps the session going: with unfinished orders it postpones the day closing, which
    // the run then reports.
    return buttons == platform::MsgButtons::YesNo || buttons == platform::MsgButtons::YesNoCancel
               ? platform::MsgAnswer::No
               : platform::MsgAnswer::Ok;
}

}  // namespace orv::load
