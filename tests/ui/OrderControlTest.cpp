#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlAufArtAng.h"
#include "office/widgets/ctlDatePicker.h"
#include "office/widgets/ctlMandant.h"
#include "persistence/FaultInjector.h"
#include "ui/controls/ctlAuftrag.h"

#include <QApplication>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <array>
#include <tuple>

namespace orv::ui {
namespace {

// What the employee types into the control before leaving it (nullptr, -1: left as it is).
struct Eingabe {
    const char* mandant = nullptr;
    const char* angelegenheit = nullptr;
    int monat = -1;
    int jahr = -1;
    const char* lfdNr = nullptr;
    const char* objNr = nullptr;
    bool abbrechen = false;        // Cancel clicked instead of leaving
    const char* tasten = nullptr;  // typed from the client field on, instead of all the above
};

// An employee's window: the control, a field after it and a Cancel button.
class OrderControlTest : public test::SessionTest {
public:
    void zeige(const std::shared_ptr<CAuftrag>& auftrag, CStoppUhren* session = nullptr) {
        window_ = std::make_unique<QWidget>();
        ctl_ = new ctlAuftrag(session != nullptr ? *session : *session_, window_.get());
        weiter_ = new QLineEdit(window_.get());
        abbrechen_ = (new QDialogButtonBox(QDialogButtonBox::Cancel, window_.get()))
                         ->button(QDialogButtonBox::Cancel);
        QObject::connect(ctl_, &ctlAuftrag::AuftragGeaendert, [this] { ++geaendert_; });
        ctl_->AuftragZeigen(auftrag);
        test::showActive(*window_);
        merke();
    }
    // What was looked up, said and created counts from here.
    void merke() {
        suchen0_ += suchen();
        gesagt0_ = platform_->told().size();
        auftraege0_ = count(QStringLiteral("tAuftrag"));
    }
    template <typename W = QWidget>
    W* feld(const char* name) {
        return test::child<W>(*ctl_, name);
    }
    QLineEdit* zeile(const char* name) { return feld(name)->findChild<QLineEdit*>(); }
    // Types into a field of the control, over its whole text (nullptr: leaves it as it is).
    void tippe(const char* name, const char* keys) {
        if (keys != nullptr) {
            zeile(name)->setFocus(Qt::TabFocusReason);
            zeile(name)->selectAll();
            test::press(zeile(name), QString::fromUtf8(keys));
        }
    }
    // Types the fields in the order of the form and leaves the control, twice.
    void eingeben(const Eingabe& e) {
        if (e.tasten != nullptr) {
            ctl_->FocusMandant();
            test::press(weiter_, QString::fromUtf8(e.tasten));
        }
        tippe("ctlMandant", e.mandant);
        tippe("ctlAufArtAng", e.angelegenheit);
        if (e.monat >= 0) {
            auto* termin = feld<office::ctlDatePicker>("ctlTermin");
            termin->dateEdit()->setFocus(Qt::TabFocusReason);
            termin->Monat(e.monat);
            termin->Jahr(e.jahr);
        }
        tippe("ctlLfdNr", e.lfdNr);
        tippe("ctlObjNr", e.objNr);
        if (e.abbrechen) {
            QTest::mouseClick(abbrechen_, Qt::LeftButton);
            EXPECT_EQ(QApplication::focusWidget(), abbrechen_);
        }
        for (int i = 0; i < 2 && !e.abbrechen; ++i) {
            feld("ctlMandant")->setFocus(Qt::TabFocusReason);
            weiter_->setFocus(Qt::TabFocusReason);
        }
    }
    int suchen() const {
        return static_cast<int>(
                   platform_->trace().messages().count(QStringLiteral("OrderLookup.Search"))) -
               suchen0_;
    }
    // What the employee was told since: message boxes, then problem reports.
    QStringList gesagt() const { return platform_->told().mid(gesagt0_); }
    int auftraege() { return count(QStringLiteral("tAuftrag")) - auftraege0_; }
    // The key the fields show, and an order's: client, matter, month.
    std::array<std::int32_t, 3> gezeigt() {
        return {feld<office::ctlMandant>("ctlMandant")->MandantId(),
                feld<office::ctlAufArtAng>("ctlAufArtAng")->AngelegenheitNr(),
                feld<office::ctlDatePicker>("ctlTermin")->Monat()};
    }
    static std::array<std::int32_t, 3> schluessel(const CAuftrag& a) {
        return {a.MandantId(), a.AngelegenheitNr(), a.Monat()};
    }
    QString schluesselVon(std::int32_t id) {
        return table(
            QStringLiteral("SELECT flMandant, dlAuftragArtNr, dlAngelegenheitNr, diMonat,"
                           " dlJahr, diLfdNr, dlObjektNr FROM tAuftrag WHERE idAuftrag = $1"),
            {"flMandant", "dlAuftragArtNr", "dlAngelegenheitNr", "diMonat", "dlJahr", "diLfdNr",
             "dlObjektNr"},
            {std::int64_t{id}});
    }

