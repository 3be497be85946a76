#include "SessionTestSupport.h"

#include "persistence/FaultInjector.h"
#include "session/EmployeeSwitch.h"

#include <QRegularExpression>

namespace orv::test {

void SessionTest::SetUp() {
    BackendTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) {
        return;
    }
    ASSERT_TRUE(office::loadDemoData(database()));
    platform_ = std::make_unique<FakePlatform>(database());
    session_ = std::make_unique<CStoppUhren>(*platform_);
    if (started_) {
        start();
    }
    if (started_ && idleSeconds_ > 0 && !HasFatalFailure()) {
        tick(idleSeconds_);
    }
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

std::unique_ptr<CStoppUhren> SessionTest::startedSession(std::int32_t employee) {
    auto session = newSession();
    EXPECT_TRUE(session->Starten(employee));
    EXPECT_TRUE(platform_->errorReports().empty());
    return session;
}

void SessionTest::restart() {
    session_ = newSession();
    start();
    counted_ = total();
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

void SessionTest::stop() {
    session_->ZeitzaehlungAktiv(false);
    bool beenden = false;
    session_->AuftragAnhalten(beenden);
}

bool SessionTest::startOrder(const QString& target) {
    QString key = target;
    bool neu = key.isEmpty();
    const bool started = session_->AuftragStarten(key, neu);
    session_->ZeitzaehlungAktiv(true);
    return started;
}

std::shared_ptr<CAuftrag> SessionTest::startNewOrder(std::int32_t auftragId) {
    QString key;
    EXPECT_TRUE(stoppuhrWechseln(*session_, key, true));
    session_->AktuellerAuftrag()->AuftragAendern(auftragId);
    return session_->AktuellerAuftrag();
}

void SessionTest::switchTo(const QString& target) {
    QString key = target;
    EXPECT_TRUE(stoppuhrWechseln(*session_, key, key.isEmpty()));
}

std::shared_ptr<CAuftrag> SessionTest::workedOn(std::int32_t auftragId, qint64 seconds) {
    auto auftrag = startNewOrder(auftragId);
    tick(seconds);
    switchTo(CAuftrag::LeerlaufKey());
    return auftrag;
}

void SessionTest::tick(qint64 seconds, bool counts) {
    ASSERT_TRUE(platform_->timer()->tick(clock(), seconds)) << "der Timer läuft nicht";
    counted_ += counts ? seconds : 0;
}

void SessionTest::endOrder(const CAuftrag& order) {
    EXPECT_TRUE(stoppuhrBeenden(*session_, order.Key()));
}

std::int32_t SessionTest::edit(const cLeistung& entry, std::int32_t seconds,
                               std::int32_t auftragId) {
    platform_->frmLeistung().answer(
        LeistungAnzeigenAnswer{outcome::kGeaendert, seconds, auftragId});
    return openEdit(entry);
}

std::int32_t SessionTest::manual(std::int32_t auftragId, std::int32_t seconds,
                                 std::int32_t handedIn) {
    platform_->frmLeistung().answerWith(
        [=](cLeistung& entry, std::int32_t& secondsOut, std::int32_t&, bool) {
            entry.AuftragAendernVorlauefig(auftragId);
            secondsOut = seconds;
            return outcome::kGeaendert;
        });
    QString auftragKey;
    QString leistungKey;
    return session_->LeistungErzeugen(auftragKey, leistungKey, handedIn);
}

void SessionTest::confirmDayClosing() {
    platform_->frmLeistung().answer(LeistungAnzeigenAnswer{outcome::kGeaendert, std::nullopt, 0});
}

std::int32_t SessionTest::total() const {
    return session_->LeerlaufAuftrag().Sekunden() + session_->AuftragsSekunden();
}

void SessionTest::expectBalanced() {
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
    EXPECT_GE(session_->LeerlaufAuftrag().Sekunden(), 0);
    EXPECT_EQ(total(), counted_) << "seconds of the clock lost or counted twice";
}

void SessionTest::expectRowsMatchObjects() {
    const CAuftrag& laufend =
        session_->AuftragLaeuft() ? *session_->AktuellerAuftrag() : session_->LeerlaufAuftrag();
    const auto expectSeconds = [](std::int32_t stored, std::int32_t held, bool running) {
        if (running) {
            EXPECT_LE(stored, held);
        } else {
            EXPECT_EQ(stored, held);
        }
    };
    std::size_t held = 0;
    const auto expectRows = [&](const CAuftrag& auftrag) {
        SCOPED_TRACE(auftrag.Key().toStdString());
        const std::optional<ZeRow> zeile = row(auftrag.Id());
        ASSERT_TRUE(zeile.has_value());
        ++held;
        expectSeconds(zeile->sekunden, auftrag.Sekunden(), &auftrag == &laufend);
        EXPECT_EQ(zeile->status, auftrag.Status());
        EXPECT_EQ(zeile->idAuftrag, auftrag.AuftragId());
        for (const auto& leistung : auftrag.Leistungen()) {
            // A booked entry's row is gone.
            if (leistung->Status() >= cLeistung::kStatusZeileGeloescht) {
                continue;
            }
            ++held;
            // Its row takes the entry's values at its first save with seconds.
            if (leistung->Sekunden() == 0) {
                continue;
            }
            const std::optional<ZeRow> eintrag = row(leistung->Id());
            ASSERT_TRUE(eintrag.has_value()) << leistung->Key().toStdString();
            expectSeconds(eintrag->sekunden, leistung->Sekunden(),
                          &auftrag == &laufend && leistung == laufend.AktuelleLeistung());
            EXPECT_EQ(eintrag->status, leistung->Status());
            EXPECT_EQ(eintrag->parentId, auftrag.Id());
        }
    };
    expectRows(session_->LeerlaufAuftrag());
    for (const auto& auftrag : session_->Auftraege()) {
        expectRows(*auftrag);
    }
    EXPECT_EQ(rowsOf().size(), held) << "rows that no object holds";
}

QString SessionTest::objects(CStoppUhren& session, bool withTimes) {
    const auto n = [](qint64 value) { return QString::number(value); };
    const auto times = [withTimes](const QDateTime& von, const QDateTime& bis) {
        return withTimes ? von.toString(Qt::ISODate) + '-' + bis.toString(Qt::ISODate) : QString();
    };
    QStringList out;
    std::vector<const CAuftrag*> orders{&session.LeerlaufAuftrag()};
    for (const auto& a : session.Auftraege()) {
        orders.push_back(a.get());
    }
    for (const CAuftrag* a : orders) {
        out << a->Key() + '|' + n(a->AuftragId()) + '|' + n(a->Status()) + '|' + n(a->Sekunden()) +
                   '|' + times(a->Beginn(), a->Ende());
        for (const auto& l : a->Leistungen()) {
            out << ' ' + l->Key() + '|' + n(l->Id()) + '|' + n(l->Status()) + '|' +
                       n(l->Sekunden()) + '|' + times(l->Beginn(), l->Ende()) + '|' + l->Notiz();
            for (const auto& t : l->Texte()) {
                out << "  " + t->Text() + '#' + n(t->TextId());
            }
        }
    }
    return out.join(QLatin1Char('\n'));
}

std::optional<ZeRow> SessionTest::row(std::int32_t id) {
    const std::vector<ZeRow> rows = readRows(QStringLiteral("idLeistungZeiterfassung"), id);
    return rows.empty() ? std::nullopt : std::optional<ZeRow>(rows.front());
}

std::vector<ZeRow> SessionTest::rowsOf(std::int32_t employee) {
    return readRows(QStringLiteral("ps_id"), employee);
}

std::vector<ZeRow> SessionTest::readRows(const QString& column, std::int64_t value) {
    std::vector<ZeRow> rows;
    const QString text = table(
        QStringLiteral("SELECT * FROM tLeistungZeiterfassung WHERE %1 = $1"
                       " ORDER BY idLeistungZeiterfassung")
            .arg(column),
        {"idLeistungZeiterfassung", "idAuftrag", "VorgangParentId", "Status", "Sekunden", "Text2"},
        db::Params{value});
    for (const QString& line : text.split(QStringLiteral(" / "), Qt::SkipEmptyParts)) {
        const QStringList f = line.split(QLatin1Char('|'));
        rows.push_back({f[0].toInt(), f[1].toInt(), f[2].toInt(), f[3].toInt(), f[4].toInt(),
                        f[5] == QLatin1String("NULL") ? QString() : f[5]});
    }
    return rows;
}

QStringList SessionTest::textLines(std::int32_t entryId) {
    const QString lines = table(QStringLiteral("SELECT LeistungZeiterfassungText AS t FROM "
                                               "V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte"
                                               " WHERE idLeistungZeiterfassung = $1"
                                               " ORDER BY idLeistungZeiterfassungTexte"),
                                {"t"}, db::Params{std::int64_t{entryId}});
    return lines.isEmpty() ? QStringList() : lines.split(QStringLiteral(" / "));
}

std::int32_t SessionTest::count(const QString& fromWhere) {
    return table(QStringLiteral("SELECT COUNT(*) AS n FROM ") + fromWhere, {"n"}).toInt();
}

QString SessionTest::logins(std::int32_t employee) {
    QString text = table(QStringLiteral("SELECT LeistungserfassungAnmeldung AS von,"
                                        " LeistungserfassungAbmeldung AS bis, LoginArt"
                                        " FROM tLeistungZeiterfassungLogins WHERE Ps_Id = $1"
                                        " ORDER BY LeistungserfassungAnmeldung,"
                                        " idLeistungZeiterfassungLogin"),
                         {"von", "bis", "LoginArt"}, db::Params{std::int64_t{employee}});
    // "day time|day time|kind / ..." becomes "time-time/kind ..."; an open login has no end.
    static const QRegularExpression login(
        QStringLiteral("\\S+ (\\S+)\\|(?:\\S+ (\\S+)|NULL)\\|(\\d+)(?: / )?"));
    return text.replace(login, QStringLiteral("\\1-\\2/\\3 ")).trimmed();
}

QString SessionTest::services(std::int32_t employee) {
    // Each service's texts are read once the services' query is closed.
    QStringList out;
    const QString ids = table(
        QStringLiteral("SELECT idLeistung FROM tLeistung WHERE flMitarbeiter = $1 ORDER BY 1"),
        {"idLeistung"}, db::Params{std::int64_t{employee}});
    for (const QString& id : ids.split(QStringLiteral(" / "), Qt::SkipEmptyParts)) {
        db::DbService s(database());
        s.OpenQuery(QStringLiteral("SELECT * FROM tLeistung WHERE idLeistung = ") + id);
        out << QStringLiteral("%1|%2|%3-%4|")
                       .arg(s.FieldLong("flAuftrag"))
                       .arg(qRound(s.FieldText("dmAnzahl").toDouble() * 10000))
                       .arg(s.FieldDate("dtBeginn").toString(QStringLiteral("HH:mm")),
                            s.FieldDate("dtEnde").toString(QStringLiteral("HH:mm"))) +
                   table(QStringLiteral("SELECT dcText FROM tLeistungText WHERE flLeistung = ") +
                             id + QStringLiteral(" ORDER BY diZeile"),
                         {"dcText"});
    }
    return out.join(QLatin1Char('\n'));
}

std::int32_t SessionTest::execute(const QString& sql) {
    db::DbService s(database());
    s.Open();
    return s.Execute(sql);
}

}  // namespace orv::test
