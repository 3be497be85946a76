#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlAufArtAng.h"
#include "office/widgets/ctlDatePicker.h"
#include "office/widgets/ctlMandant.h"
#include "office/widgets/ctlTextBox.h"
#include "persistence/FaultInjector.h"
#include "ui/controls/DropList.h"
#include "ui/controls/ctlAuftrag.h"

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <array>
#include <tuple>

namespace orv::ui {
namespace {

const QString kRechte = QStringLiteral(
    "Der Auftrag existiert nicht. Die Auftragsanlage ist jedoch durch die Benutzerrechte "
    "verweigert.");
const QString kFakturiert =
    QStringLiteral("Auf fakturierte Auftrag können keine Leistungen erfasst werden!");
const QString kArt9 = QStringLiteral(
    "Der Auftrag kann nicht angelegt werden: Ein Auftrag mit diesem Schlüssel existiert bereits "
    "und ist von der Zeiterfassung ausgenommen (Abrechnungsart 9).");

// What the employee types into the control before leaving it (nullptr, -1: left as it is).
struct Eingabe {
    const char* mandant = nullptr;
    const char* angelegenheit = nullptr;
    int monat = -1;
    int jahr = -1;
    const char* lfdNr = nullptr;
    const char* objNr = nullptr;
    bool abbrechen = false;  // Cancel clicked instead of leaving
};

// An employee's window: the control, a field after it and a Cancel button.
class OrderControlTest : public test::SessionTest {
public:
    void zeige(const std::shared_ptr<CAuftrag>& auftrag, CStoppUhren* session = nullptr) {
        window_ = std::make_unique<QWidget>();
        ctl_ = new ctlAuftrag(session != nullptr ? *session : *session_, window_.get());
        weiter_ = new QLineEdit(window_.get());
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, window_.get());
        abbrechen_ = buttons->button(QDialogButtonBox::Cancel);
        QObject::connect(ctl_, &ctlAuftrag::AuftragGeaendert, [this] { ++geaendert_; });
        ctl_->AuftragZeigen(auftrag);
        test::showActive(*window_);
        merke();
    }
    // What was looked up, said and created counts from here.
    void merke() {
        suchen0_ = 0;
        suchen0_ = suchen();
        gesagt0_ = platform_->messageBoxes().asked().size() + platform_->errorReports().size();
        auftraege0_ = count(QStringLiteral("tAuftrag"));
    }
    template <typename W>
    W* feld(const char* name) {
        return test::child<W>(*ctl_, name);
    }
    QString text(const char* name) { return feld<office::ctlTextBox>(name)->Text(); }
    // Types into a field of the control, over its whole text (nullptr: leaves it as it is).
    void tippe(const char* name, const char* keys) {
        if (keys == nullptr) {
            return;
        }
        QLineEdit* edit = feld<QWidget>(name)->findChild<QLineEdit*>();
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        test::press(edit, QString::fromUtf8(keys));
    }
    // Types the fields in the order of the form and leaves the control, twice.
    void eingeben(const Eingabe& e) {
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
            return;
        }
        for (int i = 0; i < 2; ++i) {
            feld<QWidget>("ctlMandant")->setFocus(Qt::TabFocusReason);
            weiter_->setFocus(Qt::TabFocusReason);
        }
    }
    int suchen() const {
        return static_cast<int>(
                   platform_->trace().messages().count(QStringLiteral("OrderLookup.Search"))) -
               suchen0_;
    }
    // What the employee was told since: message boxes, then problem reports.
    QStringList gesagt() const { return platform_->told().mid(static_cast<qsizetype>(gesagt0_)); }
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
    std::size_t gesagt0_ = 0;
    int auftraege0_ = 0;
};

struct Fall {
    const char* name;
    std::int32_t von;  // the order shown
    Eingabe eingabe;
    int suchen;         // lookups in the office
    std::int32_t id;    // the order reported afterwards (-1: a new one)
    const char* neu;    // the key of the order created in tAuftrag; nullptr: none created
    QString gesagt;     // the message or problem report the employee sees, if any
    bool recht = true;  // right 28, to create orders
    bool fakturiertErlaubt = false;
    // A statement the database refuses at the first attempt; the expectations are the retry's.
    const char* stoerung = nullptr;
};

