#include "office/schema/SchemaSteps.h"

namespace orv::office::schema {
namespace {

// Column prefixes: id key, fl reference to another table's key, dl/di whole numbers, dc/ds
// texts, db truth values (0/1), dt dates, dm fixed-point amounts. The time-recording tables keep
// the column names the stopwatch component has always used.

// Persons (clients and the offices themselves), employees and their rights, the office's
// global values, order kinds, matters, orders, invoices and standard service texts.
constexpr const char* kMasterData = R"sql(
CREATE TABLE tPersonStamm (
    Ps_Id {KEY},
    Ps_Nr INTEGER NOT NULL DEFAULT 0,
    Ps_Kurzname VARCHAR(40) NOT NULL DEFAULT '',
    Ps_Name VARCHAR(120) NOT NULL DEFAULT '',
    Ps_IstKanzlei SMALLINT NOT NULL DEFAULT 0
);
CREATE INDEX ix_tPersonStamm_Nr ON tPersonStamm (Ps_Nr);

CREATE TABLE tMitarbeiter (
    idMitarbeiter {KEY},
    dlMitarbeiterNr INTEGER NOT NULL,
    dcName VARCHAR(120) NOT NULL DEFAULT '',
    CONSTRAINT uq_tMitarbeiter_Nr UNIQUE (dlMitarbeiterNr)
);

CREATE TABLE tMitarbeiterRecht (
    flMitarbeiter INTEGER NOT NULL REFERENCES tMitarbeiter (idMitarbeiter) ON DELETE CASCADE,
    dlRecht INTEGER NOT NULL,
    PRIMARY KEY (flMitarbeiter, dlRecht)
);

CREATE TABLE tGlobaleWerte (
    dlNummer INTEGER NOT NULL PRIMARY KEY,
    dbWert SMALLINT NOT NULL DEFAULT 0,
    dcBeschreibung VARCHAR(120) NOT NULL DEFAULT ''
);

CREATE TABLE tAuftragArt (
    idAuftragArt {KEY},
    dlAuftragArtNr INTEGER NOT NULL,
    dcAuftragArt VARCHAR(80) NOT NULL DEFAULT '',
    CONSTRAINT uq_tAuftragArt_Nr UNIQUE (dlAuftragArtNr)
);

-- dlGgwKenner: the matter's code in the property-assessment data, 0 for ordinary matters.
-- dbMehrfachAnlage: several orders of one client and period, told apart by the running number.
CREATE TABLE tAngelegenheit (
    idAngelegenheit {KEY},
    flAuftragArt INTEGER NOT NULL REFERENCES tAuftragArt (idAuftragArt),
    dlAngelegenheitNr INTEGER NOT NULL,
    dcAngelegenheit VARCHAR(80) NOT NULL DEFAULT '',
    dlGgwKenner INTEGER NOT NULL DEFAULT 0,
    dbMehrfachAnlage SMALLINT NOT NULL DEFAULT 0,
    CONSTRAINT uq_tAngelegenheit_Nr UNIQUE (flAuftragArt, dlAngelegenheitNr)
);

-- Which matter codes belong to which kind of property assessment: 1 rental income (VuV),
-- 2 valuation, 3 gift, 4 inheritance, 5 land tax. Each office keeps its own list.
CREATE TABLE tGgwKennerArt (
    dlGgwKenner INTEGER NOT NULL PRIMARY KEY,
    diGgwArt INTEGER NOT NULL CHECK (diGgwArt BETWEEN 1 AND 5)
);

-- dlAbrechnungsArt 9 marks orders that are never offered for time recording.
-- flRechnung: the order's latest invoice, 0 while it is not invoiced.
CREATE TABLE tAuftrag (
    idAuftrag {KEY},
    flMandant INTEGER NOT NULL REFERENCES tPersonStamm (Ps_Id),
    flAuftragArt INTEGER NOT NULL REFERENCES tAuftragArt (idAuftragArt),
    dlAuftragArtNr INTEGER NOT NULL,
    flAngelegenheit INTEGER NOT NULL REFERENCES tAngelegenheit (idAngelegenheit),
    dlAngelegenheitNr INTEGER NOT NULL,
    dlJahr INTEGER NOT NULL,
    diMonat INTEGER NOT NULL,
    diLfdNr INTEGER NOT NULL DEFAULT 1,
    dlObjektNr INTEGER NOT NULL DEFAULT 0,
    dcAngelegenheitErweitert VARCHAR(120) NOT NULL DEFAULT '',
    dlAbrechnungsArt INTEGER NOT NULL DEFAULT 1,
    flRechnung INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX ix_tAuftrag_Schluessel
    ON tAuftrag (flMandant, dlAuftragArtNr, dlAngelegenheitNr, dlJahr, diMonat);

CREATE TABLE tRechnung (
    idRechnung {KEY},
    flAuftrag INTEGER NOT NULL REFERENCES tAuftrag (idAuftrag),
    dlRechnungNr INTEGER NOT NULL,
    dtRechnungsDatum {DATE} NOT NULL,
    dmBetrag {MONEY} NOT NULL DEFAULT 0
);
CREATE INDEX ix_tRechnung_Auftrag ON tRechnung (flAuftrag);

-- flPs_Id: the office a text belongs to, 0 for texts of every office.
CREATE TABLE tStdBuText (
    idStdBuText {KEY},
    dlNummer INTEGER NOT NULL,
    dcText VARCHAR(255) NOT NULL DEFAULT '',
    flPs_Id INTEGER NOT NULL DEFAULT 0,
    dlTextKategorie INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX ix_tStdBuText_Nummer ON tStdBuText (dlNummer, dlTextKategorie);
)sql";

// Booked services with their texts, and the user settings (employee 0: office-wide).
constexpr const char* kServicesAndSettings = R"sql(
CREATE TABLE tLeistung (
    idLeistung {KEY},
    flMitarbeiter INTEGER NOT NULL REFERENCES tMitarbeiter (idMitarbeiter),
    flAuftrag INTEGER NOT NULL REFERENCES tAuftrag (idAuftrag),
    dtDatum {DATE} NULL,
    dmAnzahl {MONEY} NOT NULL DEFAULT 0,
    dtBeginn {DATE} NULL,
    dtEnde {DATE} NULL,
    dcNotiz TEXT NOT NULL DEFAULT '',
    diArt INTEGER NOT NULL DEFAULT 0,
    dtAngelegt {DATE} NOT NULL
);
CREATE INDEX ix_tLeistung_Auftrag ON tLeistung (flAuftrag);
CREATE INDEX ix_tLeistung_Mitarbeiter ON tLeistung (flMitarbeiter, dtDatum);

CREATE TABLE tLeistungText (
    idLeistungText {KEY},
    flLeistung INTEGER NOT NULL REFERENCES tLeistung (idLeistung) ON DELETE CASCADE,
    diZeile INTEGER NOT NULL,
    dcText TEXT NOT NULL DEFAULT ''
);
CREATE INDEX ix_tLeistungText_Leistung ON tLeistungText (flLeistung, diZeile);

CREATE TABLE tBenutzerEinstellung (
    idBenutzerEinstellung {KEY},
    flMitarbeiter INTEGER NOT NULL DEFAULT 0,
    dsSubKey VARCHAR(200) NOT NULL,
    diKey INTEGER NOT NULL,
    dcValue TEXT NOT NULL DEFAULT '',
    diDataType INTEGER NOT NULL DEFAULT 0,
    CONSTRAINT uq_tBenutzerEinstellung UNIQUE (flMitarbeiter, dsSubKey, diKey)
);
)sql";

// Property assessments. Every column name occurs in one table only, except dsKenner (the
// matter code in tGgwBasis, the designation in tGGWGrundlage) and flGgwBetrag (in tGGWObjName
// and tGgwBgBetrag), which no single join meets twice unqualified.
constexpr const char* kPropertyAssessment = R"sql(
CREATE TABLE tGgwBasis (
    idGgwBasis {KEY},
    flManId INTEGER NOT NULL REFERENCES tPersonStamm (Ps_Id),
    dsKenner VARCHAR(10) NOT NULL,
    dlJahr INTEGER NOT NULL,
    diMonat INTEGER NOT NULL,
    diLfdNr INTEGER NOT NULL
);
CREATE INDEX ix_tGgwBasis_Mandant ON tGgwBasis (flManId, dsKenner, dlJahr);

CREATE TABLE tGgwBetrag (
    idGgwBetrag {KEY},
    flGgwBasis INTEGER NOT NULL REFERENCES tGgwBasis (idGgwBasis) ON DELETE CASCADE,
    dmBetrag {MONEY} NOT NULL DEFAULT 0
);
CREATE INDEX ix_tGgwBetrag_Basis ON tGgwBetrag (flGgwBasis);

-- The designation of a rental object.
CREATE TABLE tGGWObjName (
    idGgwObjName {KEY},
    flGgwBetrag INTEGER NOT NULL REFERENCES tGgwBetrag (idGgwBetrag) ON DELETE CASCADE,
    dcBezeichnung VARCHAR(120) NOT NULL DEFAULT ''
);
CREATE INDEX ix_tGGWObjName_Betrag ON tGGWObjName (flGgwBetrag);

CREATE TABLE tGgwBgBetrag (
    idBgBetrag {KEY},
    flGgwBetrag INTEGER NOT NULL REFERENCES tGgwBetrag (idGgwBetrag) ON DELETE CASCADE
);
CREATE INDEX ix_tGgwBgBetrag_Betrag ON tGgwBgBetrag (flGgwBetrag);

-- dsKenner here: the designation of a valued, given, inherited or land-taxed object.
CREATE TABLE tGGWGrundlage (
    idGgwGrundlage {KEY},
    flBgBetrag INTEGER NOT NULL REFERENCES tGgwBgBetrag (idBgBetrag) ON DELETE CASCADE,
    dsKenner VARCHAR(120) NOT NULL DEFAULT ''
);
CREATE INDEX ix_tGGWGrundlage_BgBetrag ON tGGWGrundlage (flBgBetrag);
)sql";

// The stopwatch component's provisional rows: one per order (VorgangParentId 0) and one per
// time entry (VorgangParentId = the order's row), their text lines, logins and pauses.
// idAuftrag has no reference: an order may be removed from the office while an entry still
// names it, and the component tells the employee so.
constexpr const char* kTimeRecording = R"sql(
CREATE TABLE tLeistungZeiterfassung (
    idLeistungZeiterfassung {KEY},
    ps_id INTEGER NOT NULL DEFAULT 0,
    idAuftrag INTEGER NOT NULL DEFAULT 0,
    VorgangKey VARCHAR(20) NULL,
    VorgangParentId INTEGER NOT NULL DEFAULT 0,
    VorgangParentKey VARCHAR(20) NULL,
    Status INTEGER NOT NULL DEFAULT 0,
    Beginn {DATE} NULL,
    Ende {DATE} NULL,
    Text1 TEXT NOT NULL DEFAULT '',
    Text2 TEXT NOT NULL DEFAULT '',
    Sekunden INTEGER NOT NULL DEFAULT 0,
    BearbeitungsArt INTEGER NOT NULL DEFAULT 0,
    VerwaltungsLeistung INTEGER NOT NULL DEFAULT 0,
    VerwaltungsLeistungHerkunft INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX ix_tLeistungZeiterfassung_Ps ON tLeistungZeiterfassung (ps_id);
CREATE INDEX ix_tLeistungZeiterfassung_Parent ON tLeistungZeiterfassung (VorgangParentId);

CREATE TABLE tLeistungZeiterfassungTexte (
    idLeistungZeiterfassungTexte {KEY},
    flLeistungZeiterfassung INTEGER NOT NULL
        REFERENCES tLeistungZeiterfassung (idLeistungZeiterfassung) ON DELETE CASCADE,
    LeistungZeiterfassungText TEXT NOT NULL DEFAULT ''
);
CREATE INDEX ix_tLeistungZeiterfassungTexte_Zeile
    ON tLeistungZeiterfassungTexte (flLeistungZeiterfassung);

-- LoginArt 0: a working stretch at the computer, 1: external time entered afterwards.
-- LeistungserfassungAbmeldung stays NULL while the login is open.
CREATE TABLE tLeistungZeiterfassungLogins (
    idLeistungZeiterfassungLogin {KEY},
    Ps_Id INTEGER NOT NULL,
    LeistungserfassungAnmeldung {DATE} NOT NULL,
    LeistungserfassungAbmeldung {DATE} NULL,
    LoginArt INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX ix_tLeistungZeiterfassungLogins_Ps
    ON tLeistungZeiterfassungLogins (Ps_Id, LeistungserfassungAnmeldung);

CREATE TABLE tLeistungZeiterfassungPausen (
    idLeistungZeiterfassungPause {KEY},
    Ps_id INTEGER NOT NULL,
    PauseVon {DATE} NOT NULL,
    PauseBis {DATE} NULL
);
CREATE INDEX ix_tLeistungZeiterfassungPausen_Ps ON tLeistungZeiterfassungPausen (Ps_id);

-- Orders and entries with their office order, client, order kind and matter. Rows without an
-- office order (the idle time, orders not yet assigned, orders removed since) keep NULLs there.
-- ps_id is the employee the row belongs to.
CREATE VIEW V_ORV_Common_Korg_Leistungen_Zeiterfassung AS
SELECT z.VorgangParentId,
       z.VorgangKey,
       z.idLeistungZeiterfassung,
       z.idAuftrag,
       a.flMandant,
       p.Ps_Nr,
       p.Ps_Kurzname,
       a.dlAuftragArtNr,
       art.dcAuftragArt,
       a.flAngelegenheit AS dlAngelegenheit,
       a.dlAngelegenheitNr,
       ang.dcAngelegenheit,
       a.dlJahr,
       a.diMonat,
       a.diLfdNr,
       a.dlObjektNr,
       a.dcAngelegenheitErweitert,
       z.Text1,
       z.Text2,
       z.Sekunden,
       z.Beginn,
       z.Ende,
       z.Status,
       ang.dlGgwKenner AS Ang_GGWKenner,
       z.VorgangParentKey,
       z.ps_id,
       z.BearbeitungsArt,
       z.VerwaltungsLeistung,
       z.VerwaltungsLeistungHerkunft
FROM tLeistungZeiterfassung z
LEFT JOIN tAuftrag a ON a.idAuftrag = z.idAuftrag
LEFT JOIN tPersonStamm p ON p.Ps_Id = a.flMandant
LEFT JOIN tAuftragArt art ON art.idAuftragArt = a.flAuftragArt
LEFT JOIN tAngelegenheit ang ON ang.idAngelegenheit = a.flAngelegenheit;

CREATE VIEW V_ORV_Common_Korg_Leistungen_Zeiterfassung_Texte AS
SELECT t.flLeistungZeiterfassung AS idLeistungZeiterfassung,
       t.idLeistungZeiterfassungTexte,
       t.LeistungZeiterfassungText,
       z.ps_id,
       z.VorgangParentId
FROM tLeistungZeiterfassungTexte t
INNER JOIN tLeistungZeiterfassung z ON z.idLeistungZeiterfassung = t.flLeistungZeiterfassung
ORDER BY t.flLeistungZeiterfassung, t.idLeistungZeiterfassungTexte;
)sql";

// The office's attendance record: an employee is absent from dtBeginn until dtEnde, which stays
// NULL while the absence lasts. diArt is the kind of absence as its recorder names it; the
// stopwatch records its pauses as kind 0. dlMitarbeiterNr is the employee's number, without a
// reference: the record outlives an employee who leaves the office.
constexpr const char* kAttendance = R"sql(
CREATE TABLE tMitarbeiterAbwesenheit (
    idMitarbeiterAbwesenheit {KEY},
    dlMitarbeiterNr INTEGER NOT NULL,
    diArt INTEGER NOT NULL DEFAULT 0,
    dcText TEXT NOT NULL DEFAULT '',
    dtBeginn {DATE} NOT NULL,
    dtEnde {DATE} NULL
);
CREATE INDEX ix_tMitarbeiterAbwesenheit_Nr ON tMitarbeiterAbwesenheit (dlMitarbeiterNr, diArt);
)sql";

// What a booking tells the office about an order. tAuftragBenachrichtigung: one row per notice
// that the order's open services began or ended (diArt as its sender names it), stamped by the
// database's clock; the office removes a row once it has acted on it. tAuftragNachlauf: orders
// with services booked since the office last removed their row, with the latest booking's time
// and the number of bookings. Neither references tAuftrag: a pending notice must not keep the
// office from removing an order.
constexpr const char* kOrderNotices = R"sql(
CREATE TABLE tAuftragBenachrichtigung (
    idAuftragBenachrichtigung {KEY},
    flAuftrag INTEGER NOT NULL,
    flMitarbeiter INTEGER NOT NULL DEFAULT 0,
    diArt INTEGER NOT NULL DEFAULT 0,
    dtZeit {DATE} NOT NULL
);
CREATE INDEX ix_tAuftragBenachrichtigung_Auftrag ON tAuftragBenachrichtigung (flAuftrag);

CREATE TABLE tAuftragNachlauf (
    flAuftrag INTEGER NOT NULL PRIMARY KEY,
    dtLetzteBuchung {DATE} NOT NULL,
    dlBuchungen INTEGER NOT NULL DEFAULT 1
);
)sql";

