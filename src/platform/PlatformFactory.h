#pragma once

#include <memory>

namespace orv::db {
class Database;
}

namespace orv::platform {

class AnwesenheitsObjekt;
class AuftragBenachrichtigung;
class BuchungsNachlauf;
class Clock;
class CQeGgwBasis;
class CQeLeistung;
class ErrorServer;
class ErstellungsInfo;
class FrmEigenschaften;
class FrmExterneZeit;
class FrmLeistung;
class FrmLeistungUmbuchen;
class FrmPause;
class FrmStoppUhr;
class GlobaleWerte;
class IconService;
class MatterInfo;
class MessageBoxes;
class Mitarbeiter;
class OfficeOrder;
class OrderBrowser;
class OrderLookup;
class OrderService;
class PersonStamm;
class TimerObject;
class TraceLogger;

// Everything outside the component, as the host hands it over: the office database, time,
// message boxes, the windows and the host product's objects. Creating an object may fail; the
// component reports that like any other error. A host that lacks an object leaves its creator
// as it is here: the creation then fails with error 429 and the object's name.
class PlatformFactory {
public:
    virtual ~PlatformFactory();

    virtual db::Database& officeDatabase() = 0;
    virtual const Clock& clock() = 0;
    virtual MessageBoxes& messageBoxes() = 0;
    // Every object of the component holds a logger of its own; loggers may share one sink.
    virtual std::shared_ptr<TraceLogger> createTraceLogger() = 0;

    virtual std::unique_ptr<ErrorServer> createErrorServer();
    virtual std::unique_ptr<TimerObject> createTimer();

    virtual std::unique_ptr<FrmStoppUhr> createFrmStoppUhr();
    virtual std::unique_ptr<FrmLeistung> createFrmLeistung();
    virtual std::unique_ptr<FrmLeistungUmbuchen> createFrmLeistungUmbuchen();
    virtual std::unique_ptr<FrmPause> createFrmPause();
    virtual std::unique_ptr<FrmExterneZeit> createFrmExterneZeit();
    virtual std::unique_ptr<FrmEigenschaften> createFrmEigenschaften();

    virtual std::unique_ptr<PersonStamm> createPersonStamm();
    virtual std::unique_ptr<Mitarbeiter> createMitarbeiter();
    // A global object of the host, created on first use.
    virtual ErstellungsInfo& erstellungsInfo();
    virtual std::unique_ptr<AnwesenheitsObjekt> createAnwesenheitsObjekt();
    virtual std::unique_ptr<BuchungsNachlauf> createBuchungsNachlauf();
    virtual std::unique_ptr<OfficeOrder> createOfficeOrder();
    virtual std::unique_ptr<OrderBrowser> createOrderBrowser();
    virtual std::unique_ptr<OrderService> createOrderService();
    virtual std::unique_ptr<MatterInfo> createMatterInfo();
    virtual std::unique_ptr<OrderLookup> createOrderLookup();
    virtual std::unique_ptr<GlobaleWerte> createGlobaleWerte();
    virtual std::unique_ptr<AuftragBenachrichtigung> createAuftragBenachrichtigung();
    virtual std::unique_ptr<CQeGgwBasis> createCQeGgwBasis();
    virtual std::unique_ptr<CQeLeistung> createCQeLeistung();
    virtual IconService& iconService();
};

}  // namespace orv::platform