TEST_P(OrderControlTest, LeavingLooksUpOnlyAChangedCompleteKey) {
    constexpr std::int32_t kMehrfach = office::demo::kSeveralOrdersMatterOrder;
    constexpr std::int32_t kVuV = office::demo::kRentalIncomeOrder;
    const Eingabe fakturiert{"10002", "30/301{Tab}", 12, 2025};
    const Fall faelle[] = {
        // clang-format off
        {"unchanged", 5001, {}, 0, 5001, nullptr, {}},
        {"another period finds its order", 5001, {.monat = 2, .jahr = 2026}, 1, 5002, nullptr, {}},
        {"a period without order creates one", 5001, {.monat = 7, .jahr = 2026}, 1, -1, "101|10|101|7|2026|1|1", {}},
        {"without right 28 nothing is created", 5001, {.monat = 9, .jahr = 2026}, 1, 5001, nullptr, kRechte, false},
        {"without right 28 an order is still found", 5001, {.monat = 2, .jahr = 2026}, 1, 5002, nullptr, {}, false},
        {"unknown client number", 5001, {.mandant = "99999"}, 0, 5001, nullptr, {}},
        {"month 0", 5001, {.monat = 0, .jahr = 2026}, 0, 5001, nullptr, {}},
        {"month 13", 5001, {.monat = 13, .jahr = 2026}, 0, 5001, nullptr, {}},
        {"year 0", 5001, {.monat = 3, .jahr = 0}, 0, 5001, nullptr, {}},
        {"invoiced order refused", 5001, fakturiert, 1, 5001, nullptr, kFakturiert},
        {"invoiced order taken where allowed", 5001, fakturiert, 1, office::demo::kInvoicedOrder, nullptr, {}, true, true},
        {"billing kind 9 is never found", 5001, {"10003", "40/401{Tab}", 12, 2025}, 1, 5001, nullptr, kArt9},
        {"an emptied running number means 1", kMehrfach, {.lfdNr = "{Backspace}"}, 0, kMehrfach, nullptr, {}},
        {"a running number takes two digits", kMehrfach, {.lfdNr = "123"}, 1, -1, "106|90|901|3|2026|12|1", {}},
        {"leaving on the way to Cancel", 5001, {.monat = 10, .jahr = 2026, .abbrechen = true}, 0, 5001, nullptr, {}},
        {"lookup failed, then done again", 5001, {.monat = 2, .jahr = 2026}, 1, 5002, nullptr, {}, true, false, "COUNT(*) OVER ()"},
        {"creation failed, then done again", 5001, {.monat = 8, .jahr = 2026}, 1, -1, "101|10|101|8|2026|1|1", {}, true, false, "INSERT INTO tAuftrag"},
        {"taking over failed, then done again", 5001, {.monat = 2, .jahr = 2026}, 1, 5002, nullptr, {}, true, false, "Set idAuftrag"},
        {"letters are no object number", kVuV, {.objNr = "x"}, 0, kVuV, nullptr, {}},
        // The period of an object-number matter is no check: the object number is.
        {"object-number matter", kVuV, {.monat = 11, .jahr = 2025, .objNr = "2"}, 1, -1, "103|40|402|11|2025|1|2", {}},
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
        // The order takes what was found or created, in the database too.
        EXPECT_EQ((std::array{suchen(), auftraege(), auftrag->AuftragId(),
                              row(auftrag->Id())->idAuftrag}),
                  (std::array{f.suchen, f.neu != nullptr ? 1 : 0, id, id}));
        EXPECT_EQ(f.neu != nullptr ? schluesselVon(id) : QString::number(id),
                  f.neu != nullptr ? QString::fromLatin1(f.neu) : QString::number(f.id));
        EXPECT_EQ(gesagt().join('\n'), f.gesagt);
        EXPECT_EQ(ctl_->FakturierterAuftrag(), f.fakturiertErlaubt);
        EXPECT_EQ(feld<QLabel>("lblHiweis")->text(),
                  f.fakturiertErlaubt ? QStringLiteral("fakturierter Auftrag") : QString());
        if (!f.gesagt.isEmpty()) {
            // Refused or failed: the fields show the key of the order reported again.
            EXPECT_EQ(gezeigt(), schluessel(*auftrag));
        }
    }
}

