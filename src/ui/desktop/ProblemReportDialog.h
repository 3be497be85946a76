#pragma once

#include "platform/ErrorServer.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orv::ui {

// The office's problem report: what went wrong in one sentence, the number and the call path
// under "Details", and "Kopieren" to hand the whole report to the office's support.
class ProblemReportDialog final : public QDialog {
    Q_OBJECT
public:
    ProblemReportDialog(std::int32_t number, const QString& source, const QString& description,
                        QWidget* parent = nullptr);

    // The report as it is copied: number, description and call path.
    QString reportText() const { return report_; }

private:
    QString report_;
    QPlainTextEdit* details_ = nullptr;
    QPushButton* detailsButton_ = nullptr;
};

// The error server of the desktop: every report in its own dialog, modal over the window the
// employee works in.
class ProblemReportServer final : public platform::ErrorServer {
public:
    void TQ_gShowError(std::int32_t& number, QString& source, QString& description) override;
};

}  // namespace orv::ui
