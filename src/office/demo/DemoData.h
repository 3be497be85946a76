#pragma once

namespace orv::db {
class Database;
}

namespace orv::office {

// The demo office: employees with and without rights, clients, order kinds, matters, orders,
// standard texts, the office-wide user settings and global values. Loading into a database that
// already holds demo data changes nothing; existing data of a real office is never touched.
// Returns false when the demo data was already there.
bool loadDemoData(db::Database& database);

// Fixed ids of the demo office, for tests and documentation.
//
// Employees: 7 Anna Berger (rights 28, 34, 38), 8 Jonas Keller (no rights), 9 Verwaltung
//   (receives the administrative share).
// Persons: 100 the office itself, clients 101 to 106 (client numbers 10001 to 10006) with the
//   orders below, and for trying the client search 107 "O'Neill Consulting" (10007),
//   108 "Öztürk, Ümit" (10008), 109 "Müller & Söhne" (10009), 110 "Bioladen 100%" (10100).
// Matter codes: 21 rental income, 31 valuation, 41 gift, 51 inheritance, 61 land tax.
// Orders (client, kind/matter numbers, period, running and object number):
//   5001 101  10/101  01/2026        5008 105  50/502  03/2026 object 2 (gift)
//   5002 101  10/101  02/2026        5009 105  50/503  02/2026 object 1 (inheritance)
//   5003 102  20/201  01/2026        5010 106  50/504  01/2026 object 4 (land tax)
//   5004 102  30/301  12/2025 invoiced         5011 106  90/901  03/2026 running number 1
//   5005 103  40/401  12/2025 billing kind 9   5012 106  90/901  03/2026 running number 2
//   5006 103  40/402  12/2025 object 3 (rental income)       (matter 901 allows several orders)
//   5007 104  50/501  01/2026 object 1 (valuation)
//   5013 100  90/990  01/2026 the office's own order for unproductive time
//   4901 107  90/901  04/2026 running number 1    4903 107  90/901  05/2026 running number 1
//   4902 107  90/901  04/2026 running number 2    (several orders in two periods)
//   4904 108  40/401  12/2025                     4905 109  10/101  01/2026
// Standard texts of category 2: 10, 11, 20 for every office, 12 for office 100 only; number 12
//   also exists in category 1.
// Settings (employee 0, data type 3): administrative share "10" percent, administrative
//   employee "9", order for unproductive time "5013". Global value 31: false.
namespace demo {
inline constexpr int kOffice = 100;
inline constexpr int kEmployeeWithRights = 7;
inline constexpr int kEmployeeWithoutRights = 8;
inline constexpr int kAdministrativeEmployee = 9;
inline constexpr int kFirstClient = 101;
inline constexpr int kLastClient = 106;  // the last client of the orders 5001 to 5012
inline constexpr int kInvoicedOrder = 5004;
inline constexpr int kBillingKind9Order = 5005;
inline constexpr int kRentalIncomeOrder = 5006;
inline constexpr int kSeveralOrdersMatterOrder = 5011;
inline constexpr int kUnproductiveTimeOrder = 5013;
}  // namespace demo

}  // namespace orv::office