// The matter's facts reach the order and decide which numbers can be typed.
TEST_P(OrderControlTest, TheMatterDecidesRunningAndObjectNumber) {
    // Facts: V rental income, B valuation, S gift, E inheritance, G land tax, M several orders.
    const std::tuple<std::int32_t, const char*, const char*> faelle[] = {
        // clang-format off
        {5001, "", ""},
        {office::demo::kRentalIncomeOrder, "V", "Objekt Nr.: 3 Mehrfamilienhaus Gartenstraße 12"},
        {5007, "B", "Objekt Nr.: 1 Einfamilienhaus Lindenweg 4"},
        {5008, "S", "Objekt Nr.: 2 Eigentumswohnung Am Markt 7"},
        {5009, "E", "Objekt Nr.: 1 Wohnhaus Bergstraße 21"},
        {5010, "G", "Objekt Nr.: 4 Gewerbegrundstück Industriestraße 8"},
        {office::demo::kSeveralOrdersMatterOrder, "M", ""},
        // clang-format on
    };
    for (const auto& [auftragId, fakten, objekt] : faelle) {
        SCOPED_TRACE(auftragId);
        const QString soll = QString::fromLatin1(fakten);
        auto a = newOrder(auftragId);
        // Facts the order did not have: the control puts its matter's in.
        a->VuVAuftrag(!soll.contains('V'));
        a->IsBewertung(!soll.contains('B'));
        a->IsSchenkung(!soll.contains('S'));
        a->IsErbschaft(!soll.contains('E'));
        a->IsGrundsteuer(!soll.contains('G'));
        a->MehrfachAnlage(!soll.contains('M'));
        zeige(a);
        const auto f = [](bool ja, char c) { return ja ? QString(QLatin1Char(c)) : QString(); };
        EXPECT_EQ(f(a->VuVAuftrag(), 'V') + f(a->IsBewertung(), 'B') + f(a->IsSchenkung(), 'S') +
                      f(a->IsErbschaft(), 'E') + f(a->IsGrundsteuer(), 'G') +
                      f(a->MehrfachAnlage(), 'M'),
                  soll);
        const bool mehrfach = soll == QStringLiteral("M");
        const bool hatObjekt = !soll.isEmpty() && !mehrfach;
        EXPECT_EQ(std::pair(feld<QWidget>("ctlObjNr")->isEnabled(), text("ctlObjNr").isEmpty()),
                  std::pair(hatObjekt, !hatObjekt));
        EXPECT_EQ(feld<QWidget>("ctlLfdNr")->isEnabled(), mehrfach);
        EXPECT_EQ(text("ctlLfdNr"), mehrfach ? QStringLiteral("1") : QString());
        EXPECT_EQ(feld<QLabel>("lblObjekt")->text(), QString::fromUtf8(objekt));
        EXPECT_EQ(a->LeistungsTextVorgabe(), text("ctlTextVorgabe"));
        EXPECT_FALSE(text("ctlTextVorgabe").isEmpty());
        EXPECT_TRUE(feld<office::ctlTextBox>("ctlAngErweitert")->Locked());
    }
    // The idle stopwatch shows no key: nothing of the last order stays in the fields.
    ctl_->AuftragZeigen(nullptr);
    EXPECT_EQ(gezeigt(), (std::array{0, 0, 0}));
    EXPECT_EQ(feld<QWidget>("ctlAufArtAng")->findChild<QLineEdit*>()->text() + text("ctlObjNr"),
              QString());
}

// Focus on the running number lists the orders of the key; a pick is checked and moves on.
TEST_P(OrderControlTest, TheRunningNumberListOffersTheOrdersOfTheKey) {
    zeige(newOrder(office::demo::kSeveralOrdersMatterOrder));
    tippe("ctlLfdNr", "");
    auto* combo = feld<DropList>("DropList1")->Combo();
    EXPECT_EQ((QStringList{combo->itemText(0), combo->itemText(1), combo->itemText(2)}),
              (QStringList{QStringLiteral("1 - Beratung Umsatzsteuer"),
                           QStringLiteral("2 - Beratung Unternehmensnachfolge"), QString()}));
    EXPECT_TRUE(feld<DropList>("DropList1")->IsDropped());
    test::press(weiter_, QStringLiteral("{Down}{Return}"));
    EXPECT_EQ(text("ctlLfdNr"), QStringLiteral("2"));
    EXPECT_EQ(std::pair(ctl_->AuftragId(), geaendert_), std::pair(5012, 1));
    EXPECT_EQ(QApplication::focusWidget(), feld<office::ctlTextBox>("ctlTextVorgabe")->lineEdit())
        << "the focus moves on to the next field that takes input";
}

