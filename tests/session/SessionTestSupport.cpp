#include "SessionTestSupport.h"

namespace orv::test {

void SessionTest::SetUp() {
    BackendTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(office::loadDemoData(database()));
    platform_ = std::make_unique<FakePlatform>(database());
    session_ = std::make_unique<CStoppUhren>(*platform_);
}

void SessionTest::TearDown() {
    session_.reset();
    platform_.reset();
    BackendTest::TearDown();
}

void SessionTest::start(std::int32_t employee) {
    ASSERT_TRUE(session_->Starten(employee));
    ASSERT_TRUE(platform_->errorReports().empty())
        << platform_->errorReports().front().description.toStdString();
}

std::unique_ptr<CStoppUhren> SessionTest::newSession() {
    return std::make_unique<CStoppUhren>(*platform_);
}

CDBAccess& SessionTest::gateway() {
    return session_->DbAccess();
}

std::shared_ptr<CAuftrag> SessionTest::newOrder(std::int32_t auftragId) {
    auto auftrag = std::make_shared<CAuftrag>(*session_);
    auftrag->Init(*session_, false, 0, false);
    session_->Auftraege().Add(auftrag, auftrag->Key());
    if (auftragId != 0) {
        auftrag->AuftragAendern(auftragId);
    }
    return auftrag;
}

std::shared_ptr<CAuftrag> SessionTest::startNewOrder(std::int32_t auftragId) {
    session_->ZeitzaehlungAktiv(false);
    bool beenden = false;
    session_->AuftragAnhalten(beenden);
    QString key;
    bool neu = true;
    EXPECT_TRUE(session_->AuftragStarten(key, neu));
    const std::shared_ptr<CAuftrag> auftrag = session_->AktuellerAuftrag();
    auftrag->AuftragAendern(auftragId);
    session_->ZeitzaehlungAktiv(true);
    return auftrag;
}

void SessionTest::switchTo(const QString& target) {
    session_->ZeitzaehlungAktiv(false);
    bool beenden = false;
    session_->AuftragAnhalten(beenden);
    QString key = target;
    bool neu = false;
    EXPECT_TRUE(session_->AuftragStarten(key, neu));
    session_->ZeitzaehlungAktiv(true);
}

bool SessionTest::tickClock(qint64 seconds) {
    return platform_->timer()->tick(clock(), seconds);
}

void SessionTest::expectOrdersBalanced() {
    const auto entrySum = [](const CAuftrag& auftrag) {
        std::int32_t sum = 0;
        // Booked entries stay with their order: their time still belongs to the day.
        for (const auto& leistung : auftrag.Leistungen()) {
            sum += leistung->Sekunden();
        }
        return sum;
    };
    std::int32_t productive = 0;
    for (const auto& auftrag : session_->Auftraege()) {
        productive += auftrag->Sekunden();
        EXPECT_EQ(auftrag->Sekunden(), entrySum(*auftrag)) << auftrag->Key().toStdString();
    }
    EXPECT_EQ(session_->AuftragsSekunden(), productive);
    EXPECT_EQ(session_->LeerlaufAuftrag().Sekunden(), entrySum(session_->LeerlaufAuftrag()));
}

namespace {

ZeRow readRow(const db::DbService& s) {
    ZeRow r;
    r.id = s.FieldLong("idLeistungZeiterfassung");
    r.psId = s.FieldLong("ps_id");
    r.idAuftrag = s.FieldLong("idAuftrag");
    r.vorgangKey = s.FieldText("VorgangKey", QStringLiteral("NULL"));
    r.parentId = s.FieldLong("VorgangParentId");
    r.parentKey = s.FieldText("VorgangParentKey", QStringLiteral("NULL"));
    r.status = s.FieldLong("Status");
    r.beginn = s.FieldDate("Beginn");
    r.ende = s.FieldDate("Ende");
    r.text1 = s.FieldText("Text1");
    r.text2 = s.FieldText("Text2");
    r.sekunden = s.FieldLong("Sekunden");
    return r;
}

constexpr const char* kColumns =
    "SELECT idLeistungZeiterfassung, ps_id, idAuftrag, VorgangKey, VorgangParentId,"
    " VorgangParentKey, Status, Beginn, Ende, Text1, Text2, Sekunden FROM tLeistungZeiterfassung";

}  // namespace

std::optional<ZeRow> SessionTest::row(std::int32_t id) {
    db::DbService s(database());
    s.Open();
    if (s.OpenQuery(
            QString::fromLatin1(kColumns) + QStringLiteral(" WHERE idLeistungZeiterfassung = $1"),
            db::Params{std::int64_t{id}}) == 0) {
        return std::nullopt;
    }
    return readRow(s);
}

std::vector<ZeRow> SessionTest::rowsOf(std::int32_t employee) {
    db::DbService s(database());
    s.Open();
    std::vector<ZeRow> rows;
    for (bool more =
             s.OpenQuery(QString::fromLatin1(kColumns) +
                             QStringLiteral(" WHERE ps_id = $1 ORDER BY idLeistungZeiterfassung"),
                         db::Params{std::int64_t{employee}}) == 1;
         more; more = s.Move(3)) {
        rows.push_back(readRow(s));
    }
    return rows;
}

QStringList SessionTest::textLines(std::int32_t entryId) {
    db::DbService s(database());
    s.Open();
    QStringList lines;
    for (bool more = s.OpenQuery(QStringLiteral("SELECT LeistungZeiterfassungText FROM "
                                                "V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte"
                                                " WHERE idLeistungZeiterfassung = $1"
                                                " ORDER BY idLeistungZeiterfassungTexte"),
                                 db::Params{std::int64_t{entryId}}) == 1;
         more; more = s.Move(3)) {
        lines << s.FieldText("LeistungZeiterfassungText");
    }
    return lines;
}

std::int32_t SessionTest::count(const QString& fromWhere) {
    db::DbService s(database());
    s.Open();
    s.OpenQuery(QStringLiteral("SELECT COUNT(*) AS n FROM ") + fromWhere);
    return s.FieldLong("n");
}

QString SessionTest::logins(std::int32_t employee) {
    db::DbService s(database());
    s.Open();
    QStringList out;
    for (bool more =
             s.OpenQuery(QStringLiteral("SELECT LeistungserfassungAnmeldung AS von,"
                                        " LeistungserfassungAbmeldung AS bis, LoginArt"
                                        " FROM tLeistungZeiterfassungLogins WHERE Ps_Id = $1"
                                        " ORDER BY LeistungserfassungAnmeldung,"
                                        " idLeistungZeiterfassungLogin"),
                         db::Params{std::int64_t{employee}}) == 1;
         more; more = s.Move(3)) {
        out << s.FieldDate("von").toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('-') +
                   s.FieldDate("bis").toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('/') +
                   QString::number(s.FieldLong("LoginArt"));
    }
    return out.join(QLatin1Char(' '));
}

std::int32_t SessionTest::execute(const QString& sql) {
    db::DbService s(database());
    s.Open();
    return s.Execute(sql);
}

}  // namespace orv::test