// What choosing an order reads while the employee types: clients by number (offices left out),
// the orders of a client and matter for the check that an order exists before one is created.
// The time-recording view tells whether an order is invoiced, so an order loaded from its
// provisional rows knows it as well as one loaded from the office.
constexpr const char* kOrderSelection = R"sql(
CREATE INDEX ix_tPersonStamm_Mandant ON tPersonStamm (Ps_IstKanzlei, Ps_Nr);
CREATE INDEX ix_tAuftrag_Angelegenheit
    ON tAuftrag (flMandant, flAngelegenheit, dlJahr, diMonat);

DROP VIEW V_ORV_Common_Korg_Leistungen_Zeiterfassung;
CREATE VIEW V_ORV_Common_Korg_Leistungen_Zeiterfassung AS
SELECT z.VorgangParentId,
       z.VorgangKey,
       z.idLeistungZeiterfassung,
       z.idAuftrag,
       a.flMandant,
       p.Ps_Nr,
       p.Ps_Kurzname,
       a.dlAuftragArtNr,
       art.dcAuftragArt,
       a.flAngelegenheit AS dlAngelegenheit,
       a.dlAngelegenheitNr,
       ang.dcAngelegenheit,
       a.dlJahr,
       a.diMonat,
       a.diLfdNr,
       a.dlObjektNr,
       a.dcAngelegenheitErweitert,
       z.Text1,
       z.Text2,
       z.Sekunden,
       z.Beginn,
       z.Ende,
       z.Status,
       ang.dlGgwKenner AS Ang_GGWKenner,
       z.VorgangParentKey,
       z.ps_id,
       z.BearbeitungsArt,
       z.VerwaltungsLeistung,
       z.VerwaltungsLeistungHerkunft,
       CASE WHEN a.flRechnung > 0
                 OR EXISTS (SELECT 1 FROM tRechnung r WHERE r.flAuftrag = a.idAuftrag)
            THEN 1 ELSE 0 END AS Fakturiert
