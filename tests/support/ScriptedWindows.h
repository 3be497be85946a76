#pragma once

#include "platform/Windows.h"

#include <QDateTime>

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

namespace orv::test {

class CallJournal;
class SettableClock;

// What the dialogs hand back (the numbers of the component's enumerations and dialog results).
namespace outcome {
inline constexpr std::int32_t kAbbruch = 0;    // edit or rebooking cancelled
inline constexpr std::int32_t kGeaendert = 1;  // edit or rebooking confirmed
inline constexpr std::int32_t kGeloescht = 2;  // entry deleted in the edit window
inline constexpr std::int32_t kOk = 1;         // small dialogs confirmed
inline constexpr std::int32_t kCancel = 2;     // small dialogs cancelled or closed
}  // namespace outcome

// A user at one kind of window. The component creates a window for each use; all windows of a
// kind are answered by the same scripted user, so a test scripts the answers before the window
// exists and reads what was asked after it is gone. Calls nobody scripted an answer for fail the
// test and get the cancelling answer; answers left over at the end fail it too.
class ScriptedWindow {
public:
    int created() const { return created_; }
    int released() const { return released_; }
    bool open() const { return created_ > released_; }

    void setJournal(CallJournal* journal) { journal_ = journal; }
    // Called by whoever hands the windows out.
    virtual void windowCreated();
    virtual void windowReleased();

protected:
    explicit ScriptedWindow(const char* name) : name_(name) {}
    ~ScriptedWindow() = default;
    void noteCall(const char* method) const;
    void unscripted(const char* method) const;
    void leftOver(std::size_t count) const;

    const char* name_;
    int created_ = 0;
    int released_ = 0;
    CallJournal* journal_ = nullptr;
};

// The main window: counts what the session asks of it. IstZuOberst answers what the test set;
// NachVorn puts the window on top, as a real one is afterwards.
class ScriptedFrmStoppUhr final : public platform::FrmStoppUhr, public ScriptedWindow {
public:
    ScriptedFrmStoppUhr() : ScriptedWindow("frmStoppUhr") {}

    void Anzeigen(CStoppUhren& session) override;
    void AktualisiereZeiten() override;
    void Schliessen() override;
    bool IstZuOberst() const override { return zuOberst_; }
    void NachVorn() override;

    // false: another window covers it.
    void setZuOberst(bool zuOberst) { zuOberst_ = zuOberst; }

    CStoppUhren* session() const { return session_; }
    int anzeigen() const { return anzeigen_; }
    int aktualisierungen() const { return aktualisierungen_; }
    int schliessen() const { return schliessen_; }
    int nachVorn() const { return nachVorn_; }

private:
    CStoppUhren* session_ = nullptr;
    bool zuOberst_ = true;
    int anzeigen_ = 0;
    int aktualisierungen_ = 0;
    int schliessen_ = 0;
    int nachVorn_ = 0;
};

struct LeistungAnzeigenCall {
    int window;  // 1 for the first window created
    std::int32_t modus;
    cLeistung* entry;
    std::int32_t seconds;
    std::int32_t auftragId;
    bool unproduktiv;
};

struct LeistungAnzeigenAnswer {
    std::int32_t status;
    std::optional<std::int32_t> seconds;    // written back when set
    std::optional<std::int32_t> auftragId;  // written back when set
};

// The edit window of one time entry.
class ScriptedFrmLeistung final : public platform::FrmLeistung, public ScriptedWindow {
public:
    // Answers like a user who looks at the entry; used when no queued answer is left.
    using Handler = std::function<std::int32_t(cLeistung& entry, std::int32_t& seconds,
                                               std::int32_t& auftragId, bool unproduktiv)>;

    ScriptedFrmLeistung() : ScriptedWindow("frmLeistung") {}
    ~ScriptedFrmLeistung() override { leftOver(answers_.size()); }

    void setModus(std::int32_t modus) override { modus_ = modus; }
    std::int32_t LeistungAnzeigen(cLeistung& entry, std::int32_t& seconds, std::int32_t& auftragId,
                                  bool unproduktiv) override;
    void AktualisiereZeiten() override;
    bool AuftragGeaendert() const override { return auftragGeaendert_; }

    void answer(LeistungAnzeigenAnswer answer) { answers_.push_back(answer); }
    void answerWith(Handler handler) { handler_ = std::move(handler); }
    void setAuftragGeaendert(bool geaendert) { auftragGeaendert_ = geaendert; }

    const std::vector<LeistungAnzeigenCall>& calls() const { return calls_; }
    int aktualisierungen() const { return aktualisierungen_; }