// The list under a field opens only while enabled, and disabling closes it; neither it nor its
// combo takes the focus from the field the user types in.
TEST(DropListTest, OpensOnlyWhileEnabledAndTakesNoFocus) {
    QWidget window;
    auto* list = new DropList(&window);
    list->setGeometry(0, 20, 120, 0);
    list->Combo()->addItems({QStringLiteral("1"), QStringLiteral("2")});
    test::showActive(window);
    // enabled before, shown (1) or hidden (0) asked, dropped afterwards
    const std::tuple<bool, int, bool> steps[] = {
        {false, 1, false}, {true, 1, true}, {false, -1, false}, {true, 1, true}, {true, 0, false}};
    for (const auto& [enabled, show, dropped] : steps) {
        list->Enabled(enabled);
        if (show >= 0) {
            list->DropDown(show == 1);
        }
        EXPECT_EQ(list->IsDropped(), dropped) << enabled << show;
    }
    EXPECT_EQ(list->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(list->Combo()->focusPolicy(), Qt::NoFocus);
}

// What is typed into the pickers is searched for literally; nothing typed reaches SQL as text.
TEST_P(OrderControlTest, PickersOfferWhatMatchesTheTypedText) {
    zeige(newOrder(5001));
    // field, typed, lines offered, the first line offered
    const std::tuple<const char*, const char*, int, const char*> faelle[] = {
        {"ctlMandant", "O'", 1, "10007  O'Neill Consulting"},
        {"ctlMandant", "öz", 1, "10008  Öztürk, Ümit"},
        {"ctlMandant", "ÖZT", 1, "10008  Öztürk, Ümit"},
        {"ctlMandant", "100%", 1, "10100  Bioladen 100%"},
        {"ctlMandant", "x'; DELETE FROM tAuftrag; --", 0, ""},
        {"ctlAufArtAng", "beratung", 2,
         "90/901  Steuerliche Beratung (Beratung und Kanzleiorganisation)"},
        {"ctlAufArtAng", "50/50", 4,
         "50/501  Feststellung des Grundbesitzwerts (Grundbesitz und Vermögen)"},
    };
    for (const auto& [name, getippt, treffer, erster] : faelle) {
        SCOPED_TRACE(getippt);
        // Typed character by character, umlauts too, as a keyboard sends them.
        QLineEdit* edit = feld<QWidget>(name)->findChild<QLineEdit*>();
        edit->setFocus(Qt::TabFocusReason);
        edit->clear();
        for (const QChar c : QString::fromUtf8(getippt)) {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        auto* model = feld<QWidget>(name)->findChild<QCompleter*>()->model();
        EXPECT_EQ(model->rowCount(), treffer);
        EXPECT_TRUE(treffer == 0 ||
                    model->index(0, 0).data().toString().startsWith(QString::fromUtf8(erster)));
    }
    tippe("ctlMandant", "99999{Tab}");
    EXPECT_EQ(feld<office::ctlMandant>("ctlMandant")->Anzeige(),
              QStringLiteral("Es gibt keinen Mandanten mit der Nummer 99999."));
    EXPECT_EQ(auftraege(), 0);
    EXPECT_TRUE(platform_->errorReports().empty());
}

// An employee chooses, checks and creates an order with the keyboard alone.
TEST_P(OrderControlTest, AnOrderIsChosenAndCreatedByKeyboard) {
    auto auftrag = newOrder(5001);
    zeige(auftrag);
    int verlassen = 0;
    QObject::connect(ctl_, &ctlAuftrag::LoseFocus, [&] { ++verlassen; });
    ctl_->FocusMandant();
    test::press(weiter_,
                QStringLiteral("{Ctrl+A}10006{Tab}90/901{Tab}042026{Tab}3{Tab}10{Return}{Tab}"));
    const std::int32_t neu = ctl_->AuftragId();
    EXPECT_EQ(schluesselVon(neu), QStringLiteral("106|90|901|4|2026|3|1"));
    EXPECT_EQ((std::array{auftraege(), geaendert_, verlassen, suchen(), auftrag->AuftragId(),
                          row(auftrag->Id())->idAuftrag}),
              (std::array{1, 1, 1, 1, neu, neu}))
        << "leaving after the check looks nothing up again";
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(),
              QStringLiteral("Kontierung und Buchung der laufenden Belege "));
    EXPECT_TRUE(platform_->errorReports().empty());
}

// For a time entry the control finds the order and reports it; the stopwatch's order stays. Neither
// an entry nor the properties have a default text.
TEST_P(OrderControlTest, AnEntryKeepsItsOrderUntilTheHostTakesTheFoundOne) {
    auto auftrag = startNewOrder(5001);
    tick(60);
    zeige(auftrag);
    ctl_->LeistungAnzeigen(auftrag->AktuelleLeistung());
    EXPECT_EQ(feld<QGroupBox>("fraAuftrag")->title(), QStringLiteral("Auftrag der Leistung"));
    EXPECT_FALSE(feld<QWidget>("ctlTextVorgabe")->isVisible());
    eingeben({.monat = 2, .jahr = 2026});
    EXPECT_EQ((std::array{suchen(), ctl_->AuftragId(), geaendert_, auftrag->AuftragId(),
                          row(auftrag->Id())->idAuftrag}),
              (std::array{1, 5002, 1, 5001, 5001}));
    // Refused afterwards: the fields show the order found before, not the stopwatch's.
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
    eingeben({"10002", "30/301{Tab}", 12, 2025});
    EXPECT_EQ(gesagt(), QStringList{kFakturiert});
    EXPECT_EQ(ctl_->AuftragId(), 5002);
    EXPECT_EQ(gezeigt(), (std::array{101, 101, 2}));
    expectBalanced();
    // The properties mode names the order for unproductive time.
    ctl_->AuftragZeigen(nullptr);
    ctl_->Eigenschaftenanzeigen(newOrder(office::demo::kUnproductiveTimeOrder));
    EXPECT_EQ(feld<QGroupBox>("fraAuftrag")->title(),
              QStringLiteral("Auftrag für unproduktive Zeiten"));
    EXPECT_FALSE(feld<QWidget>("ctlTextVorgabe")->isVisible());
    EXPECT_EQ(ctl_->AuftragId(), office::demo::kUnproductiveTimeOrder);
}

// F8 opens the client list, F9 and F10 the matter list: filtered by what is typed, chosen with
// Return, left with Escape without a change; a matter chosen there is checked. F11 takes the
// order picked in the office's browser, and nothing when none was picked.
TEST_P(OrderControlTest, FunctionKeysOpenTheListsAndTheBrowser) {
    zeige(newOrder(5001));
    // key, filter typed into the list, the picker's field afterwards ("": the list left)
    const std::tuple<const char*, const char*, const char*, const char*> faelle[] = {
        {"{F8}", "Kaiser", "ctlMandant", "10006"},
        {"{F9}", "Grundsteuer", "ctlAufArtAng", "50/504"},
        {"{F10}", "Lohn", "ctlAufArtAng", ""},
    };
    for (const auto& [taste, filter, name, danach] : faelle) {
        SCOPED_TRACE(taste);
        // The desktop gives the window its activation back when a dialog closes.
        test::showActive(*window_);
        // Copied: clang++ 14 captures no structured binding.
        QTimer::singleShot(0, [filter = filter, waehlen = *danach != 0] {
            auto* zeile = QApplication::activeModalWidget()->findChild<QLineEdit*>("txtFilter");
            QTest::keyClicks(zeile, QString::fromUtf8(filter));
            QTest::keyClick(zeile, waehlen ? Qt::Key_Return : Qt::Key_Escape);
        });
        tippe("ctlTextVorgabe", taste);
        EXPECT_EQ(feld<QWidget>(name)->findChild<QLineEdit*>()->text(),
                  QString::fromLatin1(*danach != 0 ? danach : "50/504"));
    }
    EXPECT_TRUE(feld<QWidget>("ctlObjNr")->isEnabled());
    geaendert_ = 0;
    test::showActive(*window_);
    platform_->orderBrowser().answer(std::vector<std::int32_t>{5002});
    tippe("ctlTextVorgabe", "{F11}");
    platform_->orderBrowser().answer(std::vector<std::int32_t>{});
    tippe("ctlTextVorgabe", "{F11}");
    EXPECT_EQ((std::array{geaendert_, ctl_->AuftragId(), gezeigt()[2]}), (std::array{1, 5002, 2}));
}

ORV_INSTANTIATE_FOR_BACKENDS(OrderControlTest);

}  // namespace
}  // namespace orv::ui