FROM tLeistungZeiterfassung z
LEFT JOIN tAuftrag a ON a.idAuftrag = z.idAuftrag
LEFT JOIN tPersonStamm p ON p.Ps_Id = a.flMandant
LEFT JOIN tAuftragArt art ON art.idAuftragArt = a.flAuftragArt
LEFT JOIN tAngelegenheit ang ON ang.idAngelegenheit = a.flAngelegenheit;
)sql";

// The client picker searches the folded short names and names (see search::fold) by index:
// starting text as a range, contained text with a plain LIKE. Triggers keep them current for
// rows any program writes.
constexpr const char* kClientSearch = R"sql(
ALTER TABLE tPersonStamm ADD COLUMN Ps_KurznameSuche TEXT {BYTES} NOT NULL DEFAULT '';
ALTER TABLE tPersonStamm ADD COLUMN Ps_NameSuche TEXT {BYTES} NOT NULL DEFAULT '';
UPDATE tPersonStamm
   SET Ps_KurznameSuche = {FOLD:Ps_Kurzname}, Ps_NameSuche = {FOLD:Ps_Name};
CREATE INDEX ix_tPersonStamm_KurznameSuche ON tPersonStamm (Ps_KurznameSuche);
CREATE INDEX ix_tPersonStamm_NameSuche ON tPersonStamm (Ps_NameSuche);
)sql";

