#include "stoppuhren/HostWindow.h"

#include "ORVkStoppUhren/CStoppUhren.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orv::stoppuhren {

HostWindow::HostWindow(_CStoppUhren& component, const QString& employeeName)
    : component_(component) {
    setObjectName(QStringLiteral("HostWindow"));
    setWindowTitle(QStringLiteral("Kanzlei – Zeiterfassung"));
    auto* who = new QLabel(QStringLiteral("Angemeldet: %1").arg(employeeName), this);
    who->setTextFormat(Qt::PlainText);
    auto* show = new QPushButton(QStringLiteral("Stoppuhren &anzeigen"), this);
    show->setObjectName(QStringLiteral("btnAnzeigen"));
    auto* quit = new QPushButton(QStringLiteral("Stoppuhren &beenden"), this);
    quit->setObjectName(QStringLiteral("btnBeenden"));
    connect(show, &QPushButton::clicked, this, [this] { component_.Anzeigen(); });
    connect(quit, &QPushButton::clicked, this, [this] { quitProgram(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(who);
    layout->addWidget(show);
    layout->addWidget(quit);
}

bool HostWindow::quitProgram() {
    if (!ended_) {
        ended_ = component_.Beenden();
    }
    if (ended_) {
        QApplication::quit();
    }
    return ended_;
}

void HostWindow::closeEvent(QCloseEvent* event) {
    quitProgram() ? event->accept() : event->ignore();
}

}  // namespace orv::stoppuhren
