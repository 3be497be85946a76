#include "WidgetHarness.h"
#include "session/SessionTestSupport.h"

#include "office/widgets/ctlAufArtAng.h"
#include "office/widgets/ctlDatePicker.h"
#include "office/widgets/ctlMandant.h"
#include "office/widgets/ctlTextBox.h"
#include "persistence/FaultInjector.h"
#include "ui/controls/DropList.h"
#include "ui/controls/ctlAuftrag.h"

#include <QAbstractItemView>
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
#include <QVBoxLayout>

#include <functional>

namespace orv::ui {
namespace {

const QString kRechte = QStringLiteral(
    "Der Auftrag existiert nicht. Die Auftragsanlage ist jedoch durch die Benutzerrechte "
    "verweigert.");
const QString kFakturiert =
    QStringLiteral("Auf fakturierte Auftrag können keine Leistungen erfasst werden!");

// An employee's window: the control, a field after it and a Cancel button.
class OrderControlTest : public test::SessionTest {
public:
    void zeige(const std::shared_ptr<CAuftrag>& auftrag, CStoppUhren* session = nullptr) {
        window_ = std::make_unique<QWidget>();
        ctl_ = new ctlAuftrag(session != nullptr ? *session : *session_, window_.get());
        weiter_ = new QLineEdit(window_.get());
        weiter_->setObjectName(QStringLiteral("weiter"));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, window_.get());
        abbrechen_ = buttons->button(QDialogButtonBox::Cancel);
        auto* layout = new QVBoxLayout(window_.get());
        layout->addWidget(ctl_);
        layout->addWidget(weiter_);
        layout->addWidget(buttons);
        QObject::connect(ctl_, &ctlAuftrag::AuftragGeaendert, [this] { ++geaendert_; });
        ctl_->AuftragZeigen(auftrag);
        test::showActive(*window_);
    }
    template <typename W>
    W* feld(const char* name) {
        return test::child<W>(*ctl_, name);
    }
    QString text(const char* name) { return feld<office::ctlTextBox>(name)->Text(); }
    // Types into a field of the control, over its whole text.
    void tippe(const char* name, const QString& keys) {
        QWidget* w = feld<QWidget>(name);
        QLineEdit* edit = w->findChild<QLineEdit*>();
        edit->setFocus(Qt::TabFocusReason);
        edit->selectAll();
        test::press(edit, keys);
    }
    void periode(int monat, int jahr) {
        feld<office::ctlDatePicker>("ctlTermin")->Monat(monat);
        feld<office::ctlDatePicker>("ctlTermin")->Jahr(jahr);
    }
    // The employee leaves the control for the next field of the window.
    void verlasse() {
        feld<QWidget>("ctlMandant")->setFocus(Qt::TabFocusReason);
        weiter_->setFocus(Qt::TabFocusReason);
    }
    int suchen() const {
        return static_cast<int>(
            platform_->trace().messages().count(QStringLiteral("OrderLookup.Search")));
    }
    QStringList meldungen() const {
        QStringList out;
        for (const test::AskedBox& box : platform_->messageBoxes().asked()) {
            out << box.text;
        }
        return out;
    }
    int auftraege() { return count(QStringLiteral("tAuftrag")); }
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
};

struct Aenderung {
    const char* name;
    std::function<void(OrderControlTest&)> tun;
    int suchen;                     // lookups in the office
    std::int32_t id;                // the order reported afterwards (-1: a new one)
    int neu;                        // orders created
    const char* meldung;            // the message the employee sees, if any
    const char* bericht = nullptr;  // the problem report, if any
};

TEST_P(OrderControlTest, LeavingLooksUpOnlyAChangedCompleteKey) {
    const Aenderung faelle[] = {
        {"unchanged, left twice", [](auto&) {}, 0, 5001, 0, nullptr},
        {"another period finds its order", [](auto& t) { t.periode(2, 2026); }, 1, 5002, 0,
         nullptr},
        {"a period without order creates one", [](auto& t) { t.periode(7, 2026); }, 1, -1, 1,
         nullptr},
        {"unknown client number", [](auto& t) { t.tippe("ctlMandant", QStringLiteral("99999")); },
         0, 5001, 0, nullptr},
        {"month 0", [](auto& t) { t.periode(0, 2026); }, 0, 5001, 0, nullptr},
        {"month 13", [](auto& t) { t.periode(13, 2026); }, 0, 5001, 0, nullptr},
        {"year 0", [](auto& t) { t.periode(3, 0); }, 0, 5001, 0, nullptr},
        {"invoiced order refused",
         [](auto& t) {
             t.tippe("ctlMandant", QStringLiteral("10002"));
             t.tippe("ctlAufArtAng", QStringLiteral("30/301{Tab}"));
             t.periode(12, 2025);
         },
         1, 5001, 0, "Auf fakturierte Auftrag können keine Leistungen erfasst werden!"},
        {"billing kind 9 is never found",
         [](auto& t) {
             t.tippe("ctlMandant", QStringLiteral("10003"));
             t.tippe("ctlAufArtAng", QStringLiteral("40/401{Tab}"));
             t.periode(12, 2025);
         },
         1, 5001, 0, nullptr,
         "Der Auftrag kann nicht angelegt werden: Ein Auftrag mit diesem Schlüssel existiert "
         "bereits und ist von der Zeiterfassung ausgenommen (Abrechnungsart 9)."},
    };
    for (const Aenderung& f : faelle) {
        SCOPED_TRACE(f.name);
        auto auftrag = newOrder(5001);
        zeige(auftrag);
        const int vorher = auftraege();
        const int gesucht = suchen();
        const std::size_t gemeldet = platform_->messageBoxes().asked().size();
        const std::size_t berichtet = platform_->errorReports().size();
        if (f.meldung != nullptr) {
            platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
        }
        f.tun(*this);
        verlasse();
        verlasse();
        EXPECT_EQ(suchen() - gesucht, f.suchen);
        EXPECT_EQ(auftraege() - vorher, f.neu);
        const std::int32_t id = ctl_->AuftragId();
        if (f.id > 0) {
            EXPECT_EQ(id, f.id);
        } else {
            EXPECT_GT(id, 0);
            EXPECT_NE(id, 5001);
            EXPECT_EQ(auftrag->AuftragId(), id) << "the order takes what was found or created";
        }
        EXPECT_EQ(auftrag->AuftragId(), ctl_->AuftragId());
        const auto meldung = platform_->messageBoxes().asked().size() > gemeldet
                                 ? platform_->messageBoxes().asked().back().text
                                 : QString();
        EXPECT_EQ(meldung, f.meldung ? QString::fromUtf8(f.meldung) : QString());
        if (f.bericht != nullptr) {
            ASSERT_EQ(platform_->errorReports().size(), berichtet + 1);
            EXPECT_EQ(platform_->errorReports().back().description, QString::fromUtf8(f.bericht));
        } else {
            EXPECT_EQ(platform_->errorReports().size(), berichtet);
        }
        if (f.meldung != nullptr || f.bericht != nullptr) {
            // Refused or failed: the fields show the key of the order reported again.
            EXPECT_EQ(feld<office::ctlMandant>("ctlMandant")->MandantId(), 101);
            EXPECT_EQ(feld<office::ctlAufArtAng>("ctlAufArtAng")->AngelegenheitNr(), 101);
            EXPECT_EQ(feld<office::ctlDatePicker>("ctlTermin")->Monat(), 1);
        }
    }
}

// Without right 28 nothing is created: the employee is told, and the fields show the order again.
TEST_P(OrderControlTest, WithoutTheRightNothingIsCreated) {
    auto ohne = startedSession(office::demo::kEmployeeWithoutRights);
    auto auftrag = std::make_shared<CAuftrag>(*ohne);
    auftrag->Init(*ohne, false, 0, false);
    auftrag->AuftragAendern(5001);
    zeige(auftrag, ohne.get());
    const int vorher = auftraege();
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
    periode(7, 2026);
    verlasse();
    EXPECT_EQ(auftraege(), vorher);
    EXPECT_EQ(meldungen(), QStringList{kRechte});
    EXPECT_EQ(platform_->messageBoxes().asked().back().title, QStringLiteral("Stoppuhren"));
    EXPECT_EQ(ctl_->AuftragId(), 5001);
    EXPECT_EQ(feld<office::ctlDatePicker>("ctlTermin")->Monat(), 1);
    // An existing order is still found without the right.
    periode(2, 2026);
    verlasse();
    EXPECT_EQ(ctl_->AuftragId(), 5002);
    EXPECT_EQ(auftrag->AuftragId(), 5002);
    EXPECT_EQ(auftraege(), vorher);
}

// Cancel, a failure half-way and the retry: nothing half-made stays, and doing it again works.
TEST_P(OrderControlTest, CancelAndFailuresLeaveTheOrderAsItWas) {
    auto auftrag = newOrder(5001);
    zeige(auftrag);
    const int vorher = auftraege();
    periode(7, 2026);
    QTest::mouseClick(abbrechen_, Qt::LeftButton);
    EXPECT_EQ(QApplication::focusWidget(), abbrechen_);
    EXPECT_EQ(suchen(), 0) << "leaving on the way to Cancel looks nothing up";
    EXPECT_EQ(auftraege(), vorher);

    struct Stoerung {
        const char* name;
        const char* anweisung;  // the statement the database refuses
        int monat;
        std::int32_t danach;  // the order found when done again (-1: a new one)
    } stoerungen[] = {
        {"lookup fails", "COUNT(*) OVER ()", 2, 5002},
        {"creation fails", "INSERT INTO tAuftrag", 8, -1},
        {"taking the order over fails", "Set idAuftrag", 2, 5002},
    };
    for (const Stoerung& st : stoerungen) {
        SCOPED_TRACE(st.name);
        auto auftrag = newOrder(5001);
        zeige(auftrag);
        CAuftrag& a = *auftrag;
        const int zuvor = auftraege();
        const std::size_t berichte = platform_->errorReports().size();
        faults().failStatementsContaining(st.anweisung);
        periode(st.monat, 2026);
        verlasse();
        faults().clear();
        EXPECT_EQ(platform_->errorReports().size(), berichte + 1);
        EXPECT_EQ(auftraege(), zuvor);
        EXPECT_EQ(ctl_->AuftragId(), 5001);
        EXPECT_EQ(a.AuftragId(), 5001);
        EXPECT_EQ(row(a.Id())->idAuftrag, 5001);
        EXPECT_EQ(feld<office::ctlDatePicker>("ctlTermin")->Monat(), 1);
        periode(st.monat, 2026);
        verlasse();
        EXPECT_EQ(auftraege(), zuvor + (st.danach < 0 ? 1 : 0));
        if (st.danach > 0) {
            EXPECT_EQ(ctl_->AuftragId(), st.danach);
        }
        EXPECT_EQ(a.AuftragId(), ctl_->AuftragId());
        EXPECT_EQ(row(a.Id())->idAuftrag, ctl_->AuftragId());
    }
}

TEST_P(OrderControlTest, InvoicedOrdersAreTakenOnlyWhereAllowed) {
    for (const bool erlaubt : {false, true}) {
        SCOPED_TRACE(erlaubt);
        session_->LeistungenAufFakturierteAuftraege(erlaubt);
        auto auftrag = newOrder(5003);
        zeige(auftrag);
        if (!erlaubt) {
            platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
        }
        const auto gemeldet = meldungen().size();
        tippe("ctlAufArtAng", QStringLiteral("30/301{Tab}"));
        periode(12, 2025);
        verlasse();
        EXPECT_EQ(ctl_->AuftragId(), erlaubt ? office::demo::kInvoicedOrder : 5003);
        EXPECT_EQ(auftrag->AuftragId(), ctl_->AuftragId());
        EXPECT_EQ(ctl_->FakturierterAuftrag(), erlaubt);
        EXPECT_EQ(feld<QLabel>("lblHiweis")->isVisible(), erlaubt);
        EXPECT_EQ(feld<QLabel>("lblHiweis")->text(),
                  erlaubt ? QStringLiteral("fakturierter Auftrag") : QString());
        EXPECT_EQ(meldungen().mid(gemeldet), erlaubt ? QStringList() : QStringList{kFakturiert});
    }
}

struct Angelegenheit {
    std::int32_t auftragId;
    bool vuv, bewertung, schenkung, erbschaft, grundsteuer, mehrfach;
    const char* objekt;
};

// The matter's facts reach the order and decide which numbers can be typed.
TEST_P(OrderControlTest, TheMatterDecidesRunningAndObjectNumber) {
    const Angelegenheit faelle[] = {
        {5001, false, false, false, false, false, false, ""},
        {office::demo::kRentalIncomeOrder, true, false, false, false, false, false,
         "Objekt Nr.: 3 Mehrfamilienhaus Gartenstraße 12"},
        {5007, false, true, false, false, false, false,
         "Objekt Nr.: 1 Einfamilienhaus Lindenweg 4"},
        {5008, false, false, true, false, false, false,
         "Objekt Nr.: 2 Eigentumswohnung Am Markt 7"},
        {5009, false, false, false, true, false, false, "Objekt Nr.: 1 Wohnhaus Bergstraße 21"},
        {5010, false, false, false, false, true, false,
         "Objekt Nr.: 4 Gewerbegrundstück Industriestraße 8"},
        {office::demo::kSeveralOrdersMatterOrder, false, false, false, false, false, true, ""},
    };
    for (const Angelegenheit& f : faelle) {
        SCOPED_TRACE(f.auftragId);
        auto a = newOrder(f.auftragId);
        // Facts the order did not have: the control puts its matter's in.
        a->VuVAuftrag(!f.vuv);
        a->IsBewertung(!f.bewertung);
        a->IsSchenkung(!f.schenkung);
        a->IsErbschaft(!f.erbschaft);
        a->IsGrundsteuer(!f.grundsteuer);
        a->MehrfachAnlage(!f.mehrfach);
        zeige(a);
        EXPECT_EQ(a->VuVAuftrag(), f.vuv);
        EXPECT_EQ(a->IsBewertung(), f.bewertung);
        EXPECT_EQ(a->IsSchenkung(), f.schenkung);
        EXPECT_EQ(a->IsErbschaft(), f.erbschaft);
        EXPECT_EQ(a->IsGrundsteuer(), f.grundsteuer);
        EXPECT_EQ(a->MehrfachAnlage(), f.mehrfach);
        const bool objekt = f.vuv || f.bewertung || f.schenkung || f.erbschaft || f.grundsteuer;
        EXPECT_EQ(feld<QWidget>("ctlObjNr")->isEnabled(), objekt);
        EXPECT_EQ(feld<QWidget>("ctlLfdNr")->isEnabled(), f.mehrfach);
        EXPECT_EQ(text("ctlObjNr").isEmpty(), !objekt);
        EXPECT_EQ(text("ctlLfdNr"), f.mehrfach ? QStringLiteral("1") : QString());
        EXPECT_EQ(feld<QLabel>("lblObjekt")->text(), QString::fromUtf8(f.objekt));
        EXPECT_EQ(a->LeistungsTextVorgabe(), text("ctlTextVorgabe"));
        EXPECT_FALSE(text("ctlTextVorgabe").isEmpty());
        EXPECT_TRUE(feld<office::ctlTextBox>("ctlAngErweitert")->Locked());
    }
}

// An object-number matter is checked when the object number is left, not the period.
TEST_P(OrderControlTest, AnObjectNumberMatterChecksOnTheObjectNumber) {
    zeige(newOrder(office::demo::kRentalIncomeOrder));
    const int vorher = auftraege();
    periode(11, 2025);
    feld<office::ctlDatePicker>("ctlTermin")->dateEdit()->setFocus(Qt::TabFocusReason);
    test::press(weiter_, QStringLiteral("{Tab}"));
    EXPECT_EQ(suchen(), 0);
    tippe("ctlObjNr", QStringLiteral("3{Tab}"));
    EXPECT_EQ(suchen(), 1);
    EXPECT_EQ(auftraege(), vorher + 1);
    EXPECT_EQ(schluesselVon(ctl_->AuftragId()), QStringLiteral("103|40|402|11|2025|1|3"));
}

// Focus on the running number lists the orders of the key; a pick is checked and moves on.
TEST_P(OrderControlTest, TheRunningNumberListOffersTheOrdersOfTheKey) {
    zeige(newOrder(office::demo::kSeveralOrdersMatterOrder));
    // An emptied running number means 1: the key is unchanged, nothing is looked up.
    tippe("ctlLfdNr", QStringLiteral("{Backspace}"));
    EXPECT_EQ(text("ctlLfdNr"), QString());
    verlasse();
    EXPECT_EQ(suchen(), 0);
    tippe("ctlLfdNr", QString());
    auto* combo = feld<DropList>("DropList1")->Combo();
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    EXPECT_EQ(items, (QStringList{QStringLiteral("1 - Beratung Umsatzsteuer"),
                                  QStringLiteral("2 - Beratung Unternehmensnachfolge")}));
    EXPECT_TRUE(feld<DropList>("DropList1")->IsDropped());
    test::press(weiter_, QStringLiteral("{Down}{Return}"));
    EXPECT_EQ(text("ctlLfdNr"), QStringLiteral("2"));
    EXPECT_EQ(ctl_->AuftragId(), 5012);
    EXPECT_EQ(geaendert_, 1);
    EXPECT_EQ(QApplication::focusWidget(), feld<office::ctlTextBox>("ctlTextVorgabe")->lineEdit())
        << "the focus moves on to the next field that takes input";
    // A running number of three digits cannot be typed; letters cannot be typed as numbers.
    tippe("ctlLfdNr", QStringLiteral("123"));
    EXPECT_EQ(text("ctlLfdNr"), QStringLiteral("12"));
}

struct Suche {
    const char* feld;
    const char* getippt;
    int treffer;         // lines offered (-1: at least one)
    const char* erster;  // the first line offered
};

// What is typed into the pickers is searched for literally; nothing typed reaches SQL as text.
TEST_P(OrderControlTest, PickersOfferWhatMatchesTheTypedText) {
    zeige(newOrder(5001));
    const int vorher = auftraege();
    const Suche faelle[] = {
        {"ctlMandant", "O'", 1, "10007  O'Neill Consulting"},
        {"ctlMandant", "öz", 1, "10008  Öztürk, Ümit"},
        {"ctlMandant", "ÖZT", 1, "10008  Öztürk, Ümit"},
        {"ctlMandant", "100%", 1, "10100  Bioladen 100%"},
        {"ctlMandant", "x'; DELETE FROM tAuftrag; --", 0, nullptr},
        {"ctlAufArtAng", "beratung", -1,
         "90/901  Steuerliche Beratung (Beratung und Kanzleiorganisation)"},
        {"ctlAufArtAng", "50/50", 4,
         "50/501  Feststellung des Grundbesitzwerts (Grundbesitz und Vermögen)"},
    };
    for (const Suche& f : faelle) {
        SCOPED_TRACE(f.getippt);
        // Typed character by character, umlauts too, as a keyboard sends them.
        QLineEdit* edit = feld<QWidget>(f.feld)->findChild<QLineEdit*>();
        edit->setFocus(Qt::TabFocusReason);
        edit->clear();
        for (const QChar c : QString::fromUtf8(f.getippt)) {
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        auto* model = feld<QWidget>(f.feld)->findChild<QCompleter*>()->model();
        if (f.treffer >= 0) {
            EXPECT_EQ(model->rowCount(), f.treffer);
        }
        if (f.erster != nullptr) {
            ASSERT_GT(model->rowCount(), 0);
            EXPECT_TRUE(
                model->index(0, 0).data().toString().startsWith(QString::fromUtf8(f.erster)))
                << model->index(0, 0).data().toString().toStdString();
        }
    }
    tippe("ctlMandant", QStringLiteral("99999{Tab}"));
    EXPECT_EQ(feld<office::ctlMandant>("ctlMandant")->Anzeige(),
              QStringLiteral("Es gibt keinen Mandanten mit der Nummer 99999."));
    verlasse();
    EXPECT_EQ(suchen(), 0);
    EXPECT_EQ(auftraege(), vorher);
    EXPECT_TRUE(platform_->errorReports().empty());
}

// An employee chooses, checks and creates an order with the keyboard alone.
TEST_P(OrderControlTest, AnOrderIsChosenAndCreatedByKeyboard) {
    auto auftrag = newOrder(5001);
    zeige(auftrag);
    int verlassen = 0;
    QObject::connect(ctl_, &ctlAuftrag::LoseFocus, [&] { ++verlassen; });
    const int vorher = auftraege();
    ctl_->FocusMandant();
    test::press(weiter_,
                QStringLiteral("{Ctrl+A}10006{Tab}90/901{Tab}042026{Tab}3{Tab}10{Return}{Tab}"));
    EXPECT_EQ(auftraege(), vorher + 1);
    const std::int32_t neu = ctl_->AuftragId();
    EXPECT_EQ(schluesselVon(neu), QStringLiteral("106|90|901|4|2026|3|1"));
    EXPECT_EQ(auftrag->AuftragId(), neu);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, neu);
    EXPECT_EQ(geaendert_, 1);
    EXPECT_EQ(verlassen, 1);
    EXPECT_EQ(auftrag->LeistungsTextVorgabe(),
              QStringLiteral("Kontierung und Buchung der laufenden Belege "));
    EXPECT_EQ(suchen(), 1) << "leaving after the check looks nothing up again";
    EXPECT_TRUE(platform_->errorReports().empty());
}

// For a time entry the control finds the order and reports it; the stopwatch's order stays.
TEST_P(OrderControlTest, AnEntryKeepsItsOrderUntilTheHostTakesTheFoundOne) {
    auto auftrag = startNewOrder(5001);
    tick(60);
    zeige(auftrag);
    ctl_->LeistungAnzeigen(auftrag->AktuelleLeistung());
    EXPECT_EQ(feld<QGroupBox>("fraAuftrag")->title(), QStringLiteral("Auftrag der Leistung"));
    EXPECT_FALSE(feld<QWidget>("ctlTextVorgabe")->isVisible());
    periode(2, 2026);
    verlasse();
    verlasse();
    EXPECT_EQ(suchen(), 1);
    EXPECT_EQ(ctl_->AuftragId(), 5002);
    EXPECT_EQ(geaendert_, 1);
    EXPECT_EQ(auftrag->AuftragId(), 5001);
    EXPECT_EQ(row(auftrag->Id())->idAuftrag, 5001);
    // Refused afterwards: the fields show the order found before, not the stopwatch's.
    platform_->messageBoxes().answer(platform::MsgAnswer::Ok);
    tippe("ctlMandant", QStringLiteral("{Ctrl+A}10002{Tab}30/301{Tab}"));
    periode(12, 2025);
    verlasse();
    EXPECT_EQ(meldungen(), QStringList{kFakturiert});
    EXPECT_EQ(ctl_->AuftragId(), 5002);
    EXPECT_EQ(feld<office::ctlMandant>("ctlMandant")->MandantId(), 101);
    EXPECT_EQ(feld<office::ctlDatePicker>("ctlTermin")->Monat(), 2);
    expectBalanced();
}

// F8 opens the client list, F9 the matter list: filtered by what is typed, chosen with Return,
// left with Escape without a change.
TEST_P(OrderControlTest, FunctionKeysOpenTheListsOfThePickers) {
    zeige(newOrder(5001));
    const struct {
        const char* taste;
        const char* titel;
        const char* filter;
        bool annehmen;
        const char* feld;
        const char* danach;
    } faelle[] = {
        {"{F8}", "Mandant auswählen", "Kaiser", true, "ctlMandant", "10006"},
        {"{F9}", "Angelegenheit auswählen", "Grundsteuer", true, "ctlAufArtAng", "50/504"},
        {"{F10}", "Angelegenheit auswählen", "Lohn", false, "ctlAufArtAng", "50/504"},
    };
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.taste);
        // The desktop gives the window its activation back when a dialog closes.
        test::showActive(*window_);
        QString titel;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            ASSERT_NE(dialog, nullptr);
            titel = dialog->windowTitle();
            // Typed into the dialog's filter, where its focus is.
            auto* filter = dialog->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
            QTest::keyClicks(filter, QString::fromUtf8(f.filter));
            QTest::keyClick(filter, f.annehmen ? Qt::Key_Return : Qt::Key_Escape);
        });
        tippe("ctlTextVorgabe", QString::fromLatin1(f.taste));
        EXPECT_EQ(titel, QString::fromUtf8(f.titel));
        EXPECT_EQ(feld<QWidget>(f.feld)->findChild<QLineEdit*>()->text(),
                  QString::fromLatin1(f.danach));
    }
    EXPECT_EQ(feld<office::ctlAufArtAng>("ctlAufArtAng")->AngelegenheitNr(), 504);
    EXPECT_TRUE(feld<QWidget>("ctlObjNr")->isEnabled())
        << "a matter chosen from the list is checked";
}

ORV_INSTANTIATE_FOR_BACKENDS(OrderControlTest);

}  // namespace
}  // namespace orv::ui