// The update trigger fires only while a folded column differs from its source, so its own
// update never sets it off again (recursive triggers or not).
constexpr const char* kClientSearchSqlite = R"sql(
CREATE TRIGGER tr_tPersonStamm_Suche_Neu AFTER INSERT ON tPersonStamm
BEGIN
    UPDATE tPersonStamm
       SET Ps_KurznameSuche = {FOLD:NEW.Ps_Kurzname}, Ps_NameSuche = {FOLD:NEW.Ps_Name}
     WHERE Ps_Id = NEW.Ps_Id;
END;
CREATE TRIGGER tr_tPersonStamm_Suche_Aenderung
    AFTER UPDATE OF Ps_Kurzname, Ps_Name, Ps_KurznameSuche, Ps_NameSuche ON tPersonStamm
    WHEN NEW.Ps_KurznameSuche IS NOT {FOLD:NEW.Ps_Kurzname}
      OR NEW.Ps_NameSuche IS NOT {FOLD:NEW.Ps_Name}
BEGIN
    UPDATE tPersonStamm
       SET Ps_KurznameSuche = {FOLD:NEW.Ps_Kurzname}, Ps_NameSuche = {FOLD:NEW.Ps_Name}
     WHERE Ps_Id = NEW.Ps_Id;
END;
)sql";

