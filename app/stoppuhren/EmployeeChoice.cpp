#include "stoppuhren/EmployeeChoice.h"

#include "persistence/QueryRows.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv::stoppuhren {

std::vector<Employee> officeEmployees(db::Database& database) {
    return db::queryRows(database,
                         QStringLiteral("SELECT idMitarbeiter, dlMitarbeiterNr, dcName FROM "
                                        "tMitarbeiter ORDER BY dlMitarbeiterNr"),
                         {}, [](db::DbService& row) {
                             return Employee{row.FieldLong("idMitarbeiter"),
                                             row.FieldLong("dlMitarbeiterNr"),
                                             row.FieldText("dcName")};
                         });
}

std::int32_t chooseEmployee(db::Database& database) {
    const std::vector<Employee> employees = officeEmployees(database);
    if (employees.empty()) {
        QMessageBox::information(nullptr, QStringLiteral("Stoppuhren"),
                                 QStringLiteral("Die Kanzleidatenbank kennt keine Mitarbeiter. "
                                                "Bitte legen Sie zuerst Mitarbeiter an."));
        return 0;
    }
    QDialog dialog;
    dialog.setObjectName(QStringLiteral("EmployeeChoice"));
    dialog.setWindowTitle(QStringLiteral("Anmeldung – Stoppuhren"));
    auto* label = new QLabel(QStringLiteral("&Mitarbeiter:"), &dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("lstMitarbeiter"));
    label->setBuddy(list);
    for (const Employee& employee : employees) {
        auto* item = new QListWidgetItem(
            QStringLiteral("%1  %2").arg(employee.number, 4).arg(employee.name), list);
        item->setData(Qt::UserRole, employee.id);
    }
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("Anmelden"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted || list->currentItem() == nullptr) {
        return 0;
    }
    return list->currentItem()->data(Qt::UserRole).toInt();
}

}  // namespace orv::stoppuhren