    // Every window starts in mode 0.
    void windowCreated() override;

private:
    std::int32_t modus_ = 0;
    bool auftragGeaendert_ = false;
    int aktualisierungen_ = 0;
    std::deque<LeistungAnzeigenAnswer> answers_;
    Handler handler_;
    std::vector<LeistungAnzeigenCall> calls_;
};

struct UmbuchenCall {
    int window;
    bool leerlauf;  // LeerlaufUmbuchen rather than LeistungUmbuchen
    cLeistung* entry;
};

// The rebooking window; one queue answers both of its calls in order.
class ScriptedFrmLeistungUmbuchen final : public platform::FrmLeistungUmbuchen,
                                          public ScriptedWindow {
public:
    using Handler = std::function<std::int32_t(cLeistung& entry, bool leerlauf)>;

    ScriptedFrmLeistungUmbuchen() : ScriptedWindow("frmLeistungUmbuchen") {}
    ~ScriptedFrmLeistungUmbuchen() override { leftOver(answers_.size()); }

    std::int32_t LeistungUmbuchen(cLeistung& entry) override;
    std::int32_t LeerlaufUmbuchen(cLeistung& idleEntry) override;

    void answer(std::int32_t status) { answers_.push_back(status); }
    void answerWith(Handler handler) { handler_ = std::move(handler); }
    const std::vector<UmbuchenCall>& calls() const { return calls_; }

private:
    std::int32_t respond(cLeistung& entry, bool leerlauf);

    std::deque<std::int32_t> answers_;
    Handler handler_;
    std::vector<UmbuchenCall> calls_;
};

struct PauseCall {
    int window;
    CStoppUhren* session;
    QDateTime beginn;
};

// The pause dialog. A queued answer is a pause of that many seconds: the clock, when one is
// attached, moves on by them before the dialog returns, as it would while the employee is away.
class ScriptedFrmPause final : public platform::FrmPause, public ScriptedWindow {
public:
    // Full control, e.g. to let the timer tick during the pause; returns the seconds.
    using Handler = std::function<std::int32_t(CStoppUhren& session, const QDateTime& beginn)>;

    ScriptedFrmPause() : ScriptedWindow("frmPause") {}
    ~ScriptedFrmPause() override { leftOver(answers_.size()); }

    void Pause(CStoppUhren& session, const QDateTime& beginn, std::int32_t& seconds) override;

    void answer(std::int32_t pauseSeconds) { answers_.push_back(pauseSeconds); }
    void answerWith(Handler handler) { handler_ = std::move(handler); }
    void setClock(SettableClock* clock) { clock_ = clock; }
    const std::vector<PauseCall>& calls() const { return calls_; }

private:
    std::deque<std::int32_t> answers_;
    Handler handler_;
    SettableClock* clock_ = nullptr;
    std::vector<PauseCall> calls_;
};

struct ExterneZeitAnswer {
    std::int32_t result;
    std::int32_t seconds;
    QDateTime von;
    QDateTime bis;

    // A period the user entered and confirmed.
    static ExterneZeitAnswer accepted(const QDateTime& von, const QDateTime& bis);
    static ExterneZeitAnswer cancelled();
};

struct ExterneZeitCall {
    int window;
    CStoppUhren* session;
};

// The dialog for time worked outside the component.
class ScriptedFrmExterneZeit final : public platform::FrmExterneZeit, public ScriptedWindow {
public:
    ScriptedFrmExterneZeit() : ScriptedWindow("frmExterneZeit") {}
    ~ScriptedFrmExterneZeit() override { leftOver(answers_.size()); }

    std::int32_t ExterneZeitErfassen(CStoppUhren& session, std::int32_t& seconds, QDateTime& von,
                                     QDateTime& bis) override;

    void answer(const ExterneZeitAnswer& answer) { answers_.push_back(answer); }
    const std::vector<ExterneZeitCall>& calls() const { return calls_; }

private:
    std::deque<ExterneZeitAnswer> answers_;
    std::vector<ExterneZeitCall> calls_;
};

struct EigenschaftenCall {
    int window;
    CAuftrag* order;
};

// The properties dialog of the idle booking order.
class ScriptedFrmEigenschaften final : public platform::FrmEigenschaften, public ScriptedWindow {
public:
    // Answers like a user who picks another order in the dialog.
    using Handler = std::function<std::int32_t(CAuftrag& order)>;

    ScriptedFrmEigenschaften() : ScriptedWindow("frmEigenschaften") {}
    ~ScriptedFrmEigenschaften() override { leftOver(answers_.size()); }

    std::int32_t Eigenschaftenanzeigen(CAuftrag& order) override;

    void answer(std::int32_t result) { answers_.push_back(result); }
    void answerWith(Handler handler) { handler_ = std::move(handler); }
    const std::vector<EigenschaftenCall>& calls() const { return calls_; }

private:
    std::deque<std::int32_t> answers_;
    Handler handler_;
    std::vector<EigenschaftenCall> calls_;
};

}  // namespace orv::test