constexpr const char* kClientSearchPostgres = R"sql(
CREATE FUNCTION f_tPersonStamm_Suche() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
    NEW.Ps_KurznameSuche := {FOLD:NEW.Ps_Kurzname};
    NEW.Ps_NameSuche := {FOLD:NEW.Ps_Name};
    RETURN NEW;
END
$$;
CREATE TRIGGER tr_tPersonStamm_Suche BEFORE INSERT OR UPDATE ON tPersonStamm
    FOR EACH ROW EXECUTE FUNCTION f_tPersonStamm_Suche();
)sql";

constexpr SchemaStep kSteps[] = {
    {1, "Stammdaten der Kanzlei", kMasterData, true},
    {2, "Leistungen und Benutzereinstellungen", kServicesAndSettings},
    {3, "Grundbesitzwerte", kPropertyAssessment},
    {4, "Zeiterfassung", kTimeRecording},
    {5, "Abwesenheiten der Mitarbeiter", kAttendance},
    {6, "Benachrichtigungen und Nachlauf der Aufträge", kOrderNotices},
    {7, "Auftragsauswahl und fakturierte Aufträge", kOrderSelection},
    {8, "Suchnamen der Mandanten", kClientSearch, false, kClientSearchSqlite,
     kClientSearchPostgres},
};

}  // namespace

std::span<const SchemaStep> schemaSteps() {
    return kSteps;
}

}  // namespace orv::office::schema