    std::unique_ptr<QWidget> window_;
    ctlAuftrag* ctl_ = nullptr;
    QLineEdit* weiter_ = nullptr;
    QPushButton* abbrechen_ = nullptr;
    int geaendert_ = 0;
    int suchen0_ = 0;
    qsizetype gesagt0_ = 0;
    int auftraege0_ = 0;
};

struct Fall {
    const char* name;
    std::int32_t von;  // the order shown
    Eingabe eingabe;
    int suchen;         // lookups in the office
    QString danach;     // the order reported afterwards, or the key of the one created in tAuftrag
    QString gesagt;     // the message or problem report the employee sees, if any
    bool recht = true;  // right 28, to create orders
    bool fakturiertErlaubt = false;
    // A statement the database refuses at the first attempt; the expectations are the retry's.
    const char* stoerung = nullptr;
};

TEST_P(OrderControlTest, LeavingLooksUpOnlyAChangedCompleteKey) {
    const Eingabe fakturiert{"10002", "30/301{Tab}", 12, 2025};
    const Fall faelle[] = {
        // clang-format off
        {"unchanged", 5001, {}, 0, "5001", {}},
        {"another period finds its order", 5001, {.monat = 2, .jahr = 2026}, 1, "5002", {}},
        {"a period without order creates one", 5001, {.monat = 7, .jahr = 2026}, 1, "101|10|101|7|2026|1|1", {}},
        {"without right 28 nothing is created", 5001, {.monat = 9, .jahr = 2026}, 1, "5001", "Der Auftrag existiert nicht. Die Auftragsanlage ist jedoch durch die Benutzerrechte verweigert.", false},
        {"unknown client number", 5001, {.mandant = "99999"}, 0, "5001", {}},
        {"month 0", 5001, {.monat = 0, .jahr = 2026}, 0, "5001", {}},
        {"invoiced order refused", 5001, fakturiert, 1, "5001", "Auf fakturierte Auftrag können keine Leistungen erfasst werden!"},
        {"invoiced order taken where allowed", 5001, fakturiert, 1, QString::number(office::demo::kInvoicedOrder), {}, true, true},
        {"billing kind 9 is never found", 5001, {"10003", "40/401{Tab}", 12, 2025}, 1, "5001", "Der Auftrag kann nicht angelegt werden: Ein Auftrag mit diesem Schlüssel existiert bereits und ist von der Zeiterfassung ausgenommen (Abrechnungsart 9)."},
        {"a running number takes two digits", office::demo::kSeveralOrdersMatterOrder, {.lfdNr = "123"}, 1, "106|90|901|3|2026|12|1", {}},
        {"chosen and created by keyboard", 5001, {.tasten = "{Ctrl+A}10006{Tab}90/901{Tab}042026{Tab}3{Tab}10{Return}{Tab}"}, 1, "106|90|901|4|2026|3|1", {}},
        {"leaving on the way to Cancel", 5001, {.monat = 10, .jahr = 2026, .abbrechen = true}, 0, "5001", {}},
        {"lookup failed, then done again", 5001, {.monat = 2, .jahr = 2026}, 1, "5002", {}, true, false, "COUNT(*) OVER ()"},
        {"creation failed, then done again", 5001, {.monat = 8, .jahr = 2026}, 1, "101|10|101|8|2026|1|1", {}, true, false, "INSERT INTO tAuftrag"},
        {"taking over failed, then done again", 5001, {.monat = 2, .jahr = 2026}, 1, "5002", {}, true, false, "Set idAuftrag"},
        // The period of an object-number matter is no check: the object number is.
        {"object-number matter", office::demo::kRentalIncomeOrder, {.monat = 11, .jahr = 2025, .objNr = "2"}, 1, "103|40|402|11|2025|1|2", {}},
        // clang-format on
    };
    // Every message is confirmed; which ones were shown is checked.
    platform_->messageBoxes().answerWith([](const auto&) { return platform::MsgAnswer::Ok; });
    const auto ohne = startedSession(office::demo::kEmployeeWithoutRights);
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        CStoppUhren& session = f.recht ? *session_ : *ohne;
        session.LeistungenAufFakturierteAuftraege(f.fakturiertErlaubt);
        auto auftrag = std::make_shared<CAuftrag>(session);
        auftrag->Init(session, false, 0, false);
        auftrag->AuftragAendern(f.von);
        zeige(auftrag, &session);
        if (f.stoerung != nullptr) {
            faults().failStatementsContaining(f.stoerung);
            eingeben(f.eingabe);
            faults().clear();
            EXPECT_EQ(gesagt().size(), 1);
            EXPECT_EQ((std::array{auftraege(), ctl_->AuftragId(), auftrag->AuftragId(),
                                  row(auftrag->Id())->idAuftrag}),
                      (std::array{0, f.von, f.von, f.von}));
            EXPECT_EQ(gezeigt(), schluessel(*auftrag));
            merke();
        }
        eingeben(f.eingabe);
        const std::int32_t id = ctl_->AuftragId();
        const bool neu = f.danach.contains('|');
        // The order takes what was found or created, in the database too.
        EXPECT_EQ((std::array{suchen(), auftraege(), auftrag->AuftragId(),
                              row(auftrag->Id())->idAuftrag}),
                  (std::array{f.suchen, neu ? 1 : 0, id, id}));
        EXPECT_EQ(neu ? schluesselVon(id) : QString::number(id), f.danach);
        EXPECT_EQ(gesagt().join('\n'), f.gesagt);
        EXPECT_EQ(
            std::pair(ctl_->FakturierterAuftrag(), feld<QLabel>("lblHiweis")->text()),
            std::pair(f.fakturiertErlaubt,
                      f.fakturiertErlaubt ? QStringLiteral("fakturierter Auftrag") : QString()));
        // Refused or failed: the fields show the key of the order reported again.
        EXPECT_TRUE(f.gesagt.isEmpty() || gezeigt() == schluessel(*auftrag));
    }
}

// What is typed into the pickers is searched for literally; nothing typed reaches SQL as text.
TEST_P(OrderControlTest, PickersOfferWhatMatchesTheTypedText) {
    zeige(newOrder(5001));
    // field, typed, lines offered, the first line offered (nullptr: none)
    const std::tuple<const char*, const char*, int, const char*> faelle[] = {
        {"ctlMandant", "O'", 1, "10007  O'Neill Consulting"},
        {"ctlMandant", "öz", 1, "10008  Öztürk, Ümit"},
        {"ctlMandant", "100%", 1, "10100  Bioladen 100%"},
        {"ctlMandant", "x'; DELETE FROM tAuftrag; --", 0, nullptr},
        {"ctlAufArtAng", "beratung", 2,
         "90/901  Steuerliche Beratung (Beratung und Kanzleiorganisation)"},
    };
    for (const auto& [name, getippt, treffer, erster] : faelle) {
        SCOPED_TRACE(getippt);
        // Typed character by character, umlauts too, as a keyboard sends them.
        zeile(name)->setFocus(Qt::TabFocusReason);
        zeile(name)->clear();
        for (const QChar c : QString::fromUtf8(getippt)) {
            QTest::sendKeyEvent(QTest::Click, zeile(name), Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
        auto* model = feld(name)->findChild<QCompleter*>()->model();
        EXPECT_EQ(model->rowCount(), treffer);
        EXPECT_TRUE(model->index(0, 0).data().toString().startsWith(QString::fromUtf8(erster)));
    }
    tippe("ctlMandant", "99999{Tab}");
    EXPECT_EQ(feld<office::ctlMandant>("ctlMandant")->Anzeige(),
              QStringLiteral("Es gibt keinen Mandanten mit der Nummer 99999."));
    EXPECT_EQ(auftraege(), 0);
}

// For a time entry the control finds the order and reports it; the stopwatch's order stays until
// the host takes the found one.
TEST_P(OrderControlTest, AnEntryKeepsItsOrderUntilTheHostTakesTheFoundOne) {
    auto auftrag = startNewOrder(5001);
    tick(60);
    zeige(auftrag);
    ctl_->LeistungAnzeigen(auftrag->AktuelleLeistung());
    eingeben({.monat = 2, .jahr = 2026});
    EXPECT_EQ((std::array{suchen(), ctl_->AuftragId(), geaendert_, auftrag->AuftragId(),
                          row(auftrag->Id())->idAuftrag}),
              (std::array{1, 5002, 1, 5001, 5001}));
    expectBalanced();
}

// F8 opens the client list in a loop of its own: filtered by what is typed, chosen with Return.
TEST_P(OrderControlTest, F8OpensTheClientList) {
    zeige(newOrder(5001));
    QTimer::singleShot(0, [] {
        auto* filter = QApplication::activeModalWidget()->findChild<QLineEdit*>("txtFilter");
        QTest::keyClicks(filter, QStringLiteral("Kaiser"));
        QTest::keyClick(filter, Qt::Key_Return);
    });
    tippe("ctlTextVorgabe", "{F8}");
    EXPECT_EQ(zeile("ctlMandant")->text(), QStringLiteral("10006"));
}

ORV_INSTANTIATE_FOR_BACKENDS(OrderControlTest);

}  // namespace
}  // namespace orv::ui
